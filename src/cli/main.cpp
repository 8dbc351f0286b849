// quelvo-search: the program's search from a terminal, for scripts and for
// measuring. One line per attendance: problema, a tab, solucao.

#include "core/app_text.h"
#include "core/executable_path.h"
#include "core/search_pattern.h"
#include "core/utf.h"
#include "service/service_connection.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

const char* const Name = "quelvo-search";

// Printed by --help; packaging/ makes the manual page from it.
const char* const Usage =
    "Usage: quelvo-search [--folder DIR] [--limit N] [--stats] [--] [TEXT ...]\n"
    "  or:  quelvo-search --help | --version\n"
    "\n"
    "Runs the search of Quelvo's search window from a terminal: finds the\n"
    "attendances whose problem text holds the words of TEXT in the order given,\n"
    "and prints one line per attendance: problema, a tab, solucao. In a value,\n"
    "tab, line feed, carriage return and backslash are written \\t, \\n, \\r and\n"
    "\\\\, and a null value is written \\N.\n"
    "\n"
    "Options:\n"
    "  --folder DIR  search as if installed in DIR: read DIR/Login.ini and ask the\n"
    "                server for DIR/data/BRIVANAATENDIMENTOS.FDB (default: the\n"
    "                folder of quelvo-search itself); a relative DIR is taken\n"
    "                from the current folder\n"
    "  --limit N     print at most N attendances\n"
    "  --stats       add on standard error: milliseconds to attach, from the\n"
    "                search's start to its first batch, and in all; the rows\n"
    "                printed; the UTF-16 bytes of the text held, the bytes the\n"
    "                row buffer holds for it, and the peak resident set in KiB\n"
    "                (where the system tells it)\n"
    "  --help        print this help and exit\n"
    "  --version     print the version and exit\n"
    "  --            take every argument after it as search text, also one that\n"
    "                begins with --\n"
    "\n"
    "Options take their value as the next argument or after \"=\" (--limit=5).\n"
    "Search text that is not valid UTF-8 draws a warning, and is searched with\n"
    "the replacement character U+FFFD where it is malformed.\n"
    "\n"
    "Exit status:\n"
    "  0  the search ran, whether it found attendances or not\n"
    "  1  the search failed; standard error holds the error as the program's\n"
    "     error box shows it\n"
    "  2  the command line is wrong; standard error says why\n";

struct Options {
    enum class Action { Search, Help, Version };
    Action action = Action::Search;
    std::string folder;
    std::size_t limit = SIZE_MAX;
    bool stats = false;
    std::string text;
    std::vector<int> malformedWords; // argument numbers of words that are not UTF-8
};

// What is wrong with a command line, for standard error.
struct UsageError {
    std::string message;
};

bool isUtf8(std::string_view text) { return quelvo::toUtf8(quelvo::fromUtf8(text)) == text; }

// The text with every byte that is not part of a valid UTF-8 sequence
// written as \xNN, so that a warning about it can be read.
std::string showMalformed(std::string_view text)
{
    std::string shown;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
        if (length && i + length <= text.size() && isUtf8(text.substr(i, length))) {
            shown += text.substr(i, length);
            i += length;
        } else {
            static const char Hex[] = "0123456789ABCDEF";
            shown += "\\x";
            shown += Hex[lead >> 4];
            shown += Hex[lead & 15];
            ++i;
        }
    }
    return shown;
}

std::size_t parseLimit(const std::string& value)
{
    std::size_t limit = 0;
    const char* const end = value.data() + value.size();
    const bool digits = !value.empty() && std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    const auto [stop, error] = std::from_chars(value.data(), end, limit);
    if (digits && error == std::errc::result_out_of_range)
        throw UsageError{"--limit " + value + " is too large (at most " + std::to_string(SIZE_MAX) + ")"};
    if (!digits || error != std::errc() || stop != end)
        throw UsageError{"--limit wants a whole number from 0 up, not '" + value + "'"};
    return limit;
}

