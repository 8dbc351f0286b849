// The pictures as stored: sizes, exact glyph pixels, transparency, colours.

#include <artwork.h>

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QTest>

#include <functional>

namespace {

using Pixel = std::pair<int, int>; // column, row

struct Run {
    enum Axis { Row, Column } axis;
    int line;  // the row (or column) the run lies on
    int first; // first and last column (or row)
    int last;
};

QSet<Pixel> pixelsOf(std::initializer_list<Run> runs)
{
    QSet<Pixel> set;
    for (const Run& run : runs)
        for (int i = run.first; i <= run.last; ++i)
            set.insert(run.axis == Run::Row ? Pixel{i, run.line} : Pixel{run.line, i});
    return set;
}

Run row(int r, int first, int last) { return {Run::Row, r, first, last}; }
Run column(int c, int first, int last) { return {Run::Column, c, first, last}; }

// The glyph pixels of the four title-bar buttons, written from their
// descriptions row by row.
QSet<Pixel> closePixels()
{
    return pixelsOf({
        row(5, 6, 6), row(5, 17, 17),
        row(6, 5, 7), row(6, 16, 18),
        row(7, 6, 8), row(7, 15, 17),
        row(8, 7, 9), row(8, 14, 16),
        row(9, 8, 10), row(9, 13, 15),
        row(10, 9, 11), row(10, 12, 14),
        row(11, 10, 13), row(12, 10, 13),
        row(13, 9, 11), row(13, 12, 14),
        row(14, 8, 10), row(14, 13, 15),
        row(15, 7, 9), row(15, 14, 16),
        row(16, 6, 8), row(16, 15, 17),
        row(17, 5, 7), row(17, 16, 18),
        row(18, 6, 6), row(18, 17, 17),
    });
}

QSet<Pixel> minimizePixels() { return pixelsOf({row(11, 5, 18), row(12, 5, 18)}); }

QSet<Pixel> maximizePixels()
{
    return pixelsOf({row(2, 1, 16), column(1, 3, 13), column(16, 3, 13), row(14, 1, 16), row(15, 1, 16)});
}

QSet<Pixel> restorePixels()
{
    return pixelsOf({
        row(5, 2, 12), row(14, 2, 12), column(1, 6, 13), column(13, 6, 13), // front window
        row(2, 5, 15), column(16, 3, 9),                                    // window behind
    });
}

} // namespace

Q_DECLARE_METATYPE(QSet<Pixel>)

class ArtworkTest : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
    void buttonGlyphs_data();
    void buttonGlyphs();
    void logo();
    void searchGlyphs();
    void applicationIcon();
    void sqlWaitCursor();
};

void ArtworkTest::sizes_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QSize>("size");
    QTest::newRow("Image1") << artwork::logo() << QSize(20, 18);
    QTest::newRow("minimized") << artwork::minimizeGlyph() << QSize(24, 24);
    QTest::newRow("maximized") << artwork::maximizeGlyph() << QSize(18, 18);
    QTest::newRow("bk_max") << artwork::restoreGlyph() << QSize(18, 18);
    QTest::newRow("close") << artwork::closeGlyph() << QSize(24, 24);
    QTest::newRow("search") << artwork::searchGlyph() << QSize(36, 36);
    QTest::newRow("bk_search") << artwork::searchHoverGlyph() << QSize(36, 36);
    QTest::newRow("icon") << artwork::applicationIconImage() << QSize(177, 177);
    QTest::newRow("sql wait cursor") << artwork::sqlWaitCursorImage() << QSize(32, 32);
}

void ArtworkTest::sizes()
{
    QFETCH(QImage, image);
    QFETCH(QSize, size);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
    QVERIFY(image.hasAlphaChannel());
}

void ArtworkTest::buttonGlyphs_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QSet<Pixel>>("white");
    QTest::addColumn<int>("count");
    QTest::newRow("close") << artwork::closeGlyph() << closePixels() << 72;
    QTest::newRow("minimized") << artwork::minimizeGlyph() << minimizePixels() << 28;
    QTest::newRow("maximized") << artwork::maximizeGlyph() << maximizePixels() << 70;
    QTest::newRow("bk_max") << artwork::restoreGlyph() << restorePixels() << 56;
}

// Every listed pixel opaque white, every other one fully transparent.
void ArtworkTest::buttonGlyphs()
{
    QFETCH(QImage, image);
    QFETCH(QSet<Pixel>, white);
    QFETCH(int, count);
    QCOMPARE(white.size(), count);
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const QByteArray where = QByteArray::number(x) + "," + QByteArray::number(y);
            if (white.contains({x, y})) {
                QVERIFY2(p == qRgba(255, 255, 255, 255), where);
                ++opaque;
            } else {
                QVERIFY2(qAlpha(p) == 0, where);
            }
        }
    }
    QCOMPARE(opaque, count);
}

void ArtworkTest::logo()
{
    const QImage image = artwork::logo();
    int partial = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            const QByteArray where = QByteArray::number(x) + "," + QByteArray::number(y);
            QVERIFY2(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p), where);
            QVERIFY2(qRed(p) >= 246, where);
            if (qAlpha(p) < 255)
                ++partial;
        }
    }
    QVERIFY2(partial > 0, "edges are graded through the alpha channel");

    // Ring: solid stroke left and right of a transparent hole, 18 across.
    QCOMPARE(qAlpha(image.pixel(9, 9)), 0);
    QCOMPARE(qAlpha(image.pixel(2, 9)), 255);
    QCOMPARE(qAlpha(image.pixel(15, 9)), 255);
    QCOMPARE(qAlpha(image.pixel(9, 2)), 255);
    QCOMPARE(qAlpha(image.pixel(9, 15)), 255);
    // Spur: reaches the right edge in rows 4 and 5 only.
    for (int y = 0; y < image.height(); ++y) {
        const bool reaches = qAlpha(image.pixel(19, y)) > 0;
        if (y == 4 || y == 5)
            QVERIFY2(reaches, QByteArray::number(y));
        else if (y < 3 || y > 6)
            QVERIFY2(!reaches, QByteArray::number(y));
    }
}

