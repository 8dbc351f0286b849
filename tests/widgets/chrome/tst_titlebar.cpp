// The title bar as both windows carry it: components and sizes, hover colours,
// maximise/restore, minimise, close and drag.

#include <colors.h>
#include <picturebox.h>
#include <titlebar.h>

#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <memory>

using chrome::PictureBox;
using chrome::TitleBar;

Q_DECLARE_METATYPE(TitleBar::Kind)

namespace {

// A window the way the two real ones embed the bar: first in a zero-margin
// vertical layout, content below.
template <typename Window = QWidget>
std::unique_ptr<Window> makeWindow(TitleBar::Kind kind, int width, int height = 481, QWidget* parent = nullptr)
{
    auto window = std::make_unique<Window>(parent);
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new TitleBar(kind, window.get()));
    auto* content = new QWidget(window.get());
    content->setObjectName(QStringLiteral("pnlCenter"));
    layout->addWidget(content, 1);
    window->resize(width, height);
    return window;
}

TitleBar* barOf(QWidget* window)
{
    return window->findChild<TitleBar*>(QStringLiteral("pnlTopo"));
}

template <typename T = QWidget>
T* part(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no component %s", name);
    return found;
}

QRect geometryIn(QWidget* window, QWidget* widget)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

QPoint centreIn(QWidget* window, QWidget* widget)
{
    return geometryIn(window, widget).center();
}

// The colour the user sees at a point of the window.
QColor shownColor(QWidget* window, QPoint pos)
{
    return window->grab(QRect(pos, QSize(1, 1))).toImage().pixelColor(0, 0);
}

bool showAndWait(QWidget* window)
{
    window->show();
    return QTest::qWaitForWindowExposed(window);
}

// Runs `script` while `dialog` is shown modally; a watchdog ends the modal
// loop if the script leaves it running.
int execWith(QDialog* dialog, std::function<void()> script)
{
    QTimer::singleShot(0, dialog, std::move(script));
    QPointer<QDialog> guard(dialog);
    QTimer::singleShot(10000, dialog, [guard] {
        if (guard && guard->isVisible())
            guard->done(-1);
    });
    return dialog->exec();
}

const QPoint freeStretch(300, 12);

} // namespace

class TitleBarTest : public QObject
{
    Q_OBJECT

private slots:
    void colourValues_data();
    void colourValues();
    void componentTree();
    void layout_data();
    void layout();
    void atRest();
    void hoverColours_data();
    void hoverColours();
    void hoverOnRestorePicture_data();
    void hoverOnRestorePicture();
    void maximizeAndRestore();
    void decisionFollowsWindowState_data();
    void decisionFollowsWindowState();
    void pressesThatDrag_data();
    void pressesThatDrag();
    void dragMovesTargetWithoutWindowManager();
    void dragTargetIsLookedUpAtEachPress();
    void minimizeFromSearchWindow_data();
    void minimizeFromSearchWindow();
    void minimizeFromSolutionWindowTakesBoth();
    void closeSolutionWindowRejectsIt();
    void closeSearchWindowEndsEventLoop();
};

void TitleBarTest::colourValues_data()
{
    QTest::addColumn<uint>("value");
    QTest::addColumn<QColor>("color");
    QTest::newRow("title bar") << uint(ui::TitleBarColor) << QColor(0x2A, 0x5C, 0xC0);
    QTest::newRow("content") << uint(ui::ContentColor) << QColor(0xC1, 0xCA, 0xD2);
    QTest::newRow("navy") << uint(ui::NavyColor) << QColor(0, 0, 128);
    QTest::newRow("red") << uint(ui::RedColor) << QColor(255, 0, 0);
    QTest::newRow("blue byte high") << 0x00FF0000u << QColor(0, 0, 255);
}

void TitleBarTest::colourValues()
{
    QFETCH(uint, value);
    QFETCH(QColor, color);
    QCOMPARE(chrome::colorFromBgr(value), color);
}

