// The floor for fetching: the same isc_* calls as the program, in the same
// order, with the same parameter blocks and statement, and nothing done with
// the rows but counting their bytes. What the client library and the server
// cost, with no decoding, no buffer and no output.
//
// usage: fetch-floor [--limit N] ATTACH_NAME PATTERN
// Prints attach, first batch (50 rows, from the transaction's start), total
// milliseconds, rows and bytes on standard error.

#include <ibase.h>

#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

#define FLOOR_ENTRIES(X)                                                                                              \
    X(isc_attach_database) X(isc_detach_database) X(isc_start_multiple) X(isc_commit_transaction)                      \
    X(isc_dsql_allocate_statement) X(isc_dsql_prepare) X(isc_dsql_sql_info) X(isc_dsql_describe)                      \
    X(isc_dsql_describe_bind) X(isc_dsql_execute2) X(isc_dsql_fetch) X(isc_dsql_free_statement) X(fb_interpret)

struct Api {
#define FLOOR_MEMBER(name) decltype(&::name) name = nullptr;
    FLOOR_ENTRIES(FLOOR_MEMBER)
#undef FLOOR_MEMBER
};

struct TransactionElement {
    isc_db_handle* database;
    int blockLength;
    const char* block;
};

constexpr const char* Statement =
    R"(select  t."problema", t."solucao" from "at_atendimento" t where upper (t."problema") like ?)";
constexpr int BatchSize = 50;

double since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

[[noreturn]] void fail(const Api& api, const ISC_STATUS* status, const char* what)
{
    std::fprintf(stderr, "fetch-floor: %s failed\n", what);
    const ISC_STATUS* cursor = status;
    char line[512];
    while (api.fb_interpret && api.fb_interpret(line, sizeof line, &cursor) > 0)
        std::fprintf(stderr, "  %s\n", line);
    std::exit(1);
}

void item(std::string& block, char code, const std::string& value)
{
    block.push_back(code);
    block.push_back(static_cast<char>(value.size()));
    block += value;
}

} // namespace

int main(int argc, char** argv)
{
    long long limit = -1;
    int a = 1;
    if (a + 1 < argc && std::strcmp(argv[a], "--limit") == 0) {
        limit = std::atoll(argv[a + 1]);
        a += 2;
    }
    if (argc - a != 2) {
        std::fputs("usage: fetch-floor [--limit N] ATTACH_NAME PATTERN\n", stderr);
        return 2;
    }
    const std::string name = argv[a];
    const std::string pattern = argv[a + 1];

    const auto start = Clock::now();
    // Loaded at run time, as the program loads it.
    void* library = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "fetch-floor: %s\n", dlerror());
        return 1;
    }
    Api api;
