#include "view/solution_window.h"

#include "borderlessframe.h"
#include "colors.h"
#include "titlebar.h"

#include "ui/window_layout.h"
#include "view/text_memo.h"
#include "view/window_body.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TForm1* Form1 = nullptr;

namespace {

constexpr QSize InitialClientSize(ui::SolutionWindowClientSize.width, ui::SolutionWindowClientSize.height);

QLabel* caption(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(ui::LabelFontPixelHeight);
    font.setBold(true);
    label->setFont(font);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    label->setAutoFillBackground(false);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return label;
}

view::TextMemo* memo(const char* name, QWidget* parent)
{
    auto* box = new view::TextMemo(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return box;
}

} // namespace

TForm1::TForm1(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form1"));
    frame_ = new chrome::BorderlessFrame(this);
    setFont(view::windowFont());
    resize(InitialClientSize);
    setMinimumSize(InitialClientSize);

    const view::WindowBody body = view::buildWindowBody(this, chrome::TitleBar::Kind::SolutionWindow);
    pnlTopo = body.titleBar;
    pnlCenter = body.content;
    // The drag moves the window held in Form1.
    pnlTopo->setDragTarget([] { return static_cast<QWidget*>(Form1); });

    auto* center = new QVBoxLayout(pnlCenter);
    constexpr int inset = ui::SolutionInset;
    center->setContentsMargins(inset, inset, inset, inset);
    center->setSpacing(0);

    GridPanel1 = new QWidget(pnlCenter);
    GridPanel1->setObjectName(QStringLiteral("GridPanel1"));
    center->addWidget(GridPanel1, 1);
    Panel3 = new QWidget(pnlCenter);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedHeight(ui::SolutionBandHeight);
    center->addWidget(Panel3);

    auto* grid = new QGridLayout(GridPanel1);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowMinimumHeight(0, ui::LabelRowHeight);
    grid->setRowMinimumHeight(1, ui::LabelRowHeight);
    grid->setRowStretch(2, 1);

    Label4 = caption("Label4", QStringLiteral("Suporte:"), GridPanel1);
    Label3 = caption("Label3", QStringLiteral("Data:"), GridPanel1);
    Label2 = caption("Label2", QStringLiteral("PROBLEMA"), GridPanel1);
    Label1 = caption("Label1", QStringLiteral("SOLUÇÃO"), GridPanel1);
    for (QLabel* label : {Label4, Label3, Label2, Label1})
        label->setFixedHeight(ui::LabelRowHeight);
    grid->addWidget(Label4, 0, 0, Qt::AlignLeft);
    grid->addWidget(Label3, 0, 1, Qt::AlignLeft);
    grid->addWidget(Label2, 1, 0, Qt::AlignLeft);
    grid->addWidget(Label1, 1, 1, Qt::AlignLeft);

    // Each box fills its cell less the memo margin on every side.
    constexpr int memoMargin = ui::MemoMargin;
    Memo2 = memo("Memo2", GridPanel1);
    Memo1 = memo("Memo1", GridPanel1);
    auto* left = new QVBoxLayout();
    left->setContentsMargins(memoMargin, memoMargin, memoMargin, memoMargin);
    left->addWidget(Memo2);
    auto* right = new QVBoxLayout();
    right->setContentsMargins(memoMargin, memoMargin, memoMargin, memoMargin);
    right->addWidget(Memo1);
    grid->addLayout(left, 2, 0);
    grid->addLayout(right, 2, 1);

    setTabOrder(Memo2, Memo1);
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child != Memo1 && child != Memo2 && child->focusPolicy() != Qt::NoFocus)
            child->setFocusPolicy(Qt::NoFocus);
    }
    Memo2->setFocus();
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

QPoint TForm1::centredPosition(const QRect& owner, const QSize& window, const QRect& workArea)
{
    const ui::Point p = ui::centredOver({owner.x(), owner.y(), owner.width(), owner.height()},
                                        {window.width(), window.height()},
                                        {workArea.x(), workArea.y(), workArea.width(), workArea.height()});
    return {p.x, p.y};
}

int TForm1::showModalOver(QWidget* owner)
{
    // Owned by the search window: stays in front of it, and goes with it.
    setParent(owner, windowFlags() | Qt::Dialog);
    setWindowModality(Qt::ApplicationModal);
    QRect workArea;
    if (const QScreen* screen = owner->screen())
        workArea = screen->availableGeometry();
    move(centredPosition(owner->frameGeometry(), frameGeometry().size(), workArea));
    Memo2->setFocus();
    return exec();
}
