// quelvo-search: the program's search from a terminal, for scripts and for
// measuring. One line per attendance: problema, a tab, solucao.

#include "core/app_text.h"
#include "core/search_pattern.h"
#include "core/utf.h"
#include "service/service_connection.h"

#include <algorithm>
#include <array>
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

const char* Usage =
    "usage: quelvo-search [--folder DIR] [--limit N] [--stats] [TEXT ...]\n"
    "  --stats  adds on standard error: milliseconds to attach, from the search's\n"
    "           start to its first batch, and in all; the rows printed; the UTF-16\n"
    "           bytes of the text held, the bytes the row buffer holds for it, and\n"
    "           the peak resident set in KiB (where the system tells it)\n";

struct Options {
    std::string folder;
    long long limit = -1;
    bool stats = false;
    std::string text;
};

bool parse(int argc, char** argv, Options& options)
{
    bool words = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!words && arg == "--folder" && i + 1 < argc) {
            options.folder = argv[++i];
        } else if (!words && arg == "--limit" && i + 1 < argc) {
            char* end = nullptr;
            options.limit = std::strtoll(argv[++i], &end, 10);
            if (*end || options.limit < 0)
                return false;
        } else if (!words && arg == "--stats") {
            options.stats = true;
        } else if (!words && arg == "--") {
            words = true;
        } else if (!words && arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            return false;
        } else {
            if (!options.text.empty())
                options.text += ' ';
            options.text += arg;
        }
    }
    return true;
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
    if (!parse(argc, argv, options)) {
        std::fputs(Usage, stderr);
        return 2;
    }

    try {
        const auto start = Clock::now();
        TServiceConnection service(options.folder);
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
        const auto limit = options.limit >= 0 ? static_cast<std::size_t>(options.limit) : SIZE_MAX;
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
