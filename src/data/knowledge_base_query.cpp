#include "data/knowledge_base_query.h"

#include "core/utf.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace quelvo {

namespace {

constexpr long StreamEof = 335544374;
constexpr int MaxParameterBytes = 32765;
const char TransactionBlock[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_nowait};

// isc_start_multiple reads an array of these; the library has no public type for it.
struct TransactionElement {
    isc_db_handle* database;
    int blockLength;
    const char* block;
};

int bytesPerCharacter(int characterSet)
{
    switch (characterSet) {
    case 4: return 4; // UTF8
    case 3: return 3; // UNICODE_FSS
    default: return 1;
    }
}

bool isIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

} // namespace

struct KnowledgeBaseQuery::Descriptor {
    explicit Descriptor(short count)
        : memory(static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(count))), &std::free)
    {
        if (!memory)
            throw std::bad_alloc();
        memory->version = SQLDA_VERSION1;
        memory->sqln = count;
    }
    XSQLDA* get() const { return memory.get(); }
    std::unique_ptr<XSQLDA, decltype(&std::free)> memory;
};

std::string positionalStatement(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    char quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            out.push_back(c);
        } else if (c == '\'' || c == '"') {
            quote = c;
            out.push_back(c);
        } else if (c == ':' && i + 1 < text.size() && isIdentifierChar(text[i + 1])) {
            while (i + 1 < text.size() && isIdentifierChar(text[i + 1]))
                ++i;
            out.push_back('?');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string fieldTypeName(const XSQLVAR& column)
{
    const int characterSet = column.sqlsubtype & 0xFF;
    switch (column.sqltype & ~1) {
    case SQL_VARYING:
    case SQL_TEXT: {
        const bool fixed = (column.sqltype & ~1) == SQL_TEXT;
        if (characterSet == 4 || characterSet == 3)
            return {};
        if (characterSet == 1)
            return fixed ? "Bytes" : "VarBytes";
        return fixed ? "FixedChar" : "String";
    }
    case SQL_BLOB: return column.sqlsubtype == isc_blob_text ? "WideMemo" : "Blob";
    case SQL_SHORT: return column.sqlscale < 0 ? "BCD" : "SmallInt";
    case SQL_LONG: return column.sqlscale < 0 ? "BCD" : "Integer";
    case SQL_INT64: return column.sqlscale < 0 ? "FMTBcd" : "LargeInt";
    case SQL_FLOAT: return "Single";
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return "Float";
    case SQL_TIMESTAMP: return "SQLTimeStamp";
    case SQL_TYPE_DATE: return "Date";
    case SQL_TYPE_TIME: return "Time";
    case SQL_BOOLEAN: return "Boolean";
    case SQL_ARRAY: return "Array";
    default: return "Unknown";
    }
}

KnowledgeBaseQuery::KnowledgeBaseQuery(Connection& connection, std::string name)
    : connection_(connection), name_(std::move(name))
{
}

KnowledgeBaseQuery::~KnowledgeBaseQuery()
{
    // Quietly: an orderly shutdown has closed the query already.
    if (connection_.isOpen())
        releaseQuietly();
}

void KnowledgeBaseQuery::close()
{
    if (cursorOpen_) {
        BusyScope busy(connection_.busyIndicator());
        ISC_STATUS_ARRAY status = {};
        const ClientApi& api = connection_.api();
        cursorOpen_ = false;
        if (api.isc_dsql_free_statement(status, &statement_, DSQL_close) ||
            api.isc_dsql_free_statement(status, &statement_, DSQL_drop) ||
            api.isc_commit_transaction(status, &transaction_)) {
            fail(status, false);
        }
        statement_ = 0;
        transaction_ = 0;
    }
    rows_.clear();
    open_ = false;
    current_ = 0;
}

void KnowledgeBaseQuery::open()
{
    if (open_)
        return;
    BusyScope busy(connection_.busyIndicator());
    connection_.open();
    prepare();
    const std::string utf8 = parameter_ ? toUtf8(*parameter_) : std::string();
    if (parameter_ && utf8.size() > static_cast<std::size_t>(parameterMaxBytes_)) {
        releaseQuietly();
        throw DataError::valueTooLong("ID", static_cast<std::size_t>(parameterMaxBytes_), utf8.size(),
                                      "set the TFDParam.Size to a greater value");
    }
    bindParameter(utf8);
    execute();
    try {
        checkFieldTypes();
    } catch (...) {
        releaseQuietly();
        throw;
    }
    allocateOutput();
    open_ = true;
    current_ = 0;
    fetchBatch(true);
}

void KnowledgeBaseQuery::prepare()
{
    const ClientApi& api = connection_.api();
    ISC_STATUS_ARRAY status = {};
    TransactionElement element{connection_.handle(), sizeof TransactionBlock, TransactionBlock};
    if (api.isc_start_multiple(status, &transaction_, 1, &element))
        fail(status, false);
    if (api.isc_dsql_allocate_statement(status, connection_.handle(), &statement_))
        fail(status, false);
    const std::string text = positionalStatement(StatementText);
    if (api.isc_dsql_prepare(status, &transaction_, &statement_, static_cast<unsigned short>(text.size()), text.c_str(),
                             static_cast<unsigned short>(connection_.settings.sqlDialect), nullptr))
        fail(status, false);

    const char items[] = {isc_info_sql_stmt_type};
    char info[16] = {};
    if (api.isc_dsql_sql_info(status, &statement_, sizeof items, items, sizeof info, info))
        fail(status, false);

    output_ = std::make_unique<Descriptor>(static_cast<short>(RowBuffer::ColumnCount));
    if (api.isc_dsql_describe(status, &statement_, SQLDA_VERSION1, output_->get()))
        fail(status, false);
    if (output_->get()->sqld > output_->get()->sqln) {
        output_ = std::make_unique<Descriptor>(output_->get()->sqld);
        if (api.isc_dsql_describe(status, &statement_, SQLDA_VERSION1, output_->get()))
            fail(status, false);
    }

    input_ = std::make_unique<Descriptor>(1);
    if (api.isc_dsql_describe_bind(status, &statement_, SQLDA_VERSION1, input_->get()))
        fail(status, false);
    if (input_->get()->sqld > input_->get()->sqln) {
        input_ = std::make_unique<Descriptor>(input_->get()->sqld);
        if (api.isc_dsql_describe_bind(status, &statement_, SQLDA_VERSION1, input_->get()))
            fail(status, false);
    }

    XSQLVAR& param = input_->get()->sqlvar[0];
    inputIsChar_ = (param.sqltype & ~1) == SQL_TEXT;
    parameterMaxBytes_ = std::min(ParameterSize * bytesPerCharacter(param.sqlsubtype & 0xFF), MaxParameterBytes);
}

void KnowledgeBaseQuery::bindParameter(const std::string& utf8)
{
    XSQLVAR& param = input_->get()->sqlvar[0];
    const int characterSet = param.sqlsubtype & 0xFF;
    param.sqlsubtype = static_cast<short>(characterSet);
    param.sqlscale = 0;
    param.sqlind = &inputNull_;
    inputNull_ = parameter_ ? 0 : -1;
    if (inputIsChar_) {
        param.sqltype = SQL_TEXT | 1;
        param.sqllen = static_cast<short>(utf8.size());
        inputData_.assign(utf8.begin(), utf8.end());
        inputData_.push_back('\0'); // never a null pointer, even for an empty text
    } else {
        param.sqltype = SQL_VARYING | 1;
        param.sqllen = static_cast<short>(parameterMaxBytes_);
        // The client library copies the declared length, not the used one.
        inputData_.assign(sizeof(short) + static_cast<std::size_t>(parameterMaxBytes_), '\0');
        const short length = static_cast<short>(utf8.size());
        std::memcpy(inputData_.data(), &length, sizeof length);
        std::memcpy(inputData_.data() + sizeof length, utf8.data(), utf8.size());
    }
    param.sqldata = inputData_.data();
    // Only the one parameter of the statement is bound.
    input_->get()->sqld = 1;
}

void KnowledgeBaseQuery::execute()
{
    ISC_STATUS_ARRAY status = {};
    if (connection_.api().isc_dsql_execute2(status, &transaction_, &statement_, SQLDA_VERSION1, input_->get(), nullptr))
        fail(status, false);
    cursorOpen_ = true;
}

void KnowledgeBaseQuery::checkFieldTypes()
{
    const XSQLDA* out = output_->get();
    for (std::size_t c = 0; c < RowBuffer::ColumnCount; ++c) {
        if (static_cast<std::size_t>(out->sqld) <= c)
            throw FieldTypeError(name_ + ": Field '" + FieldNames[c] + "' not found");
        const std::string actual = fieldTypeName(out->sqlvar[c]);
        if (!actual.empty())
            throw FieldTypeError(name_ + ": Type mismatch for field '" + FieldNames[c] +
                                 "', expecting: WideString actual: " + actual);
    }
}

void KnowledgeBaseQuery::allocateOutput()
{
    // Every described column gets a buffer, even beyond the two we read: the
    // library writes them all on each fetch.
    XSQLDA* out = output_->get();
    const std::size_t columns = static_cast<std::size_t>(std::max<short>(out->sqld, 0));
    std::vector<std::size_t> offsets(columns);
    std::size_t total = 0;
    for (std::size_t c = 0; c < columns; ++c) {
        offsets[c] = total;
        total += (static_cast<std::size_t>(std::max<short>(out->sqlvar[c].sqllen, 0)) + sizeof(short) + 7) &
                 ~std::size_t{7};
    }
    outputData_.resize(total);
    outputNull_.assign(columns, 0);
    for (std::size_t c = 0; c < columns; ++c) {
        out->sqlvar[c].sqldata = outputData_.data() + offsets[c];
        out->sqlvar[c].sqlind = &outputNull_[c];
    }
}

void KnowledgeBaseQuery::fetchBatch(bool first)
{
    const ClientApi& api = connection_.api();
    XSQLDA* out = output_->get();
    ISC_STATUS_ARRAY status = {};
    for (std::size_t i = 0; i < BatchSize; ++i) {
        const ISC_STATUS result = api.isc_dsql_fetch(status, &statement_, SQLDA_VERSION1, out);
        if (result == 100 || status[1] == StreamEof) {
            endOfRows();
            return;
        }
        if (result != 0)
            fail(status, !first);
        std::array<RowBuffer::Raw, RowBuffer::ColumnCount> raw;
        for (std::size_t c = 0; c < RowBuffer::ColumnCount; ++c) {
            const XSQLVAR& column = out->sqlvar[c];
            if (outputNull_[c] < 0)
                continue;
            if ((column.sqltype & ~1) == SQL_VARYING) {
                short length;
                std::memcpy(&length, column.sqldata, sizeof length);
                raw[c] = {column.sqldata + sizeof length, static_cast<std::size_t>(std::max<short>(length, 0))};
            } else {
                // CHAR arrives padded with blanks to its full length.
                std::size_t length = static_cast<std::size_t>(column.sqllen);
                while (length > 0 && column.sqldata[length - 1] == ' ')
                    --length;
                raw[c] = {column.sqldata, length};
            }
        }
        rows_.append(raw);
    }
}

void KnowledgeBaseQuery::fetchMore()
{
    if (!cursorOpen_)
        return;
    BusyScope busy(connection_.busyIndicator());
    fetchBatch(false);
}

void KnowledgeBaseQuery::endOfRows()
{
    const ClientApi& api = connection_.api();
    ISC_STATUS_ARRAY status = {};
    cursorOpen_ = false;
    if (api.isc_dsql_free_statement(status, &statement_, DSQL_close) ||
        api.isc_dsql_free_statement(status, &statement_, DSQL_drop) ||
        api.isc_commit_transaction(status, &transaction_)) {
        fail(status, true);
    }
    statement_ = 0;
    transaction_ = 0;
}

void KnowledgeBaseQuery::fail(const ISC_STATUS* status, bool keepRows)
{
    DataError error = connection_.error(status);
    releaseQuietly();
    if (!keepRows) {
        rows_.clear();
        open_ = false;
        current_ = 0;
    }
    connection_.noteFailure(error.code());
    throw error;
}

void KnowledgeBaseQuery::releaseQuietly()
{
    // Nothing held afterwards, whatever the server says: a statement that
    // cannot be dropped or a transaction that cannot be rolled back belongs
    // to an attachment that is going away.
    cursorOpen_ = false;
    if (!connection_.library().isLoaded()) {
        statement_ = 0;
        transaction_ = 0;
        return;
    }
    const ClientApi& api = connection_.api();
    ISC_STATUS_ARRAY status = {};
    if (statement_)
        api.isc_dsql_free_statement(status, &statement_, DSQL_drop);
    if (transaction_)
        api.isc_rollback_transaction(status, &transaction_);
    statement_ = 0;
    transaction_ = 0;
}

void KnowledgeBaseQuery::setCurrentRow(std::size_t row)
{
    if (row < rows_.size())
        current_ = row;
}

int KnowledgeBaseQuery::fieldIndex(std::string_view name)
{
    for (std::size_t c = 0; c < RowBuffer::ColumnCount; ++c) {
        const std::string_view field = FieldNames[c];
        if (field.size() == name.size() &&
            std::equal(field.begin(), field.end(), name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            }))
            return static_cast<int>(c);
    }
    return -1;
}

FieldValue KnowledgeBaseQuery::field(std::size_t index) const
{
    if (index >= RowBuffer::ColumnCount)
        throw std::out_of_range(name_ + ": Field index out of range");
    if (current_ >= rows_.size())
        return {};
    return rows_.field(current_, index);
}

FieldValue KnowledgeBaseQuery::fieldByName(std::string_view name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw std::out_of_range(name_ + ": Field '" + std::string(name) + "' not found");
    return field(static_cast<std::size_t>(index));
}

} // namespace quelvo
