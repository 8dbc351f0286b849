#include "client_tap.h"

#include <ibase.h>

#include <dlfcn.h>
#include <mutex>
#include <stdexcept>

namespace tap {

namespace {

using Clock = std::chrono::steady_clock;

std::mutex g_mutex;
std::string g_entry;
std::function<void()> g_action;
Wait g_longest;

void* realClient()
{
    static void* const handle = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw std::runtime_error(std::string("client tap: ") + dlerror());
    return handle;
}

template <typename Fn>
Fn real(const char* name)
{
    return reinterpret_cast<Fn>(dlsym(realClient(), name));
}

template <typename Fn, typename... Args>
auto forward(const char* name, Args... args)
{
    std::function<void()> action;
    {
        std::lock_guard lock(g_mutex);
        if (g_action && g_entry == name) {
            action = std::move(g_action);
            g_action = nullptr;
        }
    }
    if (action)
        action();
    const auto start = Clock::now();
    const auto result = real<Fn>(name)(args...);
    const std::chrono::duration<double> took = Clock::now() - start;
    std::lock_guard lock(g_mutex);
    if (took > g_longest.time)
        g_longest = {name, took};
    return result;
}

} // namespace

void before(const std::string& entry, std::function<void()> action)
{
    std::lock_guard lock(g_mutex);
    g_entry = entry;
    g_action = std::move(action);
}

Wait longest()
{
    std::lock_guard lock(g_mutex);
    return g_longest;
}

void reset()
{
    std::lock_guard lock(g_mutex);
    g_longest = {};
}

} // namespace tap

#define TAP(name, ...) tap::forward<decltype(&::name)>(#name __VA_OPT__(, ) __VA_ARGS__)

extern "C" {

ISC_STATUS ISC_EXPORT isc_attach_database(ISC_STATUS* s, short nameLength, const ISC_SCHAR* name, isc_db_handle* db,
                                          short blockLength, const ISC_SCHAR* block)
{
    return TAP(isc_attach_database, s, nameLength, name, db, blockLength, block);
}

ISC_STATUS ISC_EXPORT isc_database_info(ISC_STATUS* s, isc_db_handle* db, short itemLength, const ISC_SCHAR* items,
                                        short bufferLength, ISC_SCHAR* buffer)
{
    return TAP(isc_database_info, s, db, itemLength, items, bufferLength, buffer);
}

ISC_STATUS ISC_EXPORT isc_detach_database(ISC_STATUS* s, isc_db_handle* db) { return TAP(isc_detach_database, s, db); }

ISC_STATUS ISC_EXPORT isc_start_multiple(ISC_STATUS* s, isc_tr_handle* tr, short count, void* elements)
{
    return TAP(isc_start_multiple, s, tr, count, elements);
}

ISC_STATUS ISC_EXPORT isc_commit_transaction(ISC_STATUS* s, isc_tr_handle* tr)
{
    return TAP(isc_commit_transaction, s, tr);
}

ISC_STATUS ISC_EXPORT isc_rollback_transaction(ISC_STATUS* s, isc_tr_handle* tr)
{
    return TAP(isc_rollback_transaction, s, tr);
}

ISC_STATUS ISC_EXPORT isc_dsql_allocate_statement(ISC_STATUS* s, isc_db_handle* db, isc_stmt_handle* stmt)
{
    return TAP(isc_dsql_allocate_statement, s, db, stmt);
}

ISC_STATUS ISC_EXPORT isc_dsql_prepare(ISC_STATUS* s, isc_tr_handle* tr, isc_stmt_handle* stmt, unsigned short length,
                                       const ISC_SCHAR* text, unsigned short dialect, XSQLDA* da)
{
    return TAP(isc_dsql_prepare, s, tr, stmt, length, text, dialect, da);
}

ISC_STATUS ISC_EXPORT isc_dsql_sql_info(ISC_STATUS* s, isc_stmt_handle* stmt, short itemLength, const ISC_SCHAR* items,
                                        short bufferLength, ISC_SCHAR* buffer)
{
    return TAP(isc_dsql_sql_info, s, stmt, itemLength, items, bufferLength, buffer);
}

ISC_STATUS ISC_EXPORT isc_dsql_describe(ISC_STATUS* s, isc_stmt_handle* stmt, unsigned short version, XSQLDA* da)
{
    return TAP(isc_dsql_describe, s, stmt, version, da);
}

ISC_STATUS ISC_EXPORT isc_dsql_describe_bind(ISC_STATUS* s, isc_stmt_handle* stmt, unsigned short version, XSQLDA* da)
{
    return TAP(isc_dsql_describe_bind, s, stmt, version, da);
}

ISC_STATUS ISC_EXPORT isc_dsql_execute2(ISC_STATUS* s, isc_tr_handle* tr, isc_stmt_handle* stmt, unsigned short version,
                                        const XSQLDA* in, const XSQLDA* out)
{
    return TAP(isc_dsql_execute2, s, tr, stmt, version, in, out);
}

ISC_STATUS ISC_EXPORT isc_dsql_fetch(ISC_STATUS* s, isc_stmt_handle* stmt, unsigned short version, const XSQLDA* da)
{
    return TAP(isc_dsql_fetch, s, stmt, version, da);
}

ISC_STATUS ISC_EXPORT isc_dsql_free_statement(ISC_STATUS* s, isc_stmt_handle* stmt, unsigned short option)
{
    return TAP(isc_dsql_free_statement, s, stmt, option);
}

ISC_LONG ISC_EXPORT fb_interpret(ISC_SCHAR* buffer, unsigned int size, const ISC_STATUS** vector)
{
    return TAP(fb_interpret, buffer, size, vector);
}

void ISC_EXPORT isc_get_client_version(ISC_SCHAR* buffer)
{
    tap::real<decltype(&::isc_get_client_version)>("isc_get_client_version")(buffer);
}

int ISC_EXPORT isc_get_client_major_version() { return TAP(isc_get_client_major_version); }
int ISC_EXPORT isc_get_client_minor_version() { return TAP(isc_get_client_minor_version); }

} // extern "C"
