#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace chrome {

// Minimises the application rather than one window: the main window goes to
// its taskbar button and the top-level windows it owns (a modal dialog whose
// parent it is, say) go with it and come back when it is restored, still
// modal.
//
// Windows does this for owned windows by itself. Elsewhere the owned windows
// are minimised here too, never hidden: hiding a dialog would end its exec().
class ApplicationMinimizer : public QObject
{
    Q_OBJECT

public:
    // `window` may be the main window or any window it owns.
    static void minimize(QWidget* window);

    // The unowned top-level window at the end of the owner chain of `window`.
    static QWidget* mainWindowOf(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ApplicationMinimizer(QWidget* mainWindow);
    void restoreOwnedWindows();

    struct OwnedWindow {
        QPointer<QWidget> window;
        Qt::WindowStates state;
    };
    QWidget* mainWindow_;
    QList<OwnedWindow> owned_;
};

} // namespace chrome
