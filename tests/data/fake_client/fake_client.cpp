#include "fake_client.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <type_traits>

namespace fake {

namespace {

Script g_script;
Record g_record;
std::deque<std::string> g_texts;
std::size_t g_nextRow = 0;
bool g_pastEnd = false;

constexpr ISC_STATUS ReqSync = 335544364;
constexpr ISC_STATUS CursorCloseError = 335544577;
constexpr ISC_STATUS CursorOpenError = 335544576;
constexpr ISC_STATUS BadHandle = 335544326;

void clear(ISC_STATUS* status)
{
    status[0] = isc_arg_gds;
    status[1] = 0;
    status[2] = isc_arg_end;
}

ISC_STATUS answer(ISC_STATUS* status, const std::vector<ISC_STATUS>& vector)
{
    std::copy(vector.begin(), vector.end(), status);
    return status[1];
}

// Logs the call and answers with a scripted failure when one is due.
bool scriptedFailure(const char* call, ISC_STATUS* status, ISC_STATUS& result)
{
    g_record.calls.push_back(call);
    clear(status);
    auto it = g_script.failures.find(call);
    if (it == g_script.failures.end() || it->second.empty())
        return false;
    result = answer(status, it->second.front());
    it->second.erase(it->second.begin());
    return true;
}

ISC_STATUS fail(ISC_STATUS* status, ISC_STATUS code)
{
    return answer(status, {isc_arg_gds, code, isc_arg_end});
}

void describe(XSQLDA* da, const std::vector<Column>& columns)
{
    da->sqld = static_cast<short>(columns.size());
    if (da->sqld > da->sqln)
        return;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        XSQLVAR& v = da->sqlvar[i];
        v.sqltype = columns[i].sqltype;
        v.sqlsubtype = columns[i].sqlsubtype;
        v.sqlscale = columns[i].sqlscale;
        v.sqllen = columns[i].sqllen;
        v.sqlname_length = static_cast<short>(std::min<std::size_t>(columns[i].name.size(), 31));
        std::memcpy(v.sqlname, columns[i].name.data(), static_cast<std::size_t>(v.sqlname_length));
    }
}

std::string messageFor(ISC_STATUS code)
{
    switch (code) {
    case 335544721: return "Unable to complete network request to host \"@1\".";
    case 335544722: return "Failed to establish a connection.";
    case 335544569: return "Dynamic SQL Error";
    case 336397208: return "SQL error code = -204";
    case 335544580: return "Table unknown";
    default: return "fake error " + std::to_string(code);
    }
}

// One message per call, like the real fb_interpret: the code's text with
// "@1" filled from the string argument, the pointer moved past the cluster.
ISC_LONG interpret(char* buffer, unsigned size, const ISC_STATUS** vector)
{
    const ISC_STATUS* p = *vector;
    if (size < 50 || p[0] == isc_arg_end)
        return 0;
    if (p[0] == isc_arg_sql_state)
        p += 2;
    if (p[0] != isc_arg_gds)
        return 0;
    std::string text = messageFor(p[1]);
    p += 2;
    while (p[0] == isc_arg_string) {
        const auto at = text.find("@1");
        const char* argument = reinterpret_cast<const char*>(p[1]);
        if (at != std::string::npos)
            text.replace(at, 2, argument);
        else
            text += std::string(" ") + argument;
        p += 2;
    }
    *vector = p;
    if (text.size() >= size)
        text = text.substr(0, size - 4) + "...";
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<ISC_LONG>(text.size());
}

// A live handle: an integer in 64-bit builds, a pointer-sized value in 32-bit
// ones (FB_API_HANDLE is void* there).
template <typename Handle = FB_API_HANDLE>
Handle handle(unsigned value)
{
    if constexpr (std::is_pointer_v<Handle>)
        return reinterpret_cast<Handle>(static_cast<std::uintptr_t>(value));
    else
        return value;
}

} // namespace

Script& script() { return g_script; }
Record& record() { return g_record; }

