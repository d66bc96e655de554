// The commands that lay text out in a project's text areas: render, layout, fit.

#include "cli.h"
#include "command_line.h"
#include "effect_options.h"
#include "json.h"
#include "map_option.h"
#include "project_input.h"
#include "font_formats.h"
#include "text_file.h"

#include "base/error.h"
#include "base/file_io.h"
#include "project/project_file.h"
#include "project/compose_view.h"
#include "project/text_areas.h"
#include "text/fit_search.h"
#include "text/layout.h"
#include "text/overflow.h"

#include <QFileInfo>

#include <memory>
#include <optional>

namespace letterloom::cli {

namespace {

const QString kTextOption = QStringLiteral("text");
const QString kTextBytesOption = QStringLiteral("text-bytes");
const QString kFontOption = QStringLiteral("font");
const QString kAreaOption = QStringLiteral("area");
const QString kSuggestOption = QStringLiteral("suggest");
const QString kAltFontOption = QStringLiteral("alt-font");
const QString kFloorOption = QStringLiteral("floor");
const QString kApplyOption = QStringLiteral("apply");
const QString kOutputOption = QStringLiteral("output");

void addInputOptions(CommandLine &line)
{
    line.addArgument(QStringLiteral("PROJECT"), QStringLiteral("The project file (.llp)."));
    line.addOption({kTextOption, QStringLiteral("Lay out the text of FILE instead of the project's, read as Load Text "
                                                "reads it: a UTF-8 file through the character map, any other file "
                                                "(and every file without a map) byte for byte; LF and lone CR line "
                                                "breaks count as CR LF. - (or a pipe) reads stdin."),
                    QStringLiteral("FILE")});
    line.addOption({kTextBytesOption, QStringLiteral("As --text, but the bytes of FILE are the codes as they are."),
                    QStringLiteral("FILE")});
    line.addOption({kFontOption, QStringLiteral("Use the font of FILE (.llf, .bdf, .fnt or .psf) instead of the project's."),
                    QStringLiteral("FILE.llf")});
    line.addOption({kAreaOption, QStringLiteral("Work on text area N only, counted from 1 (default: every area of the "
                                                "project). With several areas, --text needs it."),
                    QStringLiteral("N")});
    addMapOption(line);
    addSpacingOptions(line);
}

// The text file given with --text or --text-bytes; empty when neither is.
QString textFileOf(const CommandLine &line)
{
    if (line.isSet(kTextOption) && line.isSet(kTextBytesOption))
        throw UsageError(QStringLiteral("give --text or --text-bytes, not both"));
    return line.isSet(kTextBytesOption) ? line.value(kTextBytesOption) : line.value(kTextOption);
}

ProjectInput openInput(const CommandLine &line)
{
    InputFiles files;
    files.textFile = textFileOf(line);
    files.textBytes = line.isSet(kTextBytesOption);
    files.fontFile = line.value(kFontOption);
    files.map = mapOption(line);
    return openProject(line.argument(0), files);
}

// The areas a command works on: every area of the project, or the one that
// --area names. Text given with --text replaces the text of that area (of
// the only one), which with several areas --area must name.
std::vector<project::AreaText> chosenAreas(const CommandLine &line, const ProjectInput &input, bool textReplaces)
{
    std::vector<project::AreaText> areas = input.areas;
    if (line.isSet(kAreaOption)) {
        bool ok = false;
        const int number = line.value(kAreaOption).toInt(&ok);
        if (!ok || number < 1)
            throw UsageError(QStringLiteral("--area takes a whole number from 1, not '%1'").arg(line.value(kAreaOption)));
        if (size_t(number) > areas.size())
            throw Error(QStringLiteral("The project has %1 text area%2: there is no area %3")
                            .arg(areas.size()).arg(areas.size() == 1 ? "" : "s").arg(number));
        areas = {areas[size_t(number) - 1]};
    } else if (textReplaces && input.textGiven && areas.size() > 1)
        throw UsageError(QStringLiteral("The project has %1 text areas: give --area N to say whose text --text replaces")
                             .arg(areas.size()));
    if (textReplaces && input.textGiven)
        areas.front().text = input.text;
    for (project::AreaText &area : areas)
        area.spacing = spacingOf(line, area.spacing);
    return areas;
}

// The exit status for what ended the layouts; each notice goes to stderr,
// naming its area when there are several.
int reportNotices(const std::vector<text::Notice> &notices)
{
    const QString notice = project::areasNotice(notices);
    if (notice.isEmpty())
        return kExitOk;
    for (const QString &message : notice.split(u'\n'))
        printMessage(message);
    return kExitNotice;
}

text::Notice layOut(const QByteArray &text, const project::AreaText &area, const project::Workspace &workspace,
                    text::LineTable &lines)
{
    return project::layOutText(text, project::textSettingsOf(area), workspace.glyphs, &workspace.fontExtras.kerning,
                               lines);
}

// How far text misses the area, after layOut filled the workspace's lines
// with it and returned notice.
text::Overflow overflowOf(const QByteArray &text, text::Notice notice, const project::AreaText &area,
                          const project::Workspace &workspace)
{
    return text::MeasureOverflow(text, notice, workspace.lines, area.rect.width, area.rect.height, area.lineSpacing,
                                 workspace.glyphs, area.spacing, &workspace.fontExtras.kerning);
}

const char *noticeName(text::Notice notice)
{
    switch (notice) {
    case text::Notice::Width:
        return "width";
    case text::Notice::Height:
        return "height";
    case text::Notice::None:
        break;
    }
    return "none";
}

// The start of fit's JSON object for one text in one area: the paragraph
// and its first line (for a paragraph of a file), the area's number (when
// given), the notice and by how much the text misses the area. The caller
// adds what else it reports and closes the object.
void openFitObject(QByteArray &json, const Paragraph *paragraph, qint64 number, std::optional<int> areaNumber,
                   text::Notice notice, const text::Overflow &overflow)
{
    json += '{';
    if (paragraph)
        json += "\"paragraph\": " + QByteArray::number(number) + ", \"line\": "
                + QByteArray::number(paragraph->firstLine) + (areaNumber ? ", " : "");
    if (areaNumber)
        json += "\"area\": " + QByteArray::number(*areaNumber);
    json += QByteArray(", \"notice\": \"") + noticeName(notice) + "\", \"overflowPixels\": "
            + QByteArray::number(overflow.pixels) + ", \"overflowLines\": " + QByteArray::number(overflow.lines);
}

// Standard output written in pieces of about 64 KiB, so that a long JSON
// text is never held whole.
class PieceWriter {
public:
    QByteArray &buffer() { return buffer_; }
    // Writes the buffer out once it has grown past a piece.
    void written()
    {
        if (buffer_.size() >= kPiece)
            flush();
    }
    void flush()
    {
        printOut(buffer_);
        buffer_.clear();
    }

private:
    static constexpr qsizetype kPiece = qsizetype(1) << 16;
    QByteArray buffer_;
};

// The JSON object of a line table, a line at a time. Through a character
// map, each line also gives its words' "text".
void printLineTableJson(text::Notice notice, const text::LineTable &lines, const text::Overflow &overflow,
                        const font::CharMap &map, PieceWriter &out)
{
    QByteArray &json = out.buffer();
    json += QByteArray("{\"notice\": \"") + noticeName(notice) + "\",\n \"lines\": [";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const text::TextLine line = lines[i];
        if (i > 0)
            json += ",\n  ";
        json += "{\"words\": [";
        for (qsizetype w = 0; w < line.wordCount(); ++w) {
            if (w > 0)
                json += ", ";
            appendJsonBytes(json, line.word(w));
        }
        json += ']';
        if (!map.isNone()) {
            json += ", \"text\": [";
            for (qsizetype w = 0; w < line.wordCount(); ++w) {
                if (w > 0)
                    json += ", ";
                json += jsonText(map.decode(line.word(w).toByteArray()));
            }
            json += ']';
        }
        json += ", \"wordWidths\": [";
        for (qsizetype w = 0; w < line.wordCount(); ++w) {
            if (w > 0)
                json += ", ";
            json += QByteArray::number(line.wordWidth(w));
        }
        json += "], \"lineWidth\": " + QByteArray::number(line.lineWidth) + ", \"gap\": "
                + QByteArray::number(line.gap) + '}';
        out.written();
    }
    json += "],\n \"overflowPixels\": " + QByteArray::number(overflow.pixels)
            + ", \"overflowLines\": " + QByteArray::number(overflow.lines) + '}';
}

int render(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("render"), QStringLiteral("PROJECT -o OUT.bmp"),
                     QStringLiteral("Opens a project, lays the text of each of its text areas out in it, draws\n"
                                    "them in their colours (or --color) with their effects and writes the picture\n"
                                    "with the text, the picture's size, as a BMP file (a PNG file when OUT ends in\n"
                                    ".png; to stdout as a BMP with -o -). The effect options apply to every\n"
                                    "area drawn.\n"
                                    "Exit status 3 when a text does not fit (the picture is still written)."));
    addInputOptions(line);
    line.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The picture to write: PNG when its name ends in .png, BMP for .bmp or no extension; other extensions are refused. - writes a BMP to stdout."),
                    QStringLiteral("OUT.bmp")});
    line.addOption({QStringLiteral("color"), QStringLiteral("The text colour as RRGGBB in hex, red first (default: the project's, "
                                                            "black when it has none)."),
                    QStringLiteral("RRGGBB")});
    addEffectOptions(line);
    if (!line.parse(arguments))
        return kExitOk;
    const QString output = line.requiredPicture(QStringLiteral("output"));
    std::optional<raster::Colour> colour;
    if (line.isSet(QStringLiteral("color"))) {
        colour = parseColour(line.value(QStringLiteral("color")));
        if (!colour)
            throw UsageError(QStringLiteral("--color takes six hex digits, RRGGBB (red first), not '%1'")
                                 .arg(line.value(QStringLiteral("color"))));
    }
    const text::Effects noEffects;
    effectsOf(line, noEffects);  // a bad value is refused before the project is read
    spacingOf(line, {});

    ProjectInput input = openInput(line);
    project::Workspace &workspace = input.workspace;
    if (workspace.picture.isEmpty())
        throw Error(QStringLiteral("The project has no picture"));
    std::vector<project::AreaText> areas = chosenAreas(line, input, true);
    for (project::AreaText &area : areas) {
        if (colour)
            area.colour = *colour;
        area.effects = effectsOf(line, area.effects);
    }
    const QByteArray first = project::setWorkspaceAreas(workspace, std::move(areas));
    const std::vector<text::Notice> notices = project::ExportOntoPicture(workspace, first, workspace.textColour);
    writePictureOutput(workspace.picture, output);
    return reportNotices(notices);
}

