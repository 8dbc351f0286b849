#pragma once

#include "ui/picture_placement.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace chrome {

// A picture on a transparent widget, so the parent's colour shows around the
// glyph. The whole rectangle of the widget counts for the pointer: entering
// or leaving it and left-button clicks anywhere inside it.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    // ActualSize: centred at the picture's own pixel size (title bar);
    // ShrinkToFit: centred, reduced proportionally when too large (search button).
    using Fit = ui::PictureFit;

    explicit PictureBox(Fit fit = Fit::ActualSize, QWidget* parent = nullptr);
    PictureBox(const QImage& image, Fit fit, QWidget* parent = nullptr);

    void setImage(const QImage& image);
    QImage image() const { return image_; }
    Fit fit() const { return fit_; }

    // Where the picture lands inside the widget.
    QRect pictureRect() const { return placement(image_.size(), size(), fit_); }

    // Rectangle of a picture of size `picture` drawn in a box of size `box`.
    static QRect placement(QSize picture, QSize box, Fit fit);

    QSize sizeHint() const override;

signals:
    void clicked();
    void entered();
    void left();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
    Fit fit_;
    bool pressed_ = false;
};

} // namespace chrome
