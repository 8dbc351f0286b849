#pragma once

#include "ui/title_bar.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;

namespace chrome {

class PictureBox;

// The home-made title bar `pnlTopo` that both borderless windows carry across
// their top: logo and caption at the left, minimise, maximise/restore and
// close cells at the right, a free stretch in between that drags the window.
//
// A window embeds it as the first, full-width item of its top-level layout
// (zero margins and spacing); it is 24 high.
//
// The components are public under their layout names and carry them as
// objectName. Note that the member `close` hides QWidget::close() on a
// TitleBar; call it through a QWidget pointer if ever needed.
class TitleBar : public QWidget
{
    Q_OBJECT

public:
    // SearchWindow: close ends the program, the logo minimises;
    // SolutionWindow: close closes (rejects) the dialog, the logo is inert.
    using Kind = ui::TitleBarKind;

    // `window` is the top-level window the bar sits in; it is also the parent
    // unless another one is given.
    TitleBar(Kind kind, QWidget* window, QWidget* parent = nullptr);

    Kind kind() const { return kind_; }
    QWidget* hostWindow() const { return window_; }

    // The window a drag moves, looked up at each press; by default the host
    // window. A null answer means there is nothing to drag.
    void setDragTarget(std::function<QWidget*()> target);

    QWidget* pnlLogo;
    QWidget* pnImage1;
    PictureBox* Image1;
    QWidget* Panel1;
    QLabel* lbVersion;
    QWidget* pnNV;
    QWidget* Panel7;
    PictureBox* minimized;
    QWidget* Panel8;
    PictureBox* bk_max;
    PictureBox* maximized;
    QWidget* Panel6;
    PictureBox* close;

public slots:
    // Left button on the free stretch: drag the target window. Other buttons
    // do nothing; presses elsewhere on the bar never reach it.
    void pnlTopoMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint& pos);

    void minimizedClick();
    void maximizedClick();
    void bk_maxClick();
    void closeClick();

    void minimizedMouseEnter();
    void minimizedMouseLeave();
    void maximizedMouseEnter();
    void maximizedMouseLeave();
    void bk_maxMouseEnter();
    void bk_maxMouseLeave();
    void closeMouseEnter();
    void closeMouseLeave();

signals:
    // A drag of `target` begins: the window manager's move loop, or, where
    // there is none, the bar moving the window with the pointer itself.
    void dragStarted(QWidget* target);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paintCell(ui::TitleBarHandler hoverHandler);
    void toggleMaximized();

    Kind kind_;
    QWidget* window_;
    std::function<QWidget*()> dragTarget_;

    // Manual move when the platform has no move loop of its own.
    QPointer<QWidget> dragging_;
    QPoint dragStartPointer_;
    QPoint dragStartPosition_;
};

} // namespace chrome