int layout(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("layout"), QStringLiteral("PROJECT --json"),
                     QStringLiteral("Lays a project's text out in its text area and prints the lines as JSON:\n"
                                    "{\"notice\": \"none\"|\"width\"|\"height\", \"lines\": [{\"words\": [...],\n"
                                    "\"wordWidths\": [...], \"lineWidth\": n, \"gap\": n}, ...], \"overflowPixels\": n,\n"
                                    "\"overflowLines\": n}: by how much the text misses the area (0 and 0 when it\n"
                                    "fits; see fit --json). In the words, the\n"
                                    "character U+00nn stands for the byte nn. Through a character map, each line\n"
                                    "also has \"text\": the words as the map reads them (U+FFFD for a code without\n"
                                    "text). A project of several text areas prints {\"areas\": [...]}, one such\n"
                                    "object for each area in turn (one object for the area --area names).\n"
                                    "Exit status 3 when a text does not fit."));
    addInputOptions(line);
    line.addOption({QStringLiteral("json"), QStringLiteral("Print the lines as JSON (the one output so far; required).")});
    if (!line.parse(arguments))
        return kExitOk;
    if (!line.isSet(QStringLiteral("json")))
        throw UsageError(QStringLiteral("layout prints JSON only; give --json"));
    spacingOf(line, {});  // a bad value is refused before the project is read

    ProjectInput input = openInput(line);
    project::Workspace &workspace = input.workspace;
    const std::vector<project::AreaText> areas = chosenAreas(line, input, true);
    // Each area is laid out, printed and forgotten before the next.
    std::vector<text::Notice> notices;
    PieceWriter out;
    const bool several = areas.size() != 1;
    if (several)
        out.buffer() += "{\"areas\": [\n";
    for (const project::AreaText &area : areas) {
        if (!notices.empty())
            out.buffer() += ",\n";
        notices.push_back(layOut(area.text, area, workspace, workspace.lines));
        const text::Overflow overflow = overflowOf(area.text, notices.back(), area, workspace);
        printLineTableJson(notices.back(), workspace.lines, overflow, workspace.fontExtras.charMap, out);
        text::ClearLineTable(workspace.lines);
    }
    out.buffer() += several ? "]}\n" : "\n";
    out.flush();
    return reportNotices(notices);
}

