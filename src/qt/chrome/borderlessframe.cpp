#include "borderlessframe.h"

#include "framegeometry.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QWindow>

namespace chrome {

BorderlessFrame::BorderlessFrame(QWidget* window)
    : QWidget(window)
    , window_(window)
{
    setObjectName(QStringLiteral("BorderlessFrame"));
    window->setWindowFlag(Qt::FramelessWindowHint, true);
    setMouseTracking(true);
    window->installEventFilter(this);
    followWindow();
}

bool BorderlessFrame::sizable() const
{
    return !(window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
}

void BorderlessFrame::followWindow()
{
    setGeometry(window_->rect());
    const QRect whole = rect();
    setMask(QRegion(whole).subtracted(QRegion(whole.adjusted(SizingBand, SizingBand, -SizingBand, -SizingBand))));
    setAttribute(Qt::WA_TransparentForMouseEvents, !sizable());
    raise();
}

bool BorderlessFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::WindowStateChange:
            followWindow();
            break;
        case QEvent::ChildAdded:
        case QEvent::ChildPolished:
            // Children added after the frame would otherwise cover the band.
            if (static_cast<QChildEvent*>(event)->child() != this)
                raise();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BorderlessFrame::paintEvent(QPaintEvent*)
{
    // A one-pixel sunken edge: shadow at the top and left, highlight at the
    // bottom and right. The rest of the band is left transparent.
    QPainter painter(this);
    const QRect r = rect();
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(r.bottomLeft() + QPoint(1, 0), r.bottomRight());
    painter.drawLine(r.topRight() + QPoint(0, 1), r.bottomRight());
}

void BorderlessFrame::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !sizable())
        return;
    const Qt::Edges edges = edgesAt(event->position().toPoint(), size());
    if (!edges)
        return;
    emit resizeStarted(edges);
    if (QWindow* handle = window_->windowHandle(); handle && handle->startSystemResize(edges))
        return;
    // No window manager to run the resize: follow the pointer until release.
    resizing_ = edges;
    resizeStartGeometry_ = window_->geometry();
    resizeStartPointer_ = event->globalPosition().toPoint();
}

void BorderlessFrame::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (resizing_) {
        window_->setGeometry(resizedGeometry(resizeStartGeometry_, resizing_,
                                             event->globalPosition().toPoint() - resizeStartPointer_,
                                             window_->minimumSize(), window_->maximumSize()));
        return;
    }
    setCursor(cursorForEdges(edgesAt(event->position().toPoint(), size())));
}

void BorderlessFrame::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        resizing_ = {};
}

} // namespace chrome
