#pragma once

#include <cstddef>

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

}  // namespace letterloom
