#include "project/project_commands.h"

#include "base/error.h"
#include "base/file_io.h"
#include "font/font_file.h"
#include "font/font_formats.h"
#include "project/compose_view.h"
#include "project/text_areas.h"
#include "project/text_file.h"
#include "text/fit_search.h"

#include <QDir>
#include <QFileInfo>

namespace letterloom::project {

namespace {

const QString kProjectFilter = QStringLiteral("Letterloom (*.llp)|*.llp");
const QString kFontFilter = QStringLiteral("Font Letterloom (*.llf)|*.llf");
// Open Font also takes the bitmap fonts of other tools and the console fonts.
const QString kOpenFontFilter = kFontFilter + QStringLiteral("|BDF font (*.bdf)|*.bdf|BMFont (*.fnt)|*.fnt"
                                                               "|PSF console font (*.psf *.psfu *.psf.gz *.psfu.gz)"
                                                               "|*.psf;*.psfu;*.psf.gz;*.psfu.gz");
const QString kTableFilter = QStringLiteral("Character tables (*.tbl)|*.tbl|All Files (*.*)|*.*");
const QString kTextFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
const QString kPictureFilter = QStringLiteral("Bitmaps (*.bmp)|*.bmp|PNG pictures (*.png)|*.png");
// Font grids are mostly sprite sheets with transparency: PNG first.
const QString kGridPictureFilter = QStringLiteral("PNG pictures (*.png)|*.png|Bitmaps (*.bmp)|*.bmp");

const QString kNoPictureToExport =
    QStringLiteral("There is no picture to export. Load one with Edit > Load Image... first.");

const QString kMainCaption = QStringLiteral("Letterloom v1.0");
const QString kFontTableCaption = QStringLiteral("Character Table");
const QString kImageCaption = QStringLiteral("Image");
const QString kTextCaption = QStringLiteral("Text Input Window");
const QString kFontQuestion = QStringLiteral("The current font was changed. Save it before closing?");
const QString kOverwriteQuestion = QStringLiteral("File with the specified name already exists. Overwrite?");
const QString kFontNotFound = QStringLiteral("Font specified in project file was not found!\r\n"
                                             "Perhaps it was deleted or moved to another directory.\r\n"
                                             "You need to load the font manually or create new one.");

// Sets a shared dialog up for one command. A command that names a file
// proposes it; the others keep the folder and name the last use left.
void prepare(FileDialog &dialog, const QString &filter, const QString &extension, const QString &path = {})
{
    dialog.filter = filter;
    dialog.defaultExtension = extension;
    if (!path.isEmpty())
        dialog.proposePath(path);
}

// The question asked before unsaved project changes are left behind.
QString projectQuestion(const Workspace &workspace)
{
    QString change;
    // A change of the effects or the spacing has no words of its own.
    if (workspace.textChanged + workspace.pictureChanged + workspace.areaChanged > 1 || workspace.effectsChanged
        || workspace.spacingChanged)
        change = QStringLiteral("Project has been changed");
    else if (workspace.textChanged)
        change = QStringLiteral("Text in the project has been changed");
    else if (workspace.pictureChanged)
        change = QStringLiteral("Project has been changed with new loaded picture");
    else
        change = QStringLiteral("Text area has been changed in the project");
    return change + QStringLiteral(". Save it before closing?");
}

// Asks whether to save unsaved work before it is left behind: Yes saves, and
// the work may go only when that save completes; No lets it go; Cancel keeps it.
bool savedOrLetGo(Prompter &prompter, const QString &question, const std::function<bool()> &save)
{
    switch (prompter.ask(question, true)) {
    case Answer::Yes:
        return save();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

void markProjectSaved(Workspace &workspace)
{
    workspace.textChanged = false;
    workspace.pictureChanged = false;
    workspace.areaChanged = false;
    workspace.effectsChanged = false;
    workspace.spacingChanged = false;
}

}  // namespace

FileDialogs::FileDialogs(const QString &programDirectory, const QString &saveDirectory)
{
    for (FileDialog *dialog : {&open, &openPicture})
        dialog->initialDirectory = programDirectory;
    for (FileDialog *dialog : {&save, &savePicture})
        dialog->initialDirectory = saveDirectory;
}

QString saveStartDirectory(const QString &programDirectory, const QString &homeDirectory)
{
    const QFileInfo program(programDirectory);
    if (program.isDir() && program.isWritable())
        return programDirectory;
    return homeDirectory.endsWith(u'/') ? homeDirectory : homeDirectory + u'/';
}

ProjectCommands::ProjectCommands(Workspace &workspace, Prompter &prompter, WindowEffects &effects)
    : workspace_(workspace), prompter_(prompter), effects_(effects),
      dialogs_(workspace.programDirectory, saveStartDirectory(workspace.programDirectory, QDir::homePath())),
      glyphHistory_(workspace)
{
    QObject::connect(&glyphHistory_, &GlyphHistory::charMapRestored, &glyphHistory_,
                     [this] { effects_.showCharMap(); });
}

void ProjectCommands::resetProject()
{
    workspace_.bumpRevision();
    workspace_.settings.area = {};
    workspace_.areas = std::vector<AreaSlot>(1);
    workspace_.currentArea = 0;
    workspace_.effects = {};
    workspace_.spacing = {};
    workspace_.mask = {};
    workspace_.picture = {};
    workspace_.pictureLoaded = false;
    effects_.setRefreshEnabled(false);
    workspace_.projectPath.clear();
    workspace_.fontPath.clear();
    effects_.setMainCaption(kMainCaption);
    effects_.setText({});
    // No caption names the font, picture or text file that was left.
    effects_.setFontTableCaption(kFontTableCaption);
    showUnnamedPictureAndText();
    workspace_.glyphs.clear();
    workspace_.fontExtras = {};
    workspace_.projectExtras = {};
    showFontMap();
    effects_.refreshFontTable();
    effects_.hideFontTable();
    glyphHistory_.fontReplaced(false);
    markProjectSaved(workspace_);
}

void ProjectCommands::newProject()
{
    if (projectMayBeLeft() && fontMayBeReplaced())
        resetProject();
}

void ProjectCommands::openProject()
{
    if (!projectMayBeLeft())
        return;
    prepare(dialogs_.open, kProjectFilter, {}, workspace_.projectPath);
    const std::optional<QString> path = prompter_.chooseOpenFile(dialogs_.open);
    if (path)
        openProjectFile(*path);
}

void ProjectCommands::openRecentProject(const QString &path)
{
    // Nothing to open, so nothing to ask about first.
    if (!isRegularFile(path)) {
        recent_.remove(path);
        prompter_.notice(QStringLiteral("The project \"%1\" is no longer there. "
                                        "It is taken off the list of recent projects.")
                             .arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (projectMayBeLeft())
        openProjectFile(path);
}

void ProjectCommands::openProject(const QString &path)
{
    if (!projectMayBeLeft())
        return;
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    prepare(dialogs_.open, kProjectFilter, {}, fullPath);
    openProjectFile(fullPath);
}

void ProjectCommands::openProjectFile(const QString &path)
{
    // Everything that can fail happens before anything changes.
    OpenedProject opened = readProjectFile(path, workspace_.programDirectory);
    font::FontFile loaded;
    const FontOutcome font = prepareProjectFont(opened.fontPath, loaded);
    adoptProject(path, std::move(opened), font, std::move(loaded));
}

ProjectCommands::FontOutcome ProjectCommands::prepareProjectFont(const QString &fontPath, font::FontFile &loaded)
{
    if (isRegularFile(fontPath)) {
        if (!fontMayBeReplaced()) {
            prompter_.confirmNotice(QStringLiteral("Font is not loaded."));
            return FontOutcome::Kept;
        }
        loaded = font::loadFontFile(fontPath);
        return FontOutcome::Loaded;
    }
    // The missing font empties the glyph table, so unsaved glyphs are offered
    // for saving first; declining keeps the current font.
    prompter_.confirmNotice(kFontNotFound);
    return fontMayBeReplaced() ? FontOutcome::Missing : FontOutcome::Kept;
}

void ProjectCommands::adoptProject(const QString &path, OpenedProject opened, FontOutcome font,
                                   font::FontFile loaded)
{
    workspace_.bumpRevision();
    effects_.hideFontTable();
    workspace_.settings = opened.settings;
    std::vector<AreaText> areas = joinAreas(opened.settings, opened.text, opened.extras);
    // A project without a colour of its own leaves the chosen one as it is.
    if (opened.extras.textColour)
        effects_.setTextColour(*opened.extras.textColour);
    areas.front().colour = effects_.textColour();
    setWorkspaceAreas(workspace_, std::move(areas));
    opened.extras.areas.clear();  // the workspace holds them from here on
    workspace_.projectExtras = std::move(opened.extras);
    effects_.showSettings(opened.settings);
    if (font == FontOutcome::Loaded) {
        workspace_.glyphs = std::move(loaded.glyphs);
        workspace_.fontExtras = std::move(loaded.extras);
        showFontMap();
        glyphHistory_.fontReplaced(false);
    } else if (font == FontOutcome::Missing) {
        workspace_.glyphs.clear();
        workspace_.fontExtras = {};
        showFontMap();
        glyphHistory_.fontReplaced(workspace_.fontModified);  // fontModified keeps its value
    }
    if (font != FontOutcome::Kept) {
        setFontFile(opened.fontPath);
        effects_.refreshFontTable();
    }
    if (font == FontOutcome::Loaded)
        effects_.showFontTable();

    effects_.setText(opened.text);
    workspace_.picture = std::move(opened.picture);
    // Picture and text now come from the project, not from files of their own.
    showUnnamedPictureAndText();
    effects_.setRefreshEnabled(true);
    // A project saved before any picture was loaded has none: the view keeps
    // its size and shows where the picture goes.
    if (!workspace_.picture.isEmpty())
        effects_.setImageViewSize(workspace_.picture.size());
    workspace_.pictureLoaded = true;
    setProjectFile(path);
    markProjectSaved(workspace_);
    showNotices(opened.notices + loaded.notices);
    refresh();
}

void ProjectCommands::showNotices(const QStringList &notices)
{
    if (!notices.isEmpty())
        prompter_.notice(notices.join(u'\n'));
}

bool ProjectCommands::saveProject()
{
    if (workspace_.projectPath.isEmpty())
        return saveProjectAs();
    writeProject(workspace_.projectPath);
    return true;
}

bool ProjectCommands::saveProjectAs()
{
    prepare(dialogs_.save, kProjectFilter, QStringLiteral("llp"), workspace_.projectPath);
    const std::optional<QString> path = prompter_.chooseSaveFile(dialogs_.save);
    if (!path || !mayOverwrite(*path))
        return false;
    writeProject(*path);
    setProjectFile(*path);
    return true;
}

void ProjectCommands::writeProject(const QString &path)
{
    ProjectFile file{workspace_.settings, storedFontPath(workspace_.fontPath, workspace_.programDirectory), {},
                     workspace_.picture.toBmp(), {}};
    ProjectExtras extras = workspace_.projectExtras;
    workspace_.textColour = effects_.textColour();  // the colour chosen now, refreshed or not
    splitAreas(workspaceAreas(workspace_, effects_.text()), file.settings, file.text, extras);
    file.extensions.keys = projectExtrasKeys(extras);
    writeWholeFile(path, projectBytes(file));
    markProjectSaved(workspace_);
}

void ProjectCommands::loadText()
{
    prepare(dialogs_.open, kTextFilter, {});
    const std::optional<QString> path = prompter_.chooseOpenFile(dialogs_.open);
    if (!path)
        return;
    effects_.setText(readTextFile(*path, workspace_.fontExtras.charMap));
    effects_.setTextCaption(areaCaption(QStringLiteral("Text - ") + fileNameOf(*path), workspace_));
    workspace_.textChanged = true;
}

void ProjectCommands::clearText()
{
    if (prompter_.ask(QStringLiteral("You really want to clear the text?"), false) != Answer::Yes)
        return;
    effects_.setText({});
    workspace_.textChanged = true;
}

void ProjectCommands::loadImage()
{
    prepare(dialogs_.openPicture, kPictureFilter, {});
    const std::optional<QString> path = prompter_.chooseOpenFile(dialogs_.openPicture);
    if (!path)
        return;
    workspace_.picture = raster::Raster::readPictureFile(*path);
    workspace_.bumpRevision();
    effects_.setRefreshEnabled(true);
    effects_.setImageViewSize(workspace_.picture.size());
    effects_.setImageCaption(kImageCaption + QStringLiteral(" - ") + fileNameOf(*path));
    workspace_.pictureLoaded = true;
    workspace_.pictureChanged = true;
}

void ProjectCommands::openFont()
{
    prepare(dialogs_.open, kOpenFontFilter, {}, workspace_.fontPath);
    if (!fontMayBeReplaced())
        return;
    const std::optional<QString> path = prompter_.chooseOpenFile(dialogs_.open);
    if (path)
        readFont(*path);
}

void ProjectCommands::openFont(const QString &path)
{
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    prepare(dialogs_.open, kOpenFontFilter, {}, fullPath);
    if (fontMayBeReplaced())
        readFont(fullPath);
}

void ProjectCommands::openNamedFile(const QString &path)
{
    if (font::fontFormatOf(path))
        openFont(path);
    else
        openProject(path);
}

void ProjectCommands::readFont(const QString &path)
{
    const std::optional<font::FontFormat> format = font::fontFormatOf(path);
    // The glyph editor shows the current glyph of the new font.
    workspace_.bumpRevision();
    QStringList notices;
    if (!format || *format == font::FontFormat::Llf) {
        font::FontFile read = font::loadFontFile(path);
        workspace_.glyphs = std::move(read.glyphs);
        workspace_.fontExtras = std::move(read.extras);
        notices = read.notices;
        showFontMap();
        glyphHistory_.fontReplaced(false);
        setFontFile(path);
    } else if (!importFont(path)) {
        return;
    }
    effects_.refreshFontTable();
    effects_.showFontTable();
    showNotices(notices);
}

bool ProjectCommands::saveFont()
{
    prepare(dialogs_.save, kFontFilter, QStringLiteral("llf"), workspace_.fontPath);
    const std::optional<QString> path = prompter_.chooseSaveFile(dialogs_.save);
    if (!path || !mayOverwrite(*path))
        return false;
    font::writeFontFile(*path, workspace_.glyphs, workspace_.fontExtras);
    glyphHistory_.fontSaved();
    setFontFile(*path);
    return true;
}

std::optional<font::CharMap> ProjectCommands::chooseMap(const QString &caption, const QString &label, int start)
{
    QStringList items{QStringLiteral("none (Latin-1)")};
    items += font::CharMap::codePageNames();
    items << QStringLiteral("Load Table...");
    const std::optional<int> chosen = prompter_.chooseItem(caption, label, items, start);
    if (!chosen || *chosen < 0 || *chosen >= items.size())
        return std::nullopt;
    if (*chosen == 0)
        return font::CharMap();
    if (*chosen < items.size() - 1)
        return font::CharMap::fromCodePage(items[*chosen]);
    prepare(dialogs_.open, kTableFilter, {});
    const std::optional<QString> path = prompter_.chooseOpenFile(dialogs_.open);
    if (!path)
        return std::nullopt;
    if (QFileInfo(*path).size() > font::kMaxTableBytes)
        throw Error(QStringLiteral("The table is larger than %1 KB").arg(font::kMaxTableBytes / 1024));
    font::TableRead read = font::readTable(readWholeFile(*path), fileNameOf(*path));
    if (!read.skipped.isEmpty())
        prompter_.notice(QStringLiteral("Lines left out of %1:\n").arg(fileNameOf(*path)) + read.skipped.join(u'\n'));
    return std::move(read.map);
}

void ProjectCommands::chooseCharMap()
{
    const font::CharMap &current = workspace_.fontExtras.charMap;
    int start = 0;
    if (current.kind() == font::CharMap::Kind::CodePage)
        start = 1 + int(font::CharMap::codePageNames().indexOf(current.name()));
    else if (current.kind() == font::CharMap::Kind::Table)
        start = 1 + int(font::CharMap::codePageNames().size());
    const std::optional<font::CharMap> map = chooseMap(
        QStringLiteral("Character Map"), QStringLiteral("The text each code of the font stands for:"), start);
    if (!map || *map == workspace_.fontExtras.charMap)
        return;
    glyphHistory_.recordCharMap(*map);
    effects_.showCharMap();
}

void ProjectCommands::editKerning()
{
    const std::optional<font::Kerning> chosen =
        prompter_.chooseKerning(workspace_.glyphs, workspace_.fontExtras.kerning, workspace_.fontExtras.charMap);
    if (!chosen || *chosen == workspace_.fontExtras.kerning)
        return;
    glyphHistory_.recordKerning(*chosen);
}

bool ProjectCommands::saveCurrentFont()
{
    if (workspace_.fontPath.isEmpty())
        return saveFont();
    font::writeFontFile(workspace_.fontPath, workspace_.glyphs, workspace_.fontExtras);
    glyphHistory_.fontSaved();
    return true;
}

void ProjectCommands::editTextArea()
{
    const QSize pictureSize = workspace_.hasPicture() ? workspace_.picture.size() : QSize(0, 0);
    const std::optional<TextArea> chosen = prompter_.chooseTextArea(workspace_.settings.area, pictureSize);
    if (!chosen || *chosen == workspace_.settings.area)
        return;
    workspace_.settings.area = *chosen;
    workspace_.areaChanged = true;
    workspace_.bumpRevision();
}

QByteArray ProjectCommands::leftText()
{
    workspace_.textColour = effects_.textColour();
    return effects_.text();
}

void ProjectCommands::showCurrentArea(const QByteArray &text)
{
    // Showing another area's values is no edit of them.
    const bool textChanged = workspace_.textChanged;
    const bool areaChanged = workspace_.areaChanged;
    effects_.setText(text);
    effects_.setTextColour(workspace_.textColour);
    effects_.showSettings(workspace_.settings);
    effects_.setTextCaption(areaCaption(kTextCaption, workspace_));
    workspace_.textChanged = textChanged;
    workspace_.areaChanged = areaChanged;
}

void ProjectCommands::nextTextArea()
{
    const int count = int(workspace_.areas.size());
    if (count > 1)
        showCurrentArea(switchArea(workspace_, leftText(), (workspace_.currentArea + 1) % count));
}

void ProjectCommands::previousTextArea()
{
    const int count = int(workspace_.areas.size());
    if (count > 1)
        showCurrentArea(switchArea(workspace_, leftText(), (workspace_.currentArea + count - 1) % count));
}

void ProjectCommands::selectTextAreaAt(QPoint at)
{
    const int index = areaAt(workspace_, at);
    if (index >= 0 && index != workspace_.currentArea)
        showCurrentArea(switchArea(workspace_, leftText(), index));
}

void ProjectCommands::newTextArea()
{
    if (workspace_.areas.size() >= size_t(kMaxAreas)) {
        prompter_.notice(QStringLiteral("A project holds at most %1 text areas.").arg(kMaxAreas));
        return;
    }
    showCurrentArea(addArea(workspace_, leftText()));
    workspace_.areaChanged = true;
}

void ProjectCommands::deleteTextArea()
{
    const int count = int(workspace_.areas.size());
    if (count < 2) {
        prompter_.notice(QStringLiteral("The only text area of a project cannot be deleted."));
        return;
    }
    const QString question = QStringLiteral("You really want to delete text area %1 of %2 and its text?")
                                 .arg(workspace_.currentArea + 1).arg(count);
    if (prompter_.ask(question, false) != Answer::Yes)
        return;
    showCurrentArea(removeCurrentArea(workspace_));
    workspace_.areaChanged = true;
}

void ProjectCommands::importPictureGrid()
{
    prepare(dialogs_.openPicture, kGridPictureFilter, {});
    const std::optional<QString> path = prompter_.chooseOpenFile(dialogs_.openPicture);
    if (!path)
        return;
    const QImage picture = font::readGridPicture(*path);
    gridImport_.charMap = workspace_.fontExtras.charMap;
    const std::optional<font::GridImportSettings> settings = prompter_.chooseGridImport(picture, gridImport_);
    if (!settings)
        return;
    gridImport_ = *settings;
    const font::GridImport imported = font::importGrid(picture, *settings);
    if (!imported.made.empty()) {
        glyphHistory_.recordGlyphs(imported.made, [&] { font::mergeImport(workspace_.glyphs, imported); });
        effects_.refreshFontTable();
        effects_.showFontTable();
    }
    QStringList report = imported.warnings;
    if (imported.made.empty())
        report.prepend(QStringLiteral("No cell of the picture holds a glyph: the font is as it was"));
    if (!report.isEmpty())
        prompter_.notice(report.join(u'\n'));
}

void ProjectCommands::exportPictureGrid()
{
    gridExport_.charMap = workspace_.fontExtras.charMap;
    const std::optional<font::GridExportSettings> settings = prompter_.chooseGridExport(workspace_.glyphs, gridExport_);
    if (!settings)
        return;
    gridExport_ = *settings;
    const font::GridExport drawn = font::exportGrid(workspace_.glyphs, *settings);
    prepare(dialogs_.savePicture, kGridPictureFilter, QStringLiteral("png"));
    const std::optional<QString> path = prompter_.chooseSaveFile(dialogs_.savePicture);
    if (!path)
        return;
    raster::Raster::writableKindOf(*path);  // refused before the overwrite question
    if (!mayOverwrite(*path))
        return;
    drawn.picture.writePictureFile(*path);
    if (!drawn.warnings.isEmpty())
        prompter_.notice(drawn.warnings.join(u'\n'));
}

void ProjectCommands::setEffects(const text::Effects &effects)
{
    if (effects == workspace_.effects)
        return;
    workspace_.effects = effects;
    workspace_.effectsChanged = true;
    workspace_.bumpRevision();
}

void ProjectCommands::setSpacing(const text::Spacing &spacing)
{
    if (spacing == workspace_.spacing)
        return;
    workspace_.spacing = spacing;
    workspace_.spacingChanged = true;
    workspace_.bumpRevision();
}

void ProjectCommands::fitText()
{
    const QByteArray text = effects_.text();
    const TextArea area = workspace_.settings.area;
    const text::FitSetting current{workspace_.settings.lineSpacing, workspace_.spacing};
    const std::int32_t floor = text::defaultFitFloor(current.lineSpacing);
    text::FitSearch search(area.width, area.height, current, floor, workspace_.glyphs, &workspace_.fontExtras.kerning);
    const text::FitResult found = search.first(text);
    if (found.alreadyFits()) {
        prompter_.notice(QStringLiteral("The text already fits in the text area."));
        return;
    }
    if (found.found) {
        const QString question = QStringLiteral("The text fits with %1 (now %2). Apply it?")
                                     .arg(text::fitSettingText(found.setting, current),
                                          text::fitSettingText(current, found.setting));
        if (prompter_.ask(question, false) != Answer::Yes)
            return;
        workspace_.settings.lineSpacing = found.setting.lineSpacing;
        workspace_.spacing = found.setting.spacing;
        workspace_.spacingChanged = true;
        effects_.showSettings(workspace_.settings);
        refreshAreas(workspace_, text, effects_.textColour());
        return;
    }
    const text::FitCandidates &tried = search.candidates();
    const QString question =
        QStringLiteral("No setting makes the text fit in the text area (by %1), down to %2. Try another font? "
                       "What it gives is only shown; the project keeps its font.")
            .arg(found.notice == text::Notice::Width ? QStringLiteral("width") : QStringLiteral("height"),
                 text::fitSettingText(tried[tried.size() - 1], current));
    if (prompter_.ask(question, false) != Answer::Yes)
        return;
    prepare(dialogs_.open, kOpenFontFilter, {});
    const std::optional<QString> path = prompter_.chooseOpenFile(dialogs_.open);
    if (!path)
        return;
    // A font of Unicode characters lands at the codes of the project font's map.
    const font::ImportedFont other = font::readAnyFont(*path, workspace_.fontExtras.charMap);
    text::FitSearch otherSearch(area.width, area.height, current, floor, other.glyphs, &other.extras.kerning);
    const text::FitResult withOther = otherSearch.first(text);
    const QString name = fileNameOf(*path);
    if (withOther.alreadyFits())
        prompter_.notice(QStringLiteral("With %1 the text fits as it is. The project's font is not changed.").arg(name));
    else if (withOther.found)
        prompter_.notice(QStringLiteral("With %1 the text fits with %2. The project's font is not changed.")
                             .arg(name, text::fitSettingText(withOther.setting, current)));
    else
        prompter_.notice(QStringLiteral("With %1 no setting makes the text fit either.").arg(name));
}

void ProjectCommands::refresh()
{
    const QString notice = areasNotice(refreshAreas(workspace_, effects_.text(), effects_.textColour()));
    if (!notice.isEmpty())
        prompter_.notice(notice);
}

void ProjectCommands::exportImage(raster::Raster &view)
{
    if (!workspace_.hasPicture())
        throw Error(kNoPictureToExport);
    prepare(dialogs_.savePicture, kPictureFilter, QStringLiteral("bmp"));
    const std::optional<QString> path = prompter_.chooseSaveFile(dialogs_.savePicture);
    if (!path)
        return;
    // A name asking for a kind of picture that cannot be written is refused
    // before anything is drawn or written.
    raster::Raster::writableKindOf(*path);
    ComposeView(workspace_, view, true);
    view.writePictureFile(*path);
}

bool ProjectCommands::closeQuery()
{
    return projectMayBeLeft() && fontMayBeReplaced();
}

bool ProjectCommands::projectMayBeLeft()
{
    return !workspace_.projectChanged()
           || savedOrLetGo(prompter_, projectQuestion(workspace_), [this] { return saveProject(); });
}

bool ProjectCommands::fontMayBeReplaced()
{
    return !workspace_.fontModified || savedOrLetGo(prompter_, kFontQuestion, [this] { return saveCurrentFont(); });
}

bool ProjectCommands::mayOverwrite(const QString &path)
{
    return !QFileInfo::exists(path) || prompter_.ask(kOverwriteQuestion, false) == Answer::Yes;
}

bool ProjectCommands::importFont(const QString &path)
{
    font::ImportedFont imported = font::readAnyFont(path);
    if (imported.unicode) {
        const std::optional<font::CharMap> map = chooseMap(
            QStringLiteral("Open Font"),
            QStringLiteral("The glyphs of %1 are Unicode characters. Place them at the codes of the character map:")
                .arg(fileNameOf(path)),
            0);
        if (!map)
            return false;
        if (!map->isNone())
            imported = font::readAnyFont(path, *map);
    }
    workspace_.glyphs = std::move(imported.glyphs);
    workspace_.fontExtras = std::move(imported.extras);
    showFontMap();
    // The font has no file of the program's own yet: it counts as unsaved,
    // and saving it asks for a name, proposing the imported one as ".llf".
    glyphHistory_.fontReplaced(true);
    workspace_.fontPath.clear();
    const QFileInfo info(path);
    dialogs_.save.proposePath(info.dir().filePath(info.completeBaseName() + QStringLiteral(".llf")));
    effects_.setFontTableCaption(kFontTableCaption + QStringLiteral(" - ") + info.fileName());
    if (!imported.warnings.isEmpty())
        prompter_.notice(imported.warnings.join(u'\n'));
    return true;
}

void ProjectCommands::showUnnamedPictureAndText()
{
    effects_.setImageCaption(kImageCaption);
    effects_.setTextCaption(areaCaption(kTextCaption, workspace_));
}

void ProjectCommands::showFontMap()
{
    workspace_.bumpRevision();
    effects_.showCharMap();
}

void ProjectCommands::setFontFile(const QString &path)
{
    workspace_.fontPath = path;
    effects_.setFontTableCaption(kFontTableCaption + QStringLiteral(" - ") + fileNameOf(path));
}

void ProjectCommands::setProjectFile(const QString &path)
{
    workspace_.projectPath = path;
    recent_.add(path);
    effects_.setMainCaption(kMainCaption + QStringLiteral(" - ") + path);
}

}  // namespace letterloom::project
