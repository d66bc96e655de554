#include "text/render.h"

#include "base/error.h"

#include <algorithm>

namespace letterloom::text {

namespace {

using raster::Raster;

constexpr int kSpace = 32;

// The overlay takes the size of the text area. An area without pixels (a side
// of 0 or below) gives an empty overlay whatever its other side; one the
// program cannot hold is refused before anything is allocated.
void sizeOverlay(Raster &overlay, std::int32_t areaWidth, std::int32_t areaHeight)
{
    const int width = std::max(areaWidth, 0);
    const int height = std::max(areaHeight, 0);
    // A raster made from nothing is white already; one resized keeps pixels.
    const bool fresh = overlay.isEmpty();
    if (Raster::sizeAllowed(width, height))
        overlay.setSize(width, height);
    else if (width == 0 || height == 0)
        overlay.setSize(0, 0);
    else
        throw Error(QStringLiteral("Text area is too large"));
    if (!fresh)
        overlay.fill(raster::kWhite);
}

// Draws the glyphs of one line onto the overlay. Positions are 64-bit: the
// widths of a long line or a huge line spacing from a file cannot wrap around
// into the visible area.
class LinePen {
public:
    LinePen(Raster &overlay, const font::GlyphTable &glyphs, std::int64_t baseline, std::int64_t tracking,
            const font::Kerning *kerning)
        : overlay_(overlay), glyphs_(glyphs), baseline_(baseline), tracking_(tracking),
          kerning_(kerning && !kerning->isEmpty() ? kerning : nullptr)
    {
    }

    // Left to right from x, moving on by each glyph's width (and between two
    // characters of a word by the tracking and their kerning) and by
    // afterWord after every word, the last one included.
    void forward(const TextLine &line, std::int64_t x, std::int64_t afterWord)
    {
        for (qsizetype w = 0; w < line.wordCount(); ++w) {
            const QByteArrayView word = line.word(w);
            for (qsizetype i = 0; i < word.size(); ++i) {
                const font::tGraphChar &glyph = glyphOf(word[i]);
                draw(glyph, x);
                x += glyph.width;
                if (i + 1 < word.size())
                    x += between(word[i], word[i + 1]);
            }
            x += afterWord;
        }
    }

    // Right to left from x, the same steps backwards: each glyph first moves
    // x left by its width and is drawn there, so the line's last glyph ends
    // at the starting x.
    void backward(const TextLine &line, std::int64_t x, std::int64_t afterWord)
    {
        for (qsizetype w = line.wordCount() - 1; w >= 0; --w) {
            const QByteArrayView word = line.word(w);
            for (qsizetype i = word.size() - 1; i >= 0; --i) {
                if (i + 1 < word.size())
                    x -= between(word[i], word[i + 1]);
                const font::tGraphChar &glyph = glyphOf(word[i]);
                x -= glyph.width;
                draw(glyph, x);
            }
            x -= afterWord;
        }
    }

private:
    std::int64_t between(char left, char right) const
    {
        return tracking_ + (kerning_ ? kerning_->amount(std::uint8_t(left), std::uint8_t(right)) : 0);
    }

    const font::tGraphChar &glyphOf(char c) const { return glyphs_[static_cast<unsigned char>(c)]; }

    // The image at its own size, its bottom `height` rows standing on the
    // baseline; every pixel, white included, replaces what is below.
    void draw(const font::tGraphChar &glyph, std::int64_t x)
    {
        overlay_.drawOpaque(glyph.image, x, baseline_ - glyph.height);
    }

    Raster &overlay_;
    const font::GlyphTable &glyphs_;
    const std::int64_t baseline_;
    const std::int64_t tracking_;
    const font::Kerning *const kerning_;
};

}  // namespace

void RenderLines(const LineTable &lines, std::int32_t areaWidth, std::int32_t areaHeight,
                 std::int32_t lineSpacing, std::uint8_t alignment, const font::GlyphTable &glyphs,
                 raster::Raster &overlay, const Spacing &spacing, const font::Kerning *kerning)
{
    sizeOverlay(overlay, areaWidth, areaHeight);

    // Rendering advances by glyph 32's width whether or not it is defined.
    const std::int64_t spaceAdvance = std::int64_t(glyphs[kSpace].width) + spacing.wordSpacing;
    const std::int64_t pitch = std::int64_t(lineSpacing) + 2;
    const std::int64_t width = areaWidth;
    std::int64_t baseline = 2;
    for (const TextLine line : lines) {
        baseline += pitch;
        LinePen pen(overlay, glyphs, baseline, spacing.tracking, kerning);
        switch (alignment) {
        case kAlignLeft:
            pen.forward(line, 2, spaceAdvance);
            break;
        case kAlignCentre:
            pen.forward(line, (width - line.lineWidth) / 2 + 2, spaceAdvance);
            break;
        case kAlignRight:
            pen.backward(line, width - 2, spaceAdvance);
            break;
        case kAlignJustify:
            pen.forward(line, 2, line.gap);
            break;
        default:
            break;  // no alignment of this program: the line stays blank
        }
    }
}

void TintOverlay(raster::Raster &overlay, raster::Colour colour)
{
    if (colour == raster::kBlack)
        return;
    // Row by row; only black pixels change.
    const QRgb black = raster::toQRgb(raster::kBlack), tinted = raster::toQRgb(colour);
    if (overlay.isEmpty())
        return;
    for (int y = 0; y < overlay.height(); ++y) {
        QRgb *row = overlay.scanLine(y);
        for (int x = 0; x < overlay.width(); ++x)
            if ((row[x] & 0xFFFFFFu) == (black & 0xFFFFFFu))
                row[x] = tinted;
    }
}

Notice RefreshText(const QByteArray &text, const TextSettings &settings, const font::GlyphTable &glyphs,
                   LineTable &lines, raster::Raster &overlay, const font::Kerning *kerning)
{
    ClearLineTable(lines);
    const Notice notice = LayoutText(text, settings.areaWidth, settings.areaHeight, settings.lineSpacing, glyphs,
                                     lines, settings.spacing, kerning);
    RenderLines(lines, settings.areaWidth, settings.areaHeight, settings.lineSpacing, settings.alignment, glyphs,
                overlay, settings.spacing, kerning);
    TintOverlay(overlay, settings.colour);
    return notice;
}

}  // namespace letterloom::text
