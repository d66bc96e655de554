// Fuzz target: The program's own font files (.llf).

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return letterloom::fuzz::runCheck(letterloom::fuzz::checkFontFile, data, size);
}
