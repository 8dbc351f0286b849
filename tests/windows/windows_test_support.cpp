#include "windows_test_support.h"

#include "core/utf.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <thread>

namespace windows_test {

namespace {

std::filesystem::path fsPath(const std::string& utf8Path)
{
    return std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end()));
}

// Quoting by the rules CommandLineToArgvW undoes.
std::wstring quoted(const std::wstring& argument)
{
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, L'\\');
    out.push_back(L'"');
    return out;
}

std::string readAll(HANDLE pipe)
{
    std::string text;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0)
        text.append(buffer, n);
    return text;
}

} // namespace

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::wstring wide(std::string_view utf8) { return wide(quelvo::fromUtf8(utf8)); }

std::string utf8(std::wstring_view text)
{
    return quelvo::toUtf8(std::u16string(text.begin(), text.end()));
}

TempFolder::TempFolder(std::u8string_view name)
{
    std::random_device random;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         (std::u8string(name) + u8"-" +
                                          std::filesystem::path(std::to_string(random())).u8string());
    std::filesystem::create_directories(folder);
    const std::u8string text = folder.u8string();
    path_.assign(text.begin(), text.end());
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(fsPath(path_), ignored);
}

void writeFile(const std::string& utf8Path, const std::string& bytes)
{
    std::ofstream out(fsPath(utf8Path), std::ios::binary);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + utf8Path);
}

void copyFile(const std::string& fromUtf8, const std::string& toUtf8)
{
    std::filesystem::copy_file(fsPath(fromUtf8), fsPath(toUtf8), std::filesystem::copy_options::overwrite_existing);
}

std::string programFolder()
{
    wchar_t buffer[32768];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, 32768);
    std::wstring path(buffer, n);
    return utf8(path.substr(0, path.find_last_of(L'\\')));
}

RunResult run(const std::string& program, const std::vector<std::string>& arguments, const std::string& workingFolder)
{
    std::wstring commandLine = quoted(wide(program));
    for (const std::string& argument : arguments)
        commandLine += L" " + quoted(wide(argument));

    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) || !CreatePipe(&errRead, &errWrite, &inherit, 0))
        throw std::runtime_error("CreatePipe failed");
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    const std::wstring folder = wide(workingFolder);
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        folder.empty() ? nullptr : folder.c_str(), &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (!started) {
        CloseHandle(outRead);
        CloseHandle(errRead);
        throw std::runtime_error("cannot start " + program);
    }

    // Both pipes at once, so that neither fills up while the other is read.
    RunResult result;
    std::thread errReader([&] { result.err = readAll(errRead); });
    result.out = readAll(outRead);
    errReader.join();
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
}

} // namespace windows_test
