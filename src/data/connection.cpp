#include "data/connection.h"

#include "data/link_timeouts.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <clocale>
#include <cstring>
#include <langinfo.h>
#endif

namespace quelvo {

namespace {

constexpr int InterpretBufferSize = 513;
constexpr int LegacyInterpretBufferSize = 1024; // isc_interprete assumes this much
constexpr int MaxErrorLines = 64;               // a broken vector must not loop forever
constexpr short VersionBufferSize = 32761;
// isc_attach_database takes the name's length as a signed 16-bit number. A
// longer name wraps: 65556 bytes arrive as 20, and the client attaches
// whatever database those first bytes name.
constexpr std::size_t MaxAttachNameBytes = 32767;

#ifdef _WIN32
std::string convert(const std::string& text, UINT from, UINT to)
{
    if (text.empty())
        return text;
    const int wideLength = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength);
    const int length = WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, out.data(), length, nullptr, nullptr);
    return out;
}
std::string fromSystemText(const std::string& text) { return convert(text, CP_ACP, CP_UTF8); }
std::string toSystemText(const std::string& text) { return convert(text, CP_UTF8, CP_ACP); }
#else
// The client library speaks the system's own encoding, which is UTF-8 here.
std::string fromSystemText(const std::string& text) { return text; }
std::string toSystemText(const std::string& text) { return text; }

// The client library turns a UTF-8 attach name into the encoding of the
// calling thread's locale (and keeps that choice from its first attach). A
// process that never chose a locale runs in "C", where a folder such as
// "Serviços" cannot be converted and the attach fails, although file names
// here are UTF-8 anyway. So the attach runs under a UTF-8 character type.
class Utf8CharacterType {
public:
    Utf8CharacterType()
    {
        if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
            return;
        const locale_t base = duplocale(uselocale(nullptr));
        if (!base)
            return;
        utf8_ = newlocale(LC_CTYPE_MASK, "C.UTF-8", base);
        if (!utf8_) {
            freelocale(base);
            return;
        }
        previous_ = uselocale(utf8_);
    }
    ~Utf8CharacterType()
    {
        if (utf8_) {
            uselocale(previous_);
            freelocale(utf8_);
        }
    }
    Utf8CharacterType(const Utf8CharacterType&) = delete;
    Utf8CharacterType& operator=(const Utf8CharacterType&) = delete;

private:
    locale_t utf8_ = nullptr;
    locale_t previous_ = nullptr;
};
#endif

void appendItem(std::string& block, char code, const std::string& value)
{
    const std::string bytes = toSystemText(value).substr(0, 255);
    block.push_back(code);
    block.push_back(static_cast<char>(bytes.size()));
    block += bytes;
}

} // namespace

std::string attachName(const ConnectionSettings& settings)
{
    return settings.server + "/" + std::to_string(settings.port) + ":" + settings.database;
}

std::string parameterBlock(const ConnectionSettings& settings, bool utf8FileName)
{
    std::string block(1, static_cast<char>(isc_dpb_version1));
    appendItem(block, isc_dpb_user_name, settings.userName);
    appendItem(block, isc_dpb_password, settings.password);
    appendItem(block, isc_dpb_lc_ctype, settings.characterSet);
    block.push_back(static_cast<char>(isc_dpb_sql_dialect));
    block.push_back(1);
    block.push_back(static_cast<char>(settings.sqlDialect));
    if (utf8FileName) {
        block.push_back(static_cast<char>(isc_dpb_utf8_filename));
        block.push_back(0);
    }
    return block;
}

Connection::~Connection()
{
    // Quietly: an orderly shutdown has called close() already.
    if (handle_) {
        ISC_STATUS_ARRAY status = {};
        api().isc_detach_database(status, &handle_);
        handle_ = 0;
    }
}

void Connection::open()
{
    if (handle_)
        return;
    BusyScope busy(busy_);
    library_.load();

    const bool utf8 = library_.takesUtf8FileNames();
    const std::string name = utf8 ? attachName(settings) : toSystemText(attachName(settings));
    if (name.size() > MaxAttachNameBytes)
        throw DataError::valueTooLong("Database", MaxAttachNameBytes, name.size(),
                                      "install the program in a folder with a shorter path");
    const std::string block = parameterBlock(settings, utf8);
    ISC_STATUS_ARRAY status = {};
    isc_db_handle handle = 0;
    ISC_STATUS result;
    {
#ifndef _WIN32
        Utf8CharacterType characterType;
#endif
        // Bounds the wait for a host that stops answering, from the
        // connection attempt on; the client library gives none.
        AttachWatch watch(attachTarget(name));
        result = api().isc_attach_database(status, static_cast<short>(name.size()), name.c_str(), &handle,
                                           static_cast<short>(block.size()), block.data());
        if (!result && !status[1] && handle)
            watch.finish();
    }
    if (result || status[1] || !handle)
        throw error(status);
    handle_ = handle;
    try {
        readServerVersion();
    } catch (...) {
        dropAttachment();
        throw;
    }
}

void Connection::readServerVersion()
{
    const char items[] = {isc_info_firebird_version};
    std::vector<char> buffer(VersionBufferSize);
    ISC_STATUS_ARRAY status = {};
    if (api().isc_database_info(status, &handle_, sizeof items, items, VersionBufferSize, buffer.data()) || status[1])
        throw error(status);
    // 103, length (2 bytes, little-endian), count, then counted strings.
    serverVersion_.clear();
    const auto* b = reinterpret_cast<const unsigned char*>(buffer.data());
    if (b[0] != isc_info_firebird_version)
        return;
    const std::size_t length = b[1] | (b[2] << 8);
    if (length < 2 || length + 3 > buffer.size())
        return;
    const std::size_t text = b[4];
    if (text + 5 <= length + 3)
        serverVersion_.assign(buffer.data() + 5, text);
}

void Connection::close()
{
    if (!handle_)
        return;
    ISC_STATUS_ARRAY status = {};
    api().isc_detach_database(status, &handle_);
    handle_ = 0;
    if (status[1] && !isServerGone(status[1]))
        throw error(status);
}

void Connection::dropAttachment()
{
    ISC_STATUS_ARRAY status = {};
    if (handle_)
        api().isc_detach_database(status, &handle_);
    handle_ = 0;
}

void Connection::noteFailure(long code)
{
    if (isServerGone(code))
        dropAttachment();
}

DataError Connection::error(const ISC_STATUS* status) const
{
    std::string message = ErrorPrefix;
    const ISC_STATUS* cursor = status;
    bool first = true;
    for (int line = 0; line < MaxErrorLines; ++line) {
        char buffer[LegacyInterpretBufferSize] = {};
        const ISC_STATUS* const before = cursor;
        ISC_LONG length;
        if (library_.usesFbInterpret())
            length = api().fb_interpret(buffer, InterpretBufferSize, &cursor);
        else
            length = api().isc_interprete(buffer, const_cast<ISC_STATUS**>(&cursor));
        if (length <= 0) {
            // A message can be empty (an empty argument alone); the lines
            // after it still belong to the error.
            if (cursor != before && *cursor != isc_arg_end)
                continue;
            break;
        }
        buffer[sizeof buffer - 1] = '\0';
        if (!first)
            message += "\r\n";
        message += fromSystemText(buffer);
        first = false;
    }
    return DataError(message, static_cast<long>(status[1]));
}

} // namespace quelvo
