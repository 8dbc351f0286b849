#include "picturebox.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace chrome {

PictureBox::PictureBox(Fit fit, QWidget* parent)
    : QWidget(parent)
    , fit_(fit)
{
}

PictureBox::PictureBox(const QImage& image, Fit fit, QWidget* parent)
    : PictureBox(fit, parent)
{
    setImage(image);
}

void PictureBox::setImage(const QImage& image)
{
    image_ = image;
    updateGeometry();
    update();
}

QRect PictureBox::placement(QSize picture, QSize box, Fit fit)
{
    const ui::Rect r = ui::placePicture({picture.width(), picture.height()}, {box.width(), box.height()}, fit);
    return QRect(r.left, r.top, r.width, r.height);
}

QSize PictureBox::sizeHint() const
{
    return image_.isNull() ? QWidget::sizeHint() : image_.size();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (image_.isNull())
        return;
    QPainter painter(this);
    const QRect target = pictureRect();
    if (target.size() != image_.size())
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image_);
}

void PictureBox::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    emit entered();
}

void PictureBox::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit left();
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a left press and release both inside the picture's rectangle.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const bool wasPressed = pressed_;
    pressed_ = false;
    event->accept();
    if (wasPressed && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace chrome