void TitleBarTest::componentTree()
{
    const auto window = makeWindow(TitleBar::Kind::SearchWindow, 751);
    TitleBar* bar = barOf(window.get());
    QVERIFY(bar);
    const struct {
        const char* name;
        QWidget* member;
        const char* parent;
    } tree[] = {
        {"pnlLogo", bar->pnlLogo, "pnlTopo"},   {"pnImage1", bar->pnImage1, "pnlLogo"},
        {"Image1", bar->Image1, "pnImage1"},    {"Panel1", bar->Panel1, "pnlLogo"},
        {"lbVersion", bar->lbVersion, "Panel1"}, {"pnNV", bar->pnNV, "pnlTopo"},
        {"Panel7", bar->Panel7, "pnNV"},        {"minimized", bar->minimized, "Panel7"},
        {"Panel8", bar->Panel8, "pnNV"},        {"bk_max", bar->bk_max, "Panel8"},
        {"maximized", bar->maximized, "Panel8"}, {"Panel6", bar->Panel6, "pnNV"},
        {"close", bar->close, "Panel6"},
    };
    for (const auto& entry : tree) {
        QWidget* found = part(window.get(), entry.name);
        QCOMPARE(found, entry.member);
        QVERIFY2(found->parentWidget(), entry.name);
        QCOMPARE(found->parentWidget()->objectName(), QLatin1String(entry.parent));
    }
    QCOMPARE(bar->parentWidget(), window.get());

    // `maximized` lies over `bk_max` in the same cell.
    const QObjectList stack = bar->Panel8->children();
    QVERIFY(stack.indexOf(bar->maximized) > stack.indexOf(bar->bk_max));
}

void TitleBarTest::layout_data()
{
    QTest::addColumn<TitleBar::Kind>("kind");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("freeStretch");
    QTest::newRow("search window at 751") << TitleBar::Kind::SearchWindow << 751 << 422;
    QTest::newRow("solution window at 1110") << TitleBar::Kind::SolutionWindow << 1110 << 781;
}

void TitleBarTest::layout()
{
    QFETCH(TitleBar::Kind, kind);
    QFETCH(int, width);
    QFETCH(int, freeStretch);
    const auto window = makeWindow(kind, width);
    QVERIFY(showAndWait(window.get()));
    const int right = width - 168;

    const struct {
        const char* name;
        QRect geometry;
    } expected[] = {
        {"pnlTopo", {0, 0, width, 24}},
        {"pnlLogo", {0, 0, 161, 24}},
        {"pnImage1", {0, 0, 41, 24}},
        {"Image1", {15, 1, 20, 18}},
        {"Panel1", {41, 0, 120, 24}},
        {"lbVersion", {41, 0, 120, 24}},
        {"pnNV", {right, 0, 168, 24}},
        {"Panel7", {right, 0, 56, 24}},
        {"minimized", {right, 0, 56, 24}},
        {"Panel8", {right + 56, 0, 56, 24}},
        {"maximized", {right + 56, 0, 56, 24}},
        {"bk_max", {right + 56, 0, 56, 24}},
        {"Panel6", {right + 112, 0, 56, 24}},
        {"close", {right + 112, 0, 56, 24}},
    };
    for (const auto& entry : expected)
        QCOMPARE(geometryIn(window.get(), part(window.get(), entry.name)), entry.geometry);

    const QRect logo = geometryIn(window.get(), part(window.get(), "pnlLogo"));
    const QRect buttons = geometryIn(window.get(), part(window.get(), "pnNV"));
    QCOMPARE(buttons.left() - (logo.right() + 1), freeStretch);
    // Nothing but the bar itself lies on the free stretch.
    for (int x = logo.right() + 1; x < buttons.left(); x += 20)
        QCOMPARE(window->childAt(x, 12), static_cast<QWidget*>(barOf(window.get())));
}

