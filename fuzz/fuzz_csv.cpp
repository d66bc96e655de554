// Fuzz target: tables of comma-separated values (the jobs of batch, the texts
// of texts import), and the records they give written back.

#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return letterloom::fuzz::runCheck(letterloom::fuzz::checkCsv, data, size);
}
