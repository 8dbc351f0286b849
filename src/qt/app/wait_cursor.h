#pragma once

#include "data/busy_indicator.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace app {

// The database-wait cursor over the whole program: shown at once when work
// starts, kept through a quick series of operations, and replaced by the
// arrow at the first 50 ms tick at least 50 ms after the last one ended.
class WaitCursor : public QObject, public quelvo::BusyIndicator {
    Q_OBJECT
public:
    static constexpr int PeriodMs = 50;

    explicit WaitCursor(QObject* parent = nullptr);
    ~WaitCursor() override;

    void databaseWorkStarted() override;
    void databaseWorkEnded() override;

    bool isShown() const { return shown_; }

private:
    void tick();

    QTimer timer_;
    QElapsedTimer sinceEnd_;
    int depth_ = 0;
    bool shown_ = false;
};

} // namespace app
