#include "app/wait_cursor.h"

#include "artwork.h"

#include <QGuiApplication>

namespace app {

WaitCursor::WaitCursor(QObject* parent) : QObject(parent)
{
    timer_.setInterval(PeriodMs);
    connect(&timer_, &QTimer::timeout, this, &WaitCursor::tick);
}

WaitCursor::~WaitCursor()
{
    if (timing_.shown())
        QGuiApplication::restoreOverrideCursor();
}

void WaitCursor::databaseWorkStarted()
{
    timer_.stop();
    if (timing_.workStarted())
        QGuiApplication::setOverrideCursor(artwork::sqlWaitCursor());
}

void WaitCursor::databaseWorkEnded()
{
    if (timing_.workEnded(ui::WaitCursorTiming::Clock::now()))
        timer_.start();
}

void WaitCursor::tick()
{
    if (timing_.tick(ui::WaitCursorTiming::Clock::now()))
        QGuiApplication::restoreOverrideCursor();
    if (!timing_.timerRunning())
        timer_.stop();
}

} // namespace app
