#pragma once

// Small fonts and readable views of layouts and overlays for the text tests.

#include "font/glyph_table.h"
#include "raster/raster.h"
#include "text/line_table.h"

#include <QRegularExpression>
#include <QStringList>
#include <QtGlobal>

namespace letterloom::testing {

// A font from a description of one glyph per blank-separated item:
//   K=W[xH][c]   a defined glyph W wide and H high (1 by default), all colour c
//   K~W[xH][c]   the same, not defined
//   .../IWxIH    with an image of IW x IH pixels instead of W x H
// K is one character or a decimal code of two or more digits; c is '#' black
// (the default), 'r' red or '.' white.
inline font::GlyphTable fontFrom(const QString &description)
{
    static const QRegularExpression item(R"(^(\d{2,}|.)([=~])(\d+)(?:x(\d+))?([#r.]?)(?:/(\d+)x(\d+))?$)");
    font::GlyphTable glyphs;
    for (const QString &part : description.split(' ', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = item.match(part);
        if (!m.hasMatch())
            qFatal("bad glyph description %s", qPrintable(part));
        const QString key = m.captured(1);
        const int code = key.size() == 1 ? key[0].unicode() : key.toInt();
        const int width = m.captured(3).toInt();
        const int height = m.captured(4).isEmpty() ? 1 : m.captured(4).toInt();
        const QString colour = m.captured(5);
        const bool largerImage = !m.captured(6).isEmpty();
        glyphs.setGlyphSize(code, largerImage ? m.captured(6).toInt() : width,
                            largerImage ? m.captured(7).toInt() : height);
        font::tGraphChar &glyph = glyphs[code];
        for (auto &column : glyph.pixels)
            std::fill(column.begin(), column.end(),
                      colour == "r" ? raster::kRed : colour == "." ? raster::kWhite : raster::kBlack);
        font::syncImage(glyph);
        glyph.defined = m.captured(2) == "=";
        glyph.width = width;
        glyph.height = height;
    }
    return glyphs;
}

// One line per record: "[word][word] width,width L<lineWidth> g<gap>", "-"
// for no words; control characters as <code>, long words as their length.
inline QStringList describe(const text::LineTable &lines)
{
    QStringList out;
    for (const text::TextLine &line : lines) {
        QString words;
        for (const QByteArray &word : line.words()) {
            QString shown;
            for (char c : word)
                shown += uchar(c) > 32 && uchar(c) < 127 ? QString(QChar(c)) : QStringLiteral("<%1>").arg(uchar(c));
            words += '[' + (word.size() > 32 ? QStringLiteral("%1 chars").arg(word.size()) : shown) + ']';
        }
        QStringList widths;
        for (std::int32_t w : line.wordWidths())
            widths << QString::number(w);
        out << QStringLiteral("%1 %2 L%3 g%4")
                   .arg(words.isEmpty() ? "-" : words, widths.isEmpty() ? "-" : widths.join(','))
                   .arg(line.lineWidth)
                   .arg(line.gap);
    }
    return out;
}

// The runs of equal non-white colour along row N ("rN") or column N ("cN"),
// as "first-last" and '#' black, 'r' red or '?' another colour.
inline QString runs(const raster::Raster &overlay, const QString &probe)
{
    const bool row = probe.startsWith('r');
    const int at = probe.mid(1).toInt();
    const int length = row ? overlay.width() : overlay.height();
    QStringList out;
    for (int i = 0; i < length;) {
        const raster::Colour colour = row ? overlay.pixel(i, at) : overlay.pixel(at, i);
        int end = i + 1;
        while (end < length && (row ? overlay.pixel(end, at) : overlay.pixel(at, end)) == colour)
            ++end;
        if (colour != raster::kWhite)
            out << QStringLiteral("%1-%2%3").arg(i).arg(end - 1).arg(
                       colour == raster::kBlack ? '#' : colour == raster::kRed ? 'r' : '?');
        i = end;
    }
    return out.join(' ');
}

}  // namespace letterloom::testing
