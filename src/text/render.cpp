#include "text/render.h"

#include "base/error.h"

#include <algorithm>
#include <array>

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

// Tracking, word spacing and kerning can pull a glyph onto its neighbour:
// with any of them in use a line's glyphs are layered (LinePen).
bool spacingInUse(const Spacing &spacing, const font::Kerning *kerning)
{
    return spacing.any() || (kerning && !kerning->isEmpty());
}

// Where a line pen puts its glyphs: into the overlay, each glyph replacing
// what is below it (white included) except where layering keeps earlier
// glyphs, or straight onto the picture (PictureCanvas below).
class OverlayCanvas {
public:
    OverlayCanvas(Raster &overlay, bool layered) : overlay_(overlay), layered_(layered) {}

    // The image at (x, top); on a layered line its white leaves alone what
    // earlier glyphs of the line drew (the box around them).
    void draw(const Raster &image, std::int64_t x, std::int64_t top)
    {
        const std::int64_t right = x + image.width();
        const std::int64_t bottom = top + image.height();
        if (layered_ && inkRight_ > inkLeft_ && x < inkRight_ && right > inkLeft_)
            overlay_.drawOpaqueLeavingOutWithin(image, x, top, raster::kWhite, inkLeft_, inkTop_, inkRight_,
                                                inkBottom_);
        else
            overlay_.drawOpaque(image, x, top);
        if (!layered_ || image.isEmpty())
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

    // A new line: nothing drawn on it yet.
    void startLine() { inkLeft_ = inkRight_ = 0; }

private:
    Raster &overlay_;
    const bool layered_;
    // The box the line's glyphs have drawn into so far (none while
    // inkRight_ <= inkLeft_).
    std::int64_t inkLeft_ = 0;
    std::int64_t inkRight_ = 0;
    std::int64_t inkTop_ = 0;
    std::int64_t inkBottom_ = 0;
};

// Glyphs drawn onto the picture, tinted, leaving out white, inside the
// area's rectangle: what the overlay would show there once tinted and drawn
// onto the picture, as long as no two glyphs share a pixel.
class PictureCanvas {
public:
    PictureCanvas(Raster &picture, std::int64_t areaX, std::int64_t areaY, std::int32_t width, std::int32_t height,
                  raster::Colour colour)
        : picture_(picture), areaX_(areaX), areaY_(areaY), right_(areaX + width), bottom_(areaY + height),
          colour_(colour)
    {
    }

    void draw(const Raster &image, std::int64_t x, std::int64_t top)
    {
        picture_.drawTintedWithin(image, areaX_ + x, areaY_ + top, colour_, areaX_, areaY_, right_, bottom_);
    }
    void startLine() {}

private:
    Raster &picture_;
    const std::int64_t areaX_, areaY_, right_, bottom_;
    const raster::Colour colour_;
};

// Draws the glyphs of one line onto a canvas. Positions are 64-bit: the
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
template <typename Canvas>
class LinePen {
public:
    LinePen(Canvas &canvas, const font::GlyphTable &glyphs, const Spacing &spacing, const font::Kerning *kerning)
        : canvas_(canvas), glyphs_(glyphs), tracking_(spacing.tracking),
          kerning_(kerning && !kerning->isEmpty() ? kerning : nullptr), layered_(spacingInUse(spacing, kerning))
    {
    }

