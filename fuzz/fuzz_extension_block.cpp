// Fuzz target: The extension block at the end of fonts and projects, and the keys each level takes from it.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return letterloom::fuzz::runCheck(letterloom::fuzz::checkExtensionBlock, data, size);
}
