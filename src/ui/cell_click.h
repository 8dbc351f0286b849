#pragma once

// When the result grid raises its cell click, the click that opens the
// solution window: a left press on a data cell, then a left release over a
// data cell. A press of any button on a row makes that row current first.
// Titles, the indicator column, the area below the last row, the right and
// middle buttons, a release after dragging a title or its border, and keys
// never raise it.

namespace ui {

enum class MouseButton { Left, Right, Middle };

enum class GridArea {
    DataCell,  // a cell of a row, in either column
    Indicator, // the narrow column marking the current row, beside a row
    TitleRow,  // titles and their borders
    BelowRows, // the empty area below the last row (or right of the last column)
    Outside,   // anywhere off the grid (a release after the pointer left it)
};

class CellClickRule {
public:
    // A press; true when the pressed row becomes the current row.
    bool press(MouseButton button, GridArea area);
    // A title or title border is being dragged (reorder or resize): the
    // release that ends it opens nothing.
    void titleDragStarted() { leftPressOnCell_ = false; }
    // A release; true when it raises the cell click.
    bool release(MouseButton button, GridArea area);

private:
    bool leftPressOnCell_ = false;
};

} // namespace ui
