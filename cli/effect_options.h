#pragma once

#include "command_line.h"

#include "text/effects.h"
#include "text/layout.h"

namespace letterloom::cli {

// --outline, --shadow, --plate and --no-effects of render.
void addEffectOptions(CommandLine &line);

// The effects to draw: the project's, or none with --no-effects, with each
// effect given on the command line in place of the project's. Throws
// UsageError for a value that does not parse or lies out of range.
text::Effects effectsOf(const CommandLine &line, const text::Effects &project);

// --tracking and --word-spacing of render, layout and fit.
void addSpacingOptions(CommandLine &line);

// An area's spacing with each value given on the command line in place of
// the area's own. Throws UsageError for a value out of range.
text::Spacing spacingOf(const CommandLine &line, const text::Spacing &area);

}  // namespace letterloom::cli