void TitleBarTest::atRest()
{
    const auto window = makeWindow(TitleBar::Kind::SearchWindow, 751);
    QVERIFY(showAndWait(window.get()));
    TitleBar* bar = barOf(window.get());

    QVERIFY(bar->maximized->isVisible());
    QVERIFY(!bar->bk_max->isVisible());

    // One blue band: cells, logo block and free stretch alike.
    const QColor blue = chrome::titleBarColor();
    for (const QPoint p : {QPoint(2, 2), QPoint(150, 22), freeStretch, QPoint(751 - 168 + 1, 1),
                           QPoint(751 - 112 + 1, 1), QPoint(751 - 56 + 1, 1), QPoint(750, 23)})
        QCOMPARE(shownColor(window.get(), p), blue);

    QCOMPARE(bar->lbVersion->text(), QStringLiteral("Quelvo 1.0"));
    QCOMPARE(bar->lbVersion->alignment(), Qt::AlignCenter);
    // Resolved, not just asked for: Tahoma must really be there.
    QCOMPARE(QFontInfo(bar->lbVersion->font()).family(), QStringLiteral("Tahoma"));
    QCOMPARE(bar->lbVersion->font().pixelSize(), 13);
    QVERIFY(!bar->lbVersion->font().bold());
    QCOMPARE(bar->lbVersion->palette().color(QPalette::WindowText), QColor(Qt::white));

    // The hand only over the free stretch.
    QCOMPARE(bar->cursor().shape(), Qt::PointingHandCursor);
    for (QWidget* w : {static_cast<QWidget*>(bar->Image1), static_cast<QWidget*>(bar->lbVersion),
                       static_cast<QWidget*>(bar->pnImage1), static_cast<QWidget*>(bar->minimized),
                       static_cast<QWidget*>(bar->maximized), static_cast<QWidget*>(bar->close)})
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
}

void TitleBarTest::hoverColours_data()
{
    QTest::addColumn<TitleBar::Kind>("kind");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QColor>("hover");
    const auto search = TitleBar::Kind::SearchWindow;
    const auto solution = TitleBar::Kind::SolutionWindow;
    const QColor navy = chrome::navyColor();
    const QColor red = chrome::redColor();
    const QColor none = chrome::titleBarColor();
    for (const auto kind : {search, solution}) {
        const char* k = kind == search ? "search: " : "solution: ";
        QTest::addRow("%sminimized", k) << kind << "minimized" << "Panel7" << navy;
        QTest::addRow("%smaximized", k) << kind << "maximized" << "Panel8" << navy;
        QTest::addRow("%sclose", k) << kind << "close" << "Panel6" << red;
    }
    QTest::newRow("search: logo") << search << "Image1" << "Panel7" << navy;
    QTest::newRow("solution: logo") << solution << "Image1" << "Panel7" << none;
}

// The pointer over a picture colours its cell around the glyph, which stays
// white; leaving it brings the title-bar blue back. No other cell changes.
void TitleBarTest::hoverColours()
{
    QFETCH(TitleBar::Kind, kind);
    QFETCH(QString, picture);
    QFETCH(QString, cell);
    QFETCH(QColor, hover);
    const auto window = makeWindow(kind, 751);
    QVERIFY(showAndWait(window.get()));
    const QColor blue = chrome::titleBarColor();
    QWidget* target = part(window.get(), qPrintable(picture));
    const QStringList cells{QStringLiteral("Panel7"), QStringLiteral("Panel8"), QStringLiteral("Panel6")};
    auto cellCorner = [&](const QString& name) {
        return geometryIn(window.get(), part(window.get(), qPrintable(name))).topLeft() + QPoint(1, 1);
    };

    QTest::mouseMove(window.get(), freeStretch);
    QTest::mouseMove(window.get(), centreIn(window.get(), target));
    for (const QString& name : cells) {
        const QColor expected = name == cell ? hover : blue;
        QCOMPARE(part(window.get(), qPrintable(name))->palette().color(QPalette::Window), expected);
        QCOMPARE(shownColor(window.get(), cellCorner(name)), expected);
    }
    // The close glyph's top-left arm: pixel (6, 5) of the glyph, 16 from the cell's left.
    const QPoint closeGlyph = geometryIn(window.get(), part(window.get(), "Panel6")).topLeft() + QPoint(22, 5);
    QCOMPARE(shownColor(window.get(), closeGlyph), QColor(Qt::white));

    QTest::mouseMove(window.get(), freeStretch);
    for (const QString& name : cells)
        QCOMPARE(shownColor(window.get(), cellCorner(name)), blue);
}