void reset()
{
    g_script = Script{};
    g_record = Record{};
    g_nextRow = 0;
    g_pastEnd = false;
}

int count(const std::string& call)
{
    return static_cast<int>(std::count(g_record.calls.begin(), g_record.calls.end(), call));
}

std::vector<ISC_STATUS> status(std::initializer_list<ISC_STATUS> codes, const char* argument)
{
    std::vector<ISC_STATUS> v;
    for (const ISC_STATUS code : codes) {
        v.push_back(isc_arg_gds);
        v.push_back(code);
        if (argument) {
            g_texts.emplace_back(argument);
            v.push_back(isc_arg_string);
            v.push_back(reinterpret_cast<ISC_STATUS>(g_texts.back().c_str()));
            argument = nullptr;
        }
    }
    v.push_back(isc_arg_end);
    return v;
}

} // namespace fake

using namespace fake;

extern "C" {

ISC_STATUS ISC_EXPORT isc_attach_database(ISC_STATUS* status, short nameLength, const ISC_SCHAR* name,
                                          isc_db_handle* db, short blockLength, const ISC_SCHAR* block)
{
    ISC_STATUS result = 0;
    if (scriptedFailure("isc_attach_database", status, result))
        return result;
    if (*db != 0)
        return fail(status, 335544324);
    g_record.attachName.assign(name, static_cast<std::size_t>(nameLength));
    g_record.parameterBlock.assign(block, static_cast<std::size_t>(blockLength));
    ++g_record.attaches;
    *db = handle(1);
    return 0;
}

ISC_STATUS ISC_EXPORT isc_database_info(ISC_STATUS* status, isc_db_handle* db, short itemLength, const ISC_SCHAR* items,
                                        short bufferLength, ISC_SCHAR* buffer)
{
    ISC_STATUS result = 0;
    if (scriptedFailure("isc_database_info", status, result))
        return result;
    if (*db == 0)
        return fail(status, BadHandle);
    g_record.infoItems.assign(items, static_cast<std::size_t>(itemLength));
    g_record.databaseInfoBufferLength = bufferLength;
    std::string data(1, static_cast<char>(g_script.serverVersions.size()));
    for (const std::string& v : g_script.serverVersions) {
        data.push_back(static_cast<char>(v.size()));
        data += v;
    }
    std::string out;
    out.push_back(static_cast<char>(isc_info_firebird_version));
    out.push_back(static_cast<char>(data.size() & 0xFF));
    out.push_back(static_cast<char>(data.size() >> 8));
    out += data;
    out.push_back(static_cast<char>(isc_info_end));
    std::memcpy(buffer, out.data(), std::min<std::size_t>(out.size(), static_cast<std::size_t>(bufferLength)));
    return 0;
}

ISC_STATUS ISC_EXPORT isc_detach_database(ISC_STATUS* status, isc_db_handle* db)
{
    ISC_STATUS result = 0;
    ++g_record.detaches;
    if (scriptedFailure("isc_detach_database", status, result))
        return result;
    if (*db == 0)
        return fail(status, BadHandle);
    *db = 0;
    return 0;
}

ISC_STATUS ISC_EXPORT isc_start_multiple(ISC_STATUS* status, isc_tr_handle* tr, short count, void* elements)
{
    ISC_STATUS result = 0;
    if (scriptedFailure("isc_start_multiple", status, result))
        return result;
    if (*tr != 0)
        return fail(status, 335544332);
    struct Element {
        isc_db_handle* db;
        int length;
        const char* block;
    };
    const auto* element = static_cast<const Element*>(elements);
    if (!element->db || *element->db == 0)
        return fail(status, BadHandle);
    g_record.transactionCount = count;
    g_record.transactionBlock.assign(element->block, static_cast<std::size_t>(element->length));
    ++g_record.openTransactions;
    *tr = handle(2);
    return 0;
}

static ISC_STATUS endTransaction(const char* call, ISC_STATUS* status, isc_tr_handle* tr)
{
    ISC_STATUS result = 0;
    if (scriptedFailure(call, status, result))
        return result;
    if (*tr == 0)
        return fail(status, 335544332);
    --g_record.openTransactions;
    g_record.cursorOpen = false;
    *tr = 0;
    return 0;
}

ISC_STATUS ISC_EXPORT isc_commit_transaction(ISC_STATUS* status, isc_tr_handle* tr)
{
    return endTransaction("isc_commit_transaction", status, tr);
}

ISC_STATUS ISC_EXPORT isc_rollback_transaction(ISC_STATUS* status, isc_tr_handle* tr)
{
    return endTransaction("isc_rollback_transaction", status, tr);
}

ISC_STATUS ISC_EXPORT isc_dsql_allocate_statement(ISC_STATUS* status, isc_db_handle* db, isc_stmt_handle* stmt)
{
    ISC_STATUS result = 0;
    if (scriptedFailure("isc_dsql_allocate_statement", status, result))
        return result;
    if (*db == 0 || *stmt != 0)
        return fail(status, BadHandle);
    ++g_record.preparedStatements;
    *stmt = handle(3);
    return 0;
}

ISC_STATUS ISC_EXPORT isc_dsql_prepare(ISC_STATUS* status, isc_tr_handle* tr, isc_stmt_handle* stmt,
                                       unsigned short length, const ISC_SCHAR* text, unsigned short dialect, XSQLDA*)
{
    ISC_STATUS result = 0;
    if (scriptedFailure("isc_dsql_prepare", status, result))
        return result;
    if (*tr == 0 || *stmt == 0)
        return fail(status, BadHandle);
    g_record.statement.assign(text, length ? length : std::strlen(text));
    g_record.prepareDialect = dialect;
    g_nextRow = 0;
    g_pastEnd = false;
    return 0;
}

#ifndef FAKE_PARTIAL
ISC_STATUS ISC_EXPORT isc_dsql_sql_info(ISC_STATUS* status, isc_stmt_handle* stmt, short itemLength,
                                        const ISC_SCHAR* items, short bufferLength, ISC_SCHAR* buffer)
{
    ISC_STATUS result = 0;
    if (scriptedFailure("isc_dsql_sql_info", status, result))
        return result;
    g_record.sqlInfoItems.assign(items, static_cast<std::size_t>(itemLength));
    const char answer[] = {21, 4, 0, 1, 0, 0, 0, 1};
    if (bufferLength < 8 || *stmt == 0)
        return fail(status, BadHandle);
    std::memcpy(buffer, answer, sizeof answer);
    return 0;
}

ISC_STATUS ISC_EXPORT isc_dsql_describe_bind(ISC_STATUS* status, isc_stmt_handle*, unsigned short, XSQLDA* da)
{
    ISC_STATUS result = 0;
    if (scriptedFailure("isc_dsql_describe_bind", status, result))
        return result;
    describe(da, {g_script.parameter});
    return 0;
}
#endif

ISC_STATUS ISC_EXPORT isc_dsql_describe(ISC_STATUS* status, isc_stmt_handle*, unsigned short, XSQLDA* da)
{
    ISC_STATUS result = 0;
    if (scriptedFailure("isc_dsql_describe", status, result))
        return result;
    describe(da, g_script.columns);
    return 0;
}

ISC_STATUS ISC_EXPORT isc_dsql_execute2(ISC_STATUS* status, isc_tr_handle* tr, isc_stmt_handle* stmt, unsigned short,
                                        const XSQLDA* in, const XSQLDA* out)
{
    ISC_STATUS result = 0;
    if (scriptedFailure("isc_dsql_execute2", status, result))
        return result;
    if (*tr == 0 || *stmt == 0 || out)
        return fail(status, BadHandle);
    if (g_record.cursorOpen)
        return fail(status, CursorOpenError);
    Bound bound;
    const XSQLVAR& v = in->sqlvar[0];
    bound.sqltype = v.sqltype;
    bound.sqlsubtype = v.sqlsubtype;
    bound.sqllen = v.sqllen;
    bound.isNull = (v.sqltype & 1) && v.sqlind && *v.sqlind < 0;
    if (!bound.isNull) {
        if ((v.sqltype & ~1) == SQL_VARYING) {
            short length;
            std::memcpy(&length, v.sqldata, sizeof length);
            bound.bytes.assign(v.sqldata + sizeof length, static_cast<std::size_t>(length));
        } else {
            bound.bytes.assign(v.sqldata, static_cast<std::size_t>(v.sqllen));
        }
    }
    g_record.executions.push_back(bound);
    g_record.cursorOpen = true;
    return 0;
}

ISC_STATUS ISC_EXPORT isc_dsql_fetch(ISC_STATUS* status, isc_stmt_handle* stmt, unsigned short, const XSQLDA* out)
{
    ++g_record.fetches;
    ISC_STATUS result = 0;
    if (scriptedFailure("isc_dsql_fetch", status, result))
        return result;
    if (*stmt == 0 || !g_record.cursorOpen)
        return fail(status, 335544572);
    if (g_pastEnd)
        return fail(status, ReqSync); // as the real client does after 100
    if (static_cast<int>(g_nextRow) == g_script.failFetchAt)
        return answer(status, g_script.fetchFailure);
    if (g_nextRow >= g_script.rows.size()) {
        g_pastEnd = true;
        return 100;
    }
    const Row& row = g_script.rows[g_nextRow++];
    for (short c = 0; c < out->sqld && c < 2; ++c) {
        const XSQLVAR& v = out->sqlvar[c];
        if (!row.values[c]) {
            *v.sqlind = -1;
            continue;
        }
        *v.sqlind = 0;
        const std::string& value = *row.values[c];
        if ((v.sqltype & ~1) == SQL_VARYING) {
            const short length = static_cast<short>(std::min<std::size_t>(value.size(), static_cast<std::size_t>(v.sqllen)));
            std::memcpy(v.sqldata, &length, sizeof length);
            std::memcpy(v.sqldata + sizeof length, value.data(), static_cast<std::size_t>(length));
        } else {
            std::memset(v.sqldata, ' ', static_cast<std::size_t>(v.sqllen));
            std::memcpy(v.sqldata, value.data(), std::min<std::size_t>(value.size(), static_cast<std::size_t>(v.sqllen)));
        }
    }
    return 0;
}

ISC_STATUS ISC_EXPORT isc_dsql_free_statement(ISC_STATUS* status, isc_stmt_handle* stmt, unsigned short option)
{
    const char* call = option == DSQL_close ? "isc_dsql_free_statement(close)" : "isc_dsql_free_statement(drop)";
    ISC_STATUS result = 0;
    if (scriptedFailure(call, status, result))
        return result;
    if (*stmt == 0)
        return fail(status, BadHandle);
    if (option == DSQL_close) {
        if (!g_record.cursorOpen)
            return fail(status, CursorCloseError);
        g_record.cursorOpen = false;
        return 0;
    }
    g_record.cursorOpen = false;
    --g_record.preparedStatements;
    *stmt = 0;
    return 0;
}

ISC_LONG ISC_EXPORT fb_interpret(ISC_SCHAR* buffer, unsigned int size, const ISC_STATUS** vector)
{
    g_record.interpretBufferSizes.push_back(size);
    return interpret(buffer, size, vector);
}

ISC_LONG ISC_EXPORT isc_interprete(ISC_SCHAR* buffer, ISC_STATUS** vector)
{
    g_record.calls.push_back("isc_interprete");
    return interpret(buffer, 1024, const_cast<const ISC_STATUS**>(vector));
}

void ISC_EXPORT isc_get_client_version(ISC_SCHAR* buffer)
{
    std::strcpy(buffer, g_script.clientVersion.c_str());
}

int ISC_EXPORT isc_get_client_major_version() { return g_script.majorVersion; }
int ISC_EXPORT isc_get_client_minor_version() { return g_script.minorVersion; }

} // extern "C"
