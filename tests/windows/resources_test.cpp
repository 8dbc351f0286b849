// What Windows reads from the program files themselves: the version
// information of quelvo-search.exe, and the manifest and icon that this test
// program carries from the same resource script as the program.

#include "windows_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

struct VersionValue {
    const char* name;
    const wchar_t* expected;
};

class SearchToolVersion : public ::testing::TestWithParam<VersionValue> {};

TEST_P(SearchToolVersion, IsReadByTheSystem)
{
    const std::wstring file = windows_test::wide(windows_test::programFolder() + "\\quelvo-search.exe");
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block.data()));

    // The first translation names the string table to read.
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, sizeof(Translation));
    wchar_t query[128];
    swprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%hs", translation->language, translation->codePage,
             GetParam().name);
    wchar_t* value = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length)) << GetParam().name;
    EXPECT_EQ(std::wstring(value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Strings, SearchToolVersion, ::testing::Values(
    VersionValue{"ProductName", L"Quelvo"},
    VersionValue{"ProductVersion", L"1.0.0.0"},
    VersionValue{"FileVersion", L"1.0.0.0"},
    VersionValue{"FileDescription", L"Quelvo search (command line)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchToolVersion, FixedVersionIs1000)
{
    const std::wstring file = windows_test::wide(windows_test::programFolder() + "\\quelvo-search.exe");
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
}

// The manifest at work in this process.

TEST(Manifest, DeclaresPerMonitorDpiAwareness)
{
    using GetContext = HANDLE(WINAPI*)();
    using AwarenessOf = int(WINAPI*)(HANDLE);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto getContext = reinterpret_cast<GetContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto awarenessOf = reinterpret_cast<AwarenessOf>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(getContext && awarenessOf) << "a system without per-monitor DPI awareness";
    EXPECT_EQ(awarenessOf(getContext()), 2); // DPI_AWARENESS_PER_MONITOR_AWARE
}

TEST(Manifest, BringsTheCommonControlsOfVersion6)
{
    // Version 6 is the side-by-side assembly; without the manifest the
    // system folder's version 5 loads.
    const HMODULE comctl32 = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(comctl32, nullptr);
    wchar_t name[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(comctl32, name, MAX_PATH * 4);
    std::wstring path(name, n);
    CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    EXPECT_NE(path.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."), std::wstring::npos)
        << windows_test::utf8(path);
}

TEST(Manifest, DeclaresWindows10SoTheSystemTellsItsVersion)
{
    // Without Windows 10 among the supported systems, Windows 8.1 and later
    // say they are 6.2.
    OSVERSIONINFOW told{};
    told.dwOSVersionInfoSize = sizeof told;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ASSERT_TRUE(GetVersionExW(&told));
#pragma GCC diagnostic pop
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    ASSERT_NE(rtlGetVersion, nullptr);
    OSVERSIONINFOW real{};
    real.dwOSVersionInfoSize = sizeof real;
    ASSERT_EQ(rtlGetVersion(&real), 0);
    EXPECT_EQ(told.dwMajorVersion, real.dwMajorVersion);
    EXPECT_EQ(told.dwMinorVersion, real.dwMinorVersion);
}

#ifdef QUELVO_WITH_ICON
// The icon resource MAINICON: one 177 x 177 image with alpha.
TEST(Icon, MainIconHoldsOneImageOf177By177With32Bits)
{
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width;
        BYTE height;
        BYTE colours;
        BYTE reserved;
        WORD planes;
        WORD bitCount;
        DWORD bytes;
        WORD id;
    };
    struct GroupHeader {
        WORD reserved;
        WORD type;
        WORD count;
        GroupEntry entries[1];
    };
#pragma pack(pop)
    const HRSRC found = FindResourceW(nullptr, L"MAINICON", MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const GroupHeader*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->type, 1);
    ASSERT_EQ(group->count, 1);
    EXPECT_EQ(group->entries[0].width, 177);
    EXPECT_EQ(group->entries[0].height, 177);
    EXPECT_EQ(group->entries[0].bitCount, 32);

    const HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 177, 177, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 177);
    EXPECT_EQ(colour.bmHeight, 177);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}
#endif

} // namespace
