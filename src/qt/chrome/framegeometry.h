#pragma once

// Pure geometry of the sizing border of a borderless window.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

namespace chrome {

// Width of the band along the window's edges that resizes it.
inline constexpr int SizingBand = 4;
// Along an edge, this far from a corner still grabs the corner.
inline constexpr int CornerReach = 12;

// The edges a press at `pos` (window coordinates) would drag in a window of
// `size`; none inside the band's inner rectangle or outside the window.
Qt::Edges edgesAt(QPoint pos, QSize size, int band = SizingBand, int cornerReach = CornerReach);

// The resize cursor that goes with those edges (the arrow for none).
Qt::CursorShape cursorForEdges(Qt::Edges edges);

// The window geometry after dragging `edges` of `start` by `delta`: the
// opposite edges stay put and the size stays within [minimum, maximum].
QRect resizedGeometry(const QRect& start, Qt::Edges edges, QPoint delta, QSize minimum, QSize maximum);

} // namespace chrome
