#include "artwork.h"

#include <QPixmap>
#include <QString>

#include <cstring>

namespace artwork {
namespace {

struct Picture {
    const char* name;
    int width;
    int height;
    const quint32* pixels;
    QImage::Format format;
};

#include "pictures.inc"

// The pixels are compiled in, so that no picture is decoded at start-up; the
// image refers to them without a copy.
QImage load(const char* name)
{
    for (const Picture& picture : pictures) {
        if (std::strcmp(picture.name, name) == 0)
            return QImage(reinterpret_cast<const uchar*>(picture.pixels), picture.width, picture.height,
                          picture.width * 4, picture.format);
    }
    Q_ASSERT_X(false, "artwork", name);
    return {};
}

} // namespace

QImage logo()
{
    static const QImage image = load("Image1.png");
    return image;
}

QImage minimizeGlyph()
{
    static const QImage image = load("minimized.png");
    return image;
}

QImage maximizeGlyph()
{
    static const QImage image = load("maximized.png");
    return image;
}

QImage restoreGlyph()
{
    static const QImage image = load("bk_max.png");
    return image;
}

QImage closeGlyph()
{
    static const QImage image = load("close.png");
    return image;
}

QImage searchGlyph()
{
    static const QImage image = load("search.png");
    return image;
}

QImage searchHoverGlyph()
{
    static const QImage image = load("bk_search.png");
    return image;
}

QImage applicationIconImage()
{
    static const QImage image = load("quelvo.png");
    return image;
}

QIcon applicationIcon()
{
    // One image only; the system scales it down where it needs smaller forms.
    static const QIcon icon(QPixmap::fromImage(applicationIconImage()));
    return icon;
}

QImage sqlWaitCursorImage()
{
    static const QImage image = load("sql_wait.png");
    return image;
}

QCursor sqlWaitCursor()
{
    static const QCursor cursor(QPixmap::fromImage(sqlWaitCursorImage()), 0, 0);
    return cursor;
}

} // namespace artwork