Options parse(int argc, char** argv)
{
    Options options;
    bool words = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (words || arg.size() < 2 || arg.substr(0, 2) != "--") {
            if (!isUtf8(arg))
                options.malformedWords.push_back(i);
            if (!options.text.empty())
                options.text += ' ';
            options.text += arg;
            continue;
        }
        if (arg == "--") {
            words = true;
            continue;
        }
        // --name, --name VALUE or --name=VALUE.
        const std::size_t equals = arg.find('=');
        const std::string name(arg.substr(0, equals));
        const bool takesValue = name == "--folder" || name == "--limit";
        if (!takesValue && name != "--stats" && name != "--help" && name != "--version")
            throw UsageError{"unknown option '" + name + "'"};
        std::string value;
        if (takesValue) {
            if (equals != std::string_view::npos)
                value = arg.substr(equals + 1);
            else if (i + 1 < argc)
                value = argv[++i];
            else
                throw UsageError{"option " + name + " needs a value"};
        } else if (equals != std::string_view::npos) {
            throw UsageError{"option " + name + " takes no value"};
        }
        if (name == "--help") {
            options.action = Options::Action::Help;
            return options;
        }
        if (name == "--version") {
            options.action = Options::Action::Version;
            return options;
        }
        if (name == "--stats") {
            options.stats = true;
        } else if (name == "--limit") {
            options.limit = parseLimit(value);
        } else if (value.empty()) {
            throw UsageError{"--folder wants a folder, not an empty text"};
        } else {
            options.folder = value;
        }
    }
    return options;
}

