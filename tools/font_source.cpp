#include "font_source.h"

#include "base/error.h"

#include <QList>
#include <QRegularExpression>

#include <map>
#include <set>

namespace letterloom::tools {

namespace {

class SourceReader {
public:
    SourceReader(const QByteArray &source, const QString &name) : lines_(source.split('\n')), name_(name)
    {
        if (source.endsWith('\n'))
            lines_.removeLast();  // the line break ends the last line, it starts none
    }

    font::GlyphTable read()
    {
        while (nextStatement()) {
            if (statement_ == "palette")
                readPalette();
            else if (statement_.startsWith("glyph "))
                readGlyph();
            else
                fail(QStringLiteral("expected \"palette\" or \"glyph CODE WxH\""));
        }
        return glyphs_;
    }

private:
    [[noreturn]] void fail(const QString &what) const
    {
        throw Error(QStringLiteral("%1:%2: %3").arg(name_).arg(lineNumber_).arg(what));
    }

    // The next line as it stands, without its line break.
    bool nextRow(QByteArray &row)
    {
        if (lineNumber_ >= lines_.size())
            return false;
        row = lines_[lineNumber_++];
        if (row.endsWith('\r'))
            row.chop(1);
        return true;
    }

    // The next line that says something, comments and blanks removed.
    bool nextStatement()
    {
        QByteArray line;
        while (nextRow(line)) {
            const qsizetype comment = line.indexOf("//");
            statement_ = (comment < 0 ? line : line.left(comment)).simplified();
            if (!statement_.isEmpty())
                return true;
        }
        return false;
    }

    void readPalette()
    {
        static const QRegularExpression entry(QStringLiteral("^(\\S) ([0-9A-Fa-f]{6})$"));
        while (nextStatement() && statement_ != "end") {
            const QRegularExpressionMatch match = entry.match(QString::fromLatin1(statement_));
            if (!match.hasMatch())
                fail(QStringLiteral("expected a palette entry \"C RRGGBB\" or \"end\""));
            const char key = statement_[0];
            const uint value = match.captured(2).toUInt(nullptr, 16);
            palette_[key] = raster::rgb(int(value >> 16), int(value >> 8), int(value));
        }
        if (statement_ != "end")
            fail(QStringLiteral("the palette has no \"end\""));
    }

    void readGlyph()
    {
        static const QRegularExpression header(QStringLiteral("^glyph (\\d+) (\\d+)x(\\d+)$"));
        const QRegularExpressionMatch match = header.match(QString::fromLatin1(statement_));
        if (!match.hasMatch())
            fail(QStringLiteral("expected \"glyph CODE WxH\""));
        const int code = match.captured(1).toInt();
        const int width = match.captured(2).toInt(), height = match.captured(3).toInt();
        if (code > 255)
            fail(QStringLiteral("glyph code %1 is not from 0 to 255").arg(match.captured(1)));
        if (width > font::kMaxGlyphSide || height > font::kMaxGlyphSide)
            fail(QStringLiteral("glyph %1 is larger than %2 pixels a side").arg(code).arg(font::kMaxGlyphSide));
        if (!seen_.insert(code).second)
            fail(QStringLiteral("glyph %1 is drawn twice").arg(code));

        font::tGraphChar &glyph = glyphs_[code];
        glyph.defined = 1;
        font::resizeGlyph(glyph, width, height);
        for (int y = 0; y < height; ++y) {
            QByteArray row;
            if (!nextRow(row))
                fail(QStringLiteral("glyph %1 ends after %2 of its %3 rows").arg(code).arg(y).arg(height));
            if (row.size() != width)
                fail(QStringLiteral("row of %1 characters; glyph %2 is %3 wide").arg(row.size()).arg(code).arg(width));
            for (int x = 0; x < width; ++x) {
                const auto colour = palette_.find(row[x]);
                if (colour == palette_.end())
                    fail(QStringLiteral("'%1' is not in the palette").arg(QChar::fromLatin1(row[x])));
                glyph.pixels[size_t(x)][size_t(y)] = colour->second;
            }
        }
        font::syncImage(glyph);
    }

    QList<QByteArray> lines_;
    QString name_;
    qsizetype lineNumber_ = 0;  // of the line read last, counted from 1
    QByteArray statement_;
    std::map<char, raster::Colour> palette_;
    std::set<int> seen_;
    font::GlyphTable glyphs_;
};

}  // namespace

font::GlyphTable parseFontSource(const QByteArray &source, const QString &name)
{
    return SourceReader(source, name).read();
}

}  // namespace letterloom::tools
