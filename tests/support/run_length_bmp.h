#pragma once

// Run-length BMP files as the tests need them: honest ones of many pixels a
// stored byte, and crafted ones that leave pixels out.

#include "base/byte_reader.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>

namespace letterloom::testing {

// An 8-bit run-length BMP with the given runs and a colour table of red, white.
inline QByteArray runLengthBmp(std::int32_t width, std::int32_t height, const QByteArray &runs)
{
    ByteWriter out;
    out.bytes("BM");
    out.u32(std::uint32_t(14 + 40 + 8 + runs.size()));
    out.u32(0);
    out.u32(14 + 40 + 8);
    for (std::uint32_t field : {40u, std::uint32_t(width), std::uint32_t(height)})
        out.u32(field);
    out.u32(1 | (8 << 16));  // one plane, 8 bits a pixel
    for (std::uint32_t field : {1u, std::uint32_t(runs.size()), 0u, 0u, 2u, 0u})
        out.u32(field);
    out.u32(0x00FF0000);  // colour 0 is red (blue, green, red, unused)
    out.u32(0x00FFFFFF);
    out.bytes(runs);
    return out.result();
}

// The stream of a width x height picture all in colour 1 (white), as an
// encoder writes it: runs of at most 255 pixels, each line ended, then the
// end of the picture.
inline QByteArray oneColourRuns(int width, int height)
{
    QByteArray runs;
    for (int y = 0; y < height; ++y) {
        for (int left = width; left > 0; left -= 255)
            runs += char(std::min(left, 255)) + QByteArray(1, '\x01');
        runs += QByteArray(2, '\0');
    }
    return runs + QByteArray::fromHex("0001");
}

}  // namespace letterloom::testing
