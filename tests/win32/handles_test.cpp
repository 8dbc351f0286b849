// No handle is leaked: the program's GDI objects and windows stay level over
// a thousand searches and two hundred solution windows.

#include "fake_windows.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace win32_test;
using testing_support::scriptRows;

namespace {

// Wine answers GetGuiResources with 0. It keeps the process's GDI handles in
// a table that the process block points at, as Windows does (a 24-byte entry
// per handle, its type byte at offset 14, 0 when free), so the count is
// taken there when the system's own answer is nothing.
struct GdiEntry {
    unsigned long long object;
    unsigned short owner;
    unsigned short count;
    unsigned short unique;
    unsigned char type;
    unsigned char flags;
    unsigned long long user;
};
static_assert(sizeof(GdiEntry) == 24);

bool underWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

unsigned gdiObjects()
{
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); count || !underWine())
        return count;
    using GetPeb = void*(WINAPI*)();
    const auto currentPeb = reinterpret_cast<GetPeb>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetCurrentPeb")));
    const auto* table = *reinterpret_cast<GdiEntry* const*>(static_cast<const char*>(currentPeb()) + 0xF8);
    unsigned count = 0;
    for (int i = 0; i < 0x10000; ++i)
        count += table[i].type != 0;
    return count;
}

BOOL CALLBACK countWindow(HWND window, LPARAM data)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<unsigned*>(data);
        EnumChildWindows(window, countWindow, data);
    }
    return TRUE;
}

// Windows have no count of their own under Wine: every window of the
// process, children included, is counted instead.
unsigned userObjects()
{
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS); count || !underWine())
        return count;
    unsigned count = 0;
    EnumWindows(countWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST(Handles, LevelOverAThousandSearchesAndTwoHundredSolutionWindows)
{
    Windows w;
    fake::script().rows = {{{"p", "01/01/26 08:00╗Ana╗um"}}, {{"q", "02/02/26 09:00╗Bruno╗dois"}}};
    // Warm up: the first search loads the library, the first window registers its classes.
    w.clickMagnifier();
    w.openSolution(0, [](TForm1&) {});
    pump(100);
    const unsigned gdiBefore = gdiObjects();
    const unsigned userBefore = userObjects();
    ASSERT_GT(gdiBefore, 0u);
    ASSERT_GT(userBefore, 0u);

    for (int i = 0; i < 1000; ++i) {
        click(w.form().search.hwnd(), centreOf(w.form().search.hwnd()));
        if (i % 100 == 0)
            pump();
    }
    pump(100);
    EXPECT_EQ(w.form().DataSource1.rowCount(), 2);
    EXPECT_EQ(gdiObjects(), gdiBefore);
    EXPECT_EQ(userObjects(), userBefore);

    for (int i = 0; i < 200; ++i)
        w.openSolution(i % 2, [](TForm1& form) { form.repaint(); });
    pump(100);
    EXPECT_EQ(gdiObjects(), gdiBefore);
    EXPECT_EQ(userObjects(), userBefore);
    EXPECT_TRUE(w.boxes.empty());
    std::printf("GDI objects %u, windows or user objects %u, before and after (%s)\n", gdiBefore, userBefore,
                underWine() ? "Wine: the GDI handle table and a window count" : "GetGuiResources");
}

} // namespace