void ArtworkTest::searchGlyphs()
{
    const QImage white = artwork::searchGlyph();
    const QImage grey = artwork::searchHoverGlyph();

    // Same coverage, different colour.
    int opaque = 0;
    int partial = 0;
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 36; ++x) {
            const QRgb w = white.pixel(x, y);
            const QRgb g = grey.pixel(x, y);
            const QByteArray where = QByteArray::number(x) + "," + QByteArray::number(y);
            QVERIFY2(qAlpha(w) == qAlpha(g), where);
            if (qAlpha(w) == 0)
                continue;
            QVERIFY2(w == qRgba(255, 255, 255, qAlpha(w)), where);
            QVERIFY2(qAbs(qRed(g) - 158) <= 2 && qRed(g) == qGreen(g) && qGreen(g) == qBlue(g), where);
            (qAlpha(w) == 255 ? opaque : partial)++;
        }
    }
    QVERIFY(opaque > 60);
    QVERIFY(partial > 60);

    // The ring spans columns and rows 5-23: nothing above or left of it, and
    // the row and column through its centre are covered from 5 to 23 with a
    // transparent hole.
    for (int i = 0; i < 36; ++i) {
        for (int j = 0; j < 5; ++j) {
            QCOMPARE(qAlpha(white.pixel(i, j)), 0);
            QCOMPARE(qAlpha(white.pixel(j, i)), 0);
        }
    }
    QVERIFY(qAlpha(white.pixel(5, 14)) > 0);
    QVERIFY(qAlpha(white.pixel(23, 14)) > 0);
    QCOMPARE(qAlpha(white.pixel(24, 14)), 0);
    QVERIFY(qAlpha(white.pixel(14, 5)) > 0);
    QVERIFY(qAlpha(white.pixel(14, 23)) > 0);
    QCOMPARE(qAlpha(white.pixel(14, 14)), 0);
    QCOMPARE(qAlpha(white.pixel(6, 14)), 255);
    // The handle runs to near (28, 30) and no further.
    QCOMPARE(qAlpha(white.pixel(27, 29)), 255);
    for (int i = 0; i < 36; ++i) {
        QCOMPARE(qAlpha(white.pixel(i, 32)), 0);
        QCOMPARE(qAlpha(white.pixel(30, i)), 0);
    }
}

void ArtworkTest::applicationIcon()
{
    const QImage image = artwork::applicationIconImage();
    for (const QPoint corner : {QPoint(0, 0), QPoint(176, 0), QPoint(0, 176), QPoint(176, 176)})
        QCOMPARE(qAlpha(image.pixel(corner)), 0);
    // Edges of the tile between the corners are covered.
    for (const QPoint side : {QPoint(88, 0), QPoint(0, 88), QPoint(176, 88), QPoint(88, 176)})
        QCOMPARE(qAlpha(image.pixel(side)), 255);

    // The magnifier's ring crosses the centre: white (254, 254, 254).
    QCOMPARE(image.pixel(88, 88), qRgba(254, 254, 254, 255));
    // Its hole shows the tile.
    QVERIFY(qBlue(image.pixel(66, 65)) > qRed(image.pixel(66, 65)) + 100);

    // Vertical gradient, constant above row 26 and below row 150, even between.
    auto near = [](QRgb p, int r, int g, int b) {
        return qAlpha(p) == 255 && qAbs(qRed(p) - r) <= 2 && qAbs(qGreen(p) - g) <= 2 && qAbs(qBlue(p) - b) <= 2;
    };
    QVERIFY(near(image.pixel(6, 14), 0, 203, 254));
    QVERIFY(near(image.pixel(6, 26), 0, 203, 254));
    QVERIFY(near(image.pixel(6, 88), 0, 142, 230));
    QVERIFY(near(image.pixel(6, 150), 0, 81, 205));
    QVERIFY(near(image.pixel(20, 165), 0, 81, 205));

    const QIcon icon = artwork::applicationIcon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(177, 177)});
}

void ArtworkTest::sqlWaitCursor()
{
    const QCursor cursor = artwork::sqlWaitCursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(0, 0));
    QCOMPARE(cursor.pixmap().size(), QSize(32, 32));

    // Black outline on white, hourglass above the letters: the hot spot sits on
    // the glyph and the lower third carries black ink on a white halo.
    const QImage image = artwork::sqlWaitCursorImage();
    QCOMPARE(image.pixel(0, 0), qRgba(0, 0, 0, 255));
    int black = 0;
    int white = 0;
    for (int y = 22; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == qRgba(0, 0, 0, 255))
                ++black;
            else if (p == qRgba(255, 255, 255, 255))
                ++white;
            else
                QCOMPARE(qAlpha(p), 0);
        }
    }
    QVERIFY(black > 30);
    QVERIFY(white > black);
}

QTEST_MAIN(ArtworkTest)
#include "tst_artwork.moc"
