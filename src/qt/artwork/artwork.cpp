#include "artwork.h"

#include "artwork/pictures.h"

#include <QPixmap>

namespace artwork {
namespace {

// The image refers to the compiled-in pixels without a copy.
QImage image(PictureId id)
{
    const Picture& p = picture(id);
    return QImage(reinterpret_cast<const uchar*>(p.pixels), p.width, p.height, p.width * 4,
                  p.premultiplied ? QImage::Format_ARGB32_Premultiplied : QImage::Format_ARGB32);
}

} // namespace

QImage logo()
{
    static const QImage i = image(PictureId::Logo);
    return i;
}

QImage minimizeGlyph()
{
    static const QImage i = image(PictureId::Minimize);
    return i;
}

QImage maximizeGlyph()
{
    static const QImage i = image(PictureId::Maximize);
    return i;
}

QImage restoreGlyph()
{
    static const QImage i = image(PictureId::Restore);
    return i;
}

QImage closeGlyph()
{
    static const QImage i = image(PictureId::Close);
    return i;
}

QImage searchGlyph()
{
    static const QImage i = image(PictureId::Search);
    return i;
}

QImage searchHoverGlyph()
{
    static const QImage i = image(PictureId::SearchHover);
    return i;
}

QImage applicationIconImage()
{
    static const QImage i = image(PictureId::ApplicationIcon);
    return i;
}

QIcon applicationIcon()
{
    // One image only; the system scales it down where it needs smaller forms.
    static const QIcon icon(QPixmap::fromImage(applicationIconImage()));
    return icon;
}

QImage sqlWaitCursorImage()
{
    static const QImage i = image(PictureId::SqlWaitCursor);
    return i;
}

QCursor sqlWaitCursor()
{
    static const QCursor cursor(QPixmap::fromImage(sqlWaitCursorImage()), 0, 0);
    return cursor;
}

} // namespace artwork
