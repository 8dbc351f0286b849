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

const ui::TitleBarLayout Layout = ui::titleBarLayout(0); // the widths that do not depend on the bar's

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

// A button cell.
QWidget* buttonCell(const char* name, QWidget* parent)
{
    QWidget* cell = colouredPanel(name, parent);
    cell->setFixedSize(ui::ButtonCellWidth, ui::TitleBarHeight);
    return cell;
}

// A picture filling its cell; later ones lie over earlier ones. Placed by
// hand, so that a hidden picture keeps the cell's rectangle too.
PictureBox* cellPicture(const char* name, const QImage& image, QWidget* cell)
{
    PictureBox* box = picture(name, image, cell);
    box->setGeometry(0, 0, ui::ButtonCellWidth, ui::TitleBarHeight);
    return box;
}

QRect toQRect(const ui::Rect& r)
{
    return QRect(r.left, r.top, r.width, r.height);
}

} // namespace

TitleBar::TitleBar(Kind kind, QWidget* window, QWidget* parent)
    : QWidget(parent ? parent : window)
    , kind_(kind)
    , window_(window)
{
    ensureTahoma();
    setObjectName(QStringLiteral("pnlTopo"));
    setFixedHeight(ui::TitleBarHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, titleBarColor());
    setPalette(palette);
    // Only the free stretch shows the hand; the blocks on it reset to the arrow.
    setCursor(Qt::PointingHandCursor);

    // Logo block: picture, then the caption.
    pnlLogo = colouredPanel("pnlLogo", this);
    pnlLogo->setFixedWidth(Layout.pnlLogo.width);
    pnlLogo->setCursor(Qt::ArrowCursor);
    pnlLogo->setAttribute(Qt::WA_NoMousePropagation);

    pnImage1 = panel("pnImage1", pnlLogo);
    pnImage1->setFixedWidth(Layout.pnImage1.width);
    Image1 = picture("Image1", artwork::logo(), pnImage1);
    Image1->setGeometry(toQRect(Layout.Image1));

    Panel1 = panel("Panel1", pnlLogo);
    lbVersion = new QLabel(QString::fromUtf16(ui::CaptionText), Panel1);
    lbVersion->setObjectName(QStringLiteral("lbVersion"));
    lbVersion->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(ui::CaptionPixelHeight);
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
    pnNV->setFixedWidth(Layout.pnNV.width);
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

    // Which picture raises which handler is the same decision in both
    // front-ends; the two kinds of bar differ only there.
    using ui::PictureEvent;
    for (ui::TitlePicture p : {ui::TitlePicture::Image1, ui::TitlePicture::minimized, ui::TitlePicture::maximized,
                               ui::TitlePicture::bk_max, ui::TitlePicture::close}) {
        PictureBox* box = ui::titleBarPicture(*this, p);
        const std::pair<PictureEvent, void (PictureBox::*)()> events[] = {
            {PictureEvent::Click, &PictureBox::clicked},
            {PictureEvent::Enter, &PictureBox::entered},
            {PictureEvent::Leave, &PictureBox::left},
        };
        for (const auto& [event, signal] : events) {
            if (const auto handler = ui::titleBarHandler(kind_, p, event))
                connect(box, signal, this, [this, h = *handler] { ui::runTitleBarHandler(*this, h); });
        }
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
    const Qt::WindowStates state = window_->windowState();
    const ui::WindowState current = state & Qt::WindowMinimized ? ui::WindowState::Minimized
                                    : state & (Qt::WindowMaximized | Qt::WindowFullScreen)
                                        ? ui::WindowState::Maximized
                                        : ui::WindowState::Normal;
    const ui::MaximizeStep step = ui::maximizeOrRestore(current);
    if (step.newState == ui::WindowState::Normal)
        window_->showNormal();
    else
        window_->showMaximized();
    ui::titleBarPicture(*this, step.show)->show();
    ui::titleBarPicture(*this, step.hide)->hide();
}

void TitleBar::closeClick()
{
    if (ui::closeActionFor(kind_) == ui::CloseAction::EndProgram) {
        // Ends the program once the events already waiting are handled; no
        // window gets a close event first.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    } else {
        // A modal dialog closed this way ends its exec() as rejected.
        window_->close();
    }
}

void TitleBar::paintCell(ui::TitleBarHandler hoverHandler)
{
    const auto paint = ui::cellColorFor(hoverHandler);
    if (!paint)
        return;
    QWidget* cell = ui::titleBarCell(*this, paint->cell);
    QPalette palette = cell->palette();
    palette.setColor(QPalette::Window, colorFromBgr(paint->color));
    cell->setPalette(palette);
}

void TitleBar::minimizedMouseEnter() { paintCell(ui::TitleBarHandler::minimizedMouseEnter); }
void TitleBar::minimizedMouseLeave() { paintCell(ui::TitleBarHandler::minimizedMouseLeave); }
void TitleBar::maximizedMouseEnter() { paintCell(ui::TitleBarHandler::maximizedMouseEnter); }
void TitleBar::maximizedMouseLeave() { paintCell(ui::TitleBarHandler::maximizedMouseLeave); }
void TitleBar::bk_maxMouseEnter() { paintCell(ui::TitleBarHandler::bk_maxMouseEnter); }
void TitleBar::bk_maxMouseLeave() { paintCell(ui::TitleBarHandler::bk_maxMouseLeave); }
void TitleBar::closeMouseEnter() { paintCell(ui::TitleBarHandler::closeMouseEnter); }
void TitleBar::closeMouseLeave() { paintCell(ui::TitleBarHandler::closeMouseLeave); }

} // namespace chrome
