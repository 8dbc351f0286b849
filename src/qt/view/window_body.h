#pragma once

#include "titlebar.h"

class QFont;
class QFrame;
class QVBoxLayout;

namespace view {

// What both windows are made of below the window itself: the title bar
// across the top and the content panel `pnlCenter` filling the rest.
struct WindowBody {
    chrome::TitleBar* titleBar;
    QFrame* content;
};

WindowBody buildWindowBody(QWidget* window, chrome::TitleBar::Kind kind);

// Tahoma at 11 pixels: the font of both windows and all their controls.
QFont windowFont();

} // namespace view
