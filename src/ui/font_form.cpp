#include "ui/font_form.h"

#include "project/glyph_history.h"
#include "project/project_commands.h"
#include "project/workspace.h"
#include "ui/draw_form.h"
#include "ui/font_graph_form.h"
#include "ui/font_size_form.h"
#include "ui/main_form.h"
#include "ui/shell_effects.h"
#include "ui/string_grid.h"
#include "ui/tool_window.h"

#include <QCloseEvent>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace letterloom::ui {

namespace {

constexpr int kCells = 16;
constexpr int kColumnWidth = 22;
constexpr int kRowHeight = 15;
constexpr QSize kOuterSize{378, 283};
constexpr QPoint kPosition{8, 120};
constexpr int kFontPixels = 11;

const QString kDeleteQuestion = QStringLiteral("Do you confirm deleting of the selected character?");
const QString kSaveQuestion = QStringLiteral("Current font has been modified, do you want to save it?");

int codeOf(int column, int row)
{
    return column + kCells * row;
}

}  // namespace

QString glyphCaption(int width, int height, int code, const font::CharMap &map)
{
    return QStringLiteral("%1*%2 - \"%3\"").arg(width).arg(height).arg(map.text(code));
}

QString TfontForm::cellLabel(int code, const font::CharMap &map)
{
    code &= 0xFF;
    const QString text = map.text(code);
    const bool printable = !text.isEmpty() && std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 32 || c.unicode() == 127;
    });
    if (code < 32 && (map.isNone() || !printable))
        return QStringLiteral("$%1").arg(code, 2, 10, QLatin1Char('0'));
    if (map.isNone() || printable)
        return text;  // with no map Latin-1: the code is the character
    return code < 100 ? QStringLiteral("$%1").arg(code, 2, 10, QLatin1Char('0')) : QString();
}

void TfontForm::showCharMap()
{
    const project::Workspace &workspace = context_.workspace;
    for (int row = 0; row < kCells; ++row)
        for (int column = 0; column < kCells; ++column)
            grid_->setCellText(column, row, cellLabel(codeOf(column, row), workspace.fontExtras.charMap));
    refreshGrid();
    if (context_.windows.fontGraph)
        context_.windows.fontGraph->showCaption();
}

TfontForm::TfontForm(Context &context, QWidget *parent)
    : QWidget(parent), context_(context), grid_(new StringGrid(kCells, kCells, this)), popupMenu_(new QMenu(this))
{
    context_.windows.font = this;
    setObjectName(QStringLiteral("fontForm"));
    makeToolWindow(this);
    QFont small = font();
    small.setPixelSize(kFontPixels);
    setFont(small);

    setOuterSize(this, kOuterSize);
    whenFramed(this, [this] { setOuterSize(this, kOuterSize); });
    move(kPosition);
    setDocumentCaption(this, QStringLiteral("Character Table"));

    grid_->setObjectName(QStringLiteral("StringGrid"));
    grid_->setColumnWidth(kColumnWidth);
    grid_->setRowHeight(kRowHeight);
    for (int row = 0; row < kCells; ++row)
        for (int column = 0; column < kCells; ++column)
            grid_->setCellText(column, row, cellLabel(codeOf(column, row), context_.workspace.fontExtras.charMap));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);

    connect(grid_, &StringGrid::cellSelected, this, &TfontForm::StringGridSelectCell);
    connect(grid_, &StringGrid::clicked, this, &TfontForm::StringGridClick);
    connect(grid_, &StringGrid::doubleClicked, this, &TfontForm::StringGridDblClick);
    connect(grid_, &StringGrid::drawCell, this,
            [this](QPainter *painter, int column, int row, const QRect &rect) {
                StringGridDrawCell(*painter, column, row, rect);
            });
    createPopupMenu();

    project::GlyphHistory &history = context_.commands.glyphHistory();
    addHistoryKeys(this, history);
    connect(&history, &project::GlyphHistory::glyphRestored, this, &TfontForm::showGlyph);
    connect(&history, &project::GlyphHistory::glyphsRestored, this, &TfontForm::refreshGrid);
}

