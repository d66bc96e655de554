#include "base/large_pages.h"

#include <cstdint>
#include <cstdlib>

#include <sys/mman.h>

namespace letterloom {

void preferLargePages(void *data, std::size_t size)
{
    if (size < kLargePage)
        return;
    // Every large page the buffer reaches into: the kernel only ever uses
    // one that lies wholly inside the buffer's mapping, which for a buffer
    // this size is its own (the allocator maps it on its own), so what
    // lies around the buffer at most shares its large pages.
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = begin & ~(kLargePage - 1);
    const std::uintptr_t last = (begin + size + kLargePage - 1) & ~(kLargePage - 1);
    ::madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
}

void *allocateLargeBuffer(std::size_t size)
{
    // Rounded up to whole large pages, so that the last one is not left to
    // small pages.
    const std::size_t rounded = (size + kLargePage - 1) & ~(kLargePage - 1);
    void *data = std::aligned_alloc(kLargePage, rounded);
    if (data)
        preferLargePages(data, rounded);
    return data;
}

void releaseLargeBuffer(void *data)
{
    std::free(data);
}

}  // namespace letterloom