#define FLOOR_LOAD(entry)                                                                                             \
    api.entry = reinterpret_cast<decltype(api.entry)>(dlsym(library, #entry));                                        \
    if (!api.entry) {                                                                                                 \
        std::fprintf(stderr, "fetch-floor: no %s\n", #entry);                                                         \
        return 1;                                                                                                     \
    }
    FLOOR_ENTRIES(FLOOR_LOAD)
#undef FLOOR_LOAD

    std::string dpb(1, static_cast<char>(isc_dpb_version1));
    item(dpb, isc_dpb_user_name, "SYSDBA");
    item(dpb, isc_dpb_password, "plumbgate");
    item(dpb, isc_dpb_lc_ctype, "UTF8");
    dpb += {static_cast<char>(isc_dpb_sql_dialect), 1, 3, static_cast<char>(isc_dpb_utf8_filename), 0};

    ISC_STATUS_ARRAY status = {};
    isc_db_handle database = 0;
    if (api.isc_attach_database(status, static_cast<short>(name.size()), name.c_str(), &database,
                                static_cast<short>(dpb.size()), dpb.data()))
        fail(api, status, "attach");
    const double attachMs = since(start);

    const auto searchStart = Clock::now();
    const char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_nowait};
    isc_tr_handle transaction = 0;
    TransactionElement element{&database, sizeof tpb, tpb};
    if (api.isc_start_multiple(status, &transaction, 1, &element))
        fail(api, status, "start");
    isc_stmt_handle statement = 0;
    if (api.isc_dsql_allocate_statement(status, &database, &statement))
        fail(api, status, "allocate");
    if (api.isc_dsql_prepare(status, &transaction, &statement, 0, Statement, 3, nullptr))
        fail(api, status, "prepare");
    const char items[] = {isc_info_sql_stmt_type};
    char info[16];
    if (api.isc_dsql_sql_info(status, &statement, sizeof items, items, sizeof info, info))
        fail(api, status, "sql_info");

    std::vector<char> outMemory(XSQLDA_LENGTH(2), 0);
    auto* out = reinterpret_cast<XSQLDA*>(outMemory.data());
    out->version = SQLDA_VERSION1;
    out->sqln = 2;
    if (api.isc_dsql_describe(status, &statement, SQLDA_VERSION1, out))
        fail(api, status, "describe");
    std::vector<char> inMemory(XSQLDA_LENGTH(1), 0);
    auto* in = reinterpret_cast<XSQLDA*>(inMemory.data());
    in->version = SQLDA_VERSION1;
    in->sqln = 1;
    if (api.isc_dsql_describe_bind(status, &statement, SQLDA_VERSION1, in))
        fail(api, status, "describe_bind");

    // The parameter as the program binds it: VARCHAR in the described set.
    std::vector<char> parameter(sizeof(short) + pattern.size());
    const short patternLength = static_cast<short>(pattern.size());
    std::memcpy(parameter.data(), &patternLength, sizeof patternLength);
    std::memcpy(parameter.data() + sizeof(short), pattern.data(), pattern.size());
    short parameterNull = 0;
    XSQLVAR& p = in->sqlvar[0];
    p.sqltype = SQL_VARYING | 1;
    p.sqlsubtype = static_cast<short>(p.sqlsubtype & 0xFF);
    p.sqlscale = 0;
    p.sqllen = 20000;
    p.sqldata = parameter.data();
    p.sqlind = &parameterNull;
    in->sqld = 1;

    short nulls[2] = {};
    std::vector<char> row;
    std::size_t offsets[2];
    for (int c = 0; c < 2; ++c) {
        offsets[c] = row.size();
        row.resize(row.size() + ((static_cast<std::size_t>(out->sqlvar[c].sqllen) + sizeof(short) + 7) & ~std::size_t{7}));
    }
    for (int c = 0; c < 2; ++c) {
        out->sqlvar[c].sqldata = row.data() + offsets[c];
        out->sqlvar[c].sqlind = &nulls[c];
    }

    if (api.isc_dsql_execute2(status, &transaction, &statement, SQLDA_VERSION1, in, nullptr))
        fail(api, status, "execute");

    long long rows = 0;
    unsigned long long bytes = 0;
    double firstBatchMs = -1;
    for (;;) {
        if (limit >= 0 && rows >= limit)
            break;
        const ISC_STATUS result = api.isc_dsql_fetch(status, &statement, SQLDA_VERSION1, out);
        if (result == 100)
            break;
        if (result)
            fail(api, status, "fetch");
        for (int c = 0; c < 2; ++c) {
            if (nulls[c] >= 0) {
                short length;
                std::memcpy(&length, out->sqlvar[c].sqldata, sizeof length);
                bytes += static_cast<unsigned short>(length);
            }
        }
        if (++rows == BatchSize)
            firstBatchMs = since(searchStart);
    }
    if (firstBatchMs < 0)
        firstBatchMs = since(searchStart);

    if (api.isc_dsql_free_statement(status, &statement, DSQL_close) ||
        api.isc_dsql_free_statement(status, &statement, DSQL_drop) ||
        api.isc_commit_transaction(status, &transaction))
        fail(api, status, "end");
    if (api.isc_detach_database(status, &database))
        fail(api, status, "detach");

    std::fprintf(stderr, "attach ms: %.3f\nfirst batch ms: %.3f\ntotal ms: %.3f\nrows: %lld\nbytes: %llu\n", attachMs,
                 firstBatchMs, since(start), rows, bytes);
    return 0;
}
