#include "core/LargeMemory.h"

#include <cstdlib>
#include <sys/mman.h>

namespace krt {
namespace {

constexpr std::size_t LargeThreshold = std::size_t{1} << 20;

} // namespace

void* AllocateLarge(std::size_t bytes)
{
    if (bytes < LargeThreshold)
        return std::calloc(bytes == 0 ? 1 : bytes, 1);
    void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return nullptr;
    ::madvise(block, bytes, MADV_HUGEPAGE); // a hint: without it the memory works all the same
    return block;
}

void FreeLarge(void* block, std::size_t bytes) noexcept
{
    if (!block)
        return;
    if (bytes < LargeThreshold)
        std::free(block);
    else
        ::munmap(block, bytes);
}

} // namespace krt
