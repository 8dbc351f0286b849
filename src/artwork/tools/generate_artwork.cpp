// Draws every picture of the program and writes them as PNG files, the same
// pixels as C++ arrays (pictures.inc) and the Windows icon file into the folder
// given on the command line. Run at build time; nothing it writes is kept in
// the source tree.
//
// Uses QImage and QPainter only, so it needs no display and no
// QGuiApplication: text is never rendered here (the cursor's letters are
// pixel art).

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QTransform>
#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

QImage transparentImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void setWhite(QImage& image, int column, int row)
{
    image.setPixel(column, row, qRgba(255, 255, 255, 255));
}

void whiteRow(QImage& image, int row, int firstColumn, int lastColumn)
{
    for (int c = firstColumn; c <= lastColumn; ++c)
        setWhite(image, c, row);
}

void whiteColumn(QImage& image, int column, int firstRow, int lastRow)
{
    for (int r = firstRow; r <= lastRow; ++r)
        setWhite(image, column, r);
}

// The four title-bar button glyphs are whole pixels, white and opaque, on a
// fully transparent background.

QImage drawClose()
{
    QImage image = transparentImage(24, 24);
    setWhite(image, 6, 5);
    setWhite(image, 17, 5);
    setWhite(image, 6, 18);
    setWhite(image, 17, 18);
    // Two diagonal runs of three per row, stepping inward towards the middle;
    // the lower half mirrors the upper one.
    for (int step = 0; step < 5; ++step) {
        for (int row : {6 + step, 17 - step}) {
            whiteRow(image, row, 5 + step, 7 + step);
            whiteRow(image, row, 16 - step, 18 - step);
        }
    }
    whiteRow(image, 11, 10, 13);
    whiteRow(image, 12, 10, 13);
    return image;
}

QImage drawMinimize()
{
    QImage image = transparentImage(24, 24);
    whiteRow(image, 11, 5, 18);
    whiteRow(image, 12, 5, 18);
    return image;
}

QImage drawMaximize()
{
    QImage image = transparentImage(18, 18);
    whiteRow(image, 2, 1, 16);
    whiteColumn(image, 1, 3, 13);
    whiteColumn(image, 16, 3, 13);
    whiteRow(image, 14, 1, 16);
    whiteRow(image, 15, 1, 16);
    return image;
}

QImage drawRestore()
{
    QImage image = transparentImage(18, 18);
    // Front window, corners left out.
    whiteRow(image, 5, 2, 12);
    whiteRow(image, 14, 2, 12);
    whiteColumn(image, 1, 6, 13);
    whiteColumn(image, 13, 6, 13);
    // The window behind, up and to the right; only its top and right edges show.
    whiteRow(image, 2, 5, 15);
    whiteColumn(image, 16, 3, 9);
    return image;
}

