#pragma once

// The program's own pictures as Qt images, icon and cursor, over the pixel
// arrays that artwork/pictures.h compiles in.
//
// Title-bar and search pictures are white (or grey) glyphs on fully
// transparent backgrounds, so the panel colour beneath shows around them.
// Images are QImage::Format_ARGB32, except the icon and the cursor, which are
// premultiplied as the pixmaps made of them are. Functions returning QIcon or
// QCursor need a QGuiApplication; the QImage ones do not.

#include <QCursor>
#include <QIcon>
#include <QImage>

namespace artwork {

QImage logo();             // Image1: 20 x 18 ring with a spur
QImage minimizeGlyph();    // minimized: 24 x 24
QImage maximizeGlyph();    // maximized: 18 x 18
QImage restoreGlyph();     // bk_max: 18 x 18
QImage closeGlyph();       // close: 24 x 24
QImage searchGlyph();      // search: 36 x 36, white
QImage searchHoverGlyph(); // bk_search: 36 x 36, grey, same coverage as search

QImage applicationIconImage(); // 177 x 177 tile
QIcon applicationIcon();       // that one image; smaller forms are scaled from it

QImage sqlWaitCursorImage(); // 32 x 32 hourglass over "SQL"
QCursor sqlWaitCursor();     // the same, hot spot at the top-left pixel

} // namespace artwork
