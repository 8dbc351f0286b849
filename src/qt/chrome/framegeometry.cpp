#include "framegeometry.h"

#include <algorithm>

namespace chrome {

Qt::Edges edgesAt(QPoint pos, QSize size, int band, int cornerReach)
{
    const int x = pos.x();
    const int y = pos.y();
    const int w = size.width();
    const int h = size.height();
    if (x < 0 || y < 0 || x >= w || y >= h)
        return {};

    Qt::Edges edges;
    if (x < band)
        edges |= Qt::LeftEdge;
    else if (x >= w - band)
        edges |= Qt::RightEdge;
    if (y < band)
        edges |= Qt::TopEdge;
    else if (y >= h - band)
        edges |= Qt::BottomEdge;
    if (!edges)
        return {};

    // Near a corner the band grabs both edges.
    if (edges & (Qt::TopEdge | Qt::BottomEdge)) {
        if (x < cornerReach)
            edges |= Qt::LeftEdge;
        else if (x >= w - cornerReach)
            edges |= Qt::RightEdge;
    }
    if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
        if (y < cornerReach)
            edges |= Qt::TopEdge;
        else if (y >= h - cornerReach)
            edges |= Qt::BottomEdge;
    }
    return edges;
}

Qt::CursorShape cursorForEdges(Qt::Edges edges)
{
    const bool horizontal = bool(edges & (Qt::LeftEdge | Qt::RightEdge));
    const bool vertical = bool(edges & (Qt::TopEdge | Qt::BottomEdge));
    if (horizontal && vertical) {
        const bool mainDiagonal = bool(edges & Qt::LeftEdge) == bool(edges & Qt::TopEdge);
        return mainDiagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal)
        return Qt::SizeHorCursor;
    if (vertical)
        return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

namespace {

int clampLength(int length, int minimum, int maximum)
{
    return std::clamp(length, std::max(minimum, 0), std::max({minimum, maximum, 0}));
}

} // namespace

QRect resizedGeometry(const QRect& start, Qt::Edges edges, QPoint delta, QSize minimum, QSize maximum)
{
    QRect result = start;
    if (edges & Qt::LeftEdge) {
        const int width = clampLength(start.width() - delta.x(), minimum.width(), maximum.width());
        result.setLeft(start.right() + 1 - width);
    } else if (edges & Qt::RightEdge) {
        result.setWidth(clampLength(start.width() + delta.x(), minimum.width(), maximum.width()));
    }
    if (edges & Qt::TopEdge) {
        const int height = clampLength(start.height() - delta.y(), minimum.height(), maximum.height());
        result.setTop(start.bottom() + 1 - height);
    } else if (edges & Qt::BottomEdge) {
        result.setHeight(clampLength(start.height() + delta.y(), minimum.height(), maximum.height()));
    }
    return result;
}

} // namespace chrome