void TitleBarTest::hoverOnRestorePicture_data()
{
    QTest::addColumn<TitleBar::Kind>("kind");
    QTest::newRow("search") << TitleBar::Kind::SearchWindow;
    QTest::newRow("solution") << TitleBar::Kind::SolutionWindow;
}

// Once maximised, the restore picture is the one that reacts.
void TitleBarTest::hoverOnRestorePicture()
{
    QFETCH(TitleBar::Kind, kind);
    const auto window = makeWindow(kind, 751);
    QVERIFY(showAndWait(window.get()));
    TitleBar* bar = barOf(window.get());
    bar->maximizedClick();
    QVERIFY(bar->bk_max->isVisible());
    QTest::mouseMove(window.get(), freeStretch);
    QCOMPARE(bar->Panel8->palette().color(QPalette::Window), chrome::titleBarColor());

    QTest::mouseMove(window.get(), centreIn(window.get(), bar->bk_max));
    QCOMPARE(bar->Panel8->palette().color(QPalette::Window), chrome::navyColor());
    QTest::mouseMove(window.get(), freeStretch);
    QCOMPARE(bar->Panel8->palette().color(QPalette::Window), chrome::titleBarColor());
}

// Maximise, then restore: the window comes back to its earlier place and
// size, and the pictures swap each time.
void TitleBarTest::maximizeAndRestore()
{
    const auto window = makeWindow(TitleBar::Kind::SearchWindow, 751);
    window->move(40, 30);
    QVERIFY(showAndWait(window.get()));
    TitleBar* bar = barOf(window.get());
    const QRect normal = window->geometry();

    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centreIn(window.get(), bar->maximized));
    QTRY_VERIFY(window->isMaximized());
    QVERIFY(bar->bk_max->isVisible());
    QVERIFY(!bar->maximized->isVisible());
    QTRY_VERIFY(window->width() > 751);

    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centreIn(window.get(), bar->bk_max));
    QTRY_VERIFY(!window->isMaximized());
    QVERIFY(bar->maximized->isVisible());
    QVERIFY(!bar->bk_max->isVisible());
    QTRY_COMPARE(window->geometry(), normal);
}

void TitleBarTest::decisionFollowsWindowState_data()
{
    QTest::addColumn<bool>("startMaximized");
    QTest::addColumn<QString>("outsideChange");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("endMaximized");
    QTest::newRow("maximize") << false << "" << "maximized" << true;
    QTest::newRow("restore") << true << "" << "bk_max" << false;
    QTest::newRow("restore picture while normal") << true << "normal" << "bk_max" << true;
    QTest::newRow("maximize picture while maximized") << false << "maximized" << "maximized" << false;
}

// A state change from elsewhere leaves the pictures alone; the next click
// acts on the window's actual state and sets both pictures from the result.
void TitleBarTest::decisionFollowsWindowState()
{
    QFETCH(bool, startMaximized);
    QFETCH(QString, outsideChange);
    QFETCH(QString, picture);
    QFETCH(bool, endMaximized);
    const auto window = makeWindow(TitleBar::Kind::SolutionWindow, 751);
    QVERIFY(showAndWait(window.get()));
    TitleBar* bar = barOf(window.get());
    if (startMaximized)
        bar->maximizedClick();

    if (outsideChange == QLatin1String("normal"))
        window->showNormal();
    else if (outsideChange == QLatin1String("maximized"))
        window->showMaximized();
    QCOMPARE(bar->bk_max->isVisible(), startMaximized);
    QTRY_COMPARE(bar->width(), window->width());

    PictureBox* clicked = part<PictureBox>(window.get(), qPrintable(picture));
    QVERIFY(clicked->isVisible());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centreIn(window.get(), clicked));
    QCOMPARE(window->isMaximized(), endMaximized);
    QCOMPARE(bar->bk_max->isVisible(), endMaximized);
    QCOMPARE(bar->maximized->isVisible(), !endMaximized);
}

