#include "core/executable_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string utf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A new folder under the temp folder, the current folder while it lives.
class CurrentFolder {
public:
    explicit CurrentFolder(std::u8string_view name) : previous_(fs::current_path())
    {
        fs::path folder = fs::temp_directory_path() / fs::path(name);
        folder += "-" + std::to_string(std::random_device{}());
        fs::create_directories(folder);
        fs::current_path(folder);
        folder_ = fs::current_path(); // as the system names it, links resolved
    }
    ~CurrentFolder()
    {
        fs::current_path(previous_);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

    std::string path() const { return utf8(folder_); }
    std::string parent() const { return utf8(folder_.parent_path()); }

private:
    fs::path previous_;
    fs::path folder_;
};

TEST(AbsolutePath, RelativePathsAreSeenFromTheCurrentFolder)
{
    const CurrentFolder current(u8"quelvo-Serviços");
    const std::string here = current.path();
    const std::string up = current.parent();
    struct Case {
        std::string given;
        std::string expected;
    };
#ifdef _WIN32
    const Case cases[] = {
        {"kb", here + "\\kb"},
        {".\\kb", here + "\\kb"},
        {"./kb/", here + "\\kb\\"},
        {".", here},
        {"..\\kb", up + "\\kb"},
        {"a\\..\\kb", here + "\\kb"},
        {"Atendimentos ação", here + "\\Atendimentos ação"},
        {"C:/srv/x/../kb", "C:\\srv\\kb"},
        {"C:\\srv\\kb", "C:\\srv\\kb"},
    };
#else
    const Case cases[] = {
        {"kb", here + "/kb"},
        {"./kb/", here + "/kb"},
        {"kb//./data", here + "/kb/data"},
        {".", here},
        {"../kb", up + "/kb"},
        {"./../kb", up + "/kb"},
        // Past a named part, ".." may follow a link: left to the system.
        {"a/../kb", here + "/a/../kb"},
        {"Atendimentos ação", here + "/Atendimentos ação"},
        {"/srv/./kb", "/srv/./kb"},
    };
#endif
    for (const Case& c : cases)
        EXPECT_EQ(quelvo::absolutePath(c.given), c.expected) << c.given;
}

#ifndef _WIN32
TEST(AbsolutePath, ParentsOfTheRootAreTheRoot)
{
    const fs::path previous = fs::current_path();
    fs::current_path("/");
    EXPECT_EQ(quelvo::absolutePath("../../kb"), "/kb");
    EXPECT_EQ(quelvo::absolutePath(".."), "/");
    fs::current_path(previous);
}
#endif

} // namespace
