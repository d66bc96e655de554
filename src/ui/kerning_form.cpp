#include "ui/kerning_form.h"

#include "raster/raster.h"
#include "text/layout.h"
#include "text/render.h"
#include "ui/font_form.h"
#include "ui/text_codec.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace letterloom::ui {

namespace {

constexpr int kZoom = 2;
// The widest test string drawn, in pixels of the font.
constexpr std::int64_t kWidestSample = 2048;

}  // namespace

TkerningForm::TkerningForm(const font::GlyphTable &glyphs, const font::Kerning &start, const font::CharMap &map,
                           QWidget *parent)
    : QDialog(parent), glyphs_(glyphs), map_(map), kerning_(start)
{
    setWindowTitle(QStringLiteral("Kerning"));
    auto *layout = new QVBoxLayout(this);

    pairs_ = new QTableWidget(0, 3, this);
    pairs_->setObjectName(QStringLiteral("tbPairs"));
    pairs_->setHorizontalHeaderLabels({QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Pixels")});
    pairs_->setSelectionBehavior(QAbstractItemView::SelectRows);
    pairs_->setSelectionMode(QAbstractItemView::SingleSelection);
    pairs_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pairs_->verticalHeader()->hide();
    pairs_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    pairs_->setMinimumHeight(140);
    layout->addWidget(pairs_);

    auto *pairRow = new QHBoxLayout;
    left_ = new QLineEdit(this);
    left_->setObjectName(QStringLiteral("edLeft"));
    right_ = new QLineEdit(this);
    right_->setObjectName(QStringLiteral("edRight"));
    for (QLineEdit *edit : {left_, right_}) {
        edit->setMaxLength(8);
        edit->setMaximumWidth(60);
        edit->setToolTip(QStringLiteral("One character of the font, or $ and its code ($65)"));
    }
    pixels_ = new QSpinBox(this);
    pixels_->setObjectName(QStringLiteral("sePixels"));
    pixels_->setRange(-font::kMaxKerning, font::kMaxKerning);
    pixels_->setSuffix(QStringLiteral(" px"));
    pixels_->setToolTip(QStringLiteral("How far the right glyph moves after the left one (negative: closer)"));
    auto *set = new QPushButton(QStringLiteral("Set"), this);
    set->setObjectName(QStringLiteral("btSet"));
    auto *remove = new QPushButton(QStringLiteral("Remove"), this);
    remove->setObjectName(QStringLiteral("btRemove"));
    pairRow->addWidget(new QLabel(QStringLiteral("Left"), this));
    pairRow->addWidget(left_);
    pairRow->addWidget(new QLabel(QStringLiteral("Right"), this));
    pairRow->addWidget(right_);
    pairRow->addWidget(pixels_);
    pairRow->addWidget(set);
    pairRow->addWidget(remove);
    layout->addLayout(pairRow);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lbStatus"));
    layout->addWidget(status_);

    auto *form = new QFormLayout;
    sample_ = new QLineEdit(QStringLiteral("AVATAR Tower WAVE"), this);
    sample_->setObjectName(QStringLiteral("edSample"));
    form->addRow(QStringLiteral("Test text"), sample_);
    layout->addLayout(form);
    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("lbPreview"));
    preview_->setMinimumSize(320, 60);
    preview_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    preview_->setStyleSheet(QStringLiteral("background: white"));
    layout->addWidget(preview_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(set, &QPushButton::clicked, this, &TkerningForm::setPair);
    connect(remove, &QPushButton::clicked, this, &TkerningForm::removePair);
    connect(pairs_, &QTableWidget::itemSelectionChanged, this, &TkerningForm::pairChosen);
    connect(sample_, &QLineEdit::textChanged, this, &TkerningForm::updatePreview);

    showPairs();
    updatePreview();
}

int TkerningForm::codeOf(const QString &typed) const
{
    const QByteArray bytes = text::ResolveEscapes(editorTextToBytes(typed, map_).bytes);
    if (typed.isEmpty() || !editorTextToBytes(typed, map_).ok() || bytes.size() != 1)
        return -1;
    return static_cast<unsigned char>(bytes[0]);
}

void TkerningForm::setPair()
{
    const int left = codeOf(left_->text());
    const int right = codeOf(right_->text());
    if (left < 0 || right < 0) {
        status_->setText(QStringLiteral("Type one character of the font on each side (or $ and its code)"));
        return;
    }
    kerning_.set(std::uint8_t(left), std::uint8_t(right), pixels_->value());
    showPairs();
    updatePreview();
}

void TkerningForm::removePair()
{
    pixels_->setValue(0);
    setPair();
}

void TkerningForm::pairChosen()
{
    const QList<QTableWidgetItem *> chosen = pairs_->selectedItems();
    if (chosen.isEmpty())
        return;
    const int row = chosen.front()->row();
    if (row < 0 || std::size_t(row) >= kerning_.pairs().size())
        return;
    const font::KerningPair &pair = kerning_.pairs()[std::size_t(row)];
    left_->setText(TfontForm::cellLabel(pair.left, map_));
    right_->setText(TfontForm::cellLabel(pair.right, map_));
    pixels_->setValue(pair.amount);
}

void TkerningForm::showPairs()
{
    const std::vector<font::KerningPair> &pairs = kerning_.pairs();
    const QSignalBlocker blocker(pairs_);
    pairs_->setRowCount(int(pairs.size()));
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const auto cell = [](const QString &text) { return new QTableWidgetItem(text); };
        pairs_->setItem(int(i), 0, cell(TfontForm::cellLabel(pairs[i].left, map_)));
        pairs_->setItem(int(i), 1, cell(TfontForm::cellLabel(pairs[i].right, map_)));
        pairs_->setItem(int(i), 2, cell(QString::number(pairs[i].amount)));
    }
    status_->setText(pairs.size() == 1 ? QStringLiteral("1 pair") : QStringLiteral("%1 pairs").arg(pairs.size()));
}

void TkerningForm::updatePreview()
{
    const font::CharMap::Encoded encoded = editorTextToBytes(sample_->text(), map_);
    const QByteArray text = encoded.bytes;
    // One line as wide as the text could come out, as high as the font.
    std::int32_t tallest = 1;
    for (int code = 0; code < font::GlyphTable::kSize; ++code)
        if (glyphs_[code].defined)
            tallest = std::max(tallest, glyphs_[code].height);
    const std::int64_t width = std::clamp<std::int64_t>(
        std::int64_t(text::WordWidth(text, glyphs_)) + std::int64_t(font::kMaxKerning) * text.size() + 8, 8,
        kWidestSample);
    text::LineTable lines;
    text::LayoutText(text, std::int32_t(width), tallest + 8, tallest, glyphs_, lines, {}, &kerning_);
    raster::Raster overlay;
    text::RenderLines(lines, std::int32_t(width), tallest + 8, tallest, text::kAlignLeft, glyphs_, overlay, {},
                      &kerning_);
    // Cut to what was drawn, so that the test text stands at the left.
    std::int64_t used = 0;
    for (const text::TextLine line : lines)
        used = std::max<std::int64_t>(used, line.lineWidth);
    drawn_ = overlay.image().copy(0, 0, int(std::clamp<std::int64_t>(used + 4, 1, width)), overlay.height());
    preview_->setPixmap(QPixmap::fromImage(
        drawn_.scaled(drawn_.width() * kZoom, drawn_.height() * kZoom, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

QImage TkerningForm::preview() const
{
    return drawn_;
}

}  // namespace letterloom::ui
