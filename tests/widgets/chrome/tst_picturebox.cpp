// Where pictures land in their cells, and the pointer signals.

#include <artwork.h>
#include <colors.h>
#include <picturebox.h>

#include <QGridLayout>
#include <QSignalSpy>
#include <QTest>

using chrome::PictureBox;

Q_DECLARE_METATYPE(PictureBox::Fit)

namespace {

// The bounding box of the pixels that differ from the cell's background.
QRect inkBounds(const QImage& image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QRect opaqueBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

class PictureBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void drawnInCell_data();
    void drawnInCell();
    void pointerSignals();
};

void PictureBoxTest::drawnInCell_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QSize>("cell");
    QTest::addColumn<PictureBox::Fit>("fit");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QSize>("drawn");
    const auto actual = PictureBox::Fit::ActualSize;
    QTest::newRow("close") << artwork::closeGlyph() << QSize(56, 24) << actual << QPoint(16, 0) << QSize(24, 24);
    QTest::newRow("minimized") << artwork::minimizeGlyph() << QSize(56, 24) << actual << QPoint(16, 0) << QSize(24, 24);
    QTest::newRow("maximized") << artwork::maximizeGlyph() << QSize(56, 24) << actual << QPoint(19, 3) << QSize(18, 18);
    QTest::newRow("bk_max") << artwork::restoreGlyph() << QSize(56, 24) << actual << QPoint(19, 3) << QSize(18, 18);
    QTest::newRow("search") << artwork::searchGlyph() << QSize(56, 34) << PictureBox::Fit::ShrinkToFit
                            << QPoint(11, 0) << QSize(34, 34);
    QTest::newRow("bk_search") << artwork::searchHoverGlyph() << QSize(56, 34) << PictureBox::Fit::ShrinkToFit
                               << QPoint(11, 0) << QSize(34, 34);
}

// Renders the picture over a coloured cell: the glyph lands at the offset, at
// the drawn size, and the cell's colour shows everywhere else.
void PictureBoxTest::drawnInCell()
{
    QFETCH(QImage, image);
    QFETCH(QSize, cell);
    QFETCH(PictureBox::Fit, fit);
    QFETCH(QPoint, offset);
    QFETCH(QSize, drawn);

    QWidget panel;
    panel.setAutoFillBackground(true);
    QPalette palette = panel.palette();
    const QColor background = chrome::redColor();
    palette.setColor(QPalette::Window, background);
    panel.setPalette(palette);
    panel.setFixedSize(cell);
    auto* layout = new QGridLayout(&panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* box = new PictureBox(image, fit, &panel);
    layout->addWidget(box, 0, 0);
    panel.resize(cell);
    layout->activate();

    QCOMPARE(box->geometry(), QRect(QPoint(0, 0), cell));
    QCOMPARE(box->pictureRect(), QRect(offset, drawn));

    const QImage rendered = panel.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(rendered.size(), cell);
    const QRect glyph = opaqueBounds(image);
    if (drawn == image.size()) {
        // Unscaled: pixel for pixel, white glyph on the cell colour.
        QCOMPARE(inkBounds(rendered, background.rgba()), glyph.translated(offset));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) == 255)
                    QCOMPARE(rendered.pixel(offset + QPoint(x, y)), image.pixel(x, y));
    } else {
        // Scaled: the ink stays inside the drawn rectangle and spans most of it.
        const QRect ink = inkBounds(rendered, background.rgba());
        QVERIFY(QRect(offset, drawn).contains(ink));
        QVERIFY(ink.width() >= glyph.width() * drawn.width() / image.width() - 1);
    }
}

void PictureBoxTest::pointerSignals()
{
    QWidget window;
    window.resize(200, 100);
    auto* box = new PictureBox(artwork::closeGlyph(), PictureBox::Fit::ActualSize, &window);
    box->setGeometry(50, 20, 56, 24);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Presses go through the window so that Qt picks the receiver.
    QWindow* handle = window.windowHandle();
    QSignalSpy clicked(box, &PictureBox::clicked);
    QSignalSpy entered(box, &PictureBox::entered);
    QSignalSpy left(box, &PictureBox::left);
    const QPoint inside(60, 30);
    const QPoint outside(10, 10);

    QTest::mouseMove(&window, outside);
    QTest::mouseMove(&window, inside);
    QCOMPARE(entered.count(), 1);
    QCOMPARE(left.count(), 0);
    QTest::mouseMove(&window, outside);
    QCOMPARE(left.count(), 1);

    // Left press and release inside: a click; anywhere in the cell counts,
    // also beside the glyph.
    QTest::mouseClick(handle, Qt::LeftButton, {}, QPoint(51, 21));
    QCOMPARE(clicked.count(), 1);
    // Other buttons do not click.
    QTest::mouseClick(handle, Qt::RightButton, {}, inside);
    QTest::mouseClick(handle, Qt::MiddleButton, {}, inside);
    QCOMPARE(clicked.count(), 1);
    // Pressed inside, released outside: no click.
    QTest::mousePress(handle, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, outside);
    QCOMPARE(clicked.count(), 1);
    // A hidden picture raises nothing.
    box->hide();
    QTest::mouseMove(&window, inside);
    QTest::mouseClick(handle, Qt::LeftButton, {}, inside);
    QCOMPARE(clicked.count(), 1);
}

QTEST_MAIN(PictureBoxTest)
#include "tst_picturebox.moc"
