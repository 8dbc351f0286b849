#include "ui/window_layout.h"

#include "ui/title_bar.h"

#include <algorithm>

namespace ui {

namespace {

int atLeastZero(int value) { return std::max(value, 0); }

} // namespace

Rect contentArea(Size client, int dpi)
{
    const int bar = scaled(TitleBarHeight, dpi);
    return {0, bar, client.width, atLeastZero(client.height - bar)};
}

Point firstPosition(const Rect& primaryScreen, const Rect& desktop, Size window)
{
    const int left = primaryScreen.left + (primaryScreen.width - window.width) / 2;
    const int top = primaryScreen.top + (primaryScreen.height - window.height) / 2;
    return {std::max(left, desktop.left), std::max(top, desktop.top)};
}

Point centredOver(const Rect& owner, Size window, const Rect& workArea)
{
    const int left = owner.left + (owner.width - window.width) / 2;
    const int top = owner.top + (owner.height - window.height) / 2;
    return {std::max(left, workArea.left), std::max(top, workArea.top)};
}

SearchWindowLayout searchWindowLayout(Size client, int dpi)
{
    const int margin = scaled(SearchMargin, dpi);
    const int rowHeight = scaled(SearchRowHeight, dpi);
    const int buttonWidth = scaled(SearchButtonWidth, dpi);
    SearchWindowLayout l;
    l.pnlTopo = {0, 0, client.width, scaled(TitleBarHeight, dpi)};
    l.pnlCenter = contentArea(client, dpi);
    const int inner = atLeastZero(client.width - 2 * margin);
    l.Panel2 = {margin, margin, inner, rowHeight};
    l.Panel3 = {0, 0, atLeastZero(inner - buttonWidth), rowHeight};
    l.Panel4 = {l.Panel3.right(), 0, buttonWidth, rowHeight};
    // Panel2's bottom margin and Panel5's top margin add up.
    const int gridTop = l.Panel2.bottom() + 2 * margin;
    l.Panel5 = {margin, gridTop, inner, atLeastZero(l.pnlCenter.height - gridTop - margin)};
    return l;
}

SolutionWindowLayout solutionWindowLayout(Size client, int dpi)
{
    const int insetBy = scaled(SolutionInset, dpi);
    const int band = scaled(SolutionBandHeight, dpi);
    const int labelRow = scaled(LabelRowHeight, dpi);
    const int memoMargin = scaled(MemoMargin, dpi);
    SolutionWindowLayout l;
    l.pnlTopo = {0, 0, client.width, scaled(TitleBarHeight, dpi)};
    l.pnlCenter = contentArea(client, dpi);
    const int inner = atLeastZero(client.width - 2 * insetBy);
    const int innerHeight = atLeastZero(l.pnlCenter.height - 2 * insetBy);
    const int gridHeight = atLeastZero(innerHeight - band);
    l.GridPanel1 = {insetBy, insetBy, inner, gridHeight};
    l.Panel3 = {insetBy, insetBy + gridHeight, inner, std::min(band, innerHeight)};

    const int left = inner / 2;
    const int right = inner - left;
    l.Label4Cell = {0, 0, left, labelRow};
    l.Label3Cell = {left, 0, right, labelRow};
    l.Label2Cell = {0, labelRow, left, labelRow};
    l.Label1Cell = {left, labelRow, right, labelRow};
    const int memoTop = 2 * labelRow;
    const int memoRow = atLeastZero(gridHeight - memoTop);
    auto inset = [memoMargin](Rect cell) {
        return Rect{cell.left + memoMargin, cell.top + memoMargin, atLeastZero(cell.width - 2 * memoMargin),
                    atLeastZero(cell.height - 2 * memoMargin)};
    };
    l.Memo2 = inset({0, memoTop, left, memoRow});
    l.Memo1 = inset({left, memoTop, right, memoRow});
    return l;
}

} // namespace ui
