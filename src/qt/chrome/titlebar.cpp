#include "titlebar.h"

#include "applicationminimizer.h"
#include "colors.h"
#include "fonts.h"
#include "picturebox.h"

#include <artwork.h>

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QWindow>

namespace chrome {

namespace {

constexpr int BarHeight = 24;
constexpr int CellWidth = 56;

QWidget* panel(const char* name, QWidget* parent)
{
    auto* widget = new QWidget(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A panel painting its own colour.
QWidget* colouredPanel(const char* name, QWidget* parent)
{
    QWidget* widget = panel(name, parent);
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, titleBarColor());
    widget->setPalette(palette);
    return widget;
}

PictureBox* picture(const char* name, const QImage& image, QWidget* parent)
{
    auto* box = new PictureBox(image, PictureBox::Fit::ActualSize, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QHBoxLayout* row(QWidget* parent)
{
    auto* layout = new QHBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// A 56 x 24 button cell.
QWidget* buttonCell(const char* name, QWidget* parent)
{
    QWidget* cell = colouredPanel(name, parent);
    cell->setFixedSize(CellWidth, BarHeight);
    return cell;
}

// A picture filling its cell; later ones lie over earlier ones. Placed by
// hand, so that a hidden picture keeps the cell's rectangle too.
PictureBox* cellPicture(const char* name, const QImage& image, QWidget* cell)
{
    PictureBox* box = picture(name, image, cell);
    box->setGeometry(0, 0, CellWidth, BarHeight);
    return box;
}

} // namespace

TitleBar::TitleBar(Kind kind, QWidget* window, QWidget* parent)
    : QWidget(parent ? parent : window)
    , kind_(kind)
    , window_(window)
{
    ensureTahoma();
    setObjectName(QStringLiteral("pnlTopo"));
    setFixedHeight(BarHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, titleBarColor());
    setPalette(palette);
    // Only the free stretch shows the hand; the blocks on it reset to the arrow.
    setCursor(Qt::PointingHandCursor);

    // Logo block: picture, then the caption.
    pnlLogo = colouredPanel("pnlLogo", this);
    pnlLogo->setFixedWidth(161);
    pnlLogo->setCursor(Qt::ArrowCursor);
    pnlLogo->setAttribute(Qt::WA_NoMousePropagation);

    pnImage1 = panel("pnImage1", pnlLogo);
    pnImage1->setFixedWidth(41);
    Image1 = picture("Image1", artwork::logo(), pnImage1);
    Image1->setGeometry(15, 1, 20, 18);

    Panel1 = panel("Panel1", pnlLogo);
    lbVersion = new QLabel(QStringLiteral("Quelvo 1.0"), Panel1);
    lbVersion->setObjectName(QStringLiteral("lbVersion"));
    lbVersion->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    font.setWeight(QFont::Normal);
    lbVersion->setFont(font);
    QPalette labelPalette = lbVersion->palette();
    labelPalette.setColor(QPalette::WindowText, Qt::white);
    lbVersion->setPalette(labelPalette);
    row(Panel1)->addWidget(lbVersion);

    QHBoxLayout* logoRow = row(pnlLogo);
    logoRow->addWidget(pnImage1);
    logoRow->addWidget(Panel1, 1);

    // Button block: minimise, maximise/restore, close.
    pnNV = panel("pnNV", this);
    pnNV->setFixedWidth(3 * CellWidth);
    pnNV->setCursor(Qt::ArrowCursor);
    pnNV->setAttribute(Qt::WA_NoMousePropagation);

    Panel7 = buttonCell("Panel7", pnNV);
    minimized = cellPicture("minimized", artwork::minimizeGlyph(), Panel7);
    Panel8 = buttonCell("Panel8", pnNV);
    bk_max = cellPicture("bk_max", artwork::restoreGlyph(), Panel8);
    maximized = cellPicture("maximized", artwork::maximizeGlyph(), Panel8);
    bk_max->hide();
    Panel6 = buttonCell("Panel6", pnNV);
    close = cellPicture("close", artwork::closeGlyph(), Panel6);

    QHBoxLayout* buttonRow = row(pnNV);
    buttonRow->addWidget(Panel7);
    buttonRow->addWidget(Panel8);
    buttonRow->addWidget(Panel6);

    QHBoxLayout* bar = row(this);
    bar->addWidget(pnlLogo);
    bar->addStretch(1);
    bar->addWidget(pnNV);

    connect(minimized, &PictureBox::clicked, this, &TitleBar::minimizedClick);
    connect(minimized, &PictureBox::entered, this, &TitleBar::minimizedMouseEnter);
    connect(minimized, &PictureBox::left, this, &TitleBar::minimizedMouseLeave);
    connect(maximized, &PictureBox::clicked, this, &TitleBar::maximizedClick);
    connect(maximized, &PictureBox::entered, this, &TitleBar::maximizedMouseEnter);
    connect(maximized, &PictureBox::left, this, &TitleBar::maximizedMouseLeave);
    connect(bk_max, &PictureBox::clicked, this, &TitleBar::bk_maxClick);
    connect(close, &PictureBox::clicked, this, &TitleBar::closeClick);
    connect(close, &PictureBox::entered, this, &TitleBar::closeMouseEnter);
    connect(close, &PictureBox::left, this, &TitleBar::closeMouseLeave);

    if (kind_ == Kind::SearchWindow) {
        connect(bk_max, &PictureBox::entered, this, &TitleBar::maximizedMouseEnter);
        connect(bk_max, &PictureBox::left, this, &TitleBar::maximizedMouseLeave);
        // The logo doubles as a minimise button in the main window.
        connect(Image1, &PictureBox::clicked, this, &TitleBar::minimizedClick);
        connect(Image1, &PictureBox::entered, this, &TitleBar::minimizedMouseEnter);
        connect(Image1, &PictureBox::left, this, &TitleBar::minimizedMouseLeave);
    } else {
        connect(bk_max, &PictureBox::entered, this, &TitleBar::bk_maxMouseEnter);
        connect(bk_max, &PictureBox::left, this, &TitleBar::bk_maxMouseLeave);
    }
}

void TitleBar::setDragTarget(std::function<QWidget*()> target)
{
    dragTarget_ = std::move(target);
}

void TitleBar::pnlTopoMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint& pos)
{
    if (button != Qt::LeftButton)
        return;
    QWidget* target = dragTarget_ ? dragTarget_() : window_;
    if (!target)
        return;
    target = target->window();

    emit dragStarted(target);
    if (QWindow* handle = target->windowHandle(); handle && handle->startSystemMove())
        return;
    // No window manager to run the move: follow the pointer until release.
    dragging_ = target;
    dragStartPointer_ = mapToGlobal(pos);
    dragStartPosition_ = target->pos();
}

void TitleBar::mousePressEvent(QMouseEvent* event)
{
    pnlTopoMouseDown(event->button(), event->modifiers(), event->position().toPoint());
    event->accept();
}

void TitleBar::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        dragging_->move(dragStartPosition_ + (event->globalPosition().toPoint() - dragStartPointer_));
    event->accept();
}

void TitleBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragging_ = nullptr;
    event->accept();
}

void TitleBar::minimizedClick()
{
    ApplicationMinimizer::minimize(window_);
}

void TitleBar::maximizedClick()
{
    toggleMaximized();
}

void TitleBar::bk_maxClick()
{
    toggleMaximized();
}

void TitleBar::toggleMaximized()
{
    // The window's state decides, not the picture clicked: its state may have
    // changed from elsewhere since the pictures were last swapped. The picture
    // to be shown appears before the other goes, so the cell is never empty.
    if (window_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
        window_->showNormal();
        maximized->show();
        bk_max->hide();
    } else {
        window_->showMaximized();
        bk_max->show();
        maximized->hide();
    }
}

void TitleBar::closeClick()
{
    if (kind_ == Kind::SearchWindow) {
        // Ends the program once the events already waiting are handled; no
        // window gets a close event first.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    } else {
        // A modal dialog closed this way ends its exec() as rejected.
        window_->close();
    }
}

void TitleBar::setCellColor(QWidget* cell, const QColor& color)
{
    QPalette palette = cell->palette();
    palette.setColor(QPalette::Window, color);
    cell->setPalette(palette);
}

void TitleBar::minimizedMouseEnter() { setCellColor(Panel7, navyColor()); }
void TitleBar::minimizedMouseLeave() { setCellColor(Panel7, titleBarColor()); }
void TitleBar::maximizedMouseEnter() { setCellColor(Panel8, navyColor()); }
void TitleBar::maximizedMouseLeave() { setCellColor(Panel8, titleBarColor()); }
void TitleBar::bk_maxMouseEnter() { setCellColor(Panel8, navyColor()); }
void TitleBar::bk_maxMouseLeave() { setCellColor(Panel8, titleBarColor()); }
void TitleBar::closeMouseEnter() { setCellColor(Panel6, redColor()); }
void TitleBar::closeMouseLeave() { setCellColor(Panel6, titleBarColor()); }

} // namespace chrome
