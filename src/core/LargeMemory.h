#pragma once

#include <cstddef>
#include <memory>

namespace krt {

// Zeroed memory for pixel areas, file contents and other big work areas.
// Blocks of a megabyte and more come straight from the system, marked for
// transparent huge pages: touching a 48 MB picture for the first time then
// costs a few dozen page faults instead of twelve thousand. Returns nullptr
// when the memory cannot be had.
void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* block, std::size_t bytes) noexcept;

// An owning handle for AllocateLarge memory.
class LargeBlock {
public:
    LargeBlock() = default;
    explicit LargeBlock(std::size_t bytes) : data(static_cast<unsigned char*>(AllocateLarge(bytes))), size(bytes) {}
    ~LargeBlock() { FreeLarge(data, size); }
    LargeBlock(const LargeBlock&) = delete;
    LargeBlock& operator=(const LargeBlock&) = delete;
    LargeBlock(LargeBlock&& other) noexcept : data(other.data), size(other.size) { other.data = nullptr; }
    LargeBlock& operator=(LargeBlock&& other) noexcept
    {
        if (this != &other) {
            FreeLarge(data, size);
            data = other.data;
            size = other.size;
            other.data = nullptr;
        }
        return *this;
    }

    unsigned char* Data() const { return data; }
    explicit operator bool() const { return data != nullptr; }

private:
    unsigned char* data = nullptr;
    std::size_t size = 0;
};

} // namespace krt
