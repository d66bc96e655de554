#pragma once

#include "command_line.h"

#include "font/char_map.h"

#include <optional>

namespace letterloom::cli {

// --map NAME|FILE.tbl: the character map that overrides the font's own.
inline const QString kMapOption = QStringLiteral("map");

void addMapOption(CommandLine &line);

// The map --map names, or nothing when it is not given. A value that names
// an existing file or ends in .tbl is a table (its left-out lines go to
// stderr); anything else a code page name, letter case and dashes aside, or
// "none". An unknown name is a usage error that lists the known ones.
std::optional<font::CharMap> mapOption(const CommandLine &line);

}  // namespace letterloom::cli
