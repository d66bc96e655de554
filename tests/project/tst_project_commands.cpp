#include "base/byte_reader.h"
#include "base/error.h"
#include "base/extension_block.h"
#include "base/file_io.h"
#include "font/char_map.h"
#include "font/font_file.h"
#include "font/font_formats.h"
#include "project/project_commands.h"
#include "support/fake_effects.h"
#include "support/fake_prompter.h"
#include "support/full_disk.h"
#include "text/font_description.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using namespace letterloom::project;
using letterloom::testing::FakeEffects;
using letterloom::testing::FakePrompter;
using raster::Raster;

Q_DECLARE_METATYPE(TextArea)
Q_DECLARE_METATYPE(std::optional<TextArea>)

namespace {

const QString kProjectFilter = QStringLiteral("Letterloom (*.llp)|*.llp");
const QString kFontFilter = QStringLiteral("Font Letterloom (*.llf)|*.llf");
const QString kOpenFontFilter = kFontFilter + QStringLiteral("|BDF font (*.bdf)|*.bdf|BMFont (*.fnt)|*.fnt"
                                                               "|PSF console font (*.psf *.psfu *.psf.gz *.psfu.gz)"
                                                               "|*.psf;*.psfu;*.psf.gz;*.psfu.gz");
const QString kFontQuestion = QStringLiteral("askCancel: The current font was changed. Save it before closing?");
const QString kOverwrite = QStringLiteral("ask: File with the specified name already exists. Overwrite?");
const QString kNotFound = QStringLiteral("confirmNotice: Font specified in project file was not found!\r\n"
                                         "Perhaps it was deleted or moved to another directory.\r\n"
                                         "You need to load the font manually or create new one.");
const QString kNotLoaded = QStringLiteral("confirmNotice: Font is not loaded.");

QByteArray le32(std::int32_t value)
{
    ByteWriter out;
    out.i32(value);
    return out.result();
}

// A text with bytes that no character set conversion may touch.
QByteArray oddText()
{
    static const char bytes[] = "\x00\xff\xc2 line\nbare\r\nend";
    return QByteArray(bytes, sizeof bytes - 1);
}

QString leaveQuestion(const char *change)
{
    return QStringLiteral("askCancel: %1. Save it before closing?").arg(QLatin1String(change));
}

// A font whose glyph `code` is a 2 x 3 block of one colour.
font::GlyphTable fontWith(int code, raster::Colour colour)
{
    font::GlyphTable glyphs;
    glyphs.setGlyphSize(code, 2, 3);
    glyphs[code].defined = 1;
    for (auto &column : glyphs[code].pixels)
        std::fill(column.begin(), column.end(), colour);
    font::syncImage(glyphs[code]);
    return glyphs;
}

Raster picture(int width, int height)
{
    Raster result(width, height);
    result.setPixel(1, 1, 0x345678);
    return result;
}

// Everything a failed command must leave as it was.
struct Snapshot {
    ProjectSettings settings;
    QByteArray text;
    Raster picture;
    bool pictureLoaded;
    font::GlyphTable glyphs;
    QString fontPath, projectPath, mainCaption, fontTableCaption;
    std::array<bool, 4> flags;

    bool operator==(const Snapshot &other) const = default;
};

// A workspace whose program folder lies in a fresh temporary folder, with the
// commands over a scripted prompter and plain window effects.
struct Fixture {
    QTemporaryDir dir;
    // The program folder exists before the commands look at it.
    bool made = QDir().mkpath(dir.path() + QStringLiteral("/prog/fonts"));
    Workspace workspace{dir.path() + QStringLiteral("/prog/")};
    FakePrompter prompter;
    FakeEffects effects;
    ProjectCommands commands{workspace, prompter, effects};

    QString path(const QString &name) const { return dir.path() + u'/' + name; }

    // Answers are words (Yes, No, Cancel); a file of "-" cancels its dialog.
    void script(const QString &answers, const QStringList &files = {})
    {
        for (const QString &word : answers.split(u' ', Qt::SkipEmptyParts))
            prompter.answer(word == u"Yes" ? Answer::Yes : word == u"No" ? Answer::No : Answer::Cancel);
        for (const QString &file : files)
            file == u"-" ? prompter.cancelFile() : prompter.chooseFile(path(file));
    }

    // A project with a font, a text, a picture, a name and some unsaved work.
    void fillWithWork()
    {
        workspace.settings = {0, 1, {3, 4, 50, 20}, 3, 12, 8, 5, 7};
        workspace.glyphs = fontWith('A', raster::kBlack);
        workspace.fontPath = path(QStringLiteral("old.llf"));
        workspace.projectPath = path(QStringLiteral("old.llp"));
        workspace.picture = picture(6, 5);
        workspace.pictureLoaded = true;
        effects.textBytes = "old text";
        effects.mainCaption = QStringLiteral("Letterloom v1.0 - ") + workspace.projectPath;
        effects.fontTableCaption = QStringLiteral("Character Table - old.llf");
    }

    Snapshot snapshot() const
    {
        const Workspace &w = workspace;
        return {w.settings, effects.textBytes, w.picture, w.pictureLoaded, w.glyphs, w.fontPath, w.projectPath,
                effects.mainCaption, effects.fontTableCaption,
                {w.fontModified, w.textChanged, w.pictureChanged, w.areaChanged}};
    }

    void setFlags(const QString &flags)
    {
        workspace.textChanged = flags.contains(u"text");
        workspace.pictureChanged = flags.contains(u"picture");
        workspace.areaChanged = flags.contains(u"area");
        workspace.effectsChanged = flags.contains(u"effects");
        workspace.fontModified = flags.contains(u"font");
    }
};

QString errorOf(const std::function<void()> &command)
{
    try {
        command();
    } catch (const Error &error) {
        return error.message();
    }
    return {};
}

}  // namespace

