// The commands that lay text out in a project's text area: render, layout, fit.

#include "cli.h"
#include "command_line.h"
#include "json.h"
#include "map_option.h"
#include "project_input.h"
#include "text_file.h"

#include "base/error.h"
#include "project/compose_view.h"
#include "text/layout.h"

namespace letterloom::cli {

namespace {

const QString kTextOption = QStringLiteral("text");
const QString kTextBytesOption = QStringLiteral("text-bytes");
const QString kFontOption = QStringLiteral("font");

void addInputOptions(CommandLine &line)
{
    line.addArgument(QStringLiteral("PROJECT"), QStringLiteral("The project file (.llp)."));
    line.addOption({kTextOption, QStringLiteral("Lay out the text of FILE instead of the project's, read as Load Text "
                                                "reads it: a UTF-8 file through the character map, any other file "
                                                "(and every file without a map) byte for byte; LF and lone CR line "
                                                "breaks count as CR LF."),
                    QStringLiteral("FILE")});
    line.addOption({kTextBytesOption, QStringLiteral("As --text, but the bytes of FILE are the codes as they are."),
                    QStringLiteral("FILE")});
    line.addOption({kFontOption, QStringLiteral("Use the font of FILE (.llf, .bdf, .fnt or .psf) instead of the project's."),
                    QStringLiteral("FILE.llf")});
    addMapOption(line);
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

// The exit status for what ended a layout; a notice goes to stderr.
int reportNotice(text::Notice notice)
{
    if (notice == text::Notice::None)
        return kExitOk;
    printMessage(text::noticeText(notice));
    return kExitNotice;
}

text::Notice layOut(const QByteArray &text, const project::ProjectSettings &settings,
                    const font::GlyphTable &glyphs, text::LineTable &lines)
{
    text::ClearLineTable(lines);
    return text::LayoutText(text, settings.area.width, settings.area.height, settings.lineSpacing, glyphs, lines);
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

// Through a character map, each line also gives its words' "text".
QByteArray lineTableJson(text::Notice notice, const text::LineTable &lines, const font::CharMap &map)
{
    const QByteArray list = jsonList(qsizetype(lines.size()), [&](qsizetype i) {
        const text::Twords &line = lines[size_t(i)];
        QByteArray texts;
        if (!map.isNone())
            texts = ", \"text\": " + jsonList(qsizetype(line.words.size()), [&](qsizetype w) {
                        return jsonText(map.decode(line.words[size_t(w)]));
                    });
        return "{\"words\": " + jsonList(qsizetype(line.words.size()), [&](qsizetype w) { return jsonBytes(line.words[size_t(w)]); })
               + texts + ", \"wordWidths\": " + jsonList(qsizetype(line.wordWidths.size()), [&](qsizetype w) { return QByteArray::number(line.wordWidths[size_t(w)]); })
               + ", \"lineWidth\": " + QByteArray::number(line.lineWidth) + ", \"gap\": " + QByteArray::number(line.gap) + '}';
    }, ",\n  ");
    return QByteArray("{\"notice\": \"") + noticeName(notice) + "\",\n \"lines\": " + list + "}\n";
}

int render(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("render"), QStringLiteral("PROJECT -o OUT.bmp"),
                     QStringLiteral("Opens a project, lays its text out in its text area, draws it in the chosen\n"
                                    "colour and writes the picture with the text, the picture's size, as a BMP\n"
                                    "file (a PNG file when OUT ends in .png).\n"
                                    "Exit status 3 when the text does not fit (the picture is still written)."));
    addInputOptions(line);
    line.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The picture to write: PNG when its name ends in .png, BMP for .bmp or no extension; other extensions are refused."),
                    QStringLiteral("OUT.bmp")});
    line.addOption({QStringLiteral("color"), QStringLiteral("The text colour as RRGGBB in hex, red first (default 000000, black)."),
                    QStringLiteral("RRGGBB"), QStringLiteral("000000")});
    if (!line.parse(arguments))
        return kExitOk;
    const QString output = line.requiredPicture(QStringLiteral("output"));
    const std::optional<raster::Colour> colour = parseColour(line.value(QStringLiteral("color")));
    if (!colour)
        throw UsageError(QStringLiteral("--color takes six hex digits, RRGGBB (red first), not '%1'")
                             .arg(line.value(QStringLiteral("color"))));

    ProjectInput input = openInput(line);
    project::Workspace &workspace = input.workspace;
    if (workspace.picture.isEmpty())
        throw Error(QStringLiteral("The project has no picture"));
    const text::Notice notice = project::refreshText(workspace, input.text, *colour);
    raster::Raster view(workspace.picture.width(), workspace.picture.height());
    project::ComposeView(workspace, view, true);
    view.writePictureFile(output);
    return reportNotice(notice);
}

int layout(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("layout"), QStringLiteral("PROJECT --json"),
                     QStringLiteral("Lays a project's text out in its text area and prints the lines as JSON:\n"
                                    "{\"notice\": \"none\"|\"width\"|\"height\", \"lines\": [{\"words\": [...],\n"
                                    "\"wordWidths\": [...], \"lineWidth\": n, \"gap\": n}, ...]}. In the words, the\n"
                                    "character U+00nn stands for the byte nn. Through a character map, each line\n"
                                    "also has \"text\": the words as the map reads them (U+FFFD for a code without\n"
                                    "text). Exit status 3 when the text does not fit."));
    addInputOptions(line);
    line.addOption({QStringLiteral("json"), QStringLiteral("Print the lines as JSON (the one output so far; required).")});
    if (!line.parse(arguments))
        return kExitOk;
    if (!line.isSet(QStringLiteral("json")))
        throw UsageError(QStringLiteral("layout prints JSON only; give --json"));

    ProjectInput input = openInput(line);
    project::Workspace &workspace = input.workspace;
    const text::Notice notice = layOut(input.text, workspace.settings, workspace.glyphs, workspace.lines);
    printOut(lineTableJson(notice, workspace.lines, workspace.fontExtras.charMap));
    return reportNotice(notice);
}

int fit(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("fit"), QStringLiteral("PROJECT --text FILE"),
                     QStringLiteral("Checks many texts against one text area: lays every paragraph of FILE (blocks\n"
                                    "separated by blank lines) out in the project's text area with its font and\n"
                                    "settings, and prints FILE:LINE: paragraph N: NOTICE for each one that does not\n"
                                    "fit. Exit status 3 when any does not fit."));
    addInputOptions(line);
    if (!line.parse(arguments))
        return kExitOk;
    const QString textFile = line.isSet(kTextBytesOption) ? textFileOf(line) : line.required(kTextOption);

    ProjectInput input = openInput(line);
    project::Workspace &workspace = input.workspace;
    const std::vector<Paragraph> paragraphs = splitParagraphs(input.text);
    int failures = 0;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        const text::Notice notice = layOut(paragraphs[i].text, workspace.settings, workspace.glyphs, workspace.lines);
        if (notice == text::Notice::None)
            continue;
        ++failures;
        printOut(QStringLiteral("%1:%2: paragraph %3: %4\n")
                     .arg(textFile).arg(paragraphs[i].firstLine).arg(i + 1).arg(text::noticeText(notice))
                     .toUtf8());
    }
    if (failures == 0)
        return kExitOk;
    printMessage(QStringLiteral("%1 of %2 paragraphs do not fit").arg(failures).arg(paragraphs.size()));
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
