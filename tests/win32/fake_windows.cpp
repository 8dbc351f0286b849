#include "fake_windows.h"

#include "core/executable_path.h"
#include "core/utf.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace win32_test {

Windows::Windows() : folder_("quelvo-win32")
{
    fake::reset();
    win32::installErrorBox(quelvo::fromUtf8(quelvo::executablePath()));
    win32::setErrorBoxSink([this](const ui::ErrorBoxContent& box) { boxes.push_back(box); });
    program_ = std::make_unique<win32::Program>(win32::Program::Options{folder_.path(), {FAKE_CLIENT_PATH}});
    pump();
}

Windows::~Windows()
{
    program_->end();
    pump();
    win32::setErrorBoxSink(nullptr);
}

void Windows::type(const std::u16string& text)
{
    for (char16_t c : text)
        SendMessageW(form().Memo1.hwnd(), WM_CHAR, c, 1);
}

void Windows::clickMagnifier()
{
    win32::PictureBox& shown = form().bk_search.isVisible() ? form().bk_search : form().search;
    click(shown.hwnd(), centreOf(shown.hwnd()));
    pump();
}

void Windows::clickCell(int row, int column)
{
    const RECT cell = form().DBGrid1.cellRect(row, column);
    const int left = std::max<int>(cell.left, 0) + 20;
    click(form().DBGrid1.hwnd(), {left, (cell.top + cell.bottom) / 2});
    pump();
}

void Windows::openSolution(int row, const std::function<void(TForm1&)>& inside)
{
    bool ran = false;
    Script script({[&] {
        ASSERT_NE(Form1, nullptr);
        ASSERT_TRUE(Form1->isModal());
        inside(*Form1);
        ran = true;
        if (Form1)
            click(Form1->pnlTopo.close.hwnd(), centreOf(Form1->pnlTopo.close.hwnd()));
    }});
    clickCell(row, 0);
    EXPECT_TRUE(ran) << "no solution window was shown";
    EXPECT_EQ(Form1, nullptr);
}

} // namespace win32_test
