// The borderless frame: window style, the sizing band's hit-test and cursors,
// resizing by hand where no window manager does it, and the minimum size.

#include <borderlessframe.h>
#include <framegeometry.h>

#include <QDialog>
#include <QSignalSpy>
#include <QTest>

using chrome::BorderlessFrame;

namespace {

constexpr Qt::Edges None{};
constexpr Qt::Edges L = Qt::LeftEdge;
constexpr Qt::Edges R = Qt::RightEdge;
constexpr Qt::Edges T = Qt::TopEdge;
constexpr Qt::Edges B = Qt::BottomEdge;

} // namespace

class BorderlessFrameTest : public QObject
{
    Q_OBJECT

private slots:
    void edgesAt_data();
    void edgesAt();
    void cursorForEdges_data();
    void cursorForEdges();
    void resizedGeometry_data();
    void resizedGeometry();
    void windowStyle();
    void bandStaysAboveLaterChildren();
    void hoverShowsResizeCursor();
    void dragResizesDownToMinimum_data();
    void dragResizesDownToMinimum();
    void maximizedWindowIgnoresBand();
};

void BorderlessFrameTest::edgesAt_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<Qt::Edges>("edges");
    // A 751 x 481 window, band 4, corner reach 12.
    QTest::newRow("inside") << QPoint(300, 200) << None;
    QTest::newRow("just inside the band") << QPoint(4, 200) << None;
    QTest::newRow("left edge") << QPoint(0, 200) << L;
    QTest::newRow("left band inner pixel") << QPoint(3, 200) << L;
    QTest::newRow("right edge") << QPoint(750, 200) << R;
    QTest::newRow("right band inner pixel") << QPoint(747, 200) << R;
    QTest::newRow("right, just inside") << QPoint(746, 200) << None;
    QTest::newRow("top edge") << QPoint(300, 0) << T;
    QTest::newRow("bottom edge") << QPoint(300, 480) << B;
    QTest::newRow("bottom band inner pixel") << QPoint(300, 477) << B;
    QTest::newRow("top-left corner") << QPoint(0, 0) << (T | L);
    QTest::newRow("top-right corner") << QPoint(750, 0) << (T | R);
    QTest::newRow("bottom-left corner") << QPoint(0, 480) << (B | L);
    QTest::newRow("bottom-right corner") << QPoint(750, 480) << (B | R);
    QTest::newRow("top edge near left corner") << QPoint(11, 1) << (T | L);
    QTest::newRow("top edge past corner reach") << QPoint(12, 1) << T;
    QTest::newRow("right edge near bottom corner") << QPoint(749, 470) << (B | R);
    QTest::newRow("right edge past corner reach") << QPoint(749, 468) << R;
    QTest::newRow("outside left") << QPoint(-1, 200) << None;
    QTest::newRow("outside bottom") << QPoint(300, 481) << None;
}

void BorderlessFrameTest::edgesAt()
{
    QFETCH(QPoint, pos);
    QFETCH(Qt::Edges, edges);
    QCOMPARE(chrome::edgesAt(pos, QSize(751, 481), 4, 12), edges);
}

void BorderlessFrameTest::cursorForEdges_data()
{
    QTest::addColumn<Qt::Edges>("edges");
    QTest::addColumn<Qt::CursorShape>("shape");
    QTest::newRow("none") << None << Qt::ArrowCursor;
    QTest::newRow("left") << L << Qt::SizeHorCursor;
    QTest::newRow("right") << R << Qt::SizeHorCursor;
    QTest::newRow("top") << T << Qt::SizeVerCursor;
    QTest::newRow("bottom") << B << Qt::SizeVerCursor;
    QTest::newRow("top-left") << (T | L) << Qt::SizeFDiagCursor;
    QTest::newRow("bottom-right") << (B | R) << Qt::SizeFDiagCursor;
    QTest::newRow("top-right") << (T | R) << Qt::SizeBDiagCursor;
    QTest::newRow("bottom-left") << (B | L) << Qt::SizeBDiagCursor;
}

void BorderlessFrameTest::cursorForEdges()
{
    QFETCH(Qt::Edges, edges);
    QFETCH(Qt::CursorShape, shape);
    QCOMPARE(chrome::cursorForEdges(edges), shape);
}

