#include "base/large_pages.h"

#include <cstdint>
#include <cstdlib>

#include <sys/mman.h>

namespace letterloom {

namespace {

// Older C libraries do not name it yet; the kernel has had it since 6.1 and
// refuses it harmlessly before.
#ifdef MADV_COLLAPSE
constexpr int kCollapse = MADV_COLLAPSE;
#else
constexpr int kCollapse = 25;
#endif

constexpr std::uintptr_t kPageMask = ~std::uintptr_t(kLargePage - 1);

void advise(std::uintptr_t first, std::uintptr_t last)
{
    ::madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace

void preferLargePages(void *data, std::size_t size)
{
    if (size < kLargePage)
        return;
    // Every large page the buffer reaches into: the kernel only ever uses
    // one that lies wholly inside the buffer's mapping, which for a buffer
    // this size is its own (the allocator maps it on its own), so what lies
    // around the buffer at most shares its large pages.
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = begin & kPageMask;
    const std::uintptr_t last = (begin + size + kLargePage - 1) & kPageMask;
    advise(first, last);
    // The allocator's header before the buffer and the terminator some
    // buffers keep after their end are written already, in small pages,
    // which would keep the first and the last large page small: they are
    // made large now, the few bytes in them moved along.
    ::madvise(reinterpret_cast<void *>(first), kLargePage, kCollapse);
    if (last - kLargePage > first)
        ::madvise(reinterpret_cast<void *>(last - kLargePage), kLargePage, kCollapse);
}

void *allocateLargeBuffer(std::size_t size)
{
    // Rounded up to whole large pages, so that the last one is not left to
    // small pages. Nothing in them has been written yet. A size too close
    // to the top of the address range to round is more memory than there is.
    if (size > SIZE_MAX - (kLargePage - 1))
        return nullptr;
    const std::size_t rounded = (size + kLargePage - 1) & ~(kLargePage - 1);
    void *data = std::aligned_alloc(kLargePage, rounded);
    if (data)
        advise(reinterpret_cast<std::uintptr_t>(data), reinterpret_cast<std::uintptr_t>(data) + rounded);
    return data;
}

void releaseLargeBuffer(void *data)
{
    std::free(data);
}

}  // namespace letterloom
