// Fetched values as the server could deliver them (any bytes, any length,
// null or empty) decoded into the row buffer: each field reads back as its
// decoded text cut at 5000 units, never half a surrogate pair, and rows
// already read stay as they were while more arrive.

#include "fuzz_input.h"

#include "core/utf.h"
#include "data/row_buffer.h"

#include <array>
#include <optional>
#include <vector>

using fuzzing::require;
using quelvo::RowBuffer;

namespace {

std::optional<std::u16string> expected(const std::optional<std::string>& raw)
{
    if (!raw)
        return std::nullopt;
    std::u16string text = quelvo::fromUtf8(*raw);
    if (text.size() > RowBuffer::MaxFieldLength) {
        text.resize(RowBuffer::MaxFieldLength);
        if (text.back() >= 0xD800 && text.back() <= 0xDBFF)
            text.pop_back();
    }
    return text;
}

bool wellFormed(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

using Shown = std::vector<std::array<std::optional<std::u16string>, 2>>;

void checkRow(const RowBuffer& rows, const Shown& shown, std::size_t r)
{
    for (std::size_t c = 0; c < RowBuffer::ColumnCount; ++c) {
        const quelvo::FieldValue field = rows.field(r, c);
        require(field.isNull == !shown[r][c].has_value(), "null stays null and text stays text");
        if (shown[r][c]) {
            require(field.text() == *shown[r][c], "the value reads back decoded and cut");
            require(wellFormed(field.text()), "no half of a surrogate pair");
        }
    }
}

void checkAll(const RowBuffer& rows, const Shown& shown)
{
    require(rows.size() == shown.size(), "one row per append");
    for (std::size_t r = 0; r < shown.size(); ++r)
        checkRow(rows, shown, r);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::Input in(data, size);
    RowBuffer rows;
    Shown shown;
    int appended = 0;
    while (!in.empty() && appended < 200) {
        const std::uint8_t op = in.byte();
        if (op % 23 == 0) {
            checkAll(rows, shown);
            rows.clear();
            shown.clear();
            continue;
        }
        std::array<std::optional<std::string>, 2> raw;
        for (auto& value : raw) {
            const std::uint8_t kind = in.byte();
            if (kind % 5 == 0)
                continue; // null
            // A slice of the input, repeated to reach long values cheaply.
            const std::size_t length = kind % 5 == 1 ? 0 : in.u16() % 24000;
            const std::string piece = in.bytes(1 + kind % 16);
            std::string text;
            text.reserve(length);
            while (!piece.empty() && text.size() < length)
                text.append(piece, 0, std::min(piece.size(), length - text.size()));
            value = std::move(text);
        }
        // Copies that end exactly where the value ends, so over-reads show.
        std::array<std::vector<char>, 2> exact;
        std::array<RowBuffer::Raw, RowBuffer::ColumnCount> fetched;
        for (std::size_t c = 0; c < 2; ++c) {
            if (!raw[c])
                continue;
            exact[c].assign(raw[c]->begin(), raw[c]->end());
            fetched[c] = {exact[c].empty() ? reinterpret_cast<const char*>(&op) : exact[c].data(), exact[c].size()};
        }
        rows.append(fetched);
        shown.push_back({expected(raw[0]), expected(raw[1])});
        ++appended;
        checkRow(rows, shown, shown.size() - 1);
    }
    // Earlier rows are untouched by the later ones.
    checkAll(rows, shown);
    return 0;
}
