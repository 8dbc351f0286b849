#include "artwork.h"

#include <QPixmap>
#include <QString>

// The resources live in this static library; referencing their initialiser
// keeps the linker from dropping them.
static void initResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(artwork);
        return true;
    }();
    (void)done;
}

namespace artwork {
namespace {

QImage load(const char* name)
{
    initResources();
    QImage image(QStringLiteral(":/artwork/") + QLatin1String(name));
    Q_ASSERT_X(!image.isNull(), "artwork", name);
    return image.convertToFormat(QImage::Format_ARGB32);
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
