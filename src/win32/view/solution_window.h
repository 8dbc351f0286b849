#pragma once

#include "borderless_window.h"
#include "label.h"
#include "panel.h"

#include <string>

// The solution window: one attendance's problem beside its solution, with
// the analyst and the date above. Lives for one click, shown modally over
// the search window, which owns it.
class TForm1 : public win32::BorderlessWindow {
public:
    static constexpr int mrNone = 0;
    static constexpr int mrCancel = 2;

    // Creates the window, hidden, owned by `owner`.
    explicit TForm1(HWND owner);
    ~TForm1() override;

    win32::Panel Panel3;
    win32::Panel GridPanel1;
    win32::Label Label4;
    win32::Label Label3;
    win32::Label Label2;
    win32::Label Label1;
    win32::Control Memo2;
    win32::Control Memo1;

    void setCaption(win32::Label& label, const std::u16string& text);
    void setText(win32::Control& memo, const std::u16string& text);

    // Centres the window over `owner` (raised to the top-left of the work
    // area only), disables the owner and runs the modal display until the
    // window closes; returns the modal result.
    int showModalOver(win32::BorderlessWindow& owner);
    bool isModal() const { return modal_; }

    HWND dragTarget() const override;

protected:
    void layoutContent(ui::Size client) override;
    void fontsChanged() override;
    void closeRequested() override;
    HWND firstFocus() const override { return Memo2.hwnd(); }

private:
    int modalResult_ = mrNone;
    bool modal_ = false;
};

// The solution window while one exists.
extern TForm1* Form1;
