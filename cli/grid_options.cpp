#include "grid_options.h"

#include "cli.h"
#include "project_input.h"

#include <QRegularExpression>

namespace letterloom::cli {

namespace {

const QStringList kGridOptions = {"cell", "margin", "gap", "columns", "first", "chars", "background",
                                  "ink", "spacing", "space-width", "no-trim"};

// Two whole numbers joined by a separator: "8x16", "2,1".
std::pair<int, int> numberPair(const CommandLine &line, const QString &option, const QString &separator,
                               const QString &example)
{
    static const QRegularExpression pair(QStringLiteral("^(\\d{1,6})([x,])(\\d{1,6})$"));
    const QRegularExpressionMatch match = pair.match(line.value(option).trimmed().toLower());
    if (!match.hasMatch() || match.captured(2) != separator)
        throw UsageError(QStringLiteral("--%1 takes two whole numbers as %2, not '%3'")
                             .arg(option, example, line.value(option)));
    return {match.captured(1).toInt(), match.captured(3).toInt()};
}

int wholeNumber(const CommandLine &line, const QString &option, int low, int high)
{
    bool ok = false;
    const int value = line.value(option).toInt(&ok);
    if (!ok || value < low || value > high)
        throw UsageError(QStringLiteral("--%1 takes a whole number from %2 to %3, not '%4'")
                             .arg(option).arg(low).arg(high).arg(line.value(option)));
    return value;
}

std::optional<raster::Colour> colourOption(const CommandLine &line, const QString &option)
{
    if (!line.isSet(option))
        return std::nullopt;
    const std::optional<raster::Colour> colour = parseColour(line.value(option));
    if (!colour)
        throw UsageError(QStringLiteral("--%1 takes six hex digits, RRGGBB (red first), not '%2'")
                             .arg(option, line.value(option)));
    return colour;
}

}  // namespace

void addGridOptions(CommandLine &line)
{
    auto option = [&line](const char *name, const char *description, const char *value = nullptr) {
        line.addOption(value ? QCommandLineOption(QLatin1String(name), QLatin1String(description), QLatin1String(value))
                             : QCommandLineOption(QLatin1String(name), QLatin1String(description)));
    };
    option("cell", "The size of a cell in pixels, as WIDTHxHEIGHT.", "WxH");
    option("margin", "The left and the top margin before the first cell (default 0,0).", "X,Y");
    option("gap", "The horizontal and the vertical gap between cells (default 0,0).", "X,Y");
    option("columns", "Cells in a row (default: as many as fit; 16 when drawing).", "N");
    option("first", "The code of the first cell; the others follow up to 255 (default 32).", "CODE");
    option("chars", "The characters of the cells in order, instead of --first, read through the\n"
                    "font's character map (--map), the longest entry first.", "TEXT");
    option("background", "The background colour, RRGGBB, which reads as white (default: the top-left\n"
                         "pixel when reading, a colour no glyph uses when drawing).", "RRGGBB");
    option("ink", "The ink colour, RRGGBB, which reads as black (default: the most common\n"
                  "colour of the cells when reading, black when drawing).", "RRGGBB");
    option("spacing", "Columns added after a trimmed glyph (default 1).", "N");
    option("space-width", "The width of an empty space (default half the cell width).", "N");
    option("no-trim", "Make every glyph as wide as its cell.");
}

bool anyGridOption(const CommandLine &line)
{
    return std::any_of(kGridOptions.begin(), kGridOptions.end(), [&](const QString &name) { return line.isSet(name); });
}

font::GridImportSettings gridOptions(const CommandLine &line, const font::CharMap &map)
{
    font::GridImportSettings settings;
    settings.charMap = map;
    font::GridLayout &grid = settings.grid;
    grid.cellWidth = grid.cellHeight = 0;
    if (line.isSet(QStringLiteral("cell"))) {
        std::tie(grid.cellWidth, grid.cellHeight) = numberPair(line, QStringLiteral("cell"), QStringLiteral("x"), QStringLiteral("WIDTHxHEIGHT, such as 8x16"));
        if (grid.cellWidth < 1 || grid.cellHeight < 1 || grid.cellWidth > font::kMaxGlyphSide ||
            grid.cellHeight > font::kMaxGlyphSide)
            throw UsageError(QStringLiteral("--cell takes sides from 1 to %1, not '%2'")
                                 .arg(font::kMaxGlyphSide).arg(line.value(QStringLiteral("cell"))));
    }
    if (line.isSet(QStringLiteral("margin")))
        std::tie(grid.marginX, grid.marginY) = numberPair(line, QStringLiteral("margin"), QStringLiteral(","), QStringLiteral("X,Y, such as 2,1"));
    if (line.isSet(QStringLiteral("gap")))
        std::tie(grid.gapX, grid.gapY) = numberPair(line, QStringLiteral("gap"), QStringLiteral(","), QStringLiteral("X,Y, such as 2,1"));
    if (grid.marginX > font::kMaxGridSpan || grid.marginY > font::kMaxGridSpan || grid.gapX > font::kMaxGridSpan ||
        grid.gapY > font::kMaxGridSpan)
        throw UsageError(QStringLiteral("--margin and --gap take up to %1 pixels").arg(font::kMaxGridSpan));
    if (line.isSet(QStringLiteral("columns")))
        grid.columns = wholeNumber(line, QStringLiteral("columns"), 1, font::kMaxGridSpan);

    if (line.isSet(QStringLiteral("first")) && line.isSet(QStringLiteral("chars")))
        throw UsageError(QStringLiteral("--first and --chars both give the cells' codes: use one"));
    if (line.isSet(QStringLiteral("first")))
        settings.codes = font::consecutiveCodes(wholeNumber(line, QStringLiteral("first"), 0, 255));
    if (line.isSet(QStringLiteral("chars"))) {
        const QString characters = line.value(QStringLiteral("chars"));
        if (characters.isEmpty())
            throw UsageError(QStringLiteral("--chars takes at least one character"));
        QStringList lost;
        settings.codes = font::codesOfCharacters(characters, map, &lost);
        if (!lost.isEmpty())
            printMessage(QStringLiteral("Not in the character map, their cells left out: %1").arg(lost.join(QStringLiteral(", "))));
    }

    settings.background = colourOption(line, QStringLiteral("background"));
    settings.ink = colourOption(line, QStringLiteral("ink"));
    if (line.isSet(QStringLiteral("spacing")))
        settings.spacing = wholeNumber(line, QStringLiteral("spacing"), 0, font::kMaxGlyphSide);
    if (line.isSet(QStringLiteral("space-width")))
        settings.spaceWidth = wholeNumber(line, QStringLiteral("space-width"), 1, font::kMaxGlyphSide);
    settings.trim = !line.isSet(QStringLiteral("no-trim"));
    return settings;
}

}  // namespace letterloom::cli
