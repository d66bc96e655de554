// Fuzz target: picture grids read into glyphs with the settings the input
// begins with, and the grid the program draws of them.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return letterloom::fuzz::runCheck(letterloom::fuzz::checkGridImport, data, size);
}