// The JSON of a setting the search found, null for none.
QByteArray suggestionJson(const text::FitResult &result)
{
    if (!result.found)
        return "null";
    const text::FitSetting &s = result.setting;
    return "{\"lineSpacing\": " + QByteArray::number(s.lineSpacing) + ", \"tracking\": "
           + QByteArray::number(s.spacing.tracking) + ", \"wordSpacing\": " + QByteArray::number(s.spacing.wordSpacing)
           + '}';
}

// What the search found, as a line of fit --suggest says it.
QString suggestionText(const text::FitResult &result, const text::FitSetting &current)
{
    if (result.alreadyFits())
        return QStringLiteral("fits as it is");
    if (result.found)
        return QStringLiteral("fits with ") + text::fitSettingText(result.setting, current);
    return QStringLiteral("no setting fits (by %1)").arg(QLatin1String(noticeName(result.notice)));
}

// An alternate font of fit --suggest: searched with, reported, never applied.
struct AltFont {
    QString path;
    font::ImportedFont font;
};

// fit --suggest: the nearest setting under which each paragraph (of --text,
// or else each area's own text) fits, with each alternate font too, and
// with --apply the project written with the first setting that fits all.
// Refuses the options of fit --suggest that do not go together, and a bad
// value, before the project is read; returns the floor asked for.
std::optional<std::int32_t> checkedSuggestOptions(const CommandLine &line)
{
    const bool apply = line.isSet(kApplyOption);
    if (apply && !line.isSet(kOutputOption))
        throw UsageError(QStringLiteral("--apply needs -o NEW.llp, the project to write"));
    if (!apply && line.isSet(kOutputOption))
        throw UsageError(QStringLiteral("-o goes with --apply"));
    if (apply && line.isSet(kFontOption))
        throw UsageError(QStringLiteral("--apply writes settings for the project's own font; leave out --font"));
    std::optional<std::int32_t> floor;
    if (line.isSet(kFloorOption)) {
        bool ok = false;
        const int value = line.value(kFloorOption).toInt(&ok);
        if (!ok || value < 0)
            throw UsageError(QStringLiteral("--floor takes a whole number from 0, not '%1'").arg(line.value(kFloorOption)));
        floor = value;
    }
    spacingOf(line, {});
    return floor;
}

