// The least a Qt program does to show a window: one empty QWidget of the
// search window's size. Reports like startup-quelvo (see startup_probe.h).

#include "startup_probe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(751, 481);
    bench::reportWhenShown(window);
    window.show();
    return application.exec();
}
