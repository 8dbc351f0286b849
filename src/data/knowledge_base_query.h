#pragma once

#include "data/connection.h"
#include "data/row_buffer.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelvo {

// "select ... :id" with its named parameters turned into positional markers.
std::string positionalStatement(std::string_view text);

// The name a described column's type goes by in the type-mismatch message,
// or an empty text when it is wide text (CHAR or VARCHAR in UTF8 or
// UNICODE_FSS).
std::string fieldTypeName(const XSQLVAR& column);

// The knowledge-base query: one parameterised select, run in its own short
// transaction per search, rows fetched in batches of 50 as they are needed.
class KnowledgeBaseQuery {
public:
    static constexpr const char* StatementText =
        R"(select  t."problema", t."solucao" from "at_atendimento" t where upper (t."problema") like :id)";
    static constexpr std::size_t BatchSize = 50;
    static constexpr int ParameterSize = 5000; // characters
    static constexpr const char* FieldNames[RowBuffer::ColumnCount] = {"problema", "solucao"};

    explicit KnowledgeBaseQuery(Connection& connection, std::string name = "FDQuery1");
    ~KnowledgeBaseQuery();
    KnowledgeBaseQuery(const KnowledgeBaseQuery&) = delete;
    KnowledgeBaseQuery& operator=(const KnowledgeBaseQuery&) = delete;

    const std::string& name() const { return name_; }

    // Parameter ID; null until the first search.
    void setParameter(std::u16string value) { parameter_ = std::move(value); }
    const std::optional<std::u16string>& parameter() const { return parameter_; }

    // Ends a running search (close cursor, drop statement, commit) and
    // discards the rows. Sends nothing when the rows had already run out.
    void close();
    // Attaches if needed, then prepares, executes and fetches the first batch.
    void open();
    bool isOpen() const { return open_; }
    // The cursor is still open: further rows may follow.
    bool canFetchMore() const { return cursorOpen_; }
    // Fetches the next batch; does nothing when no cursor is open.
    void fetchMore();

    const RowBuffer& rows() const { return rows_; }
    std::size_t rowCount() const { return rows_.size(); }

    // The current row: the first after each open, then wherever the grid puts it.
    std::size_t currentRow() const { return current_; }
    void setCurrentRow(std::size_t row);
    // A field of the current row by index or by name (case-insensitive);
    // null when the result has no rows. Throws std::out_of_range for an
    // unknown field.
    FieldValue field(std::size_t index) const;
    FieldValue fieldByName(std::string_view name) const;
    static int fieldIndex(std::string_view name);

private:
    struct Descriptor;

    void prepare();
    void bindParameter(const std::string& utf8);
    void execute();
    void checkFieldTypes();
    void allocateOutput();
    void fetchBatch(bool first);
    void endOfRows();
    [[noreturn]] void fail(const ISC_STATUS* status, bool keepRows);
    void releaseQuietly();

    Connection& connection_;
    std::string name_;
    std::optional<std::u16string> parameter_;

    isc_tr_handle transaction_ = 0;
    isc_stmt_handle statement_ = 0;
    std::unique_ptr<Descriptor> input_;
    std::unique_ptr<Descriptor> output_;
    std::vector<char> inputData_;
    std::vector<char> outputData_;
    short inputNull_ = 0;
    std::vector<short> outputNull_;
    bool inputIsChar_ = false;
    int parameterMaxBytes_ = 0;

    RowBuffer rows_;
    bool open_ = false;
    bool cursorOpen_ = false;
    std::size_t current_ = 0;
};

} // namespace quelvo