class TestProjectCommands : public QObject {
    Q_OBJECT

private slots:
    // Saving and opening again gives the same state and the same bytes.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("fontFile");  // below the temporary folder; empty for none
        QTest::addColumn<QByteArray>("storedPath");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("withPicture");
        QByteArray everyByte;
        for (int code = 0; code < 256; ++code)
            everyByte.append(char(code));
        QTest::newRow("empty project") << QString() << QByteArray() << QByteArray() << false;
        QTest::newRow("font in the program folder, two lines")
            << "prog/a.llf" << QByteArray("a.llf") << QByteArray("a\r\nb") << false;
        QTest::newRow("font below it, every byte, picture")
            << "prog/fonts/a.llf" << QByteArray("fonts/a.llf") << everyByte << true;
        QTest::newRow("font outside it") << "a.llf" << QByteArray("%1/a.llf") << QByteArray("x") << true;
    }

    void roundTrip()
    {
        QFETCH(QString, fontFile);
        QFETCH(QByteArray, storedPath);
        QFETCH(QByteArray, text);
        QFETCH(bool, withPicture);
        Fixture f;
        storedPath.replace("%1", QFile::encodeName(f.dir.path()));
        const font::GlyphTable glyphs = fontWith('A', raster::kRed);
        if (!fontFile.isEmpty()) {
            font::writeFontFile(f.path(fontFile), glyphs);
            f.workspace.fontPath = f.path(fontFile);
            f.workspace.glyphs = glyphs;
        }
        f.workspace.settings = {0, 2, {-5, 7, 300, 40}, 7, 33, 4, 6, 9};
        if (withPicture)
            f.workspace.picture = picture(5, 3);
        f.workspace.pictureLoaded = withPicture;
        f.effects.textBytes = text;
        f.setFlags(QStringLiteral("text picture area"));
        f.script({}, {QStringLiteral("p")});
        QVERIFY(f.commands.saveProjectAs());
        QCOMPARE(f.prompter.dialogs.last().defaultExtension, QStringLiteral("llp"));
        const QString projectPath = f.path(QStringLiteral("p.llp"));
        const QByteArray saved = readWholeFile(projectPath);
        const std::int32_t pathSize = std::int32_t(storedPath.size());
        QCOMPARE(saved.mid(36, 4 + pathSize), le32(pathSize) + storedPath);
        QCOMPARE(saved.mid(40 + pathSize, 4 + text.size()), le32(std::int32_t(text.size())) + text);
        if (!withPicture && text.isEmpty() && fontFile.isEmpty())
            QCOMPARE(saved.mid(36), QByteArray(12, 0));  // a 48-byte project
        QCOMPARE(f.snapshot().flags, (std::array<bool, 4>{false, false, false, false}));

        f.commands.resetProject();
        f.workspace.settings = {};
        f.effects.imageCaption = QStringLiteral("Image - old.bmp");
        f.effects.textCaption = QStringLiteral("Text - old.txt");
        f.script({}, {QStringLiteral("p.llp")});
        f.commands.openProject();
        // Picture and text are the project's now, not those files'.
        QCOMPARE(f.effects.imageCaption, QStringLiteral("Image"));
        QCOMPARE(f.effects.textCaption, QStringLiteral("Text Input Window"));
        QCOMPARE(f.workspace.settings, (ProjectSettings{0, 2, {-5, 7, 300, 40}, 7, 33, 4, 6, 9}));
        QCOMPARE(f.effects.shownSettings->alignment, std::uint8_t(7));
        QCOMPARE(f.effects.textBytes, text);
        QCOMPARE(f.workspace.picture, withPicture ? picture(5, 3) : Raster());
        // Without a picture the view keeps its size, so it stays in sight.
        QCOMPARE(f.effects.imageViewSize, withPicture ? QSize(5, 3) : QSize(297, 274));
        QVERIFY(f.workspace.pictureLoaded && f.effects.refreshEnabled);
        QCOMPARE(f.effects.mainCaption, QStringLiteral("Letterloom v1.0 - ") + projectPath);
        QCOMPARE(f.workspace.fontPath, fontFile.isEmpty() ? f.workspace.programDirectory : f.path(fontFile));
        QCOMPARE(f.workspace.glyphs, fontFile.isEmpty() ? font::GlyphTable() : glyphs);
        QCOMPARE(f.snapshot().flags, (std::array<bool, 4>{false, false, false, false}));

        QVERIFY(f.commands.saveProject());
        QCOMPARE(readWholeFile(projectPath), saved);
    }

    // The extras at the end of a project and of its font come in with Open
    // and go out again with Save and Save Font, other versions' keys as they
    // were; a damaged block is left out with a notice and the rest opens.
    void extrasSurviveOpenAndSave_data()
    {
        QTest::addColumn<QByteArray>("projectTail");
        QTest::addColumn<QByteArray>("fontTail");
        QTest::addColumn<QStringList>("notices");
        QTest::addColumn<bool>("keptAsRead");  // saving gives back the very bytes

        const QByteArray projectBlock = extensionBlockBytes(QJsonObject{{"layers", QJsonArray{1, 2}}});
        const QByteArray fontBlock = extensionBlockBytes(QJsonObject{{"ligatures", QJsonObject{{"AV", -1}}}});
        const QByteArray kerningBlock =
            extensionBlockBytes(QJsonObject{{"kerning", QJsonArray{QJsonArray{65, 86, -1}, QJsonArray{86, 65, 2}}}});
        const QByteArray damaged("LLX1\x09\x00\x00\x00{}", 10);
        const QString damage = QStringLiteral("The extras stored at the end of \"%1\" are damaged and were "
                                              "left out: its length of 9 bytes runs past the end of the file.");
        QTest::newRow("no extras") << QByteArray() << QByteArray() << QStringList() << true;
        QTest::newRow("keys of a later version in both")
            << projectBlock << fontBlock << QStringList() << true;
        QTest::newRow("the font's kerning") << QByteArray() << kerningBlock << QStringList() << true;
        QTest::newRow("damaged project block") << damaged << fontBlock << QStringList{damage.arg("p.llp")} << false;
        QTest::newRow("both damaged")
            << damaged << damaged << QStringList{damage.arg("p.llp") + u'\n' + damage.arg("p.llf")} << false;
    }

    void extrasSurviveOpenAndSave()
    {
        QFETCH(QByteArray, projectTail);
        QFETCH(QByteArray, fontTail);
        QFETCH(QStringList, notices);
        QFETCH(bool, keptAsRead);
        Fixture f;
        const QString fontPath = f.workspace.programDirectory + QStringLiteral("p.llf");
        const QByteArray fontFile = font::fontBytes(fontWith('P', raster::kBlack)) + fontTail;
        writeWholeFile(fontPath, fontFile);
        ProjectFile file;
        file.storedFontPath = "p.llf";
        file.text = "text";
        file.settings.area = {0, 0, 100, 40};
        const QByteArray projectFile = projectBytes(file) + projectTail;
        writeWholeFile(f.path(QStringLiteral("p.llp")), projectFile);

        f.script({}, {QStringLiteral("p.llp")});
        f.commands.openProject();
        QCOMPARE(f.prompter.entries(QStringLiteral("notice")), notices);
        QCOMPARE(f.effects.textBytes, QByteArray("text"));
        QCOMPARE(f.workspace.glyphs, fontWith('P', raster::kBlack));

        QVERIFY(f.commands.saveProject());
        QVERIFY(f.commands.saveCurrentFont());
        const QByteArray savedProject = readWholeFile(f.path(QStringLiteral("p.llp")));
        const QByteArray savedFont = readWholeFile(fontPath);
        if (keptAsRead) {
            QCOMPARE(savedProject, projectFile);
            QCOMPARE(savedFont, fontFile);
        } else {
            QCOMPARE(savedProject, projectBytes(file));
        }

        // New leaves nothing of them behind.
        f.commands.resetProject();
        QCOMPARE(f.workspace.projectExtras, ProjectExtras());
        QCOMPARE(f.workspace.fontExtras, font::FontExtras());
    }

    // The colour and effects come with Open and go out with Save: a project
    // without a colour leaves the chosen one as it is; a change of the
    // effects is unsaved work until then, and New takes them away.
    void lookSurvivesOpenAndSave_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<int>("colour");  // the chosen colour after Open; it was 0x00FF00
        QTest::addColumn<QStringList>("calls");
        const QByteArray outline = R"("effects":{"outline":{"colour":"FFFFFF","shape":"round","size":2}})";
        QTest::newRow("no colour, no effects") << QByteArray("{}") << 0x00FF00 << QStringList();
        QTest::newRow("a colour") << QByteArray(R"({"textColour":"102030"})") << 0x302010
                                  << QStringList{"setTextColour"};
        QTest::newRow("effects only") << "{" + outline + "}" << 0x00FF00 << QStringList();
        QTest::newRow("both") << R"({"textColour":"FFFFFF",)" + outline + "}" << 0xFFFFFF
                              << QStringList{"setTextColour"};
    }

    void lookSurvivesOpenAndSave()
    {
        QFETCH(QByteArray, keys);
        QFETCH(int, colour);
        QFETCH(QStringList, calls);
        Fixture f;
        ProjectFile file;
        file.text = "text";
        file.settings.area = {0, 0, 100, 40};
        file.extensions.keys = QJsonDocument::fromJson(keys).object();
        writeWholeFile(f.path(QStringLiteral("p.llp")), projectBytes(file));
        f.effects.colour = 0x00FF00;
        f.script({}, {QStringLiteral("p.llp")});
        f.commands.openProject();
        QCOMPARE(f.effects.calls.filter(QStringLiteral("setTextColour")), calls);
        QCOMPARE(f.effects.colour, raster::Colour(colour));
        QCOMPARE(f.workspace.textColour, raster::Colour(colour));
        QVERIFY(!f.workspace.projectChanged());

        // Saved with the colour chosen now.
        QVERIFY(f.commands.saveProject());
        ProjectFile saved = file;
        saved.extensions.keys.insert(QStringLiteral("textColour"), colourHex(raster::Colour(colour)));
        QCOMPARE(readWholeFile(f.path(QStringLiteral("p.llp"))), projectBytes(saved));
        const std::uint64_t revision = f.workspace.revision();
        text::Effects effects = f.workspace.effects;
        f.commands.setEffects(effects);
        QVERIFY(!f.workspace.effectsChanged);
        effects.plate = text::PlateEffect{3, raster::kRed};
        f.commands.setEffects(effects);
        QVERIFY(f.workspace.effectsChanged && f.workspace.projectChanged());
        QVERIFY(f.workspace.revision() > revision);
        QVERIFY(f.commands.saveProject());
        QVERIFY(!f.workspace.effectsChanged);
        QStringList notices;
        QCOMPARE(extrasOf(parseProject(readWholeFile(f.path(QStringLiteral("p.llp")))), {}, notices).effects, effects);

        f.commands.resetProject();
        QCOMPARE(f.workspace.effects, text::Effects());
        QCOMPARE(f.effects.colour, raster::Colour(colour));  // New keeps the chosen colour
    }

    // How opening a project treats its font: loaded, missing (the table is
    // emptied) or kept, and the questions and notices on the way.
    void projectFont_data()
    {
        QTest::addColumn<QString>("font");  // "file", "missing" or "folder"
        QTest::addColumn<bool>("modified");
        QTest::addColumn<bool>("named");    // the current font has a file
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<bool>("modifiedAfter");

        const QString open = QStringLiteral("open: ") + kProjectFilter;
        const QString save = QStringLiteral("save: ") + kFontFilter;
        const QStringList project{QStringLiteral("p.llp")};
        QTest::newRow("found") << "file" << false << true << "" << project << QStringList{open} << "loaded" << false;
        QTest::newRow("found, font changed, Yes") << "file" << true << true << "Yes" << project
                                                  << QStringList{open, kFontQuestion} << "loaded" << false;
        QTest::newRow("found, font changed, No") << "file" << true << true << "No" << project
                                                 << QStringList{open, kFontQuestion} << "loaded" << false;
        QTest::newRow("found, font changed, Cancel") << "file" << true << true << "Cancel" << project
                                                     << QStringList{open, kFontQuestion, kNotLoaded} << "kept" << true;
        QTest::newRow("found, unnamed font changed, Yes, Save Font cancelled")
            << "file" << true << false << "Yes" << QStringList{project[0], "-"}
            << QStringList{open, kFontQuestion, save, kNotLoaded} << "kept" << true;
        QTest::newRow("missing") << "missing" << false << true << "" << project << QStringList{open, kNotFound}
                                 << "cleared" << false;
        QTest::newRow("missing, font changed, No") << "missing" << true << true << "No" << project
                                                   << QStringList{open, kNotFound, kFontQuestion} << "cleared" << true;
        QTest::newRow("missing, font changed, Cancel") << "missing" << true << true << "Cancel" << project
                                                       << QStringList{open, kNotFound, kFontQuestion} << "kept" << true;
        QTest::newRow("a folder of that name") << "folder" << false << true << "" << project
                                               << QStringList{open, kNotFound} << "cleared" << false;
    }

    void projectFont()
    {
        QFETCH(QString, font);
        QFETCH(bool, modified);
        QFETCH(bool, named);
        QFETCH(QString, answers);
        QFETCH(QStringList, files);
        QFETCH(QStringList, log);
        QFETCH(QString, outcome);
        QFETCH(bool, modifiedAfter);
        Fixture f;
        const QString fontPath = f.workspace.programDirectory + QStringLiteral("fonts/p.llf");
        const font::GlyphTable projectGlyphs = fontWith('P', raster::kBlack);
        if (font == u"file")
            font::writeFontFile(fontPath, projectGlyphs);
        if (font == u"folder")
            QDir().mkpath(fontPath);
        ProjectFile file;
        file.storedFontPath = "fonts/p.llf";
        file.text = "project text";
        file.settings.area = {0, 0, 200, 50};
        writeWholeFile(f.path(QStringLiteral("p.llp")), projectBytes(file));

        const font::GlyphTable ownGlyphs = fontWith('O', raster::kRed);
        const QString ownPath = named ? f.path(QStringLiteral("own.llf")) : QString();
        f.workspace.glyphs = ownGlyphs;
        f.workspace.fontPath = ownPath;
        f.workspace.fontModified = modified;
        f.script(answers, files);
        f.commands.openProject();

        QCOMPARE(f.prompter.log, log);
        QCOMPARE(f.effects.textBytes, QByteArray("project text"));
        QCOMPARE(f.workspace.fontModified, modifiedAfter);
        QCOMPARE(f.workspace.glyphs, outcome == u"loaded" ? projectGlyphs
                                     : outcome == u"kept" ? ownGlyphs : font::GlyphTable());
        QCOMPARE(f.workspace.fontPath, outcome == u"kept" ? ownPath : fontPath);
        QCOMPARE(f.effects.fontTableCaption, outcome == u"kept" ? QStringLiteral("Character Table")
                                                                : QStringLiteral("Character Table - p.llf"));
        QCOMPARE(f.effects.fontTableVisible, outcome == u"loaded");
        // A Yes saved the current font before it was replaced.
        QCOMPARE(isRegularFile(ownPath), answers == u"Yes" && named);
    }

    // Files named on the desktop program's command line (as a file manager
    // passes them): projects open as Open does and fonts as Open Font does,
    // with their questions but without a dialog; a relative name counts from
    // the current folder, and the next Open dialog starts at the file.
    void namedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("unsaved");  // "text", "font" or nothing
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("glyphs");   // "project", "font", "bdf", "own" or "none"
        QTest::addColumn<QString>("projectPath");
        QTest::addColumn<QString>("fontPath");
        QTest::addColumn<QString>("error");

        const QString leaveText = leaveQuestion("Text in the project has been changed");
        QTest::newRow("project") << "p.llp" << "" << "" << QStringList{} << "project" << "p.llp"
                                 << "prog/fonts/p.llf" << "";
        QTest::newRow("project, its font missing") << "lost.llp" << "" << "" << QStringList{kNotFound} << "none"
                                                   << "lost.llp" << "prog/fonts/gone.llf" << "";
        QTest::newRow("project over unsaved text, Cancel") << "p.llp" << "text" << "Cancel" << QStringList{leaveText}
                                                           << "own" << "old.llp" << "old.llf" << "";
        QTest::newRow("project over unsaved text, No") << "p.llp" << "text" << "No" << QStringList{leaveText}
                                                       << "project" << "p.llp" << "prog/fonts/p.llf" << "";
        QTest::newRow("font") << "f.llf" << "" << "" << QStringList{} << "font" << "old.llp" << "f.llf" << "";
        QTest::newRow("font, capital extension") << "F.LLF" << "" << "" << QStringList{} << "font" << "old.llp"
                                                 << "F.LLF" << "";
        QTest::newRow("font over a changed font, Cancel") << "f.llf" << "font" << "Cancel"
                                                          << QStringList{kFontQuestion} << "own" << "old.llp"
                                                          << "old.llf" << "";
        QTest::newRow("another tool's font") << "h.bdf" << "" << "" << QStringList{"its notice"} << "bdf" << "old.llp" << ""
                                             << "";
        QTest::newRow("a picture is no project") << "s.bmp" << "" << "" << QStringList{} << "own" << "old.llp"
                                                 << "old.llf" << "Not a Letterloom project file";
        QTest::newRow("no such file") << "none.llp" << "" << "" << QStringList{} << "own" << "old.llp" << "old.llf"
                                      << "File not found";
    }

    void namedFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, unsaved);
        QFETCH(QString, answers);
        QFETCH(QStringList, log);
        QFETCH(QString, glyphs);
        QFETCH(QString, projectPath);
        QFETCH(QString, fontPath);
        QFETCH(QString, error);
        Fixture f;
        const font::GlyphTable projectGlyphs = fontWith('P', raster::kBlack);
        const font::GlyphTable fontGlyphs = fontWith('F', raster::kRed);
        font::writeFontFile(f.workspace.programDirectory + QStringLiteral("fonts/p.llf"), projectGlyphs);
        for (const char *fontName : {"f.llf", "F.LLF"})
            font::writeFontFile(f.path(QLatin1String(fontName)), fontGlyphs);
        QVERIFY(QFile::copy(QStringLiteral(LETTERLOOM_TEST_DATA "/fonts/handmade.bdf"), f.path("h.bdf")));
        writeWholeFile(f.path(QStringLiteral("s.bmp")), picture(2, 2).toBmp());
        ProjectFile file;
        file.text = "project text";
        file.settings.area = {0, 0, 200, 50};
        for (const auto &[projectName, storedFont] : {std::pair{"p.llp", "fonts/p.llf"}, {"lost.llp", "fonts/gone.llf"}}) {
            file.storedFontPath = storedFont;
            writeWholeFile(f.path(QLatin1String(projectName)), projectBytes(file));
        }
        f.fillWithWork();
        f.setFlags(unsaved);
        f.script(answers);
        if (name.endsWith(u".bdf"))
            f.prompter.chooseItem(0);  // its glyphs are Unicode characters: placed through map none
        const font::GlyphTable ownGlyphs = f.workspace.glyphs;
        const QString oldCurrent = QDir::currentPath();
        QDir::setCurrent(f.dir.path());

        QCOMPARE(errorOf([&] { f.commands.openNamedFile(name); }), error);
        QDir::setCurrent(oldCurrent);
        const QStringList bdfNotice{QStringLiteral("choose: Open Font"),
                                    QStringLiteral("notice: ") + font::readAnyFont(f.path("h.bdf")).warnings.join(u'\n')};
        QCOMPARE(f.prompter.log, log == QStringList{"its notice"} ? bdfNotice : log);
        QCOMPARE(f.workspace.projectPath, f.path(projectPath));
        QCOMPARE(f.workspace.fontPath, fontPath.isEmpty() ? QString() : f.path(fontPath));
        if (glyphs == u"bdf") {
            QCOMPARE(f.workspace.glyphs, font::readAnyFont(f.path("h.bdf")).glyphs);
            QVERIFY(f.workspace.fontModified);
        } else {
            QCOMPARE(f.workspace.glyphs, glyphs == u"project" ? projectGlyphs
                                         : glyphs == u"font"  ? fontGlyphs
                                         : glyphs == u"own"   ? ownGlyphs
                                                              : font::GlyphTable());
        }
        if (glyphs == u"project")
            QCOMPARE(f.effects.textBytes, QByteArray("project text"));
        if (glyphs == u"font" || glyphs == u"bdf")
            QVERIFY(f.effects.fontTableVisible);

        // Once asked for, the file is where the next Open dialog starts.
        if (!unsaved.isEmpty() && answers == u"Cancel")
            return;
        f.script({}, {QStringLiteral("-")});
        f.commands.loadText();
        QCOMPARE(f.prompter.dialogs.last().initialDirectory, f.dir.path());
        QCOMPARE(f.prompter.dialogs.last().fileName, name);
    }

    // A project that cannot be read completely changes nothing at all.
    void failedOpenChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("project");
        QTest::addColumn<QByteArray>("font");
        QTest::addColumn<QString>("message");
        ProjectFile file;
        file.storedFontPath = "f.llf";
        file.text = "new text";
        file.pictureBmp = picture(2, 2).toBmp();
        const QByteArray sound = projectBytes(file);
        const QByteArray font = font::fontBytes(fontWith('F', raster::kBlack));
        const QString beyond = QStringLiteral("Read beyond end of file");

        QTest::newRow("no such file") << QByteArray() << font << QStringLiteral("File not found");
        QTest::newRow("format byte 15") << QByteArray(1, 15) + sound.mid(1) << font
                                        << QStringLiteral("Not a Letterloom project file");
        QTest::newRow("picture cut short") << sound.chopped(1) << font << beyond;
        QTest::newRow("negative text length")
            << QByteArray(sound).replace(45, 4, QByteArray::fromHex("ffffffff")) << font << beyond;
        file.pictureBmp = "BM but no picture";
        QTest::newRow("bad picture") << projectBytes(file) << font << QStringLiteral("Bitmap image is not valid");
        QTest::newRow("font cut short") << sound << font.chopped(1) << beyond;
    }

    void failedOpenChangesNothing()
    {
        QFETCH(QByteArray, project);
        QFETCH(QByteArray, font);
        QFETCH(QString, message);
        Fixture f;
        f.fillWithWork();
        writeWholeFile(f.workspace.programDirectory + QStringLiteral("f.llf"), font);
        if (!project.isEmpty())
            writeWholeFile(f.path(QStringLiteral("p.llp")), project);
        const Snapshot before = f.snapshot();
        f.script({}, {QStringLiteral("p.llp")});
        QCOMPARE(errorOf([&] { f.commands.openProject(); }), message);
        QVERIFY(f.snapshot() == before);
        QVERIFY(f.effects.calls.isEmpty());
    }

    // The questions that guard unsaved work when leaving the program, starting
    // a new project or opening another.
    void leaving_data()
    {
        QTest::addColumn<QString>("command");  // "close", "new" or "open"
        QTest::addColumn<QString>("flags");
        QTest::addColumn<bool>("named");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("goesOn");  // closes, resets, or reaches the open dialog

        const QString text = leaveQuestion("Text in the project has been changed");
        const QString several = leaveQuestion("Project has been changed");
        const QString saveAs = QStringLiteral("save: ") + kProjectFilter;
        const QString saveFont = QStringLiteral("save: ") + kFontFilter;
        const QString open = QStringLiteral("open: ") + kProjectFilter;
        QTest::newRow("close, nothing changed") << "close" << "" << false << "" << QStringList() << QStringList() << true;
        QTest::newRow("close, text, No") << "close" << "text" << false << "No" << QStringList() << QStringList{text} << true;
        QTest::newRow("close, picture, No") << "close" << "picture" << false << "No" << QStringList()
                                            << QStringList{leaveQuestion("Project has been changed with new loaded picture")} << true;
        QTest::newRow("close, area, Cancel") << "close" << "area" << false << "Cancel" << QStringList()
                                             << QStringList{leaveQuestion("Text area has been changed in the project")} << false;
        QTest::newRow("close, text and area") << "close" << "text area" << false << "No" << QStringList() << QStringList{several} << true;
        QTest::newRow("close, all three") << "close" << "text picture area" << false << "No" << QStringList() << QStringList{several} << true;
        QTest::newRow("close, effects, Cancel") << "close" << "effects" << false << "Cancel" << QStringList()
                                                << QStringList{several} << false;
        QTest::newRow("close, effects and text") << "close" << "effects text" << false << "No" << QStringList()
                                                 << QStringList{several} << true;
        QTest::newRow("new, effects, No") << "new" << "effects" << false << "No" << QStringList() << QStringList{several} << true;
        QTest::newRow("open, effects, Cancel") << "open" << "effects" << false << "Cancel" << QStringList()
                                               << QStringList{several} << false;
        QTest::newRow("close, named, Yes") << "close" << "text" << true << "Yes" << QStringList() << QStringList{text} << true;
        QTest::newRow("close, unnamed, Yes, Save As cancelled") << "close" << "text" << false << "Yes" << QStringList{"-"}
                                                                << QStringList{text, saveAs} << false;
        QTest::newRow("close, unnamed, Yes, overwrite declined") << "close" << "text" << false << "Yes No" << QStringList{"there.llp"}
                                                                 << QStringList{text, saveAs, kOverwrite} << false;
        QTest::newRow("close, font only, No") << "close" << "font" << false << "No" << QStringList() << QStringList{kFontQuestion} << true;
        QTest::newRow("close, project No, font Cancel") << "close" << "text font" << false << "No Cancel" << QStringList()
                                                        << QStringList{text, kFontQuestion} << false;
        QTest::newRow("close, font Yes, Save Font cancelled") << "close" << "font" << false << "Yes" << QStringList{"-"}
                                                              << QStringList{kFontQuestion, saveFont} << false;
        QTest::newRow("new, text, Cancel") << "new" << "text" << false << "Cancel" << QStringList() << QStringList{text} << false;
        QTest::newRow("new, text, No") << "new" << "text" << false << "No" << QStringList() << QStringList{text} << true;
        QTest::newRow("new, unnamed, Yes, Save As cancelled") << "new" << "text" << false << "Yes" << QStringList{"-"}
                                                              << QStringList{text, saveAs} << false;
        QTest::newRow("new, named, Yes") << "new" << "text" << true << "Yes" << QStringList() << QStringList{text} << true;
        QTest::newRow("new, font, Cancel") << "new" << "font" << false << "Cancel" << QStringList() << QStringList{kFontQuestion} << false;
        QTest::newRow("new, font, No") << "new" << "font" << false << "No" << QStringList() << QStringList{kFontQuestion} << true;
        QTest::newRow("open, text, Cancel") << "open" << "text" << false << "Cancel" << QStringList() << QStringList{text} << false;
        QTest::newRow("open, text, No") << "open" << "text" << false << "No" << QStringList{"-"} << QStringList{text, open} << true;
        QTest::newRow("open, only the font changed") << "open" << "font" << false << "" << QStringList{"-"} << QStringList{open} << true;
    }

    void leaving()
    {
        QFETCH(QString, command);
        QFETCH(QString, flags);
        QFETCH(bool, named);
        QFETCH(QString, answers);
        QFETCH(QStringList, files);
        QFETCH(QStringList, log);
        QFETCH(bool, goesOn);
        Fixture f;
        f.fillWithWork();
        writeWholeFile(f.path(QStringLiteral("there.llp")), "keep");
        if (!named) {
            f.workspace.projectPath.clear();
            f.workspace.fontPath.clear();
        }
        f.setFlags(flags);
        f.script(answers, files);
        const Snapshot before = f.snapshot();

        bool wentOn = true;
        if (command == u"close")
            wentOn = f.commands.closeQuery();
        else if (command == u"new")
            f.commands.newProject();
        else
            f.commands.openProject();

        QCOMPARE(f.prompter.log, log);
        if (command == u"new")
            wentOn = f.workspace.projectPath.isEmpty() && f.effects.textBytes.isEmpty() && !f.workspace.fontModified;
        if (command == u"open")
            wentOn = log.last().startsWith(u"open");
        QCOMPARE(wentOn, goesOn);
        if (!goesOn)
            QVERIFY(f.snapshot() == before);
        QCOMPARE(readWholeFile(f.path(QStringLiteral("there.llp"))), QByteArray("keep"));
        // Yes on a named project wrote it before going on.
        QCOMPARE(isRegularFile(f.path(QStringLiteral("old.llp"))), named && answers.startsWith(u"Yes"));
    }

    // A save that fails leaves the file on disk, the paths, the captions and
    // the change flags exactly as they were.
    void failedSaveChangesNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("diskFull");
        for (const bool diskFull : {false, true}) {
            const char *where = diskFull ? ", disk full" : ", no room for a name";
            QTest::addRow("Save%s", where) << "save" << diskFull;
            QTest::addRow("Save As%s", where) << "saveAs" << diskFull;
            QTest::addRow("Save Font%s", where) << "saveFont" << diskFull;
        }
    }

    void failedSaveChangesNothing()
    {
        QFETCH(QString, command);
        QFETCH(bool, diskFull);
        if (diskFull)
            LETTERLOOM_ON_A_FULL_DISK();
        Fixture f;
        f.fillWithWork();
        f.setFlags(QStringLiteral("text font"));
        // Unless the disk is full, the longest name a folder allows: the file
        // exists, but no temporary file can be made beside it.
        const QString name = (diskFull ? QStringLiteral("old") : QString(251, u'n'))
                             + (command == u"saveFont" ? QStringLiteral(".llf") : QStringLiteral(".llp"));
        writeWholeFile(f.path(name), "previous");
        if (command == u"save")
            f.workspace.projectPath = f.path(name);
        else
            f.script(QStringLiteral("Yes"), {name});
        if (diskFull)
            QVERIFY(testing::fillDisk());
        const Snapshot before = f.snapshot();

        const QString message = errorOf([&] {
            command == u"save" ? f.commands.saveProject()
                : command == u"saveAs" ? f.commands.saveProjectAs() : f.commands.saveFont();
        });
        QVERIFY(!message.isEmpty());
        if (diskFull)
            QCOMPARE(message, QStringLiteral("Disk full"));
        QCOMPARE(readWholeFile(f.path(name)), QByteArray("previous"));
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
        QVERIFY(f.snapshot() == before);
    }

    void openFont_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("sound");  // the chosen font file is complete
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("loads");
        const QString open = QStringLiteral("open: ") + kOpenFontFilter;
        const QStringList chosen{QStringLiteral("new.llf")};
        QTest::newRow("unchanged font") << false << "" << chosen << true << QStringList{open} << true;
        QTest::newRow("changed, No") << true << "No" << chosen << true << QStringList{kFontQuestion, open} << true;
        QTest::newRow("changed, Cancel") << true << "Cancel" << QStringList() << true << QStringList{kFontQuestion} << false;
        QTest::newRow("changed, Yes, Save Font cancelled")
            << true << "Yes" << QStringList{"-"} << true
            << QStringList{kFontQuestion, QStringLiteral("save: ") + kFontFilter} << false;
        QTest::newRow("dialog cancelled") << false << "" << QStringList{"-"} << true << QStringList{open} << false;
        QTest::newRow("font cut short") << false << "" << chosen << false << QStringList{open} << false;
    }

    void openFont()
    {
        QFETCH(bool, modified);
        QFETCH(QString, answers);
        QFETCH(QStringList, files);
        QFETCH(bool, sound);
        QFETCH(QStringList, log);
        QFETCH(bool, loads);
        Fixture f;
        f.fillWithWork();
        f.workspace.fontPath.clear();
        f.workspace.fontModified = modified;
        const QByteArray newFont = font::fontBytes(fontWith('N', raster::kBlack));
        writeWholeFile(f.path(QStringLiteral("new.llf")), sound ? newFont : newFont.chopped(4));
        f.script(answers, files);
        const Snapshot before = f.snapshot();

        const QString message = errorOf([&] { f.commands.openFont(); });
        QCOMPARE(f.prompter.log, log);
        QCOMPARE(message.isEmpty(), sound);
        if (!loads) {
            QVERIFY(f.snapshot() == before);
            return;
        }
        QCOMPARE(f.workspace.glyphs, font::parseFont(newFont));
        QCOMPARE(f.workspace.fontPath, f.path(QStringLiteral("new.llf")));
        QCOMPARE(f.effects.fontTableCaption, QStringLiteral("Character Table - new.llf"));
        QVERIFY(!f.workspace.fontModified && f.effects.fontTableVisible);
    }

    // What each file dialog starts with: the project's or the font's file when
    // the command names one, otherwise the folder and name its last use left.
    void dialogSetUp_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("named");  // the project and the font have files
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("proposed");  // empty: the last use's "/last/last.x"
        const QString picture = QStringLiteral("Bitmaps (*.bmp)|*.bmp|PNG pictures (*.png)|*.png");
        const QString text = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
        QTest::newRow("Open, named") << "open" << true << kProjectFilter << "" << "old.llp";
        QTest::newRow("Open, unnamed") << "open" << false << kProjectFilter << "" << "";
        QTest::newRow("Save As, named") << "saveAs" << true << kProjectFilter << "llp" << "old.llp";
        QTest::newRow("Save As, unnamed") << "saveAs" << false << kProjectFilter << "llp" << "";
        QTest::newRow("Open Font, named") << "openFont" << true << kOpenFontFilter << "" << "old.llf";
        QTest::newRow("Open Font, unnamed") << "openFont" << false << kOpenFontFilter << "" << "";
        QTest::newRow("Save Font, named") << "saveFont" << true << kFontFilter << "llf" << "old.llf";
        QTest::newRow("Save Font, unnamed") << "saveFont" << false << kFontFilter << "llf" << "";
        QTest::newRow("Load Text, named project") << "loadText" << true << text << "" << "";
        QTest::newRow("Load Image, named project") << "loadImage" << true << picture << "" << "";
        QTest::newRow("Image Export, named project") << "export" << true << picture << "bmp" << "";
    }

    void dialogSetUp()
    {
        QFETCH(QString, command);
        QFETCH(bool, named);
        QFETCH(QString, filter);
        QFETCH(QString, extension);
        QFETCH(QString, proposed);
        Fixture f;
        f.fillWithWork();
        if (!named) {
            f.workspace.projectPath.clear();
            f.workspace.fontPath.clear();
        }
        FileDialogs &dialogs = f.commands.dialogs();
        for (FileDialog *dialog : {&dialogs.open, &dialogs.save, &dialogs.openPicture, &dialogs.savePicture})
            *dialog = {QStringLiteral("stale|*.x"), QStringLiteral("x"), QStringLiteral("/last"), QStringLiteral("last.x")};
        f.script({}, {QStringLiteral("-")});
        Raster view(2, 2);
        if (command == u"open")
            f.commands.openProject();
        else if (command == u"saveAs")
            f.commands.saveProjectAs();
        else if (command == u"openFont")
            f.commands.openFont();
        else if (command == u"saveFont")
            f.commands.saveFont();
        else if (command == u"loadText")
            f.commands.loadText();
        else if (command == u"loadImage")
            f.commands.loadImage();
        else
            f.commands.exportImage(view);

        QCOMPARE(f.prompter.dialogs.size(), 1);
        const FileDialog &shown = f.prompter.dialogs.first();
        QCOMPARE(shown.filter, filter);
        QCOMPARE(shown.defaultExtension, extension);
        QCOMPARE(shown.initialDirectory, proposed.isEmpty() ? QStringLiteral("/last") : f.dir.path());
        QCOMPARE(shown.fileName, proposed.isEmpty() ? QStringLiteral("last.x") : proposed);
    }

    void dialogsStartInTheProgramFolder_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<bool>("savesAtHome");

        QTest::newRow("the user's to write") << "writable" << false;
        QTest::newRow("installed, not the user's") << "read-only" << true;
        QTest::newRow("gone") << "missing" << true;
    }

    // A fresh program's dialogs start without a name, the open dialogs in the
    // program folder, the save dialogs there too when the user may write
    // there and otherwise in the home folder.
    void dialogsStartInTheProgramFolder()
    {
        QFETCH(QString, programFolder);
        QFETCH(bool, savesAtHome);
        QTemporaryDir dir;
        const QString program = dir.path() + QStringLiteral("/prog/");
        const QString home = dir.path() + QStringLiteral("/home");
        QVERIFY(QDir().mkpath(home));
        if (programFolder != u"missing")
            QVERIFY(QDir().mkpath(program));
        if (programFolder == u"read-only") {
            QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
            if (QFileInfo(program).isWritable())
                QSKIP("this user may write into every folder");
        }
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.toUtf8());
        Workspace workspace{program};
        FakePrompter prompter;
        FakeEffects effects;
        ProjectCommands commands{workspace, prompter, effects};
        qputenv("HOME", oldHome);

        const FileDialogs &dialogs = commands.dialogs();
        for (const FileDialog *dialog : {&dialogs.open, &dialogs.openPicture})
            QCOMPARE(dialog->initialDirectory, program);
        for (const FileDialog *dialog : {&dialogs.save, &dialogs.savePicture})
            QCOMPARE(dialog->initialDirectory, savesAtHome ? home + u'/' : program);
        for (const FileDialog *dialog : {&dialogs.open, &dialogs.save, &dialogs.openPicture, &dialogs.savePicture})
            QCOMPARE(dialog->fileName, QString());
    }

    // Save Font asks for a name even when the font has a file.
    void saveFontAsksForName()
    {
        Fixture f;
        f.fillWithWork();
        f.workspace.fontModified = true;
        writeWholeFile(f.workspace.fontPath, "old font");
        f.script(QStringLiteral("Yes"), {QStringLiteral("old.llf")});
        QVERIFY(f.commands.saveFont());
        const FileDialog &dialog = f.prompter.dialogs.last();
        QCOMPARE(dialog.initialDirectory, f.dir.path());
        QCOMPARE(dialog.fileName, QStringLiteral("old.llf"));
        QCOMPARE(dialog.defaultExtension, QStringLiteral("llf"));
        QCOMPARE(f.prompter.log.last(), kOverwrite);
        QCOMPARE(readWholeFile(f.workspace.fontPath), font::fontBytes(f.workspace.glyphs));
        QVERIFY(!f.workspace.fontModified);
    }

    void editCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("textChanged");
        QTest::addColumn<QString>("error");
        const QString clear = QStringLiteral("ask: You really want to clear the text?");
        const QString textDialog = QStringLiteral("open: Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
        const QString imageDialog = QStringLiteral("open: Bitmaps (*.bmp)|*.bmp|PNG pictures (*.png)|*.png");
        QTest::newRow("Load Text") << "loadText" << "" << QStringList{textDialog}
                                   << QByteArray(oddText()).replace(" line\n", " line\r\n") << true << "";
        QTest::newRow("Clear Text, Yes") << "clear" << "Yes" << QStringList{clear} << QByteArray() << true << "";
        QTest::newRow("Clear Text, No") << "clear" << "No" << QStringList{clear} << QByteArray("old text") << false << "";
        QTest::newRow("Load Image") << "loadImage" << "" << QStringList{imageDialog} << QByteArray("old text") << false << "";
        QTest::newRow("Load Image, not a BMP") << "badImage" << "" << QStringList{imageDialog} << QByteArray("old text")
                                               << false << "Bitmap image is not valid";
    }

    void editCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, answers);
        QFETCH(QStringList, log);
        QFETCH(QByteArray, text);
        QFETCH(bool, textChanged);
        QFETCH(QString, error);
        Fixture f;
        f.fillWithWork();
        const Snapshot before = f.snapshot();
        writeWholeFile(f.path(QStringLiteral("t.txt")), oddText());
        picture(7, 4).writeBmpFile(f.path(QStringLiteral("i.bmp")));
        writeWholeFile(f.path(QStringLiteral("bad.bmp")), "BM not really");
        f.script(answers, {command == u"loadText" ? QStringLiteral("t.txt")
                           : command == u"loadImage" ? QStringLiteral("i.bmp") : QStringLiteral("bad.bmp")});
        if (command == u"clear")
            f.prompter.files.clear();

        QCOMPARE(errorOf([&] {
            command == u"loadText" ? f.commands.loadText()
                : command == u"clear" ? f.commands.clearText() : f.commands.loadImage();
        }), error);
        QCOMPARE(f.prompter.log, log);
        QCOMPARE(f.effects.textBytes, text);
        QCOMPARE(f.workspace.textChanged, textChanged);
        if (command == u"loadText")
            QCOMPARE(f.effects.textCaption, QStringLiteral("Text - t.txt"));
        if (command == u"loadImage") {
            QCOMPARE(f.workspace.picture, picture(7, 4));
            QCOMPARE(f.effects.imageViewSize, QSize(7, 4));
            QCOMPARE(f.effects.imageCaption, QStringLiteral("Image - i.bmp"));
            QVERIFY(f.workspace.pictureChanged && f.effects.refreshEnabled);
            QCOMPARE(f.workspace.settings.area, before.settings.area);
        }
        if (command == u"badImage")
            QVERIFY(f.snapshot() == before && f.effects.calls.isEmpty());
    }

    // Load Text takes the file's lines: whatever line breaks the file was
    // written with, the text holds CR LF between its lines.
    void loadTextLineBreaks_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("text");
        QByteArray everyOtherByte;
        for (int code = 0; code < 256; ++code)
            if (code != '\n' && code != '\r')
                everyOtherByte.append(char(code));
        QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\n") << QByteArray("one\r\ntwo\r\n");
        QTest::newRow("LF") << QByteArray("one\ntwo\n") << QByteArray("one\r\ntwo\r\n");
        QTest::newRow("LF first, then CR LF") << QByteArray("\nmixed\r\nend") << QByteArray("\r\nmixed\r\nend");
        QTest::newRow("two LF in a row") << QByteArray("a\n\nb") << QByteArray("a\r\n\r\nb");
        QTest::newRow("lone CR") << QByteArray("a\rb") << QByteArray("a\r\nb");
        QTest::newRow("old Macintosh lines") << QByteArray("one\rtwo\r\rend\r")
                                             << QByteArray("one\r\ntwo\r\n\r\nend\r\n");
        QTest::newRow("CR before CR LF") << QByteArray("a\r\r\nb") << QByteArray("a\r\n\r\nb");
        QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb");
        QTest::newRow("all three mixed") << QByteArray("1\r\n2\n3\r4") << QByteArray("1\r\n2\r\n3\r\n4");
        QTest::newRow("every other byte kept") << everyOtherByte << everyOtherByte;
    }

    void loadTextLineBreaks()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, text);
        Fixture f;
        writeWholeFile(f.path(QStringLiteral("t.txt")), file);
        f.script({}, {QStringLiteral("t.txt")});
        f.commands.loadText();
        QCOMPARE(f.effects.textBytes, text);
    }

    // UTF-8 files go through the font's character map; others, and every
    // file with no map, are taken byte for byte.
    void loadTextThroughMap_data()
    {
        QTest::addColumn<QString>("map");  // a code page, "none" or "table"
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("windows-1251") << "windows-1251" << u"Привет\nмир"_qs.toUtf8()
                                      << QByteArray::fromHex("CFF0E8E2E5F20D0AECE8F0") << "";
        QTest::newRow("KOI8-R with a byte-order mark") << "KOI8-R" << "\xEF\xBB\xBF" + u"Да"_qs.toUtf8()
                                                       << QByteArray::fromHex("E4C1") << "";
        QTest::newRow("Greek") << "ISO-8859-7" << u"Καλημέρα"_qs.toUtf8() << QByteArray::fromHex("CAE1EBE7ECDDF1E1")
                               << "";
        QTest::newRow("Central European") << "windows-1250" << u"Łódź\r\n"_qs.toUtf8()
                                          << QByteArray::fromHex("A3F3649F0D0A") << "";
        QTest::newRow("DTE table") << "table" << QByteArray("the that") << QByteArray::fromHex("E120E08E9D") << "";
        QTest::newRow("a file in the code page itself") << "windows-1251" << QByteArray::fromHex("CFF0E80A")
                                                        << QByteArray::fromHex("CFF0E80D0A") << "";
        QTest::newRow("no map: UTF-8 bytes as they are") << "none" << u"café"_qs.toUtf8() << QByteArray("caf\xC3\xA9")
                                                         << "";
        QTest::newRow("a character without code") << "windows-1251" << u"мир\nété"_qs.toUtf8() << QByteArray("old")
                                                  << u"Line 2: \u201Cé\u201D (U+00E9) has no code in the font's "
                                                     "character map (windows-1251)"_qs;
    }

    void loadTextThroughMap()
    {
        QFETCH(QString, map);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        Fixture f;
        if (map == u"table")
            f.workspace.fontExtras.charMap = font::readTable("8E=a\n93=h\n9D=t\nE0=th\nE1=the\n").map;
        else if (map != u"none")
            f.workspace.fontExtras.charMap = font::CharMap::fromCodePage(map);
        f.effects.textBytes = "old";
        writeWholeFile(f.path(QStringLiteral("t.txt")), file);
        f.script({}, {QStringLiteral("t.txt")});
        QCOMPARE(errorOf([&] { f.commands.loadText(); }), error);
        QCOMPARE(f.effects.textBytes.toHex(' '), text.toHex(' '));
        QCOMPARE(f.workspace.textChanged, error.isEmpty());
    }

    // Font > Character Map...: the list starts at the font's map; a choice
    // relabels the codes (glyphs stay), modifies the font and is undone as
    // one step; a table's left-out lines are named.
    void chooseCharMap_data()
    {
        QTest::addColumn<QString>("start");  // the map before: a code page or "none"
        QTest::addColumn<int>("item");       // -1 cancels
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("chosen");  // the map's description after
        QTest::addColumn<QStringList>("log");
        const QString choose = QStringLiteral("choose: Character Map");
        const QString open = QStringLiteral("open: Character tables (*.tbl)|*.tbl|All Files (*.*)|*.*");
        QTest::newRow("none to windows-1251") << "none" << 1 + 16 << QByteArray() << "windows-1251"
                                              << QStringList{choose};
        QTest::newRow("KOI8-R back to none") << "KOI8-R" << 0 << QByteArray() << "none" << QStringList{choose};
        QTest::newRow("cancelled") << "KOI8-R" << -1 << QByteArray() << "KOI8-R" << QStringList{choose};
        QTest::newRow("the same map") << "cp437" << 1 + 24 << QByteArray() << "cp437" << QStringList{choose};
        QTest::newRow("a table") << "none" << 1 + 31 << QByteArray("41=A\nE0=th\n") << "table game.tbl"
                                 << QStringList{choose, open};
        QTest::newRow("a table with left-out lines")
            << "none" << 1 + 31 << QByteArray("41=A\n8140=x\n*FE\n") << "table game.tbl"
            << QStringList{choose, open,
                           "notice: Lines left out of game.tbl:\nline 2: the code 8140 is longer than one byte\n"
                           "line 3: a control code, which the program does not use"};
    }

    void chooseCharMap()
    {
        QFETCH(QString, start);
        QFETCH(int, item);
        QFETCH(QByteArray, table);
        QFETCH(QString, chosen);
        QFETCH(QStringList, log);
        Fixture f;
        const font::CharMap before =
            start == u"none" ? font::CharMap() : font::CharMap::fromCodePage(start);
        f.workspace.fontExtras.charMap = before;
        f.workspace.glyphs = fontWith(0xE0, raster::kBlack);
        if (item >= 0)
            f.prompter.chooseItem(item);
        if (!table.isEmpty()) {
            writeWholeFile(f.path(QStringLiteral("game.tbl")), table);
            f.script({}, {QStringLiteral("game.tbl")});
        }
        const std::uint64_t revision = f.workspace.revision();
        f.commands.chooseCharMap();

        QCOMPARE(f.prompter.log, log);
        QCOMPARE(f.prompter.itemLists.first().size(), 33);
        QCOMPARE(f.prompter.itemLists.first().at(1 + 16), QStringLiteral("windows-1251"));
        QCOMPARE(f.prompter.itemStarts.first(),
                 before.isNone() ? 0 : 1 + int(font::CharMap::codePageNames().indexOf(start)));
        QCOMPARE(f.workspace.fontExtras.charMap.description(), chosen);
        QVERIFY(f.workspace.glyphs == fontWith(0xE0, raster::kBlack));
        const bool changed = !(f.workspace.fontExtras.charMap == before);
        QCOMPARE(f.workspace.fontModified, changed);
        QCOMPARE(f.workspace.revision() != revision, changed);
        QCOMPARE(f.effects.calls.contains(QStringLiteral("showCharMap")), changed);
        if (!changed)
            return;
        const font::CharMap after = f.workspace.fontExtras.charMap;
        f.effects.calls.clear();
        f.commands.glyphHistory().undo();
        QVERIFY(f.workspace.fontExtras.charMap == before);
        QVERIFY(!f.workspace.fontModified);
        QCOMPARE(f.effects.calls, QStringList{QStringLiteral("showCharMap")});
        f.commands.glyphHistory().redo();
        QVERIFY(f.workspace.fontExtras.charMap == after);
        QVERIFY(f.workspace.fontModified);
    }

    // Font > Kerning...: the dialog starts at the font's pairs; what it gives
    // is one step of the font (undone and redone, saved with it); Cancel and
    // the same pairs change nothing.
    void editKerning_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QList<int>>("chosen");  // left, right, pixels, ...
        QTest::addColumn<bool>("changed");
        QTest::newRow("a pair added") << false << QList<int>{65, 86, -2, 86, 65, -1} << true;
        QTest::newRow("every pair removed") << false << QList<int>{} << true;
        QTest::newRow("the same pairs") << false << QList<int>{65, 86, -2} << false;
        QTest::newRow("cancelled") << true << QList<int>{} << false;
    }

    void editKerning()
    {
        QFETCH(bool, cancelled);
        QFETCH(QList<int>, chosen);
        QFETCH(bool, changed);
        Fixture f;
        f.workspace.glyphs = fontWith('A', raster::kBlack);
        f.workspace.fontPath = f.path(QStringLiteral("k.llf"));
        const font::Kerning before({{65, 86, -2}});
        f.workspace.fontExtras.kerning = before;
        std::vector<font::KerningPair> pairs;
        for (qsizetype i = 0; i + 2 < chosen.size(); i += 3)
            pairs.push_back({std::uint8_t(chosen[i]), std::uint8_t(chosen[i + 1]), chosen[i + 2]});
        const font::Kerning after(pairs);
        f.prompter.kernings.push_back(cancelled ? std::nullopt : std::optional(after));
        const std::uint64_t revision = f.workspace.revision();
        f.commands.editKerning();

        QCOMPARE(f.prompter.log, QStringList{QStringLiteral("kerning")});
        QCOMPARE(f.prompter.kerningStarts, QList<font::Kerning>{before});
        QCOMPARE(f.workspace.fontExtras.kerning, changed ? after : before);
        QCOMPARE(f.workspace.fontModified, changed);
        QCOMPARE(f.workspace.revision() != revision, changed);
        QVERIFY(f.workspace.glyphs == fontWith('A', raster::kBlack));
        if (!changed)
            return;
        QVERIFY(f.commands.saveCurrentFont());
        QCOMPARE(readWholeFile(f.workspace.fontPath), font::fontFileBytes(f.workspace.glyphs, f.workspace.fontExtras));
        f.commands.glyphHistory().undo();
        QCOMPARE(f.workspace.fontExtras.kerning, before);
        QVERIFY(f.workspace.fontModified);
        f.commands.glyphHistory().redo();
        QCOMPARE(f.workspace.fontExtras.kerning, after);
        QVERIFY(!f.workspace.fontModified);
    }

    // The map is kept in the font's file: saved with it, read back with it,
    // and no block at all for a font without one.
    void charMapSavedWithFont()
    {
        Fixture f;
        f.workspace.glyphs = fontWith('A', raster::kBlack);
        f.workspace.fontPath = f.path(QStringLiteral("cyr.llf"));
        QVERIFY(f.commands.saveCurrentFont());
        QCOMPARE(readWholeFile(f.workspace.fontPath), font::fontBytes(f.workspace.glyphs));

        f.prompter.chooseItem(1 + 16);
        f.commands.chooseCharMap();
        QVERIFY(f.commands.saveCurrentFont());
        QVERIFY(readWholeFile(f.workspace.fontPath).endsWith(R"({"charMap":{"name":"windows-1251"}})"));

        Fixture g;
        g.script({}, {QStringLiteral("cyr.llf")});
        writeWholeFile(g.path(QStringLiteral("cyr.llf")), readWholeFile(f.workspace.fontPath));
        g.commands.openFont();
        QCOMPARE(g.workspace.fontExtras.charMap.description(), QStringLiteral("windows-1251"));
        QVERIFY(!g.workspace.fontModified);
        QVERIFY(g.effects.calls.contains(QStringLiteral("showCharMap")));
    }

    void chooseCharMapRefusesBrokenTable()
    {
        Fixture f;
        writeWholeFile(f.path(QStringLiteral("bad.tbl")), "# nothing here\n/FF=end\n");
        f.prompter.chooseItem(32);
        f.script({}, {QStringLiteral("bad.tbl")});
        QCOMPARE(errorOf([&] { f.commands.chooseCharMap(); }),
                 QStringLiteral("The table has no entry of the form HEX=text"));
        QVERIFY(f.workspace.fontExtras.charMap.isNone());
        QVERIFY(!f.workspace.fontModified);
    }

    // Opening, emptying or importing a font gives it its own map (none for
    // now): the labels of the old one do not stay behind.
    void fontsBringTheirMap()
    {
        Fixture f;
        f.workspace.fontExtras.charMap = font::CharMap::fromCodePage(QStringLiteral("KOI8-R"));
        font::writeFontFile(f.path(QStringLiteral("plain.llf")), fontWith('A', raster::kBlack));
        f.script({}, {QStringLiteral("plain.llf")});
        f.commands.openFont();
        QVERIFY(f.workspace.fontExtras.charMap.isNone());
        QVERIFY(f.effects.calls.contains(QStringLiteral("showCharMap")));
        f.workspace.fontExtras.charMap = font::CharMap::fromCodePage(QStringLiteral("KOI8-R"));
        f.commands.resetProject();
        QVERIFY(f.workspace.fontExtras.charMap.isNone());
    }

    void refreshShowsLayoutNotice_data()
    {
        QTest::addColumn<std::int32_t>("areaWidth");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("fits") << 50 << QStringList();
        QTest::newRow("too narrow") << 3 << QStringList{"notice: Text does not fit in the specified area by width!"};
    }

    void refreshShowsLayoutNotice()
    {
        QFETCH(std::int32_t, areaWidth);
        QFETCH(QStringList, log);
        Fixture f;
        f.workspace.glyphs = fontWith('A', raster::kBlack);
        f.workspace.settings.area = {0, 0, areaWidth, 40};
        f.effects.textBytes = "AA";
        f.effects.colour = raster::kRed;
        f.commands.refresh();
        QCOMPARE(f.prompter.log, log);
        QCOMPARE(f.workspace.overlay.size(), QSize(areaWidth, 40));
        if (log.isEmpty())
            QCOMPARE(f.workspace.overlay.pixel(2, 11), raster::kRed);  // tinted
    }

    // The new-project reset empties the project and the font and keeps the
    // settings of the toolbars, the selected glyph and the image view.
    void newProjectReset_data()
    {
        QTest::addColumn<QString>("command");  // "reset" at start-up, or "new"
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("start-up, nothing asked") << "reset" << "" << QStringList();
        QTest::newRow("New, both kinds of work let go")
            << "new" << "No No"
            << QStringList{leaveQuestion("Project has been changed"), kFontQuestion};
    }

    void newProjectReset()
    {
        QFETCH(QString, command);
        QFETCH(QString, answers);
        QFETCH(QStringList, log);
        Fixture f;
        f.fillWithWork();
        f.setFlags(QStringLiteral("text picture area font"));
        f.effects.refreshEnabled = true;
        f.effects.fontTableVisible = true;
        f.effects.imageViewSize = QSize(6, 5);
        f.workspace.currentGlyph = 'A';
        f.workspace.overlay = picture(50, 20);
        f.effects.imageCaption = QStringLiteral("Image - old.bmp");
        f.effects.textCaption = QStringLiteral("Text - old.txt");
        ProjectSettings kept = f.workspace.settings;
        kept.area = {};
        f.script(answers);

        command == u"reset" ? f.commands.resetProject() : f.commands.newProject();
        QCOMPARE(f.prompter.log, log);
        QCOMPARE(f.workspace.settings, kept);
        QCOMPARE(f.workspace.picture, Raster());
        QVERIFY(!f.workspace.pictureLoaded && !f.effects.refreshEnabled);
        QCOMPARE(f.workspace.projectPath, QString());
        QCOMPARE(f.workspace.fontPath, QString());
        QCOMPARE(f.effects.mainCaption, QStringLiteral("Letterloom v1.0"));
        // No caption names the font, picture or text that were left.
        QCOMPARE(f.effects.fontTableCaption, QStringLiteral("Character Table"));
        QCOMPARE(f.effects.imageCaption, QStringLiteral("Image"));
        QCOMPARE(f.effects.textCaption, QStringLiteral("Text Input Window"));
        QCOMPARE(f.effects.textBytes, QByteArray());
        QCOMPARE(f.workspace.glyphs, font::GlyphTable());
        QVERIFY(f.effects.fontTableRefreshes > 0 && !f.effects.fontTableVisible);
        QCOMPARE(f.snapshot().flags, (std::array<bool, 4>{false, false, false, false}));
        QCOMPARE(f.workspace.currentGlyph, int('A'));
        QCOMPARE(f.effects.imageViewSize, QSize(6, 5));
        QCOMPARE(f.workspace.overlay, picture(50, 20));
    }

    void exportImage()
    {
        Fixture f;
        f.workspace.pictureLoaded = true;
        f.workspace.picture = picture(6, 4);
        f.workspace.settings.area = {1, 1, 3, 2};
        Raster view(6, 4);
        writeWholeFile(f.path(QStringLiteral("out.bmp")), "old");
        f.script({}, {QStringLiteral("out")});
        f.commands.exportImage(view);
        const FileDialog &dialog = f.prompter.dialogs.last();
        QCOMPARE(dialog.filter, QStringLiteral("Bitmaps (*.bmp)|*.bmp|PNG pictures (*.png)|*.png"));
        QCOMPARE(dialog.defaultExtension, QStringLiteral("bmp"));
        QCOMPARE(Raster::readBmpFile(f.path(QStringLiteral("out.bmp"))), picture(6, 4));  // no frame, no hints
    }

    // The export is what its name says: PNG for .png, BMP for .bmp (in any
    // case) or a bare name; any other extension is refused and nothing written.
    void exportNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");  // the file and its kind, "" for none
        QTest::addColumn<QString>("error");
        const QString refused = QStringLiteral("A picture cannot be written as a .%1 file, so \"%2\" was not "
                                               "written: choose a name ending in .bmp (BMP) or .png (PNG).");
        QTest::newRow("png") << "out.png" << "png" << "";
        QTest::newRow("PNG in capitals") << "out.PNG" << "png" << "";
        QTest::newRow("bmp") << "out.bmp" << "bmp" << "";
        QTest::newRow("Bmp mixed case") << "out.Bmp" << "bmp" << "";
        QTest::newRow("bare name, the default extension") << "out" << "bmp" << "";
        QTest::newRow("jpg refused") << "out.jpg" << "" << refused.arg("jpg", "out.jpg");
        QTest::newRow("png inside the name refused") << "out.png.txt" << "" << refused.arg("txt", "out.png.txt");
    }

    void exportNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, written);
        QFETCH(QString, error);
        Fixture f;
        f.workspace.pictureLoaded = true;
        f.workspace.picture = picture(6, 4);
        Raster view(6, 4);
        f.script({}, {name});
        QCOMPARE(errorOf([&] { f.commands.exportImage(view); }), error);
        const QStringList files = QDir(f.dir.path()).entryList(QDir::Files);
        if (written.isEmpty()) {
            QCOMPARE(files, QStringList());
            return;
        }
        QCOMPARE(files.size(), 1);
        const QByteArray bytes = readWholeFile(f.path(files.first()));
        QVERIFY(bytes.startsWith(written == u"png" ? QByteArray("\x89PNG") : QByteArray("BM")));
        const Raster back = written == u"png" ? Raster::fromPng(bytes) : Raster::fromBmp(bytes);
        QCOMPARE(back, picture(6, 4));
    }

    // Without a picture there is nothing to export: a message says so before
    // any dialog, and no file is written.
    void exportWithoutPicture_data()
    {
        QTest::addColumn<bool>("pictureLoaded");
        QTest::newRow("no picture loaded yet") << false;
        QTest::newRow("project saved without a picture") << true;
    }

    void exportWithoutPicture()
    {
        QFETCH(bool, pictureLoaded);
        Fixture f;
        f.workspace.pictureLoaded = pictureLoaded;
        Raster view(297, 274);
        QCOMPARE(errorOf([&] { f.commands.exportImage(view); }),
                 QStringLiteral("There is no picture to export. Load one with Edit > Load Image... first."));
        QCOMPARE(f.prompter.log, QStringList());
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), QStringList());
    }

    // Edit > Fit Text in an area of the font "a" 4 wide, the space 3 (a word
    // of k letters 4k + tracking x (k - 1), a space at least 1 at word
    // spacing -2), from line spacing 10 (the floor 6).
    void fitText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<TextArea>("area");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("setting");  // line spacing, tracking, word spacing after
        QTest::addColumn<bool>("applied");

        const QString noneFits = QStringLiteral(
            "ask: No setting makes the text fit in the text area (by height), down to line spacing 6, tracking -1, "
            "word spacing -2. Try another font? What it gives is only shown; the project keeps its font.");
        const QString open = QStringLiteral("open: ") + kOpenFontFilter;
        QTest::newRow("fits as it is") << QByteArray("aa aa") << TextArea{0, 0, 26, 5} << "" << QStringList{}
                                       << QStringList{"notice: The text already fits in the text area."}
                                       << "10,0,0" << false;
        QTest::newRow("line spacing, applied") << QByteArray("aa aa aa") << TextArea{0, 0, 26, 14} << "Yes"
                                               << QStringList{}
                                               << QStringList{"ask: The text fits with line spacing 8 (now line "
                                                              "spacing 10). Apply it?"}
                                               << "8,0,0" << true;
        QTest::newRow("declined") << QByteArray("aa aa aa") << TextArea{0, 0, 26, 14} << "No" << QStringList{}
                                  << QStringList{"ask: The text fits with line spacing 8 (now line spacing 10). "
                                                 "Apply it?"}
                                  << "10,0,0" << false;
        QTest::newRow("tracking at the floor") << QByteArray("aa aa") << TextArea{0, 0, 25, 5} << "Yes"
                                               << QStringList{}
                                               << QStringList{"ask: The text fits with line spacing 6, tracking -1 "
                                                              "(now line spacing 10, tracking 0). Apply it?"}
                                               << "6,-1,0" << true;
        QTest::newRow("word spacing too") << QByteArray("aa aa") << TextArea{0, 0, 23, 5} << "Yes" << QStringList{}
                                          << QStringList{"ask: The text fits with line spacing 6, tracking -1, word "
                                                         "spacing -1 (now line spacing 10, tracking 0, word spacing "
                                                         "0). Apply it?"}
                                          << "6,-1,-1" << true;
        QTest::newRow("nothing fits, no other font") << QByteArray("aa aa") << TextArea{0, 0, 18, 5} << "No"
                                                     << QStringList{} << QStringList{noneFits} << "10,0,0" << false;
        QTest::newRow("another font cancelled") << QByteArray("aa aa") << TextArea{0, 0, 18, 5} << "Yes"
                                                << QStringList{"-"} << QStringList{noneFits, open} << "10,0,0"
                                                << false;
        // "a" 2 wide: 7 + 7 <= 14 as it is.
        QTest::newRow("another font fits as it is") << QByteArray("aa aa") << TextArea{0, 0, 18, 5} << "Yes"
                                                    << QStringList{"narrow.llf"}
                                                    << QStringList{noneFits, open,
                                                                   "notice: With narrow.llf the text fits as it is. "
                                                                   "The project's font is not changed."}
                                                    << "10,0,0" << false;
        // "a" 3 wide: 5 + 2 twice at tracking -1 and word spacing -1.
        QTest::newRow("another font with a setting") << QByteArray("aa aa") << TextArea{0, 0, 18, 5} << "Yes"
                                                     << QStringList{"three.llf"}
                                                     << QStringList{noneFits, open,
                                                                    "notice: With three.llf the text fits with line "
                                                                    "spacing 6, tracking -1, word spacing -1. The "
                                                                    "project's font is not changed."}
                                                     << "10,0,0" << false;
        QTest::newRow("another font fits neither") << QByteArray("aa aa") << TextArea{0, 0, 18, 5} << "Yes"
                                                   << QStringList{"same.llf"}
                                                   << QStringList{noneFits, open,
                                                                  "notice: With same.llf no setting makes the text "
                                                                  "fit either."}
                                                   << "10,0,0" << false;
    }

    void fitText()
    {
        QFETCH(QByteArray, text);
        QFETCH(TextArea, area);
        QFETCH(QString, answers);
        QFETCH(QStringList, files);
        QFETCH(QStringList, log);
        QFETCH(QString, setting);
        QFETCH(bool, applied);
        Fixture f;
        font::writeFontFile(f.path("narrow.llf"), testing::fontFrom("a=2 32=3"));
        font::writeFontFile(f.path("three.llf"), testing::fontFrom("a=3 32=3"));
        font::writeFontFile(f.path("same.llf"), testing::fontFrom("a=4 32=3"));
        f.fillWithWork();
        f.workspace.glyphs = testing::fontFrom("a=4 32=3");
        f.workspace.settings.area = area;
        f.workspace.settings.lineSpacing = 10;
        f.effects.textBytes = text;
        f.setFlags({});
        const font::GlyphTable glyphs = f.workspace.glyphs;
        const auto revision = f.workspace.revision();
        f.script(answers, files);

        f.commands.fitText();
        QCOMPARE(f.prompter.log, log);
        QCOMPARE(QStringLiteral("%1,%2,%3").arg(f.workspace.settings.lineSpacing).arg(f.workspace.spacing.tracking)
                     .arg(f.workspace.spacing.wordSpacing),
                 setting);
        // Applied: unsaved work of the project, in the toolbar and laid out anew.
        QCOMPARE(f.workspace.spacingChanged, applied);
        QCOMPARE(f.workspace.projectChanged(), applied);
        QCOMPARE(f.workspace.revision() != revision, applied);
        QCOMPARE(f.effects.shownSettings.has_value(), applied);
        if (applied) {
            QCOMPARE(f.effects.shownSettings->lineSpacing, f.workspace.settings.lineSpacing);
            QVERIFY(!f.workspace.lines.empty());
            QVERIFY(!f.workspace.overflow.any());
        }
        // The project's font stays whatever font was tried.
        QVERIFY(f.workspace.glyphs == glyphs);
        QCOMPARE(f.workspace.fontPath, f.path("old.llf"));
        QVERIFY(!f.workspace.fontModified);
    }

    // Edit > Text Area...: the four numbers as typed; a change is a change of
    // the project and shows on the windows' next tick.
    void editTextArea_data()
    {
        QTest::addColumn<bool>("withPicture");
        QTest::addColumn<std::optional<TextArea>>("chosen");  // nothing: Cancel
        QTest::addColumn<TextArea>("area");
        QTest::addColumn<bool>("changed");

        QTest::newRow("new numbers") << true << std::optional<TextArea>(TextArea{10, 20, 100, 50})
                                     << TextArea{10, 20, 100, 50} << true;
        QTest::newRow("past the picture, exactly as typed") << true << std::optional<TextArea>(TextArea{5, 4, 900, 800})
                                                            << TextArea{5, 4, 900, 800} << true;
        QTest::newRow("OK without an edit") << true << std::optional<TextArea>(TextArea{3, 4, 50, 20})
                                            << TextArea{3, 4, 50, 20} << false;
        QTest::newRow("Cancel") << true << std::optional<TextArea>() << TextArea{3, 4, 50, 20} << false;
        QTest::newRow("without a picture") << false << std::optional<TextArea>(TextArea{0, 0, 8, 8})
                                           << TextArea{0, 0, 8, 8} << true;
    }

    void editTextArea()
    {
        QFETCH(bool, withPicture);
        QFETCH(std::optional<TextArea>, chosen);
        QFETCH(TextArea, area);
        QFETCH(bool, changed);
        Fixture f;
        f.fillWithWork();
        f.workspace.pictureLoaded = withPicture;
        f.setFlags({});
        f.workspace.lines.addEmptyLines(2);
        const auto revision = f.workspace.revision();
        f.prompter.areas.push_back(chosen);

        f.commands.editTextArea();
        QCOMPARE(f.prompter.log, QStringList{QStringLiteral("textArea: 3 4 50 20 of %1")
                                                 .arg(withPicture ? QStringLiteral("6 x 5") : QStringLiteral("0 x 0"))});
        QCOMPARE(f.workspace.settings.area, area);
        QCOMPARE(f.workspace.areaChanged, changed);
        QCOMPARE(f.workspace.revision() != revision, changed);
        // The layout stays until the next refresh, as after a nudge.
        QCOMPARE(f.workspace.lines.size(), std::size_t(2));
    }

    // Project > Open Recent opens as Open does, with its questions; a file
    // that is gone is said so and taken off the list, without a question.
    void openRecentProject_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QStringList>("log");

        const QString changed = leaveQuestion("Text in the project has been changed");
        QTest::newRow("saved work") << true << "" << "" << true << QStringList{};
        QTest::newRow("unsaved work let go") << true << "text" << "No" << true << QStringList{changed};
        QTest::newRow("unsaved work kept") << true << "text" << "Cancel" << false << QStringList{changed};
        QTest::newRow("gone") << false << "text" << "" << false
                              << QStringList{QStringLiteral("notice: The project \"%1\" is no longer there. "
                                                            "It is taken off the list of recent projects.")};
    }

    void openRecentProject()
    {
        QFETCH(bool, exists);
        QFETCH(QString, flags);
        QFETCH(QString, answers);
        QFETCH(bool, opened);
        QFETCH(QStringList, log);
        Fixture f;
        f.commands.recentProjects().clear();
        const QString path = f.path(QStringLiteral("recent.llp"));
        ProjectFile file;
        file.settings.area = {1, 2, 30, 20};
        file.text = "recent";
        file.pictureBmp = picture(4, 3).toBmp();
        font::writeFontFile(f.path(QStringLiteral("recent.llf")), fontWith('B', raster::kRed));
        file.storedFontPath = QFile::encodeName(f.path(QStringLiteral("recent.llf")));
        writeWholeFile(path, projectBytes(file));
        f.commands.recentProjects().add(path);
        f.commands.recentProjects().add(f.path(QStringLiteral("other.llp")));
        if (!exists)
            QFile::remove(path);
        f.fillWithWork();
        f.setFlags(flags);
        f.script(answers);

        f.commands.openRecentProject(path);
        if (!exists)
            log.last() = log.last().arg(QDir::toNativeSeparators(path));
        QCOMPARE(f.prompter.log, log);
        QCOMPARE(f.workspace.projectPath, opened ? path : f.path(QStringLiteral("old.llp")));
        QCOMPARE(f.effects.textBytes, opened ? QByteArray("recent") : QByteArray("old text"));
        QCOMPARE(f.workspace.settings.area, (opened ? TextArea{1, 2, 30, 20} : TextArea{3, 4, 50, 20}));
        // An opened project comes to the top; a gone one leaves the list.
        QStringList recent{f.path(QStringLiteral("other.llp"))};
        if (opened)
            recent.prepend(path);
        else if (exists)
            recent.append(path);
        QCOMPARE(f.commands.recentProjects().paths(), recent);
    }

    // Opening and saving under a name put the project on top of the list.
    void openAndSaveAsListTheProject()
    {
        Fixture f;
        f.commands.recentProjects().clear();
        f.fillWithWork();
        f.setFlags({});
        f.script({}, {QStringLiteral("first")});
        QVERIFY(f.commands.saveProjectAs());
        f.script({}, {QStringLiteral("second")});
        QVERIFY(f.commands.saveProjectAs());
        f.script({}, {QStringLiteral("first.llp")});
        f.commands.openProject();
        QCOMPARE(f.commands.recentProjects().paths(),
                 (QStringList{f.path(QStringLiteral("first.llp")), f.path(QStringLiteral("second.llp"))}));
    }
};

QTEST_MAIN(TestProjectCommands)
#include "tst_project_commands.moc"
