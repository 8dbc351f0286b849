#pragma once

// Helpers for the Windows-only tests: wide names, folders and files through
// the wide API, and running a program with its output captured.

#include <string>
#include <string_view>
#include <vector>

namespace windows_test {

std::wstring wide(std::u16string_view text);
std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

// A new folder under the temp folder, its name starting with `name`; removed
// with its contents at the end. path() is UTF-8, with backslashes.
class TempFolder {
public:
    explicit TempFolder(std::u8string_view name = u8"quelvo-windows");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void writeFile(const std::string& utf8Path, const std::string& bytes);
void copyFile(const std::string& fromUtf8, const std::string& toUtf8);

// The folder of this test program, UTF-8, without a trailing separator.
std::string programFolder();

struct RunResult {
    unsigned long exitCode = 0;
    std::string out;
    std::string err;
};

// Runs a program (UTF-8 path and arguments, quoted for the command line) and
// waits for it; the working directory is `workingFolder` when not empty.
RunResult run(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingFolder = {});

} // namespace windows_test
