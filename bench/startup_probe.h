#pragma once

// Start-up probe: once a window has been exposed and painted, prints the
// milliseconds since the instant in QUELVO_BENCH_T0_NS (CLOCK_MONOTONIC, set
// by startup-driver just before it started the process) and quits.

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace bench {

inline double millisecondsSinceLaunch()
{
    const char* t0 = std::getenv("QUELVO_BENCH_T0_NS");
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long ns = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    return t0 ? static_cast<double>(ns - std::atoll(t0)) / 1e6 : -1.0;
}

class ShownProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The expose is handled (and the window painted) before the queued
        // call runs.
        if (!done_ && event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            done_ = true;
            QMetaObject::invokeMethod(
                this,
                [] {
                    std::printf("shown ms: %.3f\n", millisecondsSinceLaunch());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool done_ = false;
};

inline void reportWhenShown(QWidget& window)
{
    window.winId(); // make sure the native window exists
    window.windowHandle()->installEventFilter(new ShownProbe(&window));
}

} // namespace bench
