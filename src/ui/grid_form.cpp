#include "ui/grid_form.h"

#include "base/error.h"
#include "raster/colour_hex.h"
#include "project/prompter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <set>

namespace letterloom::ui {

namespace {

constexpr int kPreviewWidth = 520;
constexpr int kLargestPreviewSide = 8192;
const QColor kBackdrop(200, 200, 200);  // behind transparent pixels and glyphs
const QColor kCellWithGlyph(0, 200, 255);
const QColor kCellWithout(128, 128, 128);

void showColour(QPushButton *button, raster::Colour colour)
{
    QPixmap swatch(16, 16);
    swatch.fill(QColor::fromRgb(raster::toQRgb(colour)));
    button->setIcon(QIcon(swatch));
    button->setText(raster::colourHex(colour));
}

QSpinBox *spin(QWidget *parent, const char *name, int minimum, int maximum)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, maximum);
    return box;
}

// The largest whole zoom at which a picture of this size stays readable in
// the preview: small sheets are enlarged, large ones shown as they are.
int fittingZoom(QSize size)
{
    const int side = std::max(size.width(), 1);
    return std::clamp(kPreviewWidth / side, 1, 8);
}

QString counted(qsizetype count, const char *thing)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(thing)).arg(count == 1 ? "" : "s");
}

