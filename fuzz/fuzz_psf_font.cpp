// Fuzz target: PSF console fonts, packed or not, and the PSF the program writes of what it read.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return letterloom::fuzz::runCheck(letterloom::fuzz::checkPsfFont, data, size);
}
