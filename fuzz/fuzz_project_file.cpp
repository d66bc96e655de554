// Fuzz target: Project files (.llp): the parts and the embedded picture, without the questions of opening.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return letterloom::fuzz::runCheck(letterloom::fuzz::checkProjectFile, data, size);
}
