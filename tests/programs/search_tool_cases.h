#pragma once

// quelvo-search's command-line conventions, as a table that the Linux tests
// and the Windows tests (under Wine) both run against the built program. No
// case here gets as far as a search.

#include <cstdint>
#include <string>
#include <vector>

namespace search_tool {

struct CommandLineCase {
    std::vector<std::string> arguments;
    int exitCode;
    std::string out; // standard output, or its start when outIsPrefix
    bool outIsPrefix;
    std::string err; // standard error
};

inline std::vector<CommandLineCase> commandLineCases()
{
    const std::string tryHelp = "Try 'quelvo-search --help' for more information.\n";
    const std::string usage = "Usage: quelvo-search [--folder DIR] [--limit N] [--stats] [--] [TEXT ...]\n";
    const auto wrong = [&](std::vector<std::string> arguments, const std::string& why) {
        return CommandLineCase{std::move(arguments), 2, "", false, "quelvo-search: " + why + "\n" + tryHelp};
    };
    const std::string notALimit = "--limit wants a whole number from 0 up, not ";
    return {
        {{"--help"}, 0, usage, true, ""},
        {{"erro", "ao", "salvar", "--help"}, 0, usage, true, ""},
        {{"--version"}, 0, "quelvo-search 1.0.0.0\n", false, ""},
        wrong({"--bogus"}, "unknown option '--bogus'"),
        wrong({"--bogus=1", "erro"}, "unknown option '--bogus'"),
        wrong({"--limit", "-1"}, notALimit + "'-1'"),
        wrong({"--limit", "abc"}, notALimit + "'abc'"),
        wrong({"--limit", "5x"}, notALimit + "'5x'"),
        wrong({"--limit", " 5"}, notALimit + "' 5'"),
        wrong({"--limit", "+5"}, notALimit + "'+5'"),
        wrong({"--limit="}, notALimit + "''"),
        wrong({"--limit", "99999999999999999999"},
              "--limit 99999999999999999999 is too large (at most " + std::to_string(SIZE_MAX) + ")"),
        wrong({"erro", "--limit"}, "option --limit needs a value"),
        wrong({"--folder"}, "option --folder needs a value"),
        wrong({"--folder", ""}, "--folder wants a folder, not an empty text"),
        wrong({"--stats=yes"}, "option --stats takes no value"),
    };
}

} // namespace search_tool
