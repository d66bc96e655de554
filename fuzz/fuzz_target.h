#pragma once

// The body every fuzz target shares: one input through one check. A broken
// promise or any exception other than the user's error message stops the
// fuzzer, which keeps the input that did it.

#include "reader_checks.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace letterloom::fuzz {

inline int runCheck(Check check, const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        check(bytes);
    } catch (const Broken &broken) {
        std::fprintf(stderr, "Broken promise: %s\n", broken.what());
        std::abort();
    }
    return 0;
}

}  // namespace letterloom::fuzz