// Escapes one value so that every attendance stays on one line. `scratch`
// is reused from value to value for the UTF-8 text.
void writeValue(std::string& out, std::string& scratch, const quelvo::FieldValue& value)
{
    if (value.isNull) {
        out += "\\N";
        return;
    }
    // The letter after the backslash, for the bytes that take one.
    static constexpr auto Escapes = [] {
        std::array<char, 256> table{};
        table['\t'] = 't';
        table['\n'] = 'n';
        table['\r'] = 'r';
        table['\\'] = '\\';
        return table;
    }();
    scratch.resize(3 * static_cast<std::size_t>(value.size));
    const std::size_t bytes = quelvo::encodeUtf8(value.text(), scratch.data());
    const std::size_t at = out.size();
    out.resize(at + 2 * bytes); // every byte escaped at most
    char* o = out.data() + at;
    const char* p = scratch.data();
    const char* const end = p + bytes;
    while (p < end) {
        // Copy the run up to the next byte to escape in one go.
        const char* run = p;
        while (p < end && !Escapes[static_cast<unsigned char>(*p)])
            ++p;
        std::memcpy(o, run, static_cast<std::size_t>(p - run));
        o += p - run;
        if (p < end) {
            *o++ = '\\';
            *o++ = Escapes[static_cast<unsigned char>(*p++)];
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

// Peak resident set in KiB from /proc, or -1 where there is none.
long peakResidentKib()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    long kib = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            kib = std::strtol(line + 6, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kib;
}

#ifdef _WIN32

// The arguments as typed: the ANSI argv would lose every letter outside the
// system's code page.
std::vector<std::string> utf8Arguments()
{
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(quelvo::toUtf8(reinterpret_cast<const char16_t*>(wide[i])));
    LocalFree(wide);
    return arguments;
}

// UTF-8 bytes to a pipe or file, as they are; to a console window as
// characters, which no console code page would show right.
void writeText(std::FILE* stream, std::string_view text)
{
    std::fflush(stream);
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const std::u16string wide = quelvo::fromUtf8(text);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stream);
}

#else

void writeText(std::FILE* stream, std::string_view text) { std::fwrite(text.data(), 1, text.size(), stream); }

#endif

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

// Escapes and writes rows on a thread of its own, in the order given, while
// the next ones are fetched. The output gathers in 64 KiB pieces as before;
// after an error the piece not yet written is dropped, as before.
class Printer {
public:
    Printer() : thread_([this] { run(); }) {}
    ~Printer() { stop(false); }
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // Rows [from, to) of the buffer, which must keep them until stop().
    void add(const quelvo::RowBuffer& rows, std::size_t from, std::size_t to)
    {
        {
            const std::lock_guard lock(mutex_);
            for (std::size_t row = from; row < to; ++row)
                pending_.push_back({rows.field(row, 0), rows.field(row, 1)});
        }
        ready_.notify_one();
    }

    // Prints every row added and waits; `writeRest` writes the last piece.
    void stop(bool writeRest)
    {
        {
            const std::lock_guard lock(mutex_);
            if (stopping_)
                return;
            stopping_ = true;
            writeRest_ = writeRest;
        }
        ready_.notify_one();
        thread_.join();
    }

private:
    using Row = std::array<quelvo::FieldValue, 2>;

    void run()
    {
        std::string out;
        std::string scratch;
        std::vector<Row> rows;
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [this] { return !pending_.empty() || stopping_; });
                rows.swap(pending_);
                if (rows.empty())
                    break; // stopping, and nothing left
            }
            for (const Row& row : rows) {
                writeValue(out, scratch, row[0]);
                out.push_back('\t');
                writeValue(out, scratch, row[1]);
                out.push_back('\n');
                if (out.size() >= (1 << 16)) {
                    writeText(stdout, out);
                    out.clear();
                }
            }
            rows.clear();
        }
        if (writeRest_) {
            writeText(stdout, out);
            std::fflush(stdout);
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<Row> pending_;
    bool stopping_ = false;
    bool writeRest_ = false;
    std::thread thread_; // last: starts once the rest is ready
};

int main(int argc, char** argv)
{
#ifdef _WIN32
    // Bytes out exactly as written: no "\n" turned into "\r\n".
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> arguments = utf8Arguments();
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    if (!arguments.empty()) {
        argc = static_cast<int>(arguments.size());
        argv = pointers.data();
    }
#endif
    Options options;
    try {
        options = parse(argc, argv);
    } catch (const UsageError& e) {
        writeText(stderr, std::string(Name) + ": " + e.message + "\nTry '" + Name + " --help' for more information.\n");
        return 2;
    }
    if (options.action == Options::Action::Help) {
        writeText(stdout, Usage);
        return 0;
    }
    if (options.action == Options::Action::Version) {
        writeText(stdout, std::string(Name) + " " QUELVO_VERSION "\n");
        return 0;
    }
    for (const int i : options.malformedWords) {
        writeText(stderr, std::string(Name) + ": warning: argument " + std::to_string(i) + ", '" + showMalformed(argv[i]) +
                              "', is not valid UTF-8; it is searched with U+FFFD where it is malformed\n");
    }

    try {
        const auto start = Clock::now();
        // The server knows nothing of our current folder.
        TServiceConnection service(options.folder.empty() ? std::string() : quelvo::absolutePath(options.folder));
        service.DataModuleCreate();

        const auto attachStart = Clock::now();
        service.FDConnection1.open();
        const double attachMs = millisecondsSince(attachStart);

        quelvo::KnowledgeBaseQuery& query = service.FDQuery1;
        const auto searchStart = Clock::now();
        query.setParameter(quelvo::buildSearchPattern(quelvo::fromUtf8(options.text)));
        query.open();
        const double firstBatchMs = millisecondsSince(searchStart);

        Printer printer;
        const std::size_t limit = options.limit;
        std::size_t printed = 0;   // handed to the printer
        std::size_t available = 0; // fetched and within the limit
        try {
            for (;;) {
                available = std::min(query.rowCount(), limit);
                const bool last = available >= limit || !query.canFetchMore();
                // A thousand rows at a time: fewer wake-ups of the printer.
                if (available - printed >= 1000 || last) {
                    printer.add(query.rows(), printed, available);
                    printed = available;
                }
                if (last)
                    break;
                query.fetchMore();
            }
        } catch (...) {
            // The rows fetched before the error are printed, as they were.
            printer.add(query.rows(), printed, available);
            throw;
        }
        printer.stop(true);

        std::size_t utf16Bytes = 0;
        for (std::size_t row = 0; row < query.rowCount(); ++row)
            utf16Bytes += 2 * (query.rows().field(row, 0).size + query.rows().field(row, 1).size);
        const std::size_t heldBytes = query.rows().heldBytes();

        service.shutdown();
        if (options.stats) {
            std::fprintf(stderr, "attach ms: %.3f\nfirst batch ms: %.3f\ntotal ms: %.3f\nrows: %zu\n", attachMs,
                         firstBatchMs, millisecondsSince(start), printed);
            std::fprintf(stderr, "utf16 bytes: %zu\nheld bytes: %zu\n", utf16Bytes, heldBytes);
            if (const long peak = peakResidentKib(); peak >= 0)
                std::fprintf(stderr, "peak rss kib: %ld\n", peak);
        }
        return 0;
    } catch (const std::exception& e) {
        const std::string text = quelvo::toUtf8(quelvo::errorBoxText(quelvo::fromUtf8(e.what())));
        writeText(stderr, text + "\n");
        return 1;
    }
}