void BorderlessFrameTest::resizedGeometry_data()
{
    QTest::addColumn<Qt::Edges>("edges");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");
    // Start 100,50 800 x 500; minimum 751 x 481; maximum 1000 x 700.
    QTest::newRow("right grows") << R << QPoint(30, 99) << QRect(100, 50, 830, 500);
    QTest::newRow("right shrinks to minimum") << R << QPoint(-200, 0) << QRect(100, 50, 751, 500);
    QTest::newRow("right capped at maximum") << R << QPoint(500, 0) << QRect(100, 50, 1000, 500);
    QTest::newRow("left grows, right edge fixed") << L << QPoint(-20, 0) << QRect(80, 50, 820, 500);
    QTest::newRow("left stops at minimum, right edge fixed") << L << QPoint(200, 0) << QRect(149, 50, 751, 500);
    QTest::newRow("bottom shrinks to minimum") << B << QPoint(0, -100) << QRect(100, 50, 800, 481);
    QTest::newRow("top stops at minimum, bottom fixed") << T << QPoint(0, 100) << QRect(100, 69, 800, 481);
    QTest::newRow("top grows") << T << QPoint(5, -10) << QRect(100, 40, 800, 510);
    QTest::newRow("top-left corner") << (T | L) << QPoint(-10, -10) << QRect(90, 40, 810, 510);
    QTest::newRow("bottom-right corner to minimum") << (B | R) << QPoint(-500, -500) << QRect(100, 50, 751, 481);
    QTest::newRow("top-right corner") << (T | R) << QPoint(10, 10) << QRect(100, 60, 810, 490);
    QTest::newRow("no edges") << None << QPoint(10, 10) << QRect(100, 50, 800, 500);
}

void BorderlessFrameTest::resizedGeometry()
{
    QFETCH(Qt::Edges, edges);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);
    QCOMPARE(chrome::resizedGeometry(QRect(100, 50, 800, 500), edges, delta, QSize(751, 481), QSize(1000, 700)),
             expected);
}

