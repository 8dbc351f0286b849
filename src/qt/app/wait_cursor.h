#pragma once

#include "data/busy_indicator.h"
#include "ui/wait_cursor_timing.h"

#include <QObject>
#include <QTimer>

namespace app {

// The database-wait cursor over the whole program, as an override cursor,
// with its timing from ui::WaitCursorTiming.
class WaitCursor : public QObject, public quelvo::BusyIndicator {
    Q_OBJECT
public:
    static constexpr int PeriodMs = static_cast<int>(ui::WaitCursorTiming::Period.count());

    explicit WaitCursor(QObject* parent = nullptr);
    ~WaitCursor() override;

    void databaseWorkStarted() override;
    void databaseWorkEnded() override;

    bool isShown() const { return timing_.shown(); }

private:
    void tick();

    QTimer timer_;
    ui::WaitCursorTiming timing_;
};

} // namespace app
