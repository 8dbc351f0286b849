#include "applicationminimizer.h"

#include <QApplication>
#include <QEvent>

#include <utility>

namespace chrome {

QWidget* ApplicationMinimizer::mainWindowOf(QWidget* window)
{
    QWidget* top = window->window();
    while (QWidget* owner = top->parentWidget())
        top = owner->window();
    return top;
}

ApplicationMinimizer::ApplicationMinimizer(QWidget* mainWindow)
    : QObject(mainWindow)
    , mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("ApplicationMinimizer"));
    mainWindow->installEventFilter(this);
}

void ApplicationMinimizer::minimize(QWidget* window)
{
    if (!window)
        return;
    QWidget* mainWindow = mainWindowOf(window);

#ifndef Q_OS_WIN
    auto* minimizer = mainWindow->findChild<ApplicationMinimizer*>(QString(), Qt::FindDirectChildrenOnly);
    if (!minimizer)
        minimizer = new ApplicationMinimizer(mainWindow);
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget* top : topLevels) {
        if (top == mainWindow || !top->isVisible() || top->isMinimized() || mainWindowOf(top) != mainWindow)
            continue;
        minimizer->owned_.append({top, top->windowState()});
        top->setWindowState(top->windowState() | Qt::WindowMinimized);
    }
#endif

    mainWindow->showMinimized();
}

bool ApplicationMinimizer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mainWindow_ && event->type() == QEvent::WindowStateChange
        && !(mainWindow_->windowState() & Qt::WindowMinimized) && !owned_.isEmpty())
        restoreOwnedWindows();
    return QObject::eventFilter(watched, event);
}

void ApplicationMinimizer::restoreOwnedWindows()
{
    const QList<OwnedWindow> owned = std::exchange(owned_, {});
    for (const OwnedWindow& entry : owned) {
        if (entry.window && entry.window->isVisible())
            entry.window->setWindowState(entry.state & ~Qt::WindowMinimized);
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace chrome
