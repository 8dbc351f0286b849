#pragma once

// A stand-in for the Firebird client library, built only for the tests. It
// exports the isc_* entry points the program uses, records every call with
// its arguments and answers from a script that the test sets.

#include <ibase.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fake {

struct Column {
    short sqltype = SQL_VARYING | 1;
    short sqlsubtype = 4; // UTF8
    short sqlscale = 0;
    short sqllen = 20000;
    std::string name;
};

struct Row {
    std::optional<std::string> values[2];
};

// What was bound for the one parameter at execute.
struct Bound {
    short sqltype = 0;
    short sqlsubtype = 0;
    short sqllen = 0;
    bool isNull = false;
    std::string bytes;
};

struct Script {
    std::string clientVersion = "LI-V3.0.11.33637 Firebird 3.0";
    int majorVersion = 3;
    int minorVersion = 0;
    std::vector<std::string> serverVersions = {"LI-V3.0.11.33637 Firebird 3.0", "LI-V3.0.11.33637 Firebird 3.0/tcp (h)/P15:C"};
    std::vector<Column> columns = {{SQL_VARYING | 1, 4, 0, 20000, "problema"}, {SQL_VARYING | 1, 4, 0, 20000, "solucao"}};
    Column parameter = {SQL_VARYING | 1, 4, 0, 20000, ""};
    std::vector<Row> rows;
    // Status vectors to answer with, by entry point name; each is used once.
    std::map<std::string, std::vector<std::vector<ISC_STATUS>>> failures;
    // Fail the fetch of this row index (0-based) with this vector.
    int failFetchAt = -1;
    std::vector<ISC_STATUS> fetchFailure;
};

struct Record {
    std::vector<std::string> calls;
    std::string attachName;
    std::string parameterBlock;
    std::string transactionBlock;
    short transactionCount = 0;
    std::string statement;
    unsigned prepareDialect = 0;
    std::string infoItems;
    short infoBufferLength = 0;
    std::string sqlInfoItems;
    short databaseInfoBufferLength = 0;
    std::vector<Bound> executions;
    int fetches = 0;
    int attaches = 0;
    int detaches = 0;
    int openTransactions = 0;
    int preparedStatements = 0;
    bool cursorOpen = false;
    std::vector<unsigned> interpretBufferSizes;
};

Script& script();
Record& record();
void reset();

// Calls of one entry point, in order.
int count(const std::string& call);

// {isc_arg_gds, code, [isc_arg_string, text]..., isc_arg_end}; the texts are
// kept alive by the fake.
std::vector<ISC_STATUS> status(std::initializer_list<ISC_STATUS> codes, const char* argument = nullptr);

} // namespace fake
