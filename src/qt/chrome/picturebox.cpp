#include "picturebox.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace chrome {

namespace {

// Half of a difference, rounded down also when negative, so a picture larger
// than its box overhangs by the same amount on both sides.
int floorHalf(int value)
{
    return value >= 0 ? value / 2 : -((1 - value) / 2);
}

} // namespace

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
    QSize drawn = picture;
    if (fit == Fit::ShrinkToFit && !picture.isEmpty()
        && (picture.width() > box.width() || picture.height() > box.height())) {
        const double scale = std::min(double(box.width()) / picture.width(),
                                      double(box.height()) / picture.height());
        drawn = QSize(std::max(0, int(std::lround(picture.width() * scale))),
                      std::max(0, int(std::lround(picture.height() * scale))));
    }
    return QRect(QPoint(floorHalf(box.width() - drawn.width()), floorHalf(box.height() - drawn.height())),
                 drawn);
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
