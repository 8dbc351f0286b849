#include "result_grid.h"

#include "fonts.h"

#include "ui/error_guard.h"
#include "ui/geometry.h"

#include <windowsx.h>

#include <algorithm>

namespace win32 {

namespace {

constexpr const wchar_t* ClassName = L"QuelvoGrid";
constexpr int HeaderId = 1;
constexpr UINT ColumnsReordered = WM_APP + 1;
constexpr COLORREF GridLineColor = RGB(208, 208, 208);
constexpr int WheelRows = 3;

ui::MouseButton buttonOf(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return ui::MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return ui::MouseButton::Right;
    default: return ui::MouseButton::Middle;
    }
}

void line(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

} // namespace

void ResultGrid::create(HWND parent, int id, ui::ResultRows& rows, HFONT font, int dpi)
{
    rows_ = &rows;
    font_ = font;
    dpi_ = dpi;
    registerClass(ClassName);
    Window::create({ClassName, L"",
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    WS_EX_CLIENTEDGE, parent, id, {}});

    header_.create(WC_HEADERW,
                   WS_VISIBLE | WS_CLIPSIBLINGS | HDS_HORZ | HDS_BUTTONS | HDS_DRAGDROP | HDS_HOTTRACK | HDS_FULLDRAG, 0,
                   hwnd(), HeaderId, {});
    // The corner above the indicator column, over the header when scrolled.
    corner_.create(hwnd(), 0, GetSysColor(COLOR_BTNFACE));
    for (int column = 0; column < ui::GridColumnCount; ++column) {
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_WIDTH;
        item.fmt = HDF_LEFT | HDF_STRING;
        item.pszText = const_cast<wchar_t*>(wide(ui::GridColumnTitles[column]));
        item.cxy = 100;
        SendMessageW(header_.hwnd(), HDM_INSERTITEMW, column, reinterpret_cast<LPARAM>(&item));
    }
    measure();
}

void ResultGrid::setFont(HFONT font, int dpi)
{
    // The search window's start-up hands over the font the grid was made with.
    if (font == font_ && dpi == dpi_)
        return;
    font_ = font;
    dpi_ = dpi;
    measure();
}

void ResultGrid::measure()
{
    SendMessageW(header_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    {
        WindowDC screen(nullptr);
        Selection selected(screen.get(), font_);
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen.get(), &metrics);
        lineHeight_ = metrics.tmHeight;
    }
    rowHeight_ = ui::scaled(ui::GridRowHeight, dpi_);
    indicatorWidth_ = ui::scaled(ui::GridIndicatorWidth, dpi_);

    // The header's own height for its font.
    RECT area{0, 0, 1000, 1000};
    WINDOWPOS position{};
    HDLAYOUT layout{&area, &position};
    SendMessageW(header_.hwnd(), HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
    headerHeight_ = std::max(position.cy, rowHeight_);

    digitWidth_ = textWidth(font_, L"0");
    const int title = textWidth(font_, wide(ui::GridColumnTitles[0]));
    const int widths[ui::GridColumnCount] = {ui::problemColumnWidth(digitWidth_, title),
                                             ui::scaled(ui::SolutionColumnWidth, dpi_)};
    for (int column = 0; column < ui::GridColumnCount; ++column) {
        HDITEMW item{};
        item.mask = HDI_WIDTH;
        item.cxy = widths[column];
        SendMessageW(header_.hwnd(), HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&item));
    }
    readHeader();
    placeHeader();
    updateScrollBars();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void ResultGrid::readHeader()
{
    for (int column = 0; column < ui::GridColumnCount; ++column) {
        HDITEMW item{};
        item.mask = HDI_WIDTH;
        SendMessageW(header_.hwnd(), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
        widths_[column] = item.cxy;
    }
    SendMessageW(header_.hwnd(), HDM_GETORDERARRAY, ui::GridColumnCount, reinterpret_cast<LPARAM>(order_.data()));
}

int ResultGrid::totalWidth() const
{
    int total = 0;
    for (int w : widths_)
        total += w;
    return total;
}

int ResultGrid::dataWidth() const
{
    return std::max(0, clientSize().width - indicatorWidth_);
}

int ResultGrid::pageRows() const
{
    return std::max(1, (clientSize().height - headerHeight_) / rowHeight_);
}

int ResultGrid::columnLeft(int column) const
{
    int left = 0;
    for (int shown : order_) {
        if (shown == column)
            break;
        left += widths_[shown];
    }
    return left;
}

RECT ResultGrid::cellRect(int row, int column) const
{
    const int left = indicatorWidth_ - scrollX_ + columnLeft(column);
    const int top = headerHeight_ + (row - topRow_) * rowHeight_;
    return {left, top, left + widths_[column], top + rowHeight_};
}

void ResultGrid::placeHeader()
{
    // The title row scrolls with the cells; the corner stays over it.
    const ui::Size client = clientSize();
    header_.setBounds({indicatorWidth_ - scrollX_, 0, totalWidth() + client.width, headerHeight_});
    SetWindowPos(corner_.hwnd(), HWND_TOP, 0, 0, indicatorWidth_, headerHeight_, SWP_NOACTIVATE);
}

void ResultGrid::updateScrollBars()
{
    setScrollBar(SB_VERT, {rows_->rowCount() - 1, pageRows(), topRow_}, shownVertical_);
    setScrollBar(SB_HORZ, {totalWidth() - 1, dataWidth(), scrollX_}, shownHorizontal_);
}

void ResultGrid::setScrollBar(int bar, const ScrollState& state, ScrollState& shown)
{
    // Setting a scroll bar repaints it at once (some 8 ms under Wine); only a
    // change is set.
    if (state == shown)
        return;
    auto info = win32::sized<SCROLLINFO>();
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMax = state.max;
    info.nPage = static_cast<UINT>(state.page);
    info.nPos = state.position;
    SetScrollInfo(hwnd(), bar, &info, TRUE);
    shown = state;
}

void ResultGrid::showPendingRows()
{
    rows_->showPendingRows();
    updateScrollBars();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void ResultGrid::fetchAsNeeded()
{
    // The view needs a row past the last one shown when the last one is in
    // view: then, and only then, the next batch.
    while (rows_->canFetchMore() && topRow_ + pageRows() >= rows_->rowCount()) {
        const int before = rows_->rowCount();
        const bool fetched = ui::guarded([this] { rows_->fetchMore(); });
        showPendingRows(); // the rows of a batch cut short by an error still show
        if (!fetched || rows_->rowCount() == before)
            break;
    }
}

void ResultGrid::rowsReset()
{
    topRow_ = 0;
    currentRow_ = 0;
    rows_->setCurrentRow(0);
    fetchAsNeeded();
    updateScrollBars();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void ResultGrid::scrollToRow(int top)
{
    const int last = std::max(0, rows_->rowCount() - pageRows());
    top = std::clamp(top, 0, last);
    if (top != topRow_) {
        topRow_ = top;
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
    updateScrollBars();
    fetchAsNeeded();
}

void ResultGrid::scrollHorizontally(int x)
{
    x = std::clamp(x, 0, std::max(0, totalWidth() - dataWidth()));
    if (x == scrollX_)
        return;
    scrollX_ = x;
    placeHeader();
    updateScrollBars();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void ResultGrid::moveTo(int row, int column)
{
    row = std::clamp(row, 0, rows_->rowCount() - 1);
    currentRow_ = row;
    currentColumn_ = column;
    rows_->setCurrentRow(row);
    ensureVisible(row, column);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void ResultGrid::ensureVisible(int row, int column)
{
    if (row < topRow_)
        scrollToRow(row);
    else if (row >= topRow_ + pageRows())
        scrollToRow(row - pageRows() + 1);
    const int left = columnLeft(column);
    const int right = left + widths_[column];
    if (left < scrollX_)
        scrollHorizontally(left);
    else if (right > scrollX_ + dataWidth())
        scrollHorizontally(std::min(left, right - dataWidth()));
}

ResultGrid::Hit ResultGrid::hitTest(POINT at) const
{
    const ui::Size client = clientSize();
    if (at.x < 0 || at.y < 0 || at.x >= client.width || at.y >= client.height)
        return {};
    if (at.y < headerHeight_)
        return {ui::GridArea::TitleRow};
    const int row = topRow_ + (at.y - headerHeight_) / rowHeight_;
    if (row >= rows_->rowCount())
        return {ui::GridArea::BelowRows};
    if (at.x < indicatorWidth_)
        return {ui::GridArea::Indicator, row};
    int x = at.x - indicatorWidth_ + scrollX_;
    for (int column : order_) {
        if (x < widths_[column])
            return {ui::GridArea::DataCell, row, column};
        x -= widths_[column];
    }
    return {ui::GridArea::BelowRows};
}

void ResultGrid::press(ui::MouseButton button, POINT at)
{
    SetFocus(hwnd());
    const Hit hit = hitTest(at);
    if (clickRule_.press(button, hit.area))
        moveTo(hit.row, hit.area == ui::GridArea::DataCell ? hit.column : currentColumn_);
    if (button == ui::MouseButton::Left) {
        SetCapture(hwnd());
        capturing_ = true;
    }
}

void ResultGrid::release(ui::MouseButton button, POINT at)
{
    if (button == ui::MouseButton::Left && capturing_) {
        capturing_ = false;
        ReleaseCapture();
    }
    if (clickRule_.release(button, hitTest(at).area) && onCellClick)
        onCellClick(currentColumn_);
}

void ResultGrid::keyDown(WPARAM key)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const auto position = std::find(order_.begin(), order_.end(), currentColumn_) - order_.begin();
    const int lastPosition = ui::GridColumnCount - 1;
    switch (key) {
    case VK_UP: moveTo(currentRow_ - 1, currentColumn_); break;
    case VK_DOWN: moveTo(currentRow_ + 1, currentColumn_); break;
    case VK_PRIOR: moveTo(currentRow_ - std::max(1, pageRows() - 1), currentColumn_); break;
    case VK_NEXT: moveTo(currentRow_ + std::max(1, pageRows() - 1), currentColumn_); break;
    case VK_LEFT:
        if (position > 0)
            moveTo(currentRow_, order_[position - 1]);
        break;
    case VK_RIGHT:
        if (position < lastPosition)
            moveTo(currentRow_, order_[position + 1]);
        break;
    case VK_HOME: control ? moveTo(0, currentColumn_) : moveTo(currentRow_, order_.front()); break;
    case VK_END: control ? moveTo(rows_->rowCount() - 1, currentColumn_) : moveTo(currentRow_, order_.back()); break;
    case VK_TAB:
        // From cell to cell, on to the next row at the end of one.
        if (shift) {
            if (position > 0)
                moveTo(currentRow_, order_[position - 1]);
            else if (currentRow_ > 0)
                moveTo(currentRow_ - 1, order_.back());
        } else {
            if (position < lastPosition)
                moveTo(currentRow_, order_[position + 1]);
            else if (currentRow_ + 1 < rows_->rowCount())
                moveTo(currentRow_ + 1, order_.front());
        }
        break;
    default: break;
    }
}

void ResultGrid::headerNotified(const NMHDR* n)
{
    switch (n->code) {
    case HDN_BEGINTRACKW:
    case HDN_BEGINDRAG:
        // A title border or a title being dragged: its release opens nothing.
        clickRule_.titleDragStarted();
        break;
    case HDN_ITEMCHANGEDW:
        readHeader();
        placeHeader();
        scrollHorizontally(scrollX_);
        updateScrollBars();
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    case HDN_ENDDRAG:
        // The header applies the new order after this returns.
        PostMessageW(hwnd(), ColumnsReordered, 0, 0);
        break;
    default: break; // a click on a title sorts nothing
    }
}

void ResultGrid::paintIndicator(HDC dc, int y, int row, HPEN shadow)
{
    const RECT cell{0, y, indicatorWidth_, y + rowHeight_};
    fill(dc, cell, GetSysColor(COLOR_BTNFACE));
    Selection pen(dc, shadow);
    line(dc, cell.right - 1, cell.top, cell.right - 1, cell.bottom);
    line(dc, cell.left, cell.bottom - 1, cell.right, cell.bottom - 1);
    if (row == currentRow_) {
        // A small solid triangle pointing at the current row.
        const int cx = indicatorWidth_ / 2 - 1;
        const int cy = y + rowHeight_ / 2;
        const int half = std::max(2, ui::scaled(4, dpi_));
        const POINT triangle[] = {{cx - half / 2, cy - half}, {cx + half / 2, cy}, {cx - half / 2, cy + half}};
        Selection brush(dc, GetStockObject(BLACK_BRUSH));
        Selection noPen(dc, GetStockObject(NULL_PEN));
        Polygon(dc, triangle, 3);
    }
}

void ResultGrid::paintCell(HDC dc, const RECT& cell, const RECT& visible, int row, int column)
{
    const bool current = row == currentRow_ && column == currentColumn_;
    if (current)
        fill(dc, visible, GetSysColor(COLOR_HIGHLIGHT));
    const quelvo::FieldValue value = rows_->field(row, column);
    if (!value.isNull && value.size > 0) {
        const int pad = ui::scaled(ui::GridCellPadding, dpi_);
        // Laid out word-wrapped to the cell's width; only the first line shows.
        RECT text{cell.left + pad, cell.top + pad, cell.right - pad, cell.bottom};
        SavedDC saved(dc);
        IntersectClipRect(dc, std::max(visible.left, text.left), visible.top, std::min(visible.right, text.right),
                          std::min(cell.bottom - 1, text.top + lineHeight_));
        SetTextColor(dc, GetSysColor(current ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        DrawTextW(dc, wide(value.data), static_cast<int>(value.size), &text,
                  DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    }
}

void ResultGrid::paint(HDC target, const RECT& dirty)
{
    const ui::Size client = clientSize();
    if (client.width <= 0 || client.height <= 0)
        return;
    // Drawn off screen first, so rows never flicker.
    MemoryDC dc(CreateCompatibleDC(target));
    Bitmap buffer(CreateCompatibleBitmap(target, client.width, client.height));
    Selection bufferSelected(dc.get(), buffer.get());
    const RECT all{0, 0, client.width, client.height};
    fill(dc.get(), all, GetSysColor(COLOR_WINDOW));
    Selection font(dc.get(), font_);
    SetBkMode(dc.get(), TRANSPARENT);
    Pen gridPen(CreatePen(PS_SOLID, 1, GridLineColor));
    Pen shadowPen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));

    const int lastRow = std::min(rows_->rowCount(), topRow_ + pageRows() + 1);
    for (int row = topRow_; row < lastRow; ++row) {
        const int y = headerHeight_ + (row - topRow_) * rowHeight_;
        if (y >= dirty.bottom || y + rowHeight_ <= dirty.top)
            continue;
        paintIndicator(dc.get(), y, row, shadowPen.get());
        for (int column : order_) {
            const RECT cell = cellRect(row, column);
            // What shows of it: right of the indicator column, in the window.
            const RECT visible{std::max<LONG>(cell.left, indicatorWidth_), cell.top,
                               std::min<LONG>(cell.right, client.width), cell.bottom};
            if (visible.right <= visible.left || visible.right <= dirty.left || visible.left >= dirty.right)
                continue;
            paintCell(dc.get(), cell, visible, row, column);
            Selection pen(dc.get(), gridPen.get());
            if (cell.right - 1 >= visible.left && cell.right - 1 < visible.right)
                line(dc.get(), cell.right - 1, cell.top, cell.right - 1, cell.bottom);
            line(dc.get(), visible.left, cell.bottom - 1, visible.right, cell.bottom - 1);
        }
    }
    BitBlt(target, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, dc.get(), dirty.left,
           dirty.top, SRCCOPY);
}

LRESULT ResultGrid::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        placeHeader();
        scrollHorizontally(scrollX_);
        scrollToRow(topRow_);
        updateScrollBars();
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_VSCROLL: {
        auto info = win32::sized<SCROLLINFO>();
    info.fMask = SIF_ALL;
        GetScrollInfo(hwnd(), SB_VERT, &info);
        int top = topRow_;
        switch (LOWORD(wParam)) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_PAGEUP: top -= pageRows(); break;
        case SB_PAGEDOWN: top += pageRows(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = info.nTrackPos; break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = rows_->rowCount(); break;
        default: break;
        }
        scrollToRow(top);
        return 0;
    }
    case WM_HSCROLL: {
        auto info = win32::sized<SCROLLINFO>();
    info.fMask = SIF_ALL;
        GetScrollInfo(hwnd(), SB_HORZ, &info);
        const int step = std::max(1, digitWidth_ * 4);
        int x = scrollX_;
        switch (LOWORD(wParam)) {
        case SB_LINELEFT: x -= step; break;
        case SB_LINERIGHT: x += step; break;
        case SB_PAGELEFT: x -= dataWidth(); break;
        case SB_PAGERIGHT: x += dataWidth(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: x = info.nTrackPos; break;
        case SB_LEFT: x = 0; break;
        case SB_RIGHT: x = totalWidth(); break;
        default: break;
        }
        scrollHorizontally(x);
        return 0;
    }
    case WM_MOUSEWHEEL:
        scrollToRow(topRow_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * WheelRows);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        press(buttonOf(message), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        release(buttonOf(message), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_CAPTURECHANGED:
        capturing_ = false;
        return 0;
    case WM_KEYDOWN:
        keyDown(wParam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_NOTIFYFORMAT:
        return NFR_UNICODE;
    case WM_NOTIFY: {
        const auto* n = reinterpret_cast<const NMHDR*>(lParam);
        if (n->hwndFrom == header_.hwnd())
            headerNotified(n);
        return FALSE;
    }
    case ColumnsReordered:
        readHeader();
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    default:
        break;
    }
    return PaintedWindow::onMessage(message, wParam, lParam);
}

} // namespace win32
