// quelvo-search against the real server, as scripts and users run it: every
// match printed one a line (the rows reach the printer on a thread of its
// own), and a --folder relative to the working folder.

#include "server_database.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

using testing_support::attendanceTable;
using testing_support::ServerDatabase;

namespace {

constexpr int Matches = 2500; // several hands-over to the printer

struct ToolRun {
    int status = -1;
    std::string out;
};

ToolRun searchTool(const std::string& arguments)
{
    ToolRun run;
    FILE* pipe = popen((std::string(QUELVO_SEARCH_PATH) + " " + arguments + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[65536];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::size_t lines(const std::string& text)
{
    std::size_t n = 0;
    for (const char c : text)
        n += c == '\n';
    return n;
}

class SearchTool : public ::testing::Test {
protected:
    static void SetUpTestSuite() { db_ = new ServerDatabase("search tool", attendanceTable(Matches, 30)); }
    static void TearDownTestSuite() { delete db_; }
    static ServerDatabase* db_;
};
ServerDatabase* SearchTool::db_ = nullptr;

TEST_F(SearchTool, PrintsEveryMatchOneALineInTheServersOrder)
{
    const ToolRun run = searchTool("--folder '" + db_->folder() + "' erro ao salvar");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(lines(run.out), static_cast<std::size_t>(Matches));
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Cliente relata erro ao salvar nº 0\t10/12/26 14:05╗Ana╗Solução 0");
}

TEST_F(SearchTool, AFolderRelativeToTheWorkingFolderFindsItsDatabase)
{
    const std::filesystem::path here = std::filesystem::current_path();
    const std::filesystem::path folder(db_->folder());
    std::filesystem::current_path(folder.parent_path());
    const ToolRun run = searchTool("--folder '" + folder.filename().string() + "' --limit 7 erro");
    std::filesystem::current_path(here);
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(lines(run.out), 7u);
}

} // namespace