// Fills `path` with an anti-aliased solid colour on a transparent image. The
// colour is exact in every covered pixel; only the alpha channel grades the
// edges (premultiplied rounding would tint faint pixels).
QImage fillPath(int width, int height, const QPainterPath& path, const QColor& color)
{
    QImage coverage(width, height, QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    QPainter painter(&coverage);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(path);
    painter.end();

    QImage image = transparentImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (const int alpha = qAlpha(coverage.pixel(x, y)))
                image.setPixel(x, y, qRgba(color.red(), color.green(), color.blue(), alpha));
    return image;
}

// The ring of the magnifier's head with its spur, in a unit box where the
// ring's outer edge is 18 x 18 at the origin (the logo's own pixels).
QPainterPath magnifierHead()
{
    QPainterPath ring;
    ring.addEllipse(QRectF(0, 0, 18, 18));
    QPainterPath hole;
    hole.addEllipse(QRectF(5, 5, 8, 8));

    // A pointed spur on the upper right, its tip at the right edge of a 20-wide
    // picture, rows 4 and 5.
    QPolygonF spur;
    spur << QPointF(14.0, 1.5) << QPointF(20.0, 4.2) << QPointF(20.0, 5.8)
         << QPointF(17.6, 7.0);
    QPainterPath spurPath;
    spurPath.addPolygon(spur);
    spurPath.closeSubpath();

    return ring.united(spurPath).subtracted(hole);
}

QImage drawLogo()
{
    return fillPath(20, 18, magnifierHead(), Qt::white);
}

QPainterPath searchMagnifier()
{
    const QPointF centre(14.5, 14.5);
    QPainterPath ring;
    ring.addEllipse(centre, 9.5, 9.5);
    QPainterPath hole;
    hole.addEllipse(centre, 6.5, 6.5);

    // The handle starts inside the stroke so that it joins the ring.
    const QPointF end(28.0, 30.0);
    const QPointF direction = (end - centre) / std::hypot(end.x() - centre.x(), end.y() - centre.y());
    QPainterPath line;
    line.moveTo(centre + direction * 8.0);
    line.lineTo(end);
    QPainterPathStroker stroker;
    stroker.setWidth(3.0);
    stroker.setCapStyle(Qt::RoundCap);
    QPainterPath handle = stroker.createStroke(line);

    return ring.subtracted(hole).united(handle);
}

QImage drawSearch(int grey)
{
    return fillPath(36, 36, searchMagnifier(), QColor(grey, grey, grey));
}

QImage drawApplicationIcon()
{
    const int size = 177;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    // The tile: constant above row 26 and below row 150, even in between.
    QLinearGradient gradient(QPointF(0, 26), QPointF(0, 150));
    gradient.setColorAt(0.0, QColor(0, 203, 254));
    gradient.setColorAt(1.0, QColor(0, 81, 205));
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(0, 0, size, size), 32, 32);

    // The head: the logo's ring and spur stretched to 105 x 102 at (14, 14).
    QTransform toIcon;
    toIcon.translate(14, 14);
    toIcon.scale(105.0 / 18.0, 102.0 / 18.0);
    QPainterPath glass = toIcon.map(magnifierHead());

    // The handle runs from the ring towards the lower-right corner in two
    // pieces: a short collar, then a long piece tapering to a rounded point.
    const QPointF centre(14 + 105 / 2.0, 14 + 102 / 2.0);
    const QPointF tip(156, 157);
    const double length = std::hypot(tip.x() - centre.x(), tip.y() - centre.y());
    const QPointF along = (tip - centre) / length;
    const QPointF across(-along.y(), along.x());
    auto at = [&](double t, double offset) { return centre + along * t + across * offset; };

    QPolygonF collar;
    collar << at(57, -15) << at(69, -15) << at(69, 15) << at(57, 15);
    glass.addPolygon(collar);
    glass.closeSubpath();

    const double tipRadius = 6.0;
    const double tipCentre = length - tipRadius;
    QPolygonF shaft;
    shaft << at(73, -15) << at(tipCentre, -tipRadius) << at(tipCentre, tipRadius) << at(73, 15);
    QPainterPath shaftPath;
    shaftPath.addPolygon(shaft);
    shaftPath.closeSubpath();
    shaftPath.addEllipse(at(tipCentre, 0), tipRadius, tipRadius);
    glass.addPath(shaftPath.simplified());

    painter.setBrush(QColor(254, 254, 254));
    painter.drawPath(glass.simplified());
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Hourglass with "SQL" beneath it, black outline and white fill like a
// classic cursor; the hot spot is the top-left pixel.
QImage drawSqlWaitCursor()
{
    // '#' black, 'o' white, '+' sand (black), '.' transparent.
    static const char* const hourglass[] = {
        "################",
        "#oooooooooooooo#",
        "################",
        ".#oooooooooooo#.",
        ".#o++++++++++o#.",
        ".#oo++++++++oo#.",
        "..#oo++++++oo#..",
        "...#oo++++oo#...",
        "....#oo++oo#....",
        ".....#o++o#.....",
        "......#++#......",
        ".....#o++o#.....",
        "....#oo++oo#....",
        "...#ooo++ooo#...",
        "..#oooo++oooo#..",
        ".#oooo++++oooo#.",
        ".#oo++++++++oo#.",
        ".#o++++++++++o#.",
        "################",
        "#oooooooooooooo#",
        "################",
    };
    static const char* const letters[] = {
        ".###...###..#....",
        "#...#.#...#.#....",
        "#.....#...#.#....",
        ".###..#...#.#....",
        "....#.#.#.#.#....",
        "#...#.#..#..#....",
        ".###...##.#.#####",
    };

    QImage image = transparentImage(32, 32);
    const QRgb black = qRgba(0, 0, 0, 255);
    const QRgb white = qRgba(255, 255, 255, 255);

    int row = 0;
    for (const char* line : hourglass) {
        for (int column = 0; line[column] != '\0'; ++column) {
            if (line[column] == 'o')
                image.setPixel(column, row, white);
            else if (line[column] == '#' || line[column] == '+')
                image.setPixel(column, row, black);
        }
        ++row;
    }

    // Letters in black with a one-pixel white halo so that they read on any
    // background.
    const int left = 1;
    const int top = row + 2;
    std::vector<QPoint> ink;
    row = top;
    for (const char* line : letters) {
        for (int column = 0; line[column] != '\0'; ++column)
            if (line[column] == '#')
                ink.emplace_back(left + column, row);
        ++row;
    }
    for (const QPoint& p : ink)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                image.setPixel(p.x() + dx, p.y() + dy, white);
    for (const QPoint& p : ink)
        image.setPixel(p, black);
    return image;
}

// A .ico holding one 32-bit image with alpha (BMP form, as every Windows
// version reads it), for the program file's icon resource.
QByteArray icoFile(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int maskStride = ((width + 31) / 32) * 4;
    const quint32 imageBytes = quint32(40 + width * height * 4 + maskStride * height);

    QByteArray out;
    auto put16 = [&](quint16 v) { char b[2]; qToLittleEndian(v, b); out.append(b, 2); };
    auto put32 = [&](quint32 v) { char b[4]; qToLittleEndian(v, b); out.append(b, 4); };

    put16(0); put16(1); put16(1);  // reserved, type icon, one image
    out.append(char(width >= 256 ? 0 : width));
    out.append(char(height >= 256 ? 0 : height));
    out.append(char(0)); out.append(char(0));
    put16(1); put16(32);
    put32(imageBytes);
    put32(6 + 16);

    // BITMAPINFOHEADER; the height counts the colour rows and the mask rows.
    put32(40); put32(quint32(width)); put32(quint32(height * 2));
    put16(1); put16(32); put32(0); put32(quint32(width * height * 4 + maskStride * height));
    put32(0); put32(0); put32(0); put32(0);
    for (int row = height - 1; row >= 0; --row) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(row));
        for (int column = 0; column < width; ++column) {
            const QRgb p = line[column];
            out.append(char(qBlue(p))); out.append(char(qGreen(p)));
            out.append(char(qRed(p))); out.append(char(qAlpha(p)));
        }
    }
    // AND mask: set where fully transparent, for readers that ignore alpha.
    for (int row = height - 1; row >= 0; --row) {
        QByteArray mask(maskStride, '\0');
        for (int column = 0; column < width; ++column)
            if (qAlpha(image.pixel(column, row)) == 0)
                mask[column / 8] = char(mask[column / 8] | (0x80 >> (column % 8)));
        out.append(mask);
    }
    return out;
}

