// The minimal program with one line of text: what the first text costs any
// Qt program (fontconfig's set-up, the font database, a font engine).
// Reports like startup-quelvo (see startup_probe.h).

#include "startup_probe.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(751, 481);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Problema"), &window));
    bench::reportWhenShown(window);
    window.show();
    return application.exec();
}
