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
    if (shown_)
        QGuiApplication::restoreOverrideCursor();
}

void WaitCursor::databaseWorkStarted()
{
    ++depth_;
    timer_.stop();
    if (!shown_) {
        QGuiApplication::setOverrideCursor(artwork::sqlWaitCursor());
        shown_ = true;
    }
}

void WaitCursor::databaseWorkEnded()
{
    if (depth_ > 0)
        --depth_;
    if (depth_ == 0) {
        sinceEnd_.start();
        timer_.start();
    }
}

void WaitCursor::tick()
{
    if (depth_ > 0 || sinceEnd_.elapsed() < PeriodMs)
        return;
    timer_.stop();
    if (shown_) {
        QGuiApplication::restoreOverrideCursor();
        shown_ = false;
    }
}

} // namespace app
