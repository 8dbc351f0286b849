#include "data/row_buffer.h"

#include "core/utf.h"

#include <system_error>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quelvo {

void RowBuffer::clear()
{
    // Keep one chunk of each: the next search usually needs them again.
    if (chunks_.size() > 1)
        chunks_.resize(1);
    used_ = chunks_.empty() ? ChunkUnits : 0;
    if (blocks_.size() > 1)
        blocks_.resize(1);
    size_ = 0;
}

namespace {

void* allocateChunk(std::size_t bytes, std::align_val_t alignment, bool large)
{
    void* chunk = ::operator new(bytes, alignment);
#if defined(__linux__)
    // A long result then faults in a page per 2 MiB instead of per 4 KiB.
    // Not the first chunk: a short result would pay for clearing 2 MiB.
    if (large)
        madvise(chunk, bytes, MADV_HUGEPAGE);
#else
    (void)large;
#endif
    return chunk;
}

} // namespace

RowBuffer::~RowBuffer()
{
    if (spare_.valid())
        ChunkDelete{}(spare_.get());
}

void* RowBuffer::newChunk(std::size_t bytes, bool first)
{
    if (first || bytes != ChunkBytes)
        return allocateChunk(bytes, ChunkAlignment, !first);
    void* chunk = spare_.valid() ? spare_.get() : allocateChunk(bytes, ChunkAlignment, true);
    try {
        spare_ = std::async(std::launch::async, [] {
            auto* spare = static_cast<volatile char*>(allocateChunk(ChunkBytes, ChunkAlignment, true));
            for (std::size_t at = 0; at < ChunkBytes; at += 4096)
                spare[at] = 0;
            return const_cast<void*>(static_cast<volatile void*>(spare));
        });
    } catch (const std::system_error&) {
        // No thread to spare: the next chunk is made when it is needed.
    }
    return chunk;
}

char16_t* RowBuffer::reserve(std::size_t units)
{
    // Even an empty value needs a chunk to point into.
    if (chunks_.empty() || ChunkUnits - used_ < units) {
        const std::size_t bytes = std::max(units, ChunkUnits) * sizeof(char16_t);
        chunks_.emplace_back(static_cast<char16_t*>(newChunk(bytes, chunks_.empty())));
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
    if (size_ == blocks_.size() * BlockRows)
        blocks_.emplace_back(static_cast<Row*>(newChunk(ChunkBytes, blocks_.empty())));
    new (&blocks_[size_ / BlockRows][size_ % BlockRows]) Row(row);
    ++size_;
}

} // namespace quelvo
