#pragma once

#include "fonts.h"
#include "panel.h"
#include "title_bar.h"

#include "ui/title_bar.h"

namespace win32 {

// A top-level window without the system's caption or border, with a sizing
// frame and a static edge, that carries the title bar `pnlTopo` and the
// content panel `pnlCenter` below it. It knows its pixel density and scales
// with it, keeps its minimum size, and minimises the application as a whole.
class BorderlessWindow : public Window {
public:
    struct Styles {
        DWORD style;
        DWORD exStyle;
    };
    // The creation parameters: a borderless pop-up window's own styles, then
    // the sizing frame and the static edge, which the standard parameters of
    // a borderless window lack; the main window also takes the taskbar button.
    static Styles CreateParams(bool mainWindow);

    int dpi() const { return dpi_; }
    const Fonts& fonts() const { return fonts_; }

    ui::WindowState state() const;
    void setState(ui::WindowState state);

    // Minimises the main window, which takes the windows it owns with it.
    void minimizeApplication();

    // The window the title bar drags.
    virtual HWND dragTarget() const = 0;

    TitleBar pnlTopo;
    Panel pnlCenter;

protected:
    BorderlessWindow(ui::TitleBarKind kind, ui::Size designClientSize) : kind_(kind), design_(designClientSize) {}

    // Creates the hidden window, sized for its density, with its title bar
    // and content panel; `owner` is the owning window, if any.
    void createFrame(const wchar_t* className, HWND owner, bool mainWindow);

    // Places the content panel's children for a client size.
    virtual void layoutContent(ui::Size client) = 0;
    // After every change of size (FormResize), the content laid out anew.
    virtual void resized() {}
    // After a change of density: the fonts are new.
    virtual void fontsChanged() {}
    // Any close of the window (WM_CLOSE), the title bar's included.
    virtual void closeRequested() = 0;
    // The control that has the focus when the window is first activated.
    virtual HWND firstFocus() const = 0;

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Lays the title bar, the content panel and the content out anew.
    void layout();

private:

    ui::TitleBarKind kind_;
    ui::Size design_;
    int dpi_ = ui::BaseDpi;
    Fonts fonts_;
    HWND focus_ = nullptr;
    bool ownedHidden_ = false;
};

// The monitor work area and whole area of the monitor a window is on.
RECT workAreaOf(HWND window);

} // namespace win32
