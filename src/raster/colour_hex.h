#pragma once

#include "raster/colour.h"

#include <QString>

namespace letterloom::raster {

// A colour as the files and the dialogs write it: RRGGBB, red first, in
// capitals.
inline QString colourHex(Colour colour)
{
    return QStringLiteral("%1%2%3")
        .arg(colour & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

}  // namespace letterloom::raster
