#pragma once

// Where the two windows go and how their content is laid out. Sizes are given
// at 96 pixels per inch; a layout for a monitor of `dpi` scales the fixed
// ones and shares out the rest of the real client area. Bounds are relative
// to the parent, as the layouts nest them.

#include "ui/geometry.h"

namespace ui {

inline constexpr Size SearchWindowClientSize{751, 481};   // initial client area and minimum window size
inline constexpr Size SolutionWindowClientSize{1110, 562};
inline constexpr int WindowFontPixelHeight = 11;          // Tahoma, both windows and their controls
inline constexpr int LabelFontPixelHeight = 13;           // the solution window's bold labels
inline constexpr int SearchBoxCornerEllipse = 10;         // Arredondarcantos on Panel3

// The search window's content: a margin around the search row and the grid,
// doubled between them; the row's height and the magnifier's width.
inline constexpr int SearchMargin = 15;
inline constexpr int SearchRowHeight = 34;
inline constexpr int SearchButtonWidth = 56;
// The solution window's content: its inset, the empty band at the bottom,
// the label rows, and the margin around each text box in its cell.
inline constexpr int SolutionInset = 10;
inline constexpr int SolutionBandHeight = 41;
inline constexpr int LabelRowHeight = 24;
inline constexpr int MemoMargin = 3;

// pnlCenter in either window's client area: all of it below the title bar.
Rect contentArea(Size client, int dpi = BaseDpi);

// The search window's first position: centred on the primary screen's full
// size (not its work area), never above or left of the whole desktop.
Point firstPosition(const Rect& primaryScreen, const Rect& desktop, Size window);

// The solution window's position: centred over the search window, never
// above or left of the work area of the search window's monitor. Nothing
// keeps it inside the right or bottom edge.
Point centredOver(const Rect& owner, Size window, const Rect& workArea);

struct SearchWindowLayout {
    Rect pnlTopo;    // in the client area
    Rect pnlCenter;  // in the client area
    Rect Panel2;     // in pnlCenter; GridPanel1 fills it
    Rect Panel3;     // in GridPanel1 (column 0); Memo1 fills it
    Rect Panel4;     // in GridPanel1 (column 1); search and bk_search fill it
    Rect Panel5;     // in pnlCenter; DBGrid1 fills it
};
SearchWindowLayout searchWindowLayout(Size client, int dpi = BaseDpi);

struct SolutionWindowLayout {
    Rect pnlTopo;    // in the client area
    Rect pnlCenter;  // in the client area
    Rect GridPanel1; // in pnlCenter
    Rect Panel3;     // in pnlCenter, the empty band at the bottom
    // Cells of GridPanel1; each label stands at its cell's left edge, full
    // row height, as wide as its text.
    Rect Label4Cell; // "Suporte:"
    Rect Label3Cell; // "Data:"
    Rect Label2Cell; // "PROBLEMA"
    Rect Label1Cell; // "SOLUÇÃO"
    Rect Memo2;      // in GridPanel1: the problem text
    Rect Memo1;      // in GridPanel1: the solution text
};
SolutionWindowLayout solutionWindowLayout(Size client, int dpi = BaseDpi);

} // namespace ui
