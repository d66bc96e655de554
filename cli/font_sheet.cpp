#include "font_sheet.h"

#include "base/error.h"

#include <algorithm>

namespace letterloom::cli {

namespace {

constexpr int kCells = 16;

QString hexDigit(int value)
{
    return QString::number(value, 16).toUpper();
}

}  // namespace

FontSheet::FontSheet(const font::GlyphTable &glyphs, int zoom)
    : glyphs_(glyphs), zoom_(zoom)
{
    int widest = 0, highest = 0;
    for (int code = 0; code < font::GlyphTable::kSize; ++code) {
        if (!glyphs[code].defined)
            continue;
        widest = std::max(widest, glyphs[code].width);
        highest = std::max(highest, glyphs[code].height);
    }
    // Cells are sized in 64 bits' worth of care: glyphs may be 4096 a side.
    cellWidth_ = int(std::min<qint64>(qint64(std::max(widest, kMinGlyphSide)) * zoom + 2 * kPadding, raster::Raster::kMaxSide));
    cellHeight_ = int(std::min<qint64>(qint64(std::max(highest, kMinGlyphSide)) * zoom + 2 * kPadding, raster::Raster::kMaxSide));
}

QPoint FontSheet::glyphOrigin(int code) const
{
    const int column = code % kCells, row = code / kCells;
    return {kLeftBand + column * (cellWidth_ + 1) + 1 + kPadding, kTopBand + row * (cellHeight_ + 1) + 1 + kPadding};
}

raster::Raster FontSheet::draw() const
{
    const qint64 width = kLeftBand + qint64(kCells) * (cellWidth_ + 1) + 1;
    const qint64 height = kTopBand + qint64(kCells) * (cellHeight_ + 1) + 1;
    if (!raster::Raster::sizeAllowed(width, height))
        throw Error(QStringLiteral("The sheet would be %1 x %2 pixels, too large; try a smaller --zoom").arg(width).arg(height));
    raster::Raster sheet{int(width), int(height)};

    for (int i = 0; i <= kCells; ++i) {
        const int x = kLeftBand + i * (cellWidth_ + 1), y = kTopBand + i * (cellHeight_ + 1);
        sheet.fillRect(x, kTopBand, x + 1, height, kGrid);
        sheet.fillRect(kLeftBand, y, width, y + 1, kGrid);
    }
    for (int i = 0; i < kCells; ++i) {
        const QString column = hexDigit(i), row = hexDigit(i) + QStringLiteral("_");
        const QSize columnSize = raster::Raster::measureText(column), rowSize = raster::Raster::measureText(row);
        sheet.drawText(kLeftBand + i * (cellWidth_ + 1) + 1 + (cellWidth_ - columnSize.width()) / 2,
                       (kTopBand - columnSize.height()) / 2, column, kLabel);
        sheet.drawText((kLeftBand - rowSize.width()) / 2,
                       kTopBand + i * (cellHeight_ + 1) + 1 + (cellHeight_ - rowSize.height()) / 2, row, kLabel);
    }

    for (int code = 0; code < font::GlyphTable::kSize; ++code) {
        const font::tGraphChar &glyph = glyphs_[code];
        const QPoint origin = glyphOrigin(code);
        const QPoint cell = origin - QPoint(kPadding, kPadding);
        sheet.fillRect(cell.x(), cell.y(), cell.x() + cellWidth_, cell.y() + cellHeight_,
                       glyph.defined ? kDefinedCell : kEmptyCell);
        if (!glyph.defined)
            continue;
        for (int x = 0; x < glyph.width; ++x)
            for (int y = 0; y < glyph.height; ++y)
                sheet.fillRect(origin.x() + qint64(x) * zoom_, origin.y() + qint64(y) * zoom_,
                               origin.x() + qint64(x + 1) * zoom_, origin.y() + qint64(y + 1) * zoom_,
                               glyph.pixels[size_t(x)][size_t(y)]);
    }
    return sheet;
}

}  // namespace letterloom::cli
