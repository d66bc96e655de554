// Fuzz target: character tables (.tbl), and the form in which fonts keep them.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return letterloom::fuzz::runCheck(letterloom::fuzz::checkCharTable, data, size);
}