void TitleBarTest::pressesThatDrag_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("drags");
    QTest::newRow("free stretch, left") << freeStretch << Qt::LeftButton << true;
    QTest::newRow("free stretch near logo, left") << QPoint(161, 0) << Qt::LeftButton << true;
    QTest::newRow("free stretch near buttons, left") << QPoint(582, 23) << Qt::LeftButton << true;
    QTest::newRow("free stretch, right") << freeStretch << Qt::RightButton << false;
    QTest::newRow("free stretch, middle") << freeStretch << Qt::MiddleButton << false;
    QTest::newRow("logo block beside the logo") << QPoint(5, 21) << Qt::LeftButton << false;
    QTest::newRow("logo") << QPoint(25, 10) << Qt::LeftButton << false;
    QTest::newRow("caption") << QPoint(100, 12) << Qt::LeftButton << false;
    QTest::newRow("caption, right") << QPoint(100, 12) << Qt::RightButton << false;
    QTest::newRow("logo block edge") << QPoint(160, 23) << Qt::LeftButton << false;
    QTest::newRow("minimise cell") << QPoint(583, 0) << Qt::LeftButton << false;
    QTest::newRow("maximise cell") << QPoint(660, 12) << Qt::LeftButton << false;
    QTest::newRow("close cell") << QPoint(750, 23) << Qt::LeftButton << false;
}

// Only a left press on the free stretch starts a drag, in both kinds.
void TitleBarTest::pressesThatDrag()
{
    QFETCH(QPoint, pos);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, drags);
    // Released away from the bar, so that no picture counts a click.
    const QPoint away(400, 300);
    for (const auto kind : {TitleBar::Kind::SearchWindow, TitleBar::Kind::SolutionWindow}) {
        const auto window = makeWindow(kind, 751);
        QVERIFY(showAndWait(window.get()));
        TitleBar* bar = barOf(window.get());
        QSignalSpy started(bar, &TitleBar::dragStarted);
        const QPoint before = window->pos();

        QTest::mousePress(window->windowHandle(), button, {}, pos);
        QTest::mouseRelease(window->windowHandle(), button, {}, away);

        QCOMPARE(started.count(), drags ? 1 : 0);
        if (drags)
            QCOMPARE(started.first().first().value<QWidget*>(), window.get());
        else
            QCOMPARE(window->pos(), before);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
    }
}

// The offscreen platform has no move loop: the bar moves the window with the
// pointer until the button comes up.
void TitleBarTest::dragMovesTargetWithoutWindowManager()
{
    const auto window = makeWindow(TitleBar::Kind::SearchWindow, 751);
    window->move(100, 100);
    QVERIFY(showAndWait(window.get()));
    QWindow* handle = window->windowHandle();
    const QPoint start = window->pos();
    const QPoint pressGlobal = window->mapToGlobal(freeStretch);
    auto moveTo = [&](QPoint global) { QTest::mouseMove(handle, window->mapFromGlobal(global)); };

    QTest::mousePress(handle, Qt::LeftButton, {}, freeStretch);
    moveTo(pressGlobal + QPoint(30, 20));
    QTRY_COMPARE(window->pos(), start + QPoint(30, 20));
    moveTo(pressGlobal + QPoint(-15, 45));
    QTRY_COMPARE(window->pos(), start + QPoint(-15, 45));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, window->mapFromGlobal(pressGlobal + QPoint(-15, 45)));

    // After the release the pointer moves alone.
    moveTo(pressGlobal + QPoint(80, 80));
    QTest::qWait(20);
    QCOMPARE(window->pos(), start + QPoint(-15, 45));
}

// The solution window drags whatever window its lookup answers at the time
// of the press; no answer, no drag.
void TitleBarTest::dragTargetIsLookedUpAtEachPress()
{
    const auto window = makeWindow(TitleBar::Kind::SolutionWindow, 751);
    QVERIFY(showAndWait(window.get()));
    TitleBar* bar = barOf(window.get());
    QWidget other;
    QWidget* current = nullptr;
    bar->setDragTarget([&current] { return current; });
    QSignalSpy started(bar, &TitleBar::dragStarted);

    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, freeStretch);
    QCOMPARE(started.count(), 0);

    current = &other;
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, freeStretch);
    QCOMPARE(started.count(), 1);
    QCOMPARE(started.takeFirst().first().value<QWidget*>(), &other);
}

