// The commands that lay text out in a project's text areas: render, layout, fit.

#include "cli.h"
#include "command_line.h"
#include "effect_options.h"
#include "json.h"
#include "map_option.h"
#include "project_input.h"
#include "text_file.h"

#include "base/error.h"
#include "project/compose_view.h"
#include "project/text_areas.h"
#include "text/layout.h"
#include "text/overflow.h"

namespace letterloom::cli {

namespace {

const QString kTextOption = QStringLiteral("text");
const QString kTextBytesOption = QStringLiteral("text-bytes");
const QString kFontOption = QStringLiteral("font");
const QString kAreaOption = QStringLiteral("area");

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
    text::ClearLineTable(lines);
    return text::LayoutText(text, area.rect.width, area.rect.height, area.lineSpacing, workspace.glyphs, lines,
                            area.spacing, &workspace.fontExtras.kerning);
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
    const std::vector<text::Notice> notices = project::refreshAreas(workspace, first, workspace.textColour);
    raster::Raster view(workspace.picture.width(), workspace.picture.height());
    project::ComposeView(workspace, view, true);
    writePictureOutput(view, output);
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
        const text::Overflow overflow = text::MeasureOverflow(area.text, notices.back(), workspace.lines,
                                                              area.rect.width, area.rect.height, area.lineSpacing,
                                                              workspace.glyphs, area.spacing, &workspace.fontExtras.kerning);
        printLineTableJson(notices.back(), workspace.lines, overflow, workspace.fontExtras.charMap, out);
        text::ClearLineTable(workspace.lines);
    }
    out.buffer() += several ? "]}\n" : "\n";
    out.flush();
    return reportNotices(notices);
}

int fit(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("fit"), QStringLiteral("PROJECT --text FILE"),
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
                                    "Exit status 3 when any does not fit."));
    addInputOptions(line);
    line.addOption({QStringLiteral("json"), QStringLiteral("Print one JSON object a line for every paragraph instead.")});
    if (!line.parse(arguments))
        return kExitOk;
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
                const project::AreaText &area = areas[a];
                const text::Overflow overflow =
                    text::MeasureOverflow(paragraph.text, notice, workspace.lines, area.rect.width, area.rect.height,
                                          area.lineSpacing, workspace.glyphs, area.spacing,
                                          &workspace.fontExtras.kerning);
                QByteArray &object = out.buffer();
                object += "{\"paragraph\": " + QByteArray::number(count) + ", \"line\": "
                          + QByteArray::number(paragraph.firstLine);
                if (several)
                    object += ", \"area\": " + QByteArray::number(firstNumber + int(a));
                object += QByteArray(", \"notice\": \"") + noticeName(notice) + "\", \"overflowPixels\": "
                          + QByteArray::number(overflow.pixels) + ", \"overflowLines\": "
                          + QByteArray::number(overflow.lines) + "}\n";
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
