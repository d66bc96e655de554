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
//
// With plain widths no two glyphs of a line share a column, and every glyph
// replaces what is below it, white included: that is how lines that overlap
// (a negative line spacing) have always been drawn. Tracking, word spacing
// and kerning can pull a glyph onto its neighbour; with any of them in use
// the line is drawn left to right and a glyph's white pixels never cover a
// glyph drawn before it on the line, so "AV" kerned tight keeps both letters
// whole and the later letter lies on top where both have ink.
class LinePen {
public:
    LinePen(Raster &overlay, const font::GlyphTable &glyphs, std::int64_t baseline, const Spacing &spacing,
            const font::Kerning *kerning)
        : overlay_(overlay), glyphs_(glyphs), baseline_(baseline), tracking_(spacing.tracking),
          kerning_(kerning && !kerning->isEmpty() ? kerning : nullptr), layered_(spacing.any() || kerning_)
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

    // Right to left from x, the same steps backwards: the line's last glyph
    // ends at x. Each glyph first moves x left by its width and is drawn
    // there; a layered line is drawn forward from where those steps end.
    void backward(const TextLine &line, std::int64_t x, std::int64_t afterWord)
    {
        for (qsizetype w = line.wordCount() - 1; w >= 0; --w) {
            const QByteArrayView word = line.word(w);
            for (qsizetype i = word.size() - 1; i >= 0; --i) {
                if (i + 1 < word.size())
                    x -= between(word[i], word[i + 1]);
                const font::tGraphChar &glyph = glyphOf(word[i]);
                x -= glyph.width;
                if (!layered_)
                    draw(glyph, x);
            }
            if (w > 0)
                x -= afterWord;
        }
        if (layered_)
            forward(line, x, afterWord);
    }

private:
    std::int64_t between(char left, char right) const
    {
        return tracking_ + (kerning_ ? kerning_->amount(std::uint8_t(left), std::uint8_t(right)) : 0);
    }

    const font::tGraphChar &glyphOf(char c) const { return glyphs_[static_cast<unsigned char>(c)]; }

    // The image at its own size, its bottom `height` rows standing on the
    // baseline; every pixel replaces what is below, white included, except
    // that on a layered line white leaves alone what earlier glyphs drew
    // (the box around them).
    void draw(const font::tGraphChar &glyph, std::int64_t x)
    {
        const std::int64_t top = baseline_ - glyph.height;
        const std::int64_t right = x + glyph.image.width();
        const std::int64_t bottom = top + glyph.image.height();
        if (layered_ && inkRight_ > inkLeft_ && x < inkRight_ && right > inkLeft_)
            overlay_.drawOpaqueLeavingOutWithin(glyph.image, x, top, raster::kWhite, inkLeft_, inkTop_, inkRight_,
                                                inkBottom_);
        else
            overlay_.drawOpaque(glyph.image, x, top);
        if (!layered_ || glyph.image.isEmpty())
            return;
        if (inkRight_ <= inkLeft_) {
            inkLeft_ = x;
            inkRight_ = right;
            inkTop_ = top;
            inkBottom_ = bottom;
        } else {
            inkLeft_ = std::min(inkLeft_, x);
            inkRight_ = std::max(inkRight_, right);
            inkTop_ = std::min(inkTop_, top);
            inkBottom_ = std::max(inkBottom_, bottom);
        }
    }

    Raster &overlay_;
    const font::GlyphTable &glyphs_;
    const std::int64_t baseline_;
    const std::int64_t tracking_;
    const font::Kerning *const kerning_;
    const bool layered_;
    // The box the line's glyphs have drawn into so far (none while
    // inkRight_ <= inkLeft_).
    std::int64_t inkLeft_ = 0;
    std::int64_t inkRight_ = 0;
    std::int64_t inkTop_ = 0;
    std::int64_t inkBottom_ = 0;
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
        LinePen pen(overlay, glyphs, baseline, spacing, kerning);
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