void TfontForm::createPopupMenu()
{
    popupMenu_->setObjectName(QStringLiteral("PopupMenu"));
    const auto addItem = [this](const char *name, const QString &caption, void (TfontForm::*handler)()) {
        QAction *item = popupMenu_->addAction(caption, this, handler);
        item->setObjectName(QLatin1String(name));
    };
    addItem("pmSetGCharSize", QStringLiteral("Изменить размер"), &TfontForm::pmSetGCharSizeClick);
    addItem("pmDeleteGChar", QStringLiteral("Удалить символ"), &TfontForm::pmDeleteGCharClick);
    popupMenu_->addSeparator()->setObjectName(QStringLiteral("pmSpace1"));
    addItem("pmSaveFont", QStringLiteral("Сохранить"), &TfontForm::pmSaveFontClick);

    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { popupMenu_->popup(grid_->mapToGlobal(at)); });
}

void TfontForm::refreshGrid()
{
    grid_->update();
}

void TfontForm::showGlyph(int code)
{
    grid_->selectCell(code % kCells, code / kCells);
    StringGridClick();
    refreshGrid();
}

void TfontForm::StringGridSelectCell(int ACol, int ARow)
{
    project::Workspace &workspace = context_.workspace;
    workspace.currentGlyph = codeOf(ACol, ARow);
    workspace.bumpRevision();
    if (context_.windows.fontGraph)
        context_.windows.fontGraph->showCaption();
}

void TfontForm::StringGridClick()
{
    const project::Workspace &workspace = context_.workspace;
    if (workspace.glyphs[workspace.currentGlyph].defined && context_.windows.fontGraph)
        project::runCommand(context_.prompter, [this] { context_.windows.fontGraph->fitToGlyph(); });
}

void TfontForm::StringGridDblClick()
{
    const project::Workspace &workspace = context_.workspace;
    const Windows &windows = context_.windows;
    if (workspace.glyphs[workspace.currentGlyph].defined) {
        // Also when they are open already but covered: the editor ends in
        // front with the keyboard, the tools next to it.
        bringBack(windows.draw);
        bringBack(windows.fontGraph);
        return;
    }
    windows.fontGraph->hide();
    windows.fontSize->setFields(workspace.settings.defaultGlyphWidth, workspace.settings.defaultGlyphHeight);
    windows.fontSize->exec();
}

void TfontForm::StringGridDrawCell(QPainter &painter, int ACol, int ARow, const QRect &Rect)
{
    const int code = codeOf(ACol, ARow);
    if (!context_.workspace.glyphs[code].defined)
        return;
    painter.fillRect(Rect, QColor(Qt::cyan));
    // One pixel higher than the grid's own text.
    painter.setPen(Qt::black);
    painter.drawText(Rect.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, cellLabel(code, context_.workspace.fontExtras.charMap));
}

void TfontForm::pmSetGCharSizeClick()
{
    const project::Workspace &workspace = context_.workspace;
    const font::tGraphChar &glyph = workspace.glyphs[workspace.currentGlyph];
    context_.windows.fontSize->setFields(glyph.width, glyph.height);
    context_.windows.fontSize->exec();
}

void TfontForm::pmDeleteGCharClick()
{
    if (context_.prompter.ask(kDeleteQuestion, false) != project::Answer::Yes)
        return;
    project::Workspace &workspace = context_.workspace;
    const int code = workspace.currentGlyph;
    // One step of the history, which makes the font modified.
    context_.commands.glyphHistory().record(code, [&] { workspace.glyphs.clearGlyph(code); });
    refreshGrid();
}

bool TfontForm::saveFont()
{
    return project::runCommand(context_.prompter, [this] { context_.commands.saveCurrentFont(); });
}

void TfontForm::pmSaveFontClick()
{
    saveFont();
}

bool TfontForm::FormCloseQuery()
{
    if (!context_.workspace.fontModified)
        return true;
    switch (context_.prompter.ask(kSaveQuestion, true)) {
    case project::Answer::Yes:
        // A cancelled file dialog still lets the window close; a failed write
        // ends the close with the error box and keeps the window.
        return saveFont();
    case project::Answer::No:
        return true;
    case project::Answer::Cancel:
        break;
    }
    return false;
}

bool TfontForm::programIsLeaving() const
{
    const TmainForm *main = context_.windows.main;
    return main && !main->isVisible();
}

void TfontForm::closeEvent(QCloseEvent *event)
{
    // Once the main window has closed, the program closes the windows left
    // open; the main window's own close query has already asked about the
    // font, so the table goes without a second question.
    if (programIsLeaving() || FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

}  // namespace letterloom::ui
