#include "view/search_window.h"

#include "artwork.h"
#include "borderlessframe.h"
#include "colors.h"
#include "picturebox.h"
#include "titlebar.h"

#include "service/service_connection.h"
#include "ui/error_guard.h"
#include "ui/solution_content.h"
#include "ui/window_layout.h"
#include "view/qt_text.h"
#include "view/result_grid.h"
#include "view/result_model.h"
#include "view/rounded_corners.h"
#include "view/solution_window.h"
#include "view/text_memo.h"
#include "view/window_body.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TForm2* Form2 = nullptr;

namespace {

constexpr QSize InitialClientSize(ui::SearchWindowClientSize.width, ui::SearchWindowClientSize.height);
constexpr int CornerEllipse = ui::SearchBoxCornerEllipse;

QWidget* plainPanel(const char* name, QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    return panel;
}

} // namespace

TForm2::TForm2(TServiceConnection& service, QWidget* parent) : QWidget(parent), service_(service)
{
    setObjectName(QStringLiteral("Form2"));
    build();
    ui::guarded([this] { FormCreate(); });
    Panel3->installEventFilter(this);

    // Centred on the primary screen's full size, never above or left of the desktop.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(firstPosition(screen->geometry(), screen->virtualGeometry(), frameGeometry().size()));
    show();
    Memo1->setFocus(Qt::ActiveWindowFocusReason);
}

TForm2::~TForm2()
{
    if (Form2 == this)
        Form2 = nullptr;
}

void TForm2::build()
{
    frame_ = new chrome::BorderlessFrame(this);
    setWindowIcon(artwork::applicationIcon());
    setAutoFillBackground(true);
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, chrome::titleBarColor());
    setPalette(windowPalette);
    setFont(view::windowFont());
    resize(InitialClientSize);
    setMinimumSize(InitialClientSize);

    const view::WindowBody body = view::buildWindowBody(this, chrome::TitleBar::Kind::SearchWindow);
    pnlTopo = body.titleBar;
    pnlCenter = body.content;

    // Panel2's bottom margin and Panel5's top margin add up.
    constexpr int margin = ui::SearchMargin;
    auto* center = new QVBoxLayout(pnlCenter);
    center->setContentsMargins(margin, margin, margin, margin);
    center->setSpacing(2 * margin);

    Panel2 = plainPanel("Panel2", pnlCenter);
    Panel2->setFixedHeight(ui::SearchRowHeight);
    center->addWidget(Panel2);
    auto* panel2Layout = new QVBoxLayout(Panel2);
    panel2Layout->setContentsMargins(0, 0, 0, 0);

    GridPanel1 = plainPanel("GridPanel1", Panel2);
    panel2Layout->addWidget(GridPanel1);
    auto* grid = new QHBoxLayout(GridPanel1);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    Panel3 = plainPanel("Panel3", GridPanel1);
    grid->addWidget(Panel3, 1);
    auto* panel3Layout = new QVBoxLayout(Panel3);
    panel3Layout->setContentsMargins(0, 0, 0, 0);
    Memo1 = new view::TextMemo(Panel3);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    panel3Layout->addWidget(Memo1);

    Panel4 = plainPanel("Panel4", GridPanel1);
    Panel4->setFixedWidth(ui::SearchButtonWidth);
    grid->addWidget(Panel4);
    auto* buttonCell = new QGridLayout(Panel4);
    buttonCell->setContentsMargins(0, 0, 0, 0);
    search = new chrome::PictureBox(artwork::searchGlyph(), chrome::PictureBox::Fit::ShrinkToFit, Panel4);
    search->setObjectName(QStringLiteral("search"));
    bk_search = new chrome::PictureBox(artwork::searchHoverGlyph(), chrome::PictureBox::Fit::ShrinkToFit, Panel4);
    bk_search->setObjectName(QStringLiteral("bk_search"));
    buttonCell->addWidget(search, 0, 0);
    buttonCell->addWidget(bk_search, 0, 0); // created later, so stacked above
    bk_search->hide();

    Panel5 = plainPanel("Panel5", pnlCenter);
    center->addWidget(Panel5, 1);
    auto* panel5Layout = new QVBoxLayout(Panel5);
    panel5Layout->setContentsMargins(0, 0, 0, 0);
    DBGrid1 = new view::ResultGrid(Panel5);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    panel5Layout->addWidget(DBGrid1);
    DataSource1 = new view::ResultModel(service_.FDQuery1, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DBGrid1->setResultModel(DataSource1);

    setTabOrder(Memo1, DBGrid1);
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child != Memo1 && child != DBGrid1 && child->focusPolicy() != Qt::NoFocus &&
            !DBGrid1->isAncestorOf(child))
            child->setFocusPolicy(Qt::NoFocus);
    }

    connect(search, &chrome::PictureBox::entered, this, &TForm2::searchMouseEnter);
    connect(bk_search, &chrome::PictureBox::left, this, &TForm2::bk_searchMouseLeave);
    connect(search, &chrome::PictureBox::clicked, this, &TForm2::searchClick);
    connect(bk_search, &chrome::PictureBox::clicked, this, &TForm2::searchClick);
    connect(DBGrid1, &view::ResultGrid::cellClicked, this, &TForm2::DBGrid1CellClick);
}

QPoint TForm2::firstPosition(const QRect& screen, const QRect& desktop, const QSize& window)
{
    const ui::Point p = ui::firstPosition({screen.x(), screen.y(), screen.width(), screen.height()},
                                          {desktop.x(), desktop.y(), desktop.width(), desktop.height()},
                                          {window.width(), window.height()});
    return {p.x, p.y};
}

void TForm2::FormCreate()
{
    Arredondarcantos(Panel3, CornerEllipse);
}

void TForm2::FormResize()
{
    Arredondarcantos(Panel3, CornerEllipse);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    // Panel3 takes its new size from the layout after the window's own
    // resize; the region is rebuilt from that size.
    if (watched == Panel3 && event->type() == QEvent::Resize)
        ui::guarded([this] { FormResize(); });
    return QWidget::eventFilter(watched, event);
}

void TForm2::closeEvent(QCloseEvent* event)
{
    // Any close of the main window ends the program.
    event->accept();
    QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void TForm2::searchMouseEnter()
{
    bk_search->show();
}

void TForm2::bk_searchMouseLeave()
{
    bk_search->hide();
}

void TForm2::searchClick()
{
    ui::guarded([this] { DataSource1->search(view::toU16(Memo1->toPlainText())); });
}

void TForm2::DBGrid1CellClick(int)
{
    ui::guarded([this] { showSolution(); });
}

void TForm2::showSolution()
{
    // Nothing to read before any search, or after one that failed to open:
    // the click is ignored. A null value throws before any window exists.
    const std::optional<ui::SolutionContent> content = ui::solutionForCurrentRow(service_.FDQuery1);
    if (!content)
        return;

    auto* form = new TForm1();
    Form1 = form;
    struct Release {
        TForm1* form;
        ~Release()
        {
            Form1 = nullptr;
            delete form;
        }
    } release{form};

    form->Label3->setText(view::toQString(content->dateCaption));
    form->Label4->setText(view::toQString(content->analystCaption));
    form->Memo1->setPlainText(view::toQString(content->solutionText));
    form->Memo2->setPlainText(view::toQString(content->problemText));
    form->showModalOver(this);
}
