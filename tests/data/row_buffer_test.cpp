// Rows held across many chunks: the text chunks and the row index each fill
// several, the later ones made ready ahead on a thread of their own. Every
// value must read back as it went in, also after the buffer is cleared and
// filled again.

#include "core/utf.h"
#include "data/row_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string problem(std::size_t row)
{
    // Lengths vary so that values end at every place in a chunk.
    return "Erro " + std::to_string(row) + " ao salvar " + std::string(row % 97, 'x') + " não";
}

std::string solution(std::size_t row)
{
    return "01/02/24 10:00 - Suporte ╗Ana╗" + std::string(row % 53, 'y');
}

void fill(quelvo::RowBuffer& rows, std::size_t count)
{
    for (std::size_t row = 0; row < count; ++row) {
        const std::string p = problem(row);
        const std::string s = solution(row);
        if (row % 11 == 0)
            rows.append({{{p.data(), p.size()}, {}}}); // a null solution now and then
        else
            rows.append({{{p.data(), p.size()}, {s.data(), s.size()}}});
    }
}

void expectRows(const quelvo::RowBuffer& rows, std::size_t count)
{
    ASSERT_EQ(rows.size(), count);
    for (std::size_t row = 0; row < count; ++row) {
        ASSERT_EQ(quelvo::toUtf8(rows.field(row, 0).text()), problem(row)) << "row " << row;
        if (row % 11 == 0)
            ASSERT_TRUE(rows.field(row, 1).isNull) << "row " << row;
        else
            ASSERT_EQ(quelvo::toUtf8(rows.field(row, 1).text()), solution(row)) << "row " << row;
    }
}

} // namespace

TEST(RowBuffer, ValuesReadBackAcrossManyChunks)
{
    // About 9 text chunks of 2 MiB and two blocks of the row index.
    constexpr std::size_t Count = 70000;
    quelvo::RowBuffer rows;
    fill(rows, Count);
    expectRows(rows, Count);
    EXPECT_GE(rows.heldBytes(), 10u * 2 * 1024 * 1024);
}

TEST(RowBuffer, ClearedAndFilledAgain)
{
    quelvo::RowBuffer rows;
    fill(rows, 70000);
    rows.clear();
    EXPECT_TRUE(rows.empty());
    fill(rows, 30000);
    expectRows(rows, 30000);
    rows.clear();
    fill(rows, 3);
    expectRows(rows, 3);
}
