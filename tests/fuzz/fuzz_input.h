#pragma once

// Reads a fuzzer's bytes as a stream of small decisions.

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <string>

namespace fuzzing {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return at_ >= size_; }
    std::size_t left() const { return size_ - at_; }

    std::uint8_t byte()
    {
        return at_ < size_ ? data_[at_++] : 0;
    }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(u16() | (std::uint32_t{u16()} << 16)); }

    // Up to `count` raw bytes.
    std::string bytes(std::size_t count)
    {
        count = std::min(count, left());
        std::string out(reinterpret_cast<const char*>(data_ + at_), count);
        at_ += count;
        return out;
    }

    // The rest as UTF-16 units, two bytes each (little-endian).
    std::u16string restAsUtf16()
    {
        std::u16string out;
        while (left() >= 2)
            out.push_back(static_cast<char16_t>(u16()));
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace fuzzing

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

// A broken property: say which, then abort so the fuzzer keeps the input.
inline void require(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

} // namespace fuzzing