// Frameless, but of the same kind as before: the main window stays a normal
// top-level, the dialog a dialog.
void BorderlessFrameTest::windowStyle()
{
    QWidget main;
    new BorderlessFrame(&main);
    QCOMPARE(main.windowType(), Qt::Window);
    QVERIFY(main.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(main.isWindow());

    QDialog dialog(&main);
    new BorderlessFrame(&dialog);
    QCOMPARE(dialog.windowType(), Qt::Dialog);
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(dialog.parentWidget(), &main);
}

// Content added after the frame must not cover the band, and the band must
// not cover the content inside it.
void BorderlessFrameTest::bandStaysAboveLaterChildren()
{
    QWidget window;
    window.resize(751, 481);
    auto* frame = new BorderlessFrame(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Added while the window is already shown.
    auto* content = new QWidget(&window);
    content->setGeometry(window.rect());
    content->show();

    QCOMPARE(frame->geometry(), window.rect());
    for (const QPoint p : {QPoint(0, 0), QPoint(2, 240), QPoint(750, 240), QPoint(375, 480), QPoint(375, 3)})
        QCOMPARE(window.childAt(p), static_cast<QWidget*>(frame));
    for (const QPoint p : {QPoint(4, 240), QPoint(746, 240), QPoint(375, 4), QPoint(375, 476)})
        QCOMPARE(window.childAt(p), content);

    window.resize(900, 600);
    QTRY_COMPARE(frame->geometry(), window.rect());
    QCOMPARE(window.childAt(899, 300), static_cast<QWidget*>(frame));
    QCOMPARE(window.childAt(750, 300), content);
}

void BorderlessFrameTest::hoverShowsResizeCursor()
{
    QWidget window;
    window.resize(751, 481);
    auto* frame = new BorderlessFrame(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const struct {
        QPoint pos;
        Qt::CursorShape shape;
    } cases[] = {
        {{1, 240}, Qt::SizeHorCursor},   {{749, 240}, Qt::SizeHorCursor}, {{375, 1}, Qt::SizeVerCursor},
        {{375, 479}, Qt::SizeVerCursor}, {{1, 1}, Qt::SizeFDiagCursor},   {{749, 479}, Qt::SizeFDiagCursor},
        {{749, 1}, Qt::SizeBDiagCursor}, {{1, 479}, Qt::SizeBDiagCursor},
    };
    for (const auto& c : cases) {
        QTest::mouseMove(&window, c.pos);
        QCOMPARE(frame->cursor().shape(), c.shape);
    }
}

void BorderlessFrameTest::dragResizesDownToMinimum_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("moved"); // how far the window's top-left moves
    // Window 800 x 520 at 100, 100; minimum 751 x 481.
    QTest::newRow("right edge out") << QPoint(798, 260) << QPoint(40, 0) << QSize(840, 520) << QPoint(0, 0);
    QTest::newRow("right edge in, past minimum") << QPoint(798, 260) << QPoint(-200, 0) << QSize(751, 520)
                                                 << QPoint(0, 0);
    QTest::newRow("bottom edge in, past minimum") << QPoint(400, 518) << QPoint(0, -300) << QSize(800, 481)
                                                  << QPoint(0, 0);
    QTest::newRow("left edge in, past minimum") << QPoint(1, 260) << QPoint(150, 0) << QSize(751, 520)
                                                << QPoint(49, 0);
    QTest::newRow("left edge out") << QPoint(1, 260) << QPoint(-30, 0) << QSize(830, 520) << QPoint(-30, 0);
    QTest::newRow("top-left corner in, past minimum") << QPoint(1, 1) << QPoint(100, 100) << QSize(751, 481)
                                                      << QPoint(49, 39);
    QTest::newRow("bottom-right corner out") << QPoint(798, 518) << QPoint(20, 10) << QSize(820, 530)
                                             << QPoint(0, 0);
}

// Under the offscreen platform startSystemResize() fails, so the frame does
// the resize itself, following the pointer and stopping at the minimum size.
void BorderlessFrameTest::dragResizesDownToMinimum()
{
    QFETCH(QPoint, press);
    QFETCH(QPoint, delta);
    QFETCH(QSize, size);
    QFETCH(QPoint, moved);

    QWidget window;
    window.setMinimumSize(751, 481);
    window.setGeometry(100, 100, 800, 520);
    auto* frame = new BorderlessFrame(&window);
    auto* content = new QWidget(&window);
    content->setGeometry(window.rect());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy started(frame, &BorderlessFrame::resizeStarted);

    QWindow* handle = window.windowHandle();
    const QPoint start = window.pos();
    const QPoint pressGlobal = window.mapToGlobal(press);
    QTest::mousePress(handle, Qt::LeftButton, {}, press);
    QCOMPARE(started.count(), 1);
    // In two steps, the second one measured from the moved window.
    QTest::mouseMove(handle, window.mapFromGlobal(pressGlobal + delta / 2));
    QTest::mouseMove(handle, window.mapFromGlobal(pressGlobal + delta));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, window.mapFromGlobal(pressGlobal + delta));

    QTRY_COMPARE(window.size(), size);
    QCOMPARE(window.pos(), start + moved);
    QVERIFY(window.width() >= window.minimumWidth());
    QVERIFY(window.height() >= window.minimumHeight());

    // The release ended the resize.
    QTest::mouseMove(handle, window.mapFromGlobal(pressGlobal + delta + QPoint(60, 60)));
    QTest::qWait(20);
    QCOMPARE(window.size(), size);
}

void BorderlessFrameTest::maximizedWindowIgnoresBand()
{
    QWidget window;
    window.resize(400, 300);
    auto* frame = new BorderlessFrame(&window);
    auto* content = new QWidget(&window);
    content->setGeometry(0, 0, 2000, 2000);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy started(frame, &BorderlessFrame::resizeStarted);

    window.showMaximized();
    QTRY_VERIFY(window.isMaximized());
    QTRY_VERIFY(window.width() > 400);
    QTRY_COMPARE(frame->geometry(), window.rect());
    // The pointer reaches the content through the band.
    QCOMPARE(window.childAt(window.width() - 1, 150), content);
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, QPoint(window.width() - 1, 150));
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, QPoint(window.width() - 1, 150));
    QCOMPARE(started.count(), 0);

    window.showNormal();
    QTRY_VERIFY(!window.isMaximized());
    QTRY_COMPARE(window.width(), 400);
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, QPoint(window.width() - 1, 150));
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, QPoint(window.width() - 1, 150));
    QCOMPARE(started.count(), 1);
}

QTEST_MAIN(BorderlessFrameTest)
#include "tst_borderlessframe.moc"