// Writes the project at projectPath to output as its file holds it, only
// the line spacing and spacing of the areas from firstNumber on changed to
// the settings chosen for them.
void writeWithSettings(const QString &projectPath, const QString &output, int firstNumber,
                       const std::vector<text::FitSetting> &chosen)
{
    project::ProjectFile file = project::parseProject(readWholeFile(projectPath));
    QStringList notices;  // already shown when the project was opened
    project::ProjectExtras extras = project::extrasOf(file, QFileInfo(projectPath).fileName(), notices);
    std::vector<project::AreaText> all = project::joinAreas(file.settings, file.text, extras);
    for (std::size_t a = 0; a < chosen.size(); ++a) {
        project::AreaText &area = all[std::size_t(firstNumber - 1) + a];
        area.lineSpacing = chosen[a].lineSpacing;
        area.spacing = chosen[a].spacing;
    }
    project::splitAreas(all, file.settings, file.text, extras);
    file.extensions.keys = project::projectExtrasKeys(extras);
    writeWholeFile(output, project::projectBytes(file));
}

int fitSuggest(const CommandLine &line)
{
    const bool json = line.isSet(QStringLiteral("json"));
    const bool apply = line.isSet(kApplyOption);
    const std::optional<std::int32_t> floor = checkedSuggestOptions(line);
    const QString textFile = textFileOf(line);
    const QString projectPath = line.argument(0);
    const QString output = line.value(kOutputOption);
    if (apply && QFileInfo::exists(output)
        && QFileInfo(output).canonicalFilePath() == QFileInfo(projectPath).canonicalFilePath())
        throw Error(QStringLiteral("-o names the project read: --apply writes the project to another file"));

    ProjectInput input = openInput(line);
    project::Workspace &workspace = input.workspace;
    const std::vector<project::AreaText> areas = chosenAreas(line, input, false);
    std::vector<AltFont> altFonts;
    for (const QString &path : line.values(kAltFontOption))
        altFonts.push_back({path, readFontWithExtras(path, mapOption(line))});

    // One search for each area with each font: the project's first, then
    // every alternate font in turn.
    const std::size_t fonts = 1 + altFonts.size();
    std::vector<std::unique_ptr<text::FitSearch>> searches;
    std::vector<text::FitSetting> current;
    for (std::size_t f = 0; f < fonts; ++f)
        for (const project::AreaText &area : areas) {
            const font::GlyphTable &glyphs = f == 0 ? workspace.glyphs : altFonts[f - 1].font.glyphs;
            const font::Kerning &kerning = f == 0 ? workspace.fontExtras.kerning : altFonts[f - 1].font.extras.kerning;
            const text::FitSetting now{area.lineSpacing, area.spacing};
            if (f == 0)
                current.push_back(now);
            searches.push_back(std::make_unique<text::FitSearch>(
                area.rect.width, area.rect.height, now, floor ? *floor : text::defaultFitFloor(area.lineSpacing),
                glyphs, &kerning));
        }

    const int firstNumber = line.isSet(kAreaOption) ? line.value(kAreaOption).toInt() : 1;
    const bool several = input.areas.size() > 1;
    const bool fromFile = input.textGiven;
    // The texts searched: the paragraphs of the file, each in every area,
    // or each area's own text in that area alone.
    std::vector<Paragraph> paragraphs;
    if (fromFile) {
        ParagraphReader reader(input.text);
        for (Paragraph paragraph; reader.next(paragraph);)
            paragraphs.push_back(std::move(paragraph));
    }
    const std::size_t count = fromFile ? paragraphs.size() : areas.size();

    qint64 suggested = 0;
    qint64 unfitting = 0;
    PieceWriter out;
    for (std::size_t p = 0; p < count; ++p) {
        bool needsSetting = false;
        bool fitsNothing = false;
        for (std::size_t a = fromFile ? 0 : p; a < (fromFile ? areas.size() : p + 1); ++a) {
            const project::AreaText &area = areas[a];
            const QByteArray &paragraph = fromFile ? paragraphs[p].text : area.text;
            const text::FitResult found = searches[a]->first(paragraph);
            needsSetting = needsSetting || !found.alreadyFits();
            fitsNothing = fitsNothing || !found.found;
            QByteArray &buffer = out.buffer();
            if (json) {
                const text::Notice notice = layOut(paragraph, area, workspace, workspace.lines);
                openFitObject(buffer, fromFile ? &paragraphs[p] : nullptr, qint64(p) + 1,
                              several || !fromFile ? std::optional<int>(firstNumber + int(a)) : std::nullopt, notice,
                              overflowOf(paragraph, notice, area, workspace));
                buffer += ", \"suggestion\": " + suggestionJson(found);
                if (!altFonts.empty()) {
                    buffer += ", \"altFonts\": [";
                    for (std::size_t f = 1; f < fonts; ++f) {
                        if (f > 1)
                            buffer += ", ";
                        buffer += "{\"font\": " + jsonText(altFonts[f - 1].path) + ", \"suggestion\": "
                                  + suggestionJson(searches[f * areas.size() + a]->first(paragraph)) + '}';
                    }
                    buffer += ']';
                }
                buffer += "}\n";
                out.written();
                continue;
            }
            if (found.alreadyFits())
                continue;
            QString where = fromFile ? QStringLiteral("%1:%2: ").arg(textFile).arg(paragraphs[p].firstLine)
                                     : projectPath + QStringLiteral(": ");
            if (several || !fromFile)
                where += QStringLiteral("area %1: ").arg(firstNumber + int(a));
            if (fromFile)
                where += QStringLiteral("paragraph %1: ").arg(p + 1);
            QString lines = where + suggestionText(found, current[a]) + u'\n';
            for (std::size_t f = 1; f < fonts; ++f)
                lines += where + QStringLiteral("with %1: ").arg(altFonts[f - 1].path)
                         + suggestionText(searches[f * areas.size() + a]->first(paragraph), current[a]) + u'\n';
            buffer += lines.toUtf8();
            out.written();
        }
        suggested += needsSetting && !fitsNothing;
        unfitting += fitsNothing;
    }
    out.flush();
    if (suggested + unfitting > 0)
        printMessage(QStringLiteral("%1 of %2 %3 not fit: %4 with a setting found, %5 with none")
                         .arg(suggested + unfitting).arg(count)
                         .arg(fromFile ? QStringLiteral("paragraphs do") : QStringLiteral("text areas do"))
                         .arg(suggested).arg(unfitting));

    if (apply) {
        // The first setting of each area that fits every text it was given.
        std::vector<text::FitSetting> chosen;
        QStringList said;
        for (std::size_t a = 0; a < areas.size(); ++a) {
            std::vector<QByteArray> texts;
            if (fromFile)
                for (const Paragraph &paragraph : paragraphs)
                    texts.push_back(paragraph.text);
            else
                texts.push_back(areas[a].text);
            const text::FitResult all = searches[a]->firstForAll(texts);
            const QString area = several ? QStringLiteral(" in text area %1").arg(firstNumber + int(a)) : QString();
            if (!all.found)
                throw Error(fromFile ? QStringLiteral("No one setting fits every paragraph%1; paragraph %2 is the "
                                                      "first left without one: %3 is not written")
                                           .arg(area).arg(all.text + 1).arg(output)
                                     : QStringLiteral("No setting fits the text%1: %2 is not written").arg(area, output));
            chosen.push_back(all.setting);
            said << (several ? QStringLiteral("text area %1: ").arg(firstNumber + int(a)) : QString())
                        + text::fitSettingText(all.setting, current[a]);
        }
        writeWithSettings(projectPath, output, firstNumber, chosen);
        printMessage(QStringLiteral("%1 written with %2").arg(output, said.join(QStringLiteral("; "))));
    }
    return unfitting > 0 ? kExitNotice : kExitOk;
}