    // Left to right from x, moving on by each glyph's width (and between two
    // characters of a word by the tracking and their kerning) and by
    // afterWord after every word, the last one included.
    void forward(const TextLine &line, std::int64_t baseline, std::int64_t x, std::int64_t afterWord)
    {
        canvas_.startLine();
        for (qsizetype w = 0; w < line.wordCount(); ++w) {
            const QByteArrayView word = line.word(w);
            for (qsizetype i = 0; i < word.size(); ++i) {
                const font::tGraphChar &glyph = glyphOf(word[i]);
                draw(glyph, x, baseline);
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
    void backward(const TextLine &line, std::int64_t baseline, std::int64_t x, std::int64_t afterWord)
    {
        canvas_.startLine();
        for (qsizetype w = line.wordCount() - 1; w >= 0; --w) {
            const QByteArrayView word = line.word(w);
            for (qsizetype i = word.size() - 1; i >= 0; --i) {
                if (i + 1 < word.size())
                    x -= between(word[i], word[i + 1]);
                const font::tGraphChar &glyph = glyphOf(word[i]);
                x -= glyph.width;
                if (!layered_)
                    draw(glyph, x, baseline);
            }
            if (w > 0)
                x -= afterWord;
        }
        if (layered_)
            forward(line, baseline, x, afterWord);
    }

private:
    std::int64_t between(char left, char right) const
    {
        return tracking_ + (kerning_ ? kerning_->amount(std::uint8_t(left), std::uint8_t(right)) : 0);
    }

    const font::tGraphChar &glyphOf(char c) const { return glyphs_[static_cast<unsigned char>(c)]; }

    // The image at its own size, its bottom `height` rows standing on the
    // baseline.
    void draw(const font::tGraphChar &glyph, std::int64_t x, std::int64_t baseline)
    {
        canvas_.draw(glyph.image, x, baseline - glyph.height);
    }

    Canvas &canvas_;
    const font::GlyphTable &glyphs_;
    const std::int64_t tracking_;
    const font::Kerning *const kerning_;
    const bool layered_;
};

// Every line at the place its alignment gives.
template <typename Canvas>
void drawLines(const LineTable &lines, std::int32_t areaWidth, std::int32_t lineSpacing, std::uint8_t alignment,
               const font::GlyphTable &glyphs, Canvas &canvas, const Spacing &spacing, const font::Kerning *kerning)
{
    // Rendering advances by glyph 32's width whether or not it is defined.
    const std::int64_t spaceAdvance = std::int64_t(glyphs[kSpace].width) + spacing.wordSpacing;
    const std::int64_t pitch = std::int64_t(lineSpacing) + 2;
    const std::int64_t width = areaWidth;
    LinePen<Canvas> pen(canvas, glyphs, spacing, kerning);
    std::int64_t baseline = 2;
    for (const TextLine line : lines) {
        baseline += pitch;
        switch (alignment) {
        case kAlignLeft:
            pen.forward(line, baseline, 2, spaceAdvance);
            break;
        case kAlignCentre:
            pen.forward(line, baseline, (width - line.lineWidth) / 2 + 2, spaceAdvance);
            break;
        case kAlignRight:
            pen.backward(line, baseline, width - 2, spaceAdvance);
            break;
        case kAlignJustify:
            pen.forward(line, baseline, 2, line.gap);
            break;
        default:
            break;  // no alignment of this program: the line stays blank
        }
    }
}

// True when two glyph images of the lines may cover the same pixel, so that
// which one shows there depends on the order they are drawn in (in the
// overlay a later glyph's white hides an earlier glyph): only drawing into
// the overlay gives its pixels then. Lines of plain widths never meet
// when each image is at most as wide as its glyph's advance and their rows
// lie closer together than the line pitch.
bool glyphsMayMeet(const LineTable &lines, const TextSettings &settings, const font::GlyphTable &glyphs,
                   const font::Kerning *kerning)
{
    if (spacingInUse(settings.spacing, kerning))
        return true;
    if (settings.alignment == kAlignJustify) {
        for (const TextLine line : lines)
            if (line.gap < 0)
                return true;
    } else if (glyphs[kSpace].width < 0) {
        return true;
    }
    std::array<bool, font::GlyphTable::kSize> used{};
    for (const TextLine line : lines)
        for (qsizetype w = 0; w < line.wordCount(); ++w)
            for (const char c : line.word(w))
                used[std::uint8_t(c)] = true;
    // The rows an image covers, from its baseline: -height to its bottom.
    std::int64_t top = 0, bottom = 0;
    bool inked = false;
    for (int code = 0; code < font::GlyphTable::kSize; ++code) {
        if (!used[std::size_t(code)])
            continue;
        const font::tGraphChar &glyph = glyphs[code];
        if (glyph.width < 0)
            return true;
        if (glyph.image.isEmpty())
            continue;
        if (glyph.image.width() > glyph.width)
            return true;
        const std::int64_t imageTop = -std::int64_t(glyph.height);
        const std::int64_t imageBottom = imageTop + glyph.image.height();
        top = inked ? std::min(top, imageTop) : imageTop;
        bottom = inked ? std::max(bottom, imageBottom) : imageBottom;
        inked = true;
    }
    return inked && lines.size() > 1 && std::int64_t(settings.lineSpacing) + 2 < bottom - top;
}

}  // namespace

void RenderLines(const LineTable &lines, std::int32_t areaWidth, std::int32_t areaHeight,
                 std::int32_t lineSpacing, std::uint8_t alignment, const font::GlyphTable &glyphs,
                 raster::Raster &overlay, const Spacing &spacing, const font::Kerning *kerning)
{
    sizeOverlay(overlay, areaWidth, areaHeight);
    OverlayCanvas canvas(overlay, spacingInUse(spacing, kerning));
    drawLines(lines, areaWidth, lineSpacing, alignment, glyphs, canvas, spacing, kerning);
}

bool DrawLinesOnto(raster::Raster &picture, std::int64_t areaX, std::int64_t areaY, const LineTable &lines,
                   const TextSettings &settings, const font::GlyphTable &glyphs, const font::Kerning *kerning)
{
    if (settings.areaWidth > 0 && settings.areaHeight > 0
        && !Raster::sizeAllowed(settings.areaWidth, settings.areaHeight))
        throw Error(QStringLiteral("Text area is too large"));
    if (glyphsMayMeet(lines, settings, glyphs, kerning))
        return false;
    if (settings.areaWidth <= 0 || settings.areaHeight <= 0)
        return true;  // an empty overlay: nothing shows
    PictureCanvas canvas(picture, areaX, areaY, settings.areaWidth, settings.areaHeight, settings.colour);
    drawLines(lines, settings.areaWidth, settings.lineSpacing, settings.alignment, glyphs, canvas, settings.spacing,
              kerning);
    return true;
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
