#include "artwork.h"

#include "artwork/pictures.h"

#include <QPixmap>

namespace artwork {
namespace {

// The image refers to the compiled-in pixels without a copy, so making one
// costs no more than keeping one.
QImage image(PictureId id)
{
    const Picture& p = picture(id);
    return QImage(reinterpret_cast<const uchar*>(p.pixels), p.width, p.height, p.width * 4,
                  p.premultiplied ? QImage::Format_ARGB32_Premultiplied : QImage::Format_ARGB32);
}

} // namespace

QImage logo() { return image(PictureId::Logo); }

QImage minimizeGlyph() { return image(PictureId::Minimize); }

QImage maximizeGlyph() { return image(PictureId::Maximize); }

QImage restoreGlyph() { return image(PictureId::Restore); }

QImage closeGlyph() { return image(PictureId::Close); }

QImage searchGlyph() { return image(PictureId::Search); }

QImage searchHoverGlyph() { return image(PictureId::SearchHover); }

QImage applicationIconImage() { return image(PictureId::ApplicationIcon); }

QIcon applicationIcon()
{
    // One image only; the system scales it down where it needs smaller forms.
    static const QIcon icon(QPixmap::fromImage(applicationIconImage()));
    return icon;
}

QImage sqlWaitCursorImage() { return image(PictureId::SqlWaitCursor); }

QCursor sqlWaitCursor()
{
    static const QCursor cursor(QPixmap::fromImage(sqlWaitCursorImage()), 0, 0);
    return cursor;
}

} // namespace artwork