// Each picture is written as a PNG (for the icon files and the package) and
// as ARGB32 words for the program, which then starts without decoding any.
struct Pictures {
    QDir dir;
    QByteArray pixels;
    QByteArray index;

    // Glyphs keep their exact colours; the icon and the cursor only ever
    // become pixmaps, so they are kept premultiplied, as pixmaps hold them.
    bool save(const QString& name, const QImage& source, bool premultiplied = false)
    {
        const QString path = dir.filePath(name);
        if (!source.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
        const QImage image = source.convertToFormat(premultiplied ? QImage::Format_ARGB32_Premultiplied
                                                                  : QImage::Format_ARGB32);
        const QByteArray symbol = QByteArray("pixels_") + QFileInfo(name).completeBaseName().toLatin1();
        QByteArray words;
        for (int row = 0; row < image.height(); ++row) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(row));
            for (int column = 0; column < image.width(); ++column)
                words += QByteArray::number(line[column], 16).prepend("0x") + (column % 8 == 7 ? ",\n" : ", ");
        }
        pixels += "alignas(16) const std::uint32_t " + symbol + "[] = {\n" + words + "};\n";
        index += "    {\"" + name.toLatin1() + "\", " + QByteArray::number(image.width()) + ", "
                 + QByteArray::number(image.height()) + ", " + symbol + ", "
                 + (premultiplied ? "true" : "false") + "},\n";
        return true;
    }

    bool writeSource(const QString& name) const
    {
        QFile file(dir.filePath(name));
        const QByteArray text = "// Generated by generate_artwork; do not edit.\n" + pixels
                                + "const NamedPicture pictures[] = {\n" + index + "};\n";
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return false;
        }
        return true;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    const QImage icon = drawApplicationIcon();
    Pictures pictures{dir, {}, {}};
    bool ok = pictures.save(QStringLiteral("Image1.png"), drawLogo())
        && pictures.save(QStringLiteral("minimized.png"), drawMinimize())
        && pictures.save(QStringLiteral("maximized.png"), drawMaximize())
        && pictures.save(QStringLiteral("bk_max.png"), drawRestore())
        && pictures.save(QStringLiteral("close.png"), drawClose())
        && pictures.save(QStringLiteral("search.png"), drawSearch(255))
        && pictures.save(QStringLiteral("bk_search.png"), drawSearch(158))
        && pictures.save(QStringLiteral("quelvo.png"), icon, true)
        && pictures.save(QStringLiteral("sql_wait.png"), drawSqlWaitCursor(), true)
        && pictures.writeSource(QStringLiteral("pictures.inc"));

    QFile ico(dir.filePath(QStringLiteral("quelvo.ico")));
    if (ok && !(ico.open(QIODevice::WriteOnly) && ico.write(icoFile(icon)) >= 0)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(ico.fileName()));
        ok = false;
    }
    return ok ? 0 : 1;
}