QImage zoomed(const QImage &image, int zoom)
{
    while (zoom > 1 && std::max(image.width(), image.height()) * zoom > kLargestPreviewSide)
        --zoom;
    return image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace

TgridForm::TgridForm(project::Prompter &prompter, bool drawing, QWidget *parent)
    : QDialog(parent), prompter_(prompter), drawing_(drawing)
{
    setObjectName(QStringLiteral("gridForm"));
    setWindowTitle(drawing ? QStringLiteral("Export Picture Grid") : QStringLiteral("Import from Picture"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    createControls();
}

TgridForm::TgridForm(project::Prompter &prompter, const QImage &picture, const font::GridImportSettings &start,
                     QWidget *parent)
    : TgridForm(prompter, false, parent)
{
    picture_ = picture;
    charMap_ = start.charMap;
    gZoom_->setValue(fittingZoom(picture.size()));
    showSettings(start.grid, start.codes, start.background, start.ink);
    cbTrim_->setChecked(start.trim);
    gSpacing_->setValue(start.spacing);
    gSpaceWidth_->setValue(start.spaceWidth.value_or(0));
    ready_ = true;
    updatePreview();
}

TgridForm::TgridForm(project::Prompter &prompter, const font::GlyphTable &glyphs,
                     const font::GridExportSettings &start, QWidget *parent)
    : TgridForm(prompter, true, parent)
{
    glyphs_ = &glyphs;
    charMap_ = start.charMap;
    for (QWidget *reading : std::initializer_list<QWidget *>{cbTrim_, gSpacing_, gSpaceWidth_, lbGlyphs_})
        reading->hide();
    showSettings(start.grid, start.codes, start.background, start.ink);
    gZoom_->setValue(2);
    ready_ = true;
    updatePreview();
}

void TgridForm::createControls()
{
    const int lowestCell = drawing_ ? 0 : 1;
    gCellWidth_ = spin(this, "gCellWidth", lowestCell, font::kMaxGlyphSide);
    gCellHeight_ = spin(this, "gCellHeight", lowestCell, font::kMaxGlyphSide);
    gMarginX_ = spin(this, "gMarginX", 0, font::kMaxGridSpan);
    gMarginY_ = spin(this, "gMarginY", 0, font::kMaxGridSpan);
    gGapX_ = spin(this, "gGapX", 0, font::kMaxGridSpan);
    gGapY_ = spin(this, "gGapY", 0, font::kMaxGridSpan);
    gColumns_ = spin(this, "gColumns", 0, font::kMaxGridSpan);
    gFirstCode_ = spin(this, "gFirstCode", 0, 255);
    gSpacing_ = spin(this, "gSpacing", 0, font::kMaxGlyphSide);
    gSpaceWidth_ = spin(this, "gSpaceWidth", 0, font::kMaxGlyphSide);
    gZoom_ = spin(this, "gZoom", 1, 8);
    if (drawing_) {
        gCellWidth_->setSpecialValueText(QStringLiteral("widest glyph"));
        gCellHeight_->setSpecialValueText(QStringLiteral("tallest glyph"));
        gColumns_->setSpecialValueText(QStringLiteral("16"));
    } else {
        gColumns_->setSpecialValueText(QStringLiteral("as many as fit"));
    }
    gSpaceWidth_->setSpecialValueText(QStringLiteral("half a cell"));

    rbFirstCode_ = new QRadioButton(QStringLiteral("First code"), this);
    rbFirstCode_->setObjectName(QStringLiteral("rbFirstCode"));
    rbChars_ = new QRadioButton(QStringLiteral("Characters"), this);
    rbChars_->setObjectName(QStringLiteral("rbChars"));
    edChars_ = new QLineEdit(this);
    edChars_->setObjectName(QStringLiteral("edChars"));
    edChars_->setPlaceholderText(QStringLiteral("the characters of the cells, in order"));

    cbBackground_ = new QCheckBox(drawing_ ? QStringLiteral("a colour no glyph uses") : QStringLiteral("the top-left pixel"), this);
    cbBackground_->setObjectName(QStringLiteral("cbBackground"));
    btBackground_ = new QPushButton(this);
    btBackground_->setObjectName(QStringLiteral("btBackground"));
    cbInk_ = new QCheckBox(drawing_ ? QStringLiteral("black") : QStringLiteral("the most common colour"), this);
    cbInk_->setObjectName(QStringLiteral("cbInk"));
    btInk_ = new QPushButton(this);
    btInk_->setObjectName(QStringLiteral("btInk"));
    cbTrim_ = new QCheckBox(QStringLiteral("Trim each glyph to its pixels, plus the spacing"), this);
    cbTrim_->setObjectName(QStringLiteral("cbTrim"));

    auto pair = [this](QWidget *first, const QString &between, QWidget *second) {
        auto *row = new QWidget(this);
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(first);
        layout->addWidget(new QLabel(between, row));
        layout->addWidget(second);
        layout->addStretch();
        return row;
    };
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Cell:"), pair(gCellWidth_, QStringLiteral("x"), gCellHeight_));
    form->addRow(QStringLiteral("Left, top margin:"), pair(gMarginX_, QStringLiteral(","), gMarginY_));
    form->addRow(QStringLiteral("Gap between cells:"), pair(gGapX_, QStringLiteral(","), gGapY_));
    form->addRow(QStringLiteral("Columns:"), gColumns_);
    form->addRow(rbFirstCode_, gFirstCode_);
    form->addRow(rbChars_, edChars_);
    form->addRow(QStringLiteral("Background:"), pair(cbBackground_, QString(), btBackground_));
    form->addRow(QStringLiteral("Ink:"), pair(cbInk_, QString(), btInk_));
    form->addRow(cbTrim_);
    if (!drawing_) {
        form->addRow(QStringLiteral("Spacing:"), gSpacing_);
        form->addRow(QStringLiteral("Space width:"), gSpaceWidth_);
    }
    form->addRow(QStringLiteral("Zoom:"), gZoom_);

    lbPicture_ = new QLabel(this);
    lbPicture_->setObjectName(QStringLiteral("lbPicture"));
    lbPicture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbGlyphs_ = new QLabel(this);
    lbGlyphs_->setObjectName(QStringLiteral("lbGlyphs"));
    lbGlyphs_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *previews = new QWidget(this);
    auto *previewLayout = new QVBoxLayout(previews);
    previewLayout->addWidget(lbPicture_);
    previewLayout->addWidget(lbGlyphs_);
    previewLayout->addStretch();
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(previews);
    scroll->setWidgetResizable(true);
    scroll->setMinimumSize(kPreviewWidth + 30, 400);

    lbStatus_ = new QLabel(this);
    lbStatus_->setObjectName(QStringLiteral("lbStatus"));
    lbStatus_->setWordWrap(true);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->setObjectName(QStringLiteral("buttons"));

    auto *top = new QHBoxLayout;
    top->addLayout(form);
    top->addWidget(scroll, 1);
    auto *whole = new QVBoxLayout(this);
    whole->addLayout(top, 1);
    whole->addWidget(lbStatus_);
    whole->addWidget(buttons_);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QSpinBox *box : {gCellWidth_, gCellHeight_, gMarginX_, gMarginY_, gGapX_, gGapY_, gColumns_, gFirstCode_,
                          gSpacing_, gSpaceWidth_, gZoom_})
        connect(box, &QSpinBox::valueChanged, this, &TgridForm::updatePreview);
    for (QAbstractButton *button : std::initializer_list<QAbstractButton *>{rbFirstCode_, rbChars_, cbBackground_, cbInk_, cbTrim_})
        connect(button, &QAbstractButton::toggled, this, &TgridForm::updatePreview);
    connect(edChars_, &QLineEdit::textChanged, this, [this] {
        if (!edChars_->text().isEmpty())
            rbChars_->setChecked(true);
        updatePreview();
    });
    connect(btBackground_, &QPushButton::clicked, this, [this] { chooseColour(btBackground_, background_); });
    connect(btInk_, &QPushButton::clicked, this, [this] { chooseColour(btInk_, ink_); });
}

void TgridForm::showSettings(const font::GridLayout &grid, const font::CellCodes &codes,
                             std::optional<raster::Colour> background, std::optional<raster::Colour> ink)
{
    gCellWidth_->setValue(grid.cellWidth);
    gCellHeight_->setValue(grid.cellHeight);
    gMarginX_->setValue(grid.marginX);
    gMarginY_->setValue(grid.marginY);
    gGapX_->setValue(grid.gapX);
    gGapY_->setValue(grid.gapY);
    gColumns_->setValue(grid.columns);
    const int first = codes.empty() ? 32 : std::max(codes.front(), 0);
    if (codes == font::consecutiveCodes(first)) {
        rbFirstCode_->setChecked(true);
        gFirstCode_->setValue(first);
    } else {
        gFirstCode_->setValue(32);
        QString characters;
        for (int code : codes)
            if (code >= 0)
                characters += charMap_.text(code);
        edChars_->setText(characters);
        rbChars_->setChecked(true);
    }
    cbBackground_->setChecked(!background);
    background_ = background.value_or(background_);
    cbInk_->setChecked(!ink);
    ink_ = ink.value_or(ink_);
    showColour(btBackground_, background_);
    showColour(btInk_, ink_);
}

void TgridForm::chooseColour(QPushButton *button, raster::Colour &colour)
{
    const std::optional<raster::Colour> chosen = prompter_.chooseColour(colour);
    if (!chosen)
        return;
    colour = *chosen;
    showColour(button, colour);
    // A colour chosen is a colour meant.
    (button == btBackground_ ? cbBackground_ : cbInk_)->setChecked(false);
    updatePreview();
}

font::GridLayout TgridForm::layout() const
{
    return {gCellWidth_->value(), gCellHeight_->value(), gMarginX_->value(), gMarginY_->value(),
            gGapX_->value(),      gGapY_->value(),       gColumns_->value()};
}

font::CellCodes TgridForm::codes(QStringList *lost) const
{
    if (rbChars_->isChecked())
        return font::codesOfCharacters(edChars_->text(), charMap_, lost);
    return font::consecutiveCodes(gFirstCode_->value());
}

font::GridImportSettings TgridForm::importSettings() const
{
    font::GridImportSettings settings;
    settings.grid = layout();
    settings.codes = codes(nullptr);
    settings.charMap = charMap_;
    if (!cbBackground_->isChecked())
        settings.background = background_;
    if (!cbInk_->isChecked())
        settings.ink = ink_;
    settings.trim = cbTrim_->isChecked();
    settings.spacing = gSpacing_->value();
    if (gSpaceWidth_->value() > 0)
        settings.spaceWidth = gSpaceWidth_->value();
    return settings;
}

font::GridExportSettings TgridForm::exportSettings() const
{
    font::GridExportSettings settings;
    settings.grid = layout();
    settings.codes = codes(nullptr);
    settings.charMap = charMap_;
    if (!cbBackground_->isChecked())
        settings.background = background_;
    if (!cbInk_->isChecked())
        settings.ink = ink_;
    return settings;
}

void TgridForm::updatePreview()
{
    if (!ready_)
        return;
    gFirstCode_->setEnabled(rbFirstCode_->isChecked());
    btBackground_->setEnabled(!cbBackground_->isChecked());
    btInk_->setEnabled(!cbInk_->isChecked());
    gSpacing_->setEnabled(cbTrim_->isChecked());
    QStringList lost;
    codes(&lost);
    try {
        drawing_ ? previewExport() : previewImport();
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(true);
        if (!lost.isEmpty())
            lbStatus_->setText(lbStatus_->text() + QStringLiteral("\nNot in the character map, their cells left out: ") +
                               lost.join(QStringLiteral(", ")));
    } catch (const Error &error) {
        lbStatus_->setText(error.message());
        lbGlyphs_->clear();
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
    }
}

void TgridForm::previewImport()
{
    const int zoom = gZoom_->value();
    const font::GridImportSettings settings = importSettings();
    // A failing grid still shows the picture, so that the user sees why.
    QImage shown(picture_.size(), QImage::Format_ARGB32);
    shown.fill(kBackdrop);
    QPainter(&shown).drawImage(0, 0, picture_);
    QImage view = zoomed(shown, zoom);
    const int scale = picture_.width() > 0 ? view.width() / picture_.width() : 1;
    lbPicture_->setPixmap(QPixmap::fromImage(view));

    const font::GridImport imported = font::importGrid(picture_, settings);
    const font::GridLayout &grid = settings.grid;
    QPainter painter(&view);
    const std::set<int> made(imported.made.begin(), imported.made.end());
    for (qint64 index = 0; index < qint64(imported.columns) * imported.rows; ++index) {
        const int column = int(index % imported.columns), row = int(index / imported.columns);
        const QRect cell(grid.marginX + column * (grid.cellWidth + grid.gapX),
                         grid.marginY + row * (grid.cellHeight + grid.gapY), grid.cellWidth, grid.cellHeight);
        if (cell.right() >= picture_.width())
            continue;
        const int code = index < qint64(settings.codes.size()) ? settings.codes[std::size_t(index)] : -1;
        painter.setPen(code >= 0 && made.contains(code) ? kCellWithGlyph : kCellWithout);
        painter.drawRect(cell.x() * scale, cell.y() * scale, cell.width() * scale - 1, cell.height() * scale - 1);
    }
    painter.end();
    lbPicture_->setPixmap(QPixmap::fromImage(view));

    // The glyphs, side by side in rows as wide as the preview.
    const int glyphZoom = std::max(1, std::min(zoom, 4));
    int x = 0, y = 0, rowHeight = 0;
    std::vector<QPoint> places;
    for (int code : imported.made) {
        const font::tGraphChar &glyph = imported.glyphs[code];
        const int width = glyph.width * glyphZoom, height = glyph.height * glyphZoom;
        if (x > 0 && x + width > kPreviewWidth) {
            x = 0;
            y += rowHeight + 4;
            rowHeight = 0;
        }
        places.emplace_back(x, y);
        x += width + 4;
        rowHeight = std::max(rowHeight, height);
    }
    QImage strip(kPreviewWidth, std::min(y + rowHeight, kLargestPreviewSide) + 1, QImage::Format_RGB32);
    strip.fill(kBackdrop);
    QPainter glyphPainter(&strip);
    for (std::size_t i = 0; i < places.size(); ++i) {
        const font::tGraphChar &glyph = imported.glyphs[imported.made[i]];
        glyphPainter.drawImage(QRect(places[i], QSize(glyph.width, glyph.height) * glyphZoom), glyph.image.image());
    }
    glyphPainter.end();
    lbGlyphs_->setPixmap(QPixmap::fromImage(strip));

    QString summary = QStringLiteral("%1 from a grid of %2 and %3; background %4, ink %5")
                          .arg(counted(qsizetype(imported.made.size()), "glyph"), counted(imported.columns, "column"),
                               counted(imported.rows, "row"))
                          .arg(raster::colourHex(imported.background))
                          .arg(imported.ink ? raster::colourHex(*imported.ink) : QStringLiteral("none"));
    for (const QString &warning : imported.warnings)
        summary += u'\n' + warning;
    lbStatus_->setText(summary);
}

void TgridForm::previewExport()
{
    const font::GridExport drawn = font::exportGrid(*glyphs_, exportSettings());
    lbPicture_->setPixmap(QPixmap::fromImage(zoomed(drawn.picture.image(), gZoom_->value())));
    QString summary = QStringLiteral("A picture of %1 x %2 pixels: cells of %3 x %4 in %5 columns, background %6")
                          .arg(drawn.picture.width()).arg(drawn.picture.height())
                          .arg(drawn.grid.cellWidth).arg(drawn.grid.cellHeight).arg(drawn.grid.columns)
                          .arg(raster::colourHex(drawn.background));
    for (const QString &warning : drawn.warnings)
        summary += u'\n' + warning;
    lbStatus_->setText(summary);
}

}  // namespace letterloom::ui
