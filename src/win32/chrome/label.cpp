#include "label.h"

#include "fonts.h"
#include "handles.h"

namespace win32 {

namespace {

constexpr const wchar_t* ClassName = L"QuelvoLabel";

} // namespace

void Label::create(HWND parent, int id, const std::u16string& text, HFONT font, ui::Color textColor,
                   const Panel& background, const ui::Rect& bounds, UINT format)
{
    font_ = font;
    textColor_ = textColor;
    background_ = &background;
    format_ = format;
    registerClass(ClassName);
    Window::create({ClassName, wide(text.c_str()), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, parent, id, bounds});
}

void Label::setText(const std::u16string& text)
{
    SetWindowTextW(hwnd(), wide(text.c_str()));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

std::u16string Label::text() const
{
    return windowText(hwnd());
}

void Label::setFont(HFONT font)
{
    font_ = font;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

int Label::textWidth() const
{
    const std::u16string t = text();
    return win32::textWidth(font_, wide(t.c_str()), static_cast<int>(t.size()));
}

void Label::paint(HDC dc, const RECT&)
{
    RECT client{};
    GetClientRect(hwnd(), &client);
    fill(dc, client, background_->color());
    const std::u16string t = text();
    Selection font(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(textColor_));
    DrawTextW(dc, wide(t.c_str()), static_cast<int>(t.size()), &client,
              format_ | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

LRESULT Label::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT; // the pointer belongs to the panel beneath
    default:
        break;
    }
    return PaintedWindow::onMessage(message, wParam, lParam);
}

} // namespace win32
