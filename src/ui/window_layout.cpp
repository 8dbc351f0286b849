#include "ui/window_layout.h"

#include "ui/title_bar.h"

#include <algorithm>

namespace ui {

namespace {

constexpr int SearchMargin = 15;
constexpr int SearchRowHeight = 34;
constexpr int SearchButtonWidth = 56;
constexpr int SolutionInset = 10;
constexpr int SolutionBandHeight = 41;
constexpr int LabelRowHeight = 24;
constexpr int MemoMargin = 3;

int atLeastZero(int value) { return std::max(value, 0); }

Rect contentArea(Size client)
{
    return {0, TitleBarHeight, client.width, atLeastZero(client.height - TitleBarHeight)};
}

} // namespace

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

SearchWindowLayout searchWindowLayout(Size client)
{
    SearchWindowLayout l;
    l.pnlTopo = {0, 0, client.width, TitleBarHeight};
    l.pnlCenter = contentArea(client);
    const int inner = atLeastZero(client.width - 2 * SearchMargin);
    l.Panel2 = {SearchMargin, SearchMargin, inner, SearchRowHeight};
    l.Panel3 = {0, 0, atLeastZero(inner - SearchButtonWidth), SearchRowHeight};
    l.Panel4 = {l.Panel3.right(), 0, SearchButtonWidth, SearchRowHeight};
    // Panel2's bottom margin and Panel5's top margin add up.
    const int gridTop = l.Panel2.bottom() + 2 * SearchMargin;
    l.Panel5 = {SearchMargin, gridTop, inner, atLeastZero(l.pnlCenter.height - gridTop - SearchMargin)};
    return l;
}

SolutionWindowLayout solutionWindowLayout(Size client)
{
    SolutionWindowLayout l;
    l.pnlTopo = {0, 0, client.width, TitleBarHeight};
    l.pnlCenter = contentArea(client);
    const int inner = atLeastZero(client.width - 2 * SolutionInset);
    const int innerHeight = atLeastZero(l.pnlCenter.height - 2 * SolutionInset);
    const int gridHeight = atLeastZero(innerHeight - SolutionBandHeight);
    l.GridPanel1 = {SolutionInset, SolutionInset, inner, gridHeight};
    l.Panel3 = {SolutionInset, SolutionInset + gridHeight, inner, std::min(SolutionBandHeight, innerHeight)};

    const int left = inner / 2;
    const int right = inner - left;
    l.Label4Cell = {0, 0, left, LabelRowHeight};
    l.Label3Cell = {left, 0, right, LabelRowHeight};
    l.Label2Cell = {0, LabelRowHeight, left, LabelRowHeight};
    l.Label1Cell = {left, LabelRowHeight, right, LabelRowHeight};
    const int memoTop = 2 * LabelRowHeight;
    const int memoRow = atLeastZero(gridHeight - memoTop);
    auto inset = [](Rect cell) {
        return Rect{cell.left + MemoMargin, cell.top + MemoMargin, atLeastZero(cell.width - 2 * MemoMargin),
                    atLeastZero(cell.height - 2 * MemoMargin)};
    };
    l.Memo2 = inset({0, memoTop, left, memoRow});
    l.Memo1 = inset({left, memoTop, right, memoRow});
    return l;
}

} // namespace ui
