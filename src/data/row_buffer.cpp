#include "data/row_buffer.h"

#include "core/utf.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quelvo {

void RowBuffer::clear()
{
    // Keep one chunk: the next search usually needs it again.
    if (chunks_.size() > 1)
        chunks_.resize(1);
    used_ = chunks_.empty() ? ChunkUnits : 0;
    rows_.clear();
    if (rows_.capacity() > 4096)
        rows_.shrink_to_fit();
}

char16_t* RowBuffer::reserve(std::size_t units)
{
    // Even an empty value needs a chunk to point into.
    if (chunks_.empty() || ChunkUnits - used_ < units) {
        const std::size_t bytes = std::max(units, ChunkUnits) * sizeof(char16_t);
        chunks_.emplace_back(static_cast<char16_t*>(::operator new(bytes, ChunkAlignment)));
#if defined(__linux__)
        // A long result then faults in a page per 2 MiB instead of per 4 KiB.
        madvise(chunks_.back().get(), bytes, MADV_HUGEPAGE);
#endif
        used_ = 0;
    }
    return chunks_.back().get() + used_;
}

void RowBuffer::append(const std::array<Raw, ColumnCount>& values)
{
    std::array<FieldValue, ColumnCount> row;
    for (std::size_t c = 0; c < ColumnCount; ++c) {
        const Raw& raw = values[c];
        if (!raw.data)
            continue; // stays null
        // UTF-16 never takes more units than UTF-8 has bytes.
        char16_t* out = reserve(raw.size);
        std::size_t units = decodeUtf8(std::string_view(raw.data, raw.size), out);
        if (units > MaxFieldLength) {
            units = MaxFieldLength;
            if (out[units - 1] >= 0xD800 && out[units - 1] <= 0xDBFF)
                --units; // never keep half of a pair
        }
        used_ += units;
        row[c] = FieldValue{out, static_cast<std::uint32_t>(units), false};
    }
    rows_.push_back(row);
}

} // namespace quelvo
