#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace letterloom {

// Pictures and files of some megabytes are written once, straight after
// they are allocated. The kernel hands memory out a small page at a time,
// each page a fault of its own: for a 1920 x 1080 picture that is 2,000
// faults, and on a virtual machine each costs microseconds. Asking for large
// pages (2 MiB) turns them into a handful. A hint only: where the kernel has
// none to give, the memory is the same memory in small pages.

// Buffers from this size on are worth the hint.
inline constexpr std::size_t kLargePage = std::size_t(2) << 20;

// Asks for large pages in every whole large page of [data, data + size)
// that nothing has touched yet.
void preferLargePages(void *data, std::size_t size);

// size bytes (uninitialised) that begin on a large page and are backed by
// large pages where the kernel has them; from kLargePage on, null when the
// memory is not there. Released with releaseLargeBuffer.
void *allocateLargeBuffer(std::size_t size);
void releaseLargeBuffer(void *data);

// The allocator of containers that grow to megabytes, such as a line
// table's: a buffer from kLargePage on comes from allocateLargeBuffer, a
// smaller one from the ordinary heap, so that a short text's table costs no
// more than it did.
template <typename T>
class LargePageAllocator {
public:
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
    using value_type = T;

    LargePageAllocator() = default;
    template <typename U>
    LargePageAllocator(const LargePageAllocator<U> &) noexcept
    {
    }

    T *allocate(std::size_t count)
    {
        if (count > std::size_t(PTRDIFF_MAX) / sizeof(T))
            throw std::bad_array_new_length();
        const std::size_t size = count * sizeof(T);
        if (size < kLargePage)
            return static_cast<T *>(::operator new(size));
        void *data = allocateLargeBuffer(size);
        if (!data)
            throw std::bad_alloc();
        return static_cast<T *>(data);
    }

    void deallocate(T *data, std::size_t count) noexcept
    {
        if (count * sizeof(T) < kLargePage)
            ::operator delete(data);
        else
            releaseLargeBuffer(data);
    }

    // Every one frees what another allocated.
    template <typename U>
    bool operator==(const LargePageAllocator<U> &) const noexcept
    {
        return true;
    }
};

}  // namespace letterloom
