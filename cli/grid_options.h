#pragma once

#include "command_line.h"

#include "font/grid_import.h"

namespace letterloom::cli {

// The options that say where the cells of a picture grid lie, which codes
// they hold and how their colours read, shared by "font import-grid" and
// "font sheet --grid" so that the same options read back what was drawn.
void addGridOptions(CommandLine &line);

// True when any of the grid options is given.
bool anyGridOption(const CommandLine &line);

// The options as import settings; cell sides not given are 0. --chars is
// read through the font's character map, and characters it does not hold
// are reported on stderr. Throws UsageError for a malformed value.
font::GridImportSettings gridOptions(const CommandLine &line, const font::CharMap &map = {});

}  // namespace letterloom::cli
