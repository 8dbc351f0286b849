// The programs as users start them: quelvo-search's command-line conventions
// (the shared table), its folder and search text against the real server,
// and the window program's file name, which gives its error boxes their
// caption.

#include "search_tool_cases.h"
#include "server_database.h"

#include "core/app_text.h"
#include "core/utf.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <algorithm>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs quelvo-search in `folder` with these arguments and waits for it.
RunResult runSearchTool(const std::vector<std::string>& arguments, const std::string& folder = ".")
{
    const fs::path capture = fs::temp_directory_path() / ("quelvo-search-" + std::to_string(getpid()));
    fs::create_directories(capture);
    const std::string out = (capture / "out").string();
    const std::string err = (capture / "err").string();
    std::vector<char*> argv{const_cast<char*>(QUELVO_SEARCH_TOOL)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFile < 0 || errFile < 0 || dup2(outFile, 1) < 0 || dup2(errFile, 2) < 0 || chdir(folder.c_str()) != 0)
            _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    RunResult result;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = readFile(out);
    result.err = readFile(err);
    fs::remove_all(capture);
    return result;
}

std::string shown(const std::vector<std::string>& arguments)
{
    std::string line = "quelvo-search";
    for (const std::string& argument : arguments)
        line += " '" + argument + "'";
    return line;
}

std::size_t lineCount(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(SearchToolCommandLine, HelpVersionAndWrongArguments)
{
    for (const search_tool::CommandLineCase& c : search_tool::commandLineCases()) {
        const RunResult result = runSearchTool(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << shown(c.arguments);
        if (c.outIsPrefix)
            EXPECT_EQ(result.out.substr(0, c.out.size()), c.out) << shown(c.arguments);
        else
            EXPECT_EQ(result.out, c.out) << shown(c.arguments);
        EXPECT_EQ(result.err, c.err) << shown(c.arguments);
    }
}

TEST(SearchToolCommandLine, HelpNamesEveryOption)
{
    const std::string help = runSearchTool({"--help"}).out;
    for (const char* option : {"--folder DIR", "--limit N", "--stats", "--help", "--version", "Exit status:"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

// The server is asked for the folder's database by an absolute path: one
// relative to the current folder means nothing to it.
TEST(SearchToolFolder, RelativeFolderIsSeenFromTheCurrentFolder)
{
    const testing_support::ServerDatabase database("cli-folder", testing_support::attendanceTable(3, 2));
    const fs::path folder = database.folder();
    const std::string name = folder.filename().string();
    const std::string parent = folder.parent_path().string();
    const std::string grandparent = folder.parent_path().parent_path().string();
    const std::string up = "../" + folder.parent_path().filename().string() + "/" + name;
    struct Case {
        std::vector<std::string> arguments;
        std::string runIn;
        std::size_t rows;
    };
    const Case cases[] = {
        {{"--folder", name, "erro", "ao", "salvar"}, parent, 3},
        {{"--folder=./" + name + "/", "erro", "ao", "salvar"}, parent, 3},
        {{"--folder", up, "--limit", "2", "erro", "ao", "salvar"}, parent, 2},
        {{"--folder", fs::path(parent).filename().string() + "/" + name, "--limit=1", "erro"}, grandparent, 1},
        {{"--folder", folder.string(), "--limit", "0", "erro"}, "/", 0},
        {{"--folder", folder.string(), "papel"}, "/", 2},
    };
    for (const Case& c : cases) {
        const RunResult result = runSearchTool(c.arguments, c.runIn);
        EXPECT_EQ(result.exitCode, 0) << shown(c.arguments) << " in " << c.runIn << "\n" << result.err;
        EXPECT_EQ(lineCount(result.out), c.rows) << shown(c.arguments) << " in " << c.runIn;
        EXPECT_EQ(result.err, "") << shown(c.arguments);
    }
}

TEST(SearchToolFolder, MissingFolderNamesTheAbsolutePathAndFails)
{
    const fs::path elsewhere = fs::temp_directory_path();
    const RunResult result = runSearchTool({"--folder", "no-such-quelvo-folder", "erro"}, elsewhere.string());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    const std::string database = (fs::canonical(elsewhere) / "no-such-quelvo-folder/data/BRIVANAATENDIMENTOS.FDB").string();
    EXPECT_NE(result.err.find("\"" + database + "\""), std::string::npos) << result.err;
}

// Search words are UTF-8 on Linux; other bytes are searched as U+FFFD, as
// they always were, and now say so on standard error.
TEST(SearchToolText, MalformedWordsAreNamedAndSearchedAsReplacementCharacters)
{
    const testing_support::ServerDatabase database(
        "cli-utf8", "CREATE TABLE \"at_atendimento\" (\"problema\" VARCHAR(5000), \"solucao\" VARCHAR(5000));\n"
                    "INSERT INTO \"at_atendimento\" VALUES ('Erro no caf\xEF\xBF\xBD da copa', 'ok');\n"
                    "INSERT INTO \"at_atendimento\" VALUES ('Erro no café da copa', 'ok');\n");
    struct Case {
        std::vector<std::string> words;
        std::string warnings;
        std::string out;
    };
    const std::string problem = "Erro no caf\xEF\xBF\xBD da copa\tok\n";
    const Case cases[] = {
        {{"caf\xE9"}, "quelvo-search: warning: argument 3, 'caf\\xE9', is not valid UTF-8; it is searched with U+FFFD where it is malformed\n", problem},
        {{"erro", "caf\xC3"}, "quelvo-search: warning: argument 4, 'caf\\xC3', is not valid UTF-8; it is searched with U+FFFD where it is malformed\n", problem},
        {{"ação\xFF", "\xE9"},
         "quelvo-search: warning: argument 3, 'ação\\xFF', is not valid UTF-8; it is searched with U+FFFD where it is malformed\n"
         "quelvo-search: warning: argument 4, '\\xE9', is not valid UTF-8; it is searched with U+FFFD where it is malformed\n",
         ""},
        {{"café"}, "", "Erro no café da copa\tok\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"--folder", database.folder()};
        arguments.insert(arguments.end(), c.words.begin(), c.words.end());
        const RunResult result = runSearchTool(arguments);
        EXPECT_EQ(result.exitCode, 0) << shown(arguments) << "\n" << result.err;
        EXPECT_EQ(result.err, c.warnings) << shown(arguments);
        EXPECT_EQ(result.out, c.out) << shown(arguments);
    }
}

#ifdef QUELVO_PROGRAM
TEST(ProgramFile, NamedSoThatItsErrorBoxesReadQuelvo)
{
    ASSERT_TRUE(fs::exists(QUELVO_PROGRAM)) << QUELVO_PROGRAM;
    EXPECT_EQ(quelvo::applicationTitle(quelvo::fromUtf8(QUELVO_PROGRAM)), u"Quelvo");
}
#endif

} // namespace
