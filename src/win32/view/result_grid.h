#pragma once

#include "handles.h"
#include "panel.h"

#include "ui/cell_click.h"
#include "ui/result_rows.h"

#include <commctrl.h>

#include <array>
#include <functional>

namespace win32 {

// The read-only result grid `DBGrid1`: a title row on a header control
// (columns resized and reordered by dragging, no sorting), an indicator
// column marking the current row, grid lines, each cell drawn as the first
// line of its word-wrapped text, clipped. Rows come from ui::ResultRows; the
// next batch is fetched only when the view reaches the last row shown. The
// cell click follows ui::CellClickRule.
class ResultGrid : public PaintedWindow {
public:
    void create(HWND parent, int id, ui::ResultRows& rows, HFONT font, int dpi);
    void setFont(HFONT font, int dpi);

    // After a search: the first row current, at the top.
    void rowsReset();

    std::function<void(int column)> onCellClick;

    int currentRow() const { return currentRow_; }
    int currentColumn() const { return currentColumn_; }
    int topRow() const { return topRow_; }
    int horizontalScroll() const { return scrollX_; }
    // Rows that fit whole below the title row.
    int pageRows() const;
    // Where a cell of a row lies in the client area (columns by field index),
    // for any row, scrolled into view or not.
    RECT cellRect(int row, int column) const;
    HWND header() const { return header_.hwnd(); }
    int columnWidth(int column) const { return widths_[column]; }
    // Field indexes in the order the columns stand.
    std::array<int, ui::GridColumnCount> columnOrder() const { return order_; }

    void scrollToRow(int top);
    void scrollHorizontally(int x);

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Hit {
        ui::GridArea area = ui::GridArea::Outside;
        int row = -1;
        int column = -1; // field index
    };

    void measure();
    void readHeader();
    void placeHeader();
    void updateScrollBars();
    void fetchAsNeeded();
    void showPendingRows();
    void paint(HDC dc, const RECT& dirty) override;
    void paintIndicator(HDC dc, int y, int row, HPEN shadow);
    void paintCell(HDC dc, const RECT& cell, const RECT& visible, int row, int column);
    Hit hitTest(POINT at) const;
    void press(ui::MouseButton button, POINT at);
    void release(ui::MouseButton button, POINT at);
    void moveTo(int row, int column);
    void ensureVisible(int row, int column);
    void keyDown(WPARAM key);
    void headerNotified(const NMHDR* notification);
    int totalWidth() const;
    int dataWidth() const;
    int columnLeft(int column) const; // from the first column's left edge

    struct ScrollState {
        int max = -1;
        int page = -1;
        int position = -1;
        friend bool operator==(const ScrollState&, const ScrollState&) = default;
    };
    void setScrollBar(int bar, const ScrollState& state, ScrollState& shown);

    ui::ResultRows* rows_ = nullptr;
    ScrollState shownVertical_;
    ScrollState shownHorizontal_;
    HFONT font_ = nullptr;
    int dpi_ = 96;
    Control header_;
    Panel corner_;
    ui::CellClickRule clickRule_;
    std::array<int, ui::GridColumnCount> widths_{};
    std::array<int, ui::GridColumnCount> order_{0, 1};
    int rowHeight_ = 18;
    int headerHeight_ = 18;
    int indicatorWidth_ = 12;
    int lineHeight_ = 13;
    int digitWidth_ = 0; // of "0" in the font, measured with it
    int topRow_ = 0;
    int scrollX_ = 0;
    int currentRow_ = 0;
    int currentColumn_ = 0;
    bool capturing_ = false;
};

} // namespace win32