void TitleBarTest::minimizeFromSearchWindow_data()
{
    QTest::addColumn<TitleBar::Kind>("kind");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("minimizes");
    QTest::newRow("search: minimise button") << TitleBar::Kind::SearchWindow << "minimized" << true;
    QTest::newRow("search: logo") << TitleBar::Kind::SearchWindow << "Image1" << true;
    QTest::newRow("solution: logo") << TitleBar::Kind::SolutionWindow << "Image1" << false;
}

void TitleBarTest::minimizeFromSearchWindow()
{
    QFETCH(TitleBar::Kind, kind);
    QFETCH(QString, picture);
    QFETCH(bool, minimizes);
    const auto window = makeWindow(kind, 751);
    QVERIFY(showAndWait(window.get()));
    QWidget* target = part(window.get(), qPrintable(picture));
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centreIn(window.get(), target));
    QCOMPARE(window->isMinimized(), minimizes);
    QVERIFY(window->isVisible());
}

// Minimise in the modal solution window takes the whole application down;
// restoring the main window brings the dialog back, still modal and still in
// its exec().
void TitleBarTest::minimizeFromSolutionWindowTakesBoth()
{
    const auto main = makeWindow(TitleBar::Kind::SearchWindow, 751);
    QVERIFY(showAndWait(main.get()));
    const auto dialog = makeWindow<QDialog>(TitleBar::Kind::SolutionWindow, 1110, 562, main.get());

    bool checked = false;
    const int result = execWith(dialog.get(), [&] {
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QCOMPARE(QApplication::activeModalWidget(), dialog.get());
        QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {},
                          centreIn(dialog.get(), part(dialog.get(), "minimized")));
        QVERIFY(main->isMinimized());
        QVERIFY(dialog->isMinimized());
        QVERIFY(dialog->isVisible()); // hidden dialogs leave exec()

        main->showNormal();
        QVERIFY(!main->isMinimized());
        QVERIFY(!dialog->isMinimized());
        QVERIFY(dialog->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), dialog.get());
        checked = true;
        dialog->done(QDialog::Accepted);
    });
    QVERIFY(checked);
    QCOMPARE(result, int(QDialog::Accepted));
}

// Close in the solution window ends its modal display as rejected and leaves
// the main window as it was.
void TitleBarTest::closeSolutionWindowRejectsIt()
{
    const auto main = makeWindow(TitleBar::Kind::SearchWindow, 751);
    QVERIFY(showAndWait(main.get()));
    const auto dialog = makeWindow<QDialog>(TitleBar::Kind::SolutionWindow, 1110, 562, main.get());
    QSignalSpy rejected(dialog.get(), &QDialog::rejected);

    const int result = execWith(dialog.get(), [&] {
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {},
                          centreIn(dialog.get(), part(dialog.get(), "close")));
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!dialog->isVisible());
    QVERIFY(main->isVisible());
    QVERIFY(!main->isMinimized());
}

// Close in the search window ends the event loop without a close event to any
// window. Kept last: it ends the application's loop.
void TitleBarTest::closeSearchWindowEndsEventLoop()
{
    const auto window = makeWindow(TitleBar::Kind::SearchWindow, 751);
    QVERIFY(showAndWait(window.get()));
    TitleBar* bar = barOf(window.get());

    struct CloseCounter : QObject {
        int closes = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Close)
                ++closes;
            return false;
        }
    } counter;
    window->installEventFilter(&counter);
    QSignalSpy aboutToQuit(qApp, &QCoreApplication::aboutToQuit);

    // Still queued when the click returns, so the loop must be running to end.
    bool ranAfterClick = false;
    QTimer::singleShot(0, bar, [&] {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centreIn(window.get(), bar->close));
        QCOMPARE(aboutToQuit.count(), 0);
        ranAfterClick = true;
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(10000);
    const int code = QCoreApplication::exec();

    QVERIFY(ranAfterClick);
    QCOMPARE(code, 0);
    QCOMPARE(aboutToQuit.count(), 1);
    QCOMPARE(counter.closes, 0);
    QVERIFY(window->isVisible());
}

QTEST_MAIN(TitleBarTest)
#include "tst_titlebar.moc"
