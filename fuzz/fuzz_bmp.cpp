// Fuzz target: BMP pictures: the header check and the platform's decoder behind it.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return letterloom::fuzz::runCheck(letterloom::fuzz::checkBmp, data, size);
}
