// Fuzz target: BMFont text files with their PNG page.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return letterloom::fuzz::runCheck(letterloom::fuzz::checkBmFont, data, size);
}
