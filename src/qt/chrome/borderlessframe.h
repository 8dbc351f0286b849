#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace chrome {

// Makes a top-level window borderless and gives it back a sizing border and a
// thin static edge.
//
// Create it on the window before the window is first shown, e.g.
// `new chrome::BorderlessFrame(this)` in the window's constructor. It keeps
// the window's type (a parentless window stays a normal top-level with its own
// taskbar entry; a dialog stays a dialog) and only adds
// Qt::FramelessWindowHint.
//
// The frame is a child widget laid over the window's edges, masked to a band
// SizingBand wide and kept above every other child. In the band it shows
// resize cursors; a left press there hands the resize to the window manager
// (QWindow::startSystemResize) or, where there is none, resizes the window
// itself. Either way the window never gets smaller than its minimum size.
// While the window is maximised or full-screen the band does not react.
class BorderlessFrame : public QWidget
{
    Q_OBJECT

public:
    explicit BorderlessFrame(QWidget* window);

signals:
    // A resize by `edges` begins (through the window manager or manually).
    void resizeStarted(Qt::Edges edges);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void followWindow();
    bool sizable() const;

    QWidget* window_;
    Qt::Edges resizing_;
    QRect resizeStartGeometry_;
    QPoint resizeStartPointer_;
};

} // namespace chrome
