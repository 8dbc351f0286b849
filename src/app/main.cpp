// Quelvo: finds earlier help-desk attendances by the words of a problem.

#include "app/error_box.h"
#include "app/show_state.h"
#include "app/startup.h"
#include "fonts.h"
#include "view/search_window.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quelvo"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("quelvo"));
    chrome::ensureTahoma();
    app::installErrorBox(app::applicationTitle());

    app::Program program({});
    app::applyShowState(&program.searchWindow(), app::requestedShowState());
    application.exec();
    program.end();
    return 0;
}
