#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <future>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

namespace quelvo {

// One field of a fetched row: its text, or null.
struct FieldValue {
    const char16_t* data = nullptr;
    std::uint32_t size = 0;
    bool isNull = true;

    std::u16string_view text() const { return {data, size}; }
    std::optional<std::u16string_view> value() const
    {
        return isNull ? std::nullopt : std::optional<std::u16string_view>(text());
    }
};

// The rows fetched so far, decoded to UTF-16 once, into large chunks: no
// allocation per row or per value, and no copy when the buffer grows.
class RowBuffer {
public:
    static constexpr std::size_t ColumnCount = 2;
    static constexpr std::size_t MaxFieldLength = 5000; // UTF-16 units kept per value

    // Raw UTF-8 value as the server delivered it; data == nullptr means null.
    struct Raw {
        const char* data = nullptr;
        std::size_t size = 0;
    };

    RowBuffer() = default;
    RowBuffer(const RowBuffer&) = delete;
    RowBuffer& operator=(const RowBuffer&) = delete;
    ~RowBuffer();

    void clear();
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    FieldValue field(std::size_t row, std::size_t column) const
    {
        return blocks_[row / BlockRows][row % BlockRows][column];
    }

    void append(const std::array<Raw, ColumnCount>& values);

    // Bytes held for the text and the row index, for measuring.
    std::size_t heldBytes() const { return (chunks_.size() + blocks_.size()) * ChunkBytes; }

private:
    using Row = std::array<FieldValue, ColumnCount>;

    // Text and row index live in chunks of 2 MiB, aligned to it: from the
    // second on a huge page where the system gives them; never moved once
    // written.
    static constexpr std::size_t ChunkBytes = 2 * 1024 * 1024;
    static constexpr std::size_t ChunkUnits = ChunkBytes / sizeof(char16_t);
    static constexpr std::size_t BlockRows = ChunkBytes / sizeof(Row);
    static constexpr std::align_val_t ChunkAlignment{ChunkBytes};
    struct ChunkDelete {
        void operator()(void* chunk) const { ::operator delete(chunk, ChunkAlignment); }
    };
    using Chunk = std::unique_ptr<char16_t[], ChunkDelete>;
    using Block = std::unique_ptr<Row[], ChunkDelete>;

    void* newChunk(std::size_t bytes, bool first);
    char16_t* reserve(std::size_t units);

    std::vector<Chunk> chunks_;
    std::size_t used_ = ChunkUnits; // in the last chunk; full means "none yet"
    std::vector<Block> blocks_;
    std::size_t size_ = 0;
    // Once a result needs a second chunk, the next one is made ready on a
    // thread of its own: the system clears its fresh pages there, not
    // between two fetches, where the server would wait for it.
    std::future<void*> spare_;
};

} // namespace quelvo
