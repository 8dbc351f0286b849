#include "solution_window.h"

#include "component_ids.h"

#include "ui/window_layout.h"

TForm1* Form1 = nullptr;

namespace {

constexpr const wchar_t* ClassName = L"QuelvoSolutionWindow";

ui::Rect labelIn(const ui::Rect& cell, int textWidth)
{
    return {cell.left, cell.top, textWidth, cell.height};
}

} // namespace

TForm1::TForm1(HWND owner) : BorderlessWindow(ui::TitleBarKind::SolutionWindow, ui::SolutionWindowClientSize)
{
    registerClass(ClassName);
    createFrame(ClassName, owner, false);

    const HFONT labelFont = fonts().label.get();
    Panel3.create(pnlCenter.hwnd(), win32::ids::Panel3, ui::ContentColor);
    GridPanel1.create(pnlCenter.hwnd(), win32::ids::GridPanel1, ui::ContentColor);
    Label4.create(GridPanel1.hwnd(), win32::ids::Label4, u"Suporte:", labelFont, ui::WhiteColor, GridPanel1, {}, DT_LEFT);
    Label3.create(GridPanel1.hwnd(), win32::ids::Label3, u"Data:", labelFont, ui::WhiteColor, GridPanel1, {}, DT_LEFT);
    Label2.create(GridPanel1.hwnd(), win32::ids::Label2, u"PROBLEMA", labelFont, ui::WhiteColor, GridPanel1, {}, DT_LEFT);
    Label1.create(GridPanel1.hwnd(), win32::ids::Label1, u"SOLUÇÃO", labelFont, ui::WhiteColor, GridPanel1, {}, DT_LEFT);
    // Read-only boxes; without a dialog manager, Tab stays in them.
    const DWORD memoStyle = WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
    Memo2.create(L"EDIT", memoStyle, 0, GridPanel1.hwnd(), win32::ids::Memo2, {});
    Memo1.create(L"EDIT", memoStyle, 0, GridPanel1.hwnd(), win32::ids::Memo1, {});
    fontsChanged();
    layout();
}

TForm1::~TForm1()
{
    destroy();
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::setCaption(win32::Label& label, const std::u16string& text)
{
    label.setText(text);
    // A label is as wide as its text; nothing else depends on it.
    layoutContent(clientSize());
}

void TForm1::setText(win32::Control& memo, const std::u16string& text)
{
    SetWindowTextW(memo.hwnd(), win32::wide(text.c_str()));
}

void TForm1::layoutContent(ui::Size client)
{
    if (!Memo1.hwnd())
        return;
    const ui::SolutionWindowLayout l = ui::solutionWindowLayout(client, dpi());
    GridPanel1.setBounds(l.GridPanel1);
    Panel3.setBounds(l.Panel3);
    Label4.setBounds(labelIn(l.Label4Cell, Label4.textWidth()));
    Label3.setBounds(labelIn(l.Label3Cell, Label3.textWidth()));
    Label2.setBounds(labelIn(l.Label2Cell, Label2.textWidth()));
    Label1.setBounds(labelIn(l.Label1Cell, Label1.textWidth()));
    Memo2.setBounds(l.Memo2);
    Memo1.setBounds(l.Memo1);
}

void TForm1::fontsChanged()
{
    for (win32::Label* label : {&Label4, &Label3, &Label2, &Label1})
        label->setFont(fonts().label.get());
    for (win32::Control* memo : {&Memo2, &Memo1})
        SendMessageW(memo->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts().window.get()), TRUE);
}

HWND TForm1::dragTarget() const
{
    return Form1 ? Form1->hwnd() : nullptr;
}

void TForm1::closeRequested()
{
    // Ends the modal display, as a cancel.
    modalResult_ = mrCancel;
}

int TForm1::showModalOver(win32::BorderlessWindow& owner)
{
    RECT ownerFrame{};
    GetWindowRect(owner.hwnd(), &ownerFrame);
    RECT frame{};
    GetWindowRect(hwnd(), &frame);
    const RECT work = win32::workAreaOf(owner.hwnd());
    const ui::Point at = ui::centredOver(
        {ownerFrame.left, ownerFrame.top, ownerFrame.right - ownerFrame.left, ownerFrame.bottom - ownerFrame.top},
        {frame.right - frame.left, frame.bottom - frame.top},
        {work.left, work.top, work.right - work.left, work.bottom - work.top});
    SetWindowPos(hwnd(), HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE);

    modalResult_ = mrNone;
    modal_ = true;
    EnableWindow(owner.hwnd(), FALSE);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetFocus(Memo2.hwnd());

    MSG message{};
    while (modalResult_ == mrNone) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the main loop must see the quit too.
            PostQuitMessage(static_cast<int>(message.wParam));
            modalResult_ = mrCancel;
            break;
        }
        win32::dispatch(message);
    }

    // The owner first, so the activation goes back to it.
    EnableWindow(owner.hwnd(), TRUE);
    ShowWindow(hwnd(), SW_HIDE);
    modal_ = false;
    return modalResult_;
}
