// Loading the client library on Windows: the names tried by the system's
// usual search, error 314 with the system's own words, a library of the
// other architecture, and no system error boxes left switched off.

#include "data/client_library.h"
#include "support.h"
#include "windows_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using quelvo::ClientLibrary;
using testing_support::loadError;
using testing_support::OtherArchitecture;

namespace {

const std::string& Hint = testing_support::Error314Hint;

// The system's words for an error, without the line break and full stop
// that end them.
std::string systemText(DWORD error)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words = text ? text : L"";
    LocalFree(text);
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' || words.back() == L' ' ||
                              words.back() == L'.'))
        words.pop_back();
    return windows_test::utf8(words);
}

// A DLL for the other architecture (32-bit x86 in a 64-bit build, x64 in a
// 32-bit one) with one code section holding a "ret": enough for the loader
// to read it as code for another processor and refuse it.
std::string otherArchitectureDll()
{
    const bool x64 = OtherArchitecture == "x64";
    std::string image(0x400, '\0');
    auto put16 = [&](std::size_t at, unsigned v) {
        image[at] = static_cast<char>(v & 0xFF);
        image[at + 1] = static_cast<char>(v >> 8);
    };
    auto put32 = [&](std::size_t at, unsigned long v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, (v >> 16) & 0xFFFF);
    };
    image[0] = 'M';
    image[1] = 'Z';
    put32(0x3C, 0x40);                    // e_lfanew
    image.replace(0x40, 4, "PE\0\0", 4);
    const std::size_t coff = 0x44;
    const unsigned optionalSize = x64 ? 0xF0 : 0xE0;
    put16(coff + 0, x64 ? 0x8664 : 0x014C); // IMAGE_FILE_MACHINE_AMD64 or _I386
    put16(coff + 2, 1);                   // NumberOfSections
    put16(coff + 16, optionalSize);       // SizeOfOptionalHeader
    put16(coff + 18, x64 ? 0x2022 : 0x2102); // executable, DLL; large addresses or 32-bit
    const std::size_t opt = coff + 20;
    put16(opt + 0, x64 ? 0x020B : 0x010B); // PE32+ or PE32
    put32(opt + 4, 0x200);                // SizeOfCode
    put32(opt + 20, 0x1000);              // BaseOfCode
    if (x64) {
        put32(opt + 24, 0x80000000);      // ImageBase 0x180000000 (8 bytes)
        put32(opt + 28, 0x1);
    } else {
        put32(opt + 28, 0x10000000);      // ImageBase
    }
    put32(opt + 32, 0x1000);              // SectionAlignment
    put32(opt + 36, 0x200);               // FileAlignment
    put16(opt + 40, 4);                   // MajorOperatingSystemVersion
    put16(opt + 48, 4);                   // MajorSubsystemVersion
    put32(opt + 56, 0x2000);              // SizeOfImage
    put32(opt + 60, 0x200);               // SizeOfHeaders
    put16(opt + 68, 2);                   // IMAGE_SUBSYSTEM_WINDOWS_GUI
    // Stack and heap sizes: 4 bytes each in PE32, 8 in PE32+.
    const std::size_t sizes = opt + 72;
    const std::size_t step = x64 ? 8 : 4;
    put32(sizes + 0 * step, 0x100000);    // SizeOfStackReserve
    put32(sizes + 1 * step, 0x1000);      // SizeOfStackCommit
    put32(sizes + 2 * step, 0x100000);    // SizeOfHeapReserve
    put32(sizes + 3 * step, 0x1000);      // SizeOfHeapCommit
    put32(sizes + 4 * step + 4, 16);      // NumberOfRvaAndSizes, after LoaderFlags
    const std::size_t section = opt + optionalSize;
    image.replace(section, 5, ".text");
    put32(section + 8, 0x200);            // VirtualSize
    put32(section + 12, 0x1000);          // VirtualAddress
    put32(section + 16, 0x200);           // SizeOfRawData
    put32(section + 20, 0x200);           // PointerToRawData
    put32(section + 36, 0x60000020);      // code, execute, read
    image[0x200] = static_cast<char>(0xC3);
    return image;
}

TEST(LoadingOnWindows, NeitherNameLoadsGivesError314WithTheSystemsWords)
{
    ClientLibrary library; // fbclient.dll, then fbembed.dll
    EXPECT_EQ(loadError(library), "[FireDAC][Phys][FB]-314. Cannot load vendor library [fbclient.dll or fbembed.dll]. " +
                                      systemText(ERROR_MOD_NOT_FOUND) + "\r\n" + Hint);
    EXPECT_FALSE(library.isLoaded());

    // Tried again at the next use, with the same text.
    EXPECT_NE(loadError(library).find("[fbclient.dll or fbembed.dll]"), std::string::npos);
}

TEST(LoadingOnWindows, ALibraryOfTheOtherArchitectureIsNamed)
{
    windows_test::TempFolder folder;
    const std::string path = folder.path() + "\\fbclient.dll";
    windows_test::writeFile(path, otherArchitectureDll());

    ClientLibrary library({path, "fbembed.dll"});
    EXPECT_EQ(loadError(library), "[FireDAC][Phys][FB]-314. Cannot load vendor library [" + path +
                                      " or fbembed.dll]. " + path +
                                      " has unsupported architecture [" + OtherArchitecture + "]. Required [" +
                                      testing_support::Architecture + "].\r\n" +
                                      systemText(ERROR_MOD_NOT_FOUND) + "\r\n" + Hint);
}

TEST(LoadingOnWindows, TheProcesssErrorModeIsLeftAsItWas)
{
    const UINT before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    ClientLibrary library({"quelvo-missing-a.dll", "quelvo-missing-b.dll"});
    loadError(library);
    EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
    SetErrorMode(before);
}

struct SearchCase {
    const char* name;
    std::vector<std::string> filesOnPath;
    const char* loaded;
    bool embedded;
};

class SearchingThePath : public ::testing::TestWithParam<SearchCase> {};

// The plain names go through the system's search, which ends with the
// folders of the PATH.
TEST_P(SearchingThePath, TheFirstNameThatLoadsIsUsed)
{
    windows_test::TempFolder folder;
    for (const std::string& file : GetParam().filesOnPath)
        windows_test::copyFile(windows_test::programFolder() + "\\" FAKE_CLIENT_PATH, folder.path() + "\\" + file);

    std::vector<wchar_t> saved(32768);
    saved.resize(GetEnvironmentVariableW(L"PATH", saved.data(), static_cast<DWORD>(saved.size())));
    const std::wstring oldPath(saved.begin(), saved.end());
    SetEnvironmentVariableW(L"PATH", (windows_test::wide(folder.path()) + L";" + oldPath).c_str());
    {
        ClientLibrary library;
        library.load();
        EXPECT_EQ(library.loadedName(), GetParam().loaded);
        EXPECT_EQ(library.isEmbedded(), GetParam().embedded);
        EXPECT_TRUE(library.isFirebird());
        library.unload();
    }
    SetEnvironmentVariableW(L"PATH", oldPath.c_str());
}

INSTANTIATE_TEST_SUITE_P(Names, SearchingThePath, ::testing::Values(
    SearchCase{"client_first", {"fbclient.dll", "fbembed.dll"}, "fbclient.dll", false},
    SearchCase{"embedded_server_next", {"fbembed.dll"}, "fbembed.dll", true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