int fit(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("fit"), QStringLiteral("PROJECT (--text FILE | --suggest)"),
                     QStringLiteral("Checks many texts against a project's text areas: lays every paragraph of FILE\n"
                                    "(blocks separated by blank lines) out in each text area with the project's font\n"
                                    "and the area's settings, and prints FILE:LINE: paragraph N: NOTICE for each one\n"
                                    "that does not fit; with several areas FILE:LINE: area K: paragraph N: NOTICE.\n"
                                    "With --json, one JSON object a line for every paragraph (and area):\n"
                                    "{\"paragraph\": N, \"line\": LINE, \"notice\": \"none\"|\"width\"|\"height\",\n"
                                    "\"overflowPixels\": n, \"overflowLines\": n}, with several areas \"area\": K after\n"
                                    "\"line\". overflowPixels: for a word that fits no line even alone, its width\n"
                                    "plus a space width minus the area's width less 4; overflowLines: the lines\n"
                                    "the rest of the text takes past the last one the area allows. Both 0 when the\n"
                                    "paragraph fits.\n"
                                    "Exit status 3 when any does not fit.\n"
                                    "With --suggest, for each paragraph that does not fit (without --text: each\n"
                                    "area's own text), the nearest setting under which it does: the line spacing\n"
                                    "1 lower at a time down to --floor, then at the floor the tracking 1 lower at\n"
                                    "a time down to -1, then the word spacing down to a space 1 pixel wide. It\n"
                                    "prints FILE:LINE: paragraph N: fits with line spacing S[, tracking T][, word\n"
                                    "spacing W] (tracking and word spacing where they change) or no setting fits\n"
                                    "(by width|height); paragraphs that fit as they are are left out. --json adds\n"
                                    "\"suggestion\": {\"lineSpacing\": S, \"tracking\": T, \"wordSpacing\": W} (null\n"
                                    "when none fits) to every object, and \"altFonts\": [{\"font\": F, \"suggestion\":\n"
                                    "...}] with --alt-font. Exit status 3 when some paragraph fits no setting."));
    addInputOptions(line);
    line.addOption({QStringLiteral("json"), QStringLiteral("Print one JSON object a line for every paragraph instead.")});
    line.addOption({kSuggestOption, QStringLiteral("For each paragraph that does not fit, find the nearest setting "
                                                   "under which it does (see above). --text may be left out: then "
                                                   "each area's own text is searched.")});
    line.addOption({kAltFontOption, QStringLiteral("With --suggest: search with the font of FILE too, and report what "
                                                   "it gives (never applied). May be given more than once."),
                    QStringLiteral("FILE")});
    line.addOption({kFloorOption, QStringLiteral("With --suggest: the lowest line spacing tried, a whole number from 0 "
                                                 "(default: 4 below each area's own, not below 0)."),
                    QStringLiteral("N")});
    line.addOption({kApplyOption, QStringLiteral("With --suggest: write the project with the first setting that fits "
                                                 "every paragraph (in each area; without --text, each area's own "
                                                 "text) to -o. Refused, writing nothing, when no setting does.")});
    line.addOption({{QStringLiteral("o"), kOutputOption},
                    QStringLiteral("With --apply: the project file to write; never the project read."),
                    QStringLiteral("NEW.llp")});
    if (!line.parse(arguments))
        return kExitOk;
    if (line.isSet(kSuggestOption))
        return fitSuggest(line);
    for (const QString &option : {kAltFontOption, kFloorOption, kApplyOption})
        if (line.isSet(option))
            throw UsageError(QStringLiteral("--%1 goes with --suggest").arg(option));
    if (line.isSet(kOutputOption))
        throw UsageError(QStringLiteral("-o goes with --suggest --apply"));
    const bool json = line.isSet(QStringLiteral("json"));
    const QString textFile = line.isSet(kTextBytesOption) ? textFileOf(line) : line.required(kTextOption);
    spacingOf(line, {});

    ProjectInput input = openInput(line);
    project::Workspace &workspace = input.workspace;
    const std::vector<project::AreaText> areas = chosenAreas(line, input, false);
    // The number each line names: the project's own numbering, also for --area.
    const int firstNumber = line.isSet(kAreaOption) ? line.value(kAreaOption).toInt() : 1;
    const bool several = input.areas.size() > 1;
    int failures = 0;
    qint64 count = 0;
    PieceWriter out;
    ParagraphReader reader(input.text);
    for (Paragraph paragraph; reader.next(paragraph);) {
        ++count;
        bool failed = false;
        for (size_t a = 0; a < areas.size(); ++a) {
            const text::Notice notice = layOut(paragraph.text, areas[a], workspace, workspace.lines);
            failed = failed || notice != text::Notice::None;
            if (json) {
                openFitObject(out.buffer(), &paragraph, count,
                              several ? std::optional<int>(firstNumber + int(a)) : std::nullopt, notice,
                              overflowOf(paragraph.text, notice, areas[a], workspace));
                out.buffer() += "}\n";
                out.written();
                continue;
            }
            if (notice == text::Notice::None)
                continue;
            const QString where = several ? QStringLiteral("area %1: ").arg(firstNumber + int(a)) : QString();
            printOut(QStringLiteral("%1:%2: %3paragraph %4: %5\n")
                         .arg(textFile).arg(paragraph.firstLine).arg(where).arg(count).arg(text::noticeText(notice))
                         .toUtf8());
        }
        failures += failed;
    }
    out.flush();
    if (failures == 0)
        return kExitOk;
    printMessage(QStringLiteral("%1 of %2 paragraphs do not fit%3")
                     .arg(failures).arg(count)
                     .arg(areas.size() > 1 ? QStringLiteral(" one or more of the %1 text areas").arg(areas.size()) : QString()));
    return kExitNotice;
}

}  // namespace

std::vector<Command> textCommands()
{
    return {
        {QStringLiteral("render"), QStringLiteral("Draw a project's text on its picture and write a BMP"), render},
        {QStringLiteral("layout"), QStringLiteral("Print the lines of a project's text as JSON"), layout},
        {QStringLiteral("fit"), QStringLiteral("Check which paragraphs of a file fit a project's text area"), fit},
    };
}

}  // namespace letterloom::cli
