#include "ui/effects_form.h"

#include "project/project_commands.h"
#include "project/prompter.h"
#include "project/workspace.h"
#include "ui/tool_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace letterloom::ui {

namespace {

QSpinBox *spinBox(QWidget *parent, const char *name, int low, int high, int value)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

void showSwatch(QPushButton *button, raster::Colour colour)
{
    QPixmap swatch(24, 12);
    swatch.fill(QColor(raster::toQRgb(colour)));
    button->setIcon(QIcon(swatch));
}

}  // namespace

TeffectsForm::TeffectsForm(Context &context, QWidget *parent)
    : QWidget(parent, Qt::Window), context_(context)
{
    setObjectName(QStringLiteral("effectsForm"));
    makeToolWindow(this);
    setWindowTitle(QStringLiteral("Text Effects"));
    auto *grid = new QGridLayout(this);
    const auto colourButton = [this](const char *name) {
        auto *button = new QPushButton(this);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(QStringLiteral("Colour..."));
        showSwatch(button, raster::kBlack);
        return button;
    };

    outline_ = new QCheckBox(QStringLiteral("Outline"), this);
    outline_->setObjectName(QStringLiteral("cbOutline"));
    outlineSize_ = spinBox(this, "seOutlineSize", 1, text::kMaxOutline, 1);
    outlineSize_->setSuffix(QStringLiteral(" px"));
    outlineShape_ = new QComboBox(this);
    outlineShape_->setObjectName(QStringLiteral("cbOutlineShape"));
    outlineShape_->addItems({QStringLiteral("Square"), QStringLiteral("Round")});
    outlineColourButton_ = colourButton("btOutlineColour");
    grid->addWidget(outline_, 0, 0);
    grid->addWidget(outlineSize_, 0, 1);
    grid->addWidget(outlineShape_, 0, 2);
    grid->addWidget(outlineColourButton_, 0, 3);

    shadow_ = new QCheckBox(QStringLiteral("Shadow"), this);
    shadow_->setObjectName(QStringLiteral("cbShadow"));
    shadowX_ = spinBox(this, "seShadowX", -text::kMaxShadowOffset, text::kMaxShadowOffset, 2);
    shadowX_->setPrefix(QStringLiteral("x "));
    shadowY_ = spinBox(this, "seShadowY", -text::kMaxShadowOffset, text::kMaxShadowOffset, 2);
    shadowY_->setPrefix(QStringLiteral("y "));
    shadowColourButton_ = colourButton("btShadowColour");
    grid->addWidget(shadow_, 1, 0);
    grid->addWidget(shadowX_, 1, 1);
    grid->addWidget(shadowY_, 1, 2);
    grid->addWidget(shadowColourButton_, 1, 3);

    plate_ = new QCheckBox(QStringLiteral("Plate"), this);
    plate_->setObjectName(QStringLiteral("cbPlate"));
    platePadding_ = spinBox(this, "sePlatePadding", 0, text::kMaxPlatePadding, 2);
    platePadding_->setSuffix(QStringLiteral(" px"));
    plateColourButton_ = colourButton("btPlateColour");
    grid->addWidget(plate_, 2, 0);
    grid->addWidget(platePadding_, 2, 1);
    grid->addWidget(plateColourButton_, 2, 3);

    tracking_ = spinBox(this, "seTracking", text::kMinTracking, text::kMaxTracking, 0);
    tracking_->setSuffix(QStringLiteral(" px"));
    tracking_->setToolTip(QStringLiteral("Extra pixels between the characters of a word"));
    wordSpacing_ = spinBox(this, "seWordSpacing", text::kMinWordSpacing, text::kMaxWordSpacing, 0);
    wordSpacing_->setSuffix(QStringLiteral(" px"));
    wordSpacing_->setToolTip(QStringLiteral("Extra pixels added to the width of a space"));
    grid->addWidget(new QLabel(QStringLiteral("Tracking"), this), 3, 0);
    grid->addWidget(tracking_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Word spacing"), this), 4, 0);
    grid->addWidget(wordSpacing_, 4, 1);
    for (QSpinBox *box : {tracking_, wordSpacing_})
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (showing_)
                return;
            const text::Spacing chosen = spacing();
            project::runCommand(context_.prompter, [&] { context_.commands.setSpacing(chosen); });
        });

    for (QCheckBox *box : {outline_, shadow_, plate_})
        connect(box, &QCheckBox::toggled, this, &TeffectsForm::changed);
    for (QSpinBox *box : {outlineSize_, shadowX_, shadowY_, platePadding_})
        connect(box, &QSpinBox::valueChanged, this, &TeffectsForm::changed);
    connect(outlineShape_, &QComboBox::currentIndexChanged, this, &TeffectsForm::changed);
    connect(outlineColourButton_, &QPushButton::clicked, this,
            [this] { chooseColour(outlineColourButton_, outlineColour_); });
    connect(shadowColourButton_, &QPushButton::clicked, this,
            [this] { chooseColour(shadowColourButton_, shadowColour_); });
    connect(plateColourButton_, &QPushButton::clicked, this,
            [this] { chooseColour(plateColourButton_, plateColour_); });
    adjustSize();
}

text::Effects TeffectsForm::effects() const
{
    text::Effects effects;
    if (outline_->isChecked())
        effects.outline = text::OutlineEffect{
            outlineSize_->value(),
            outlineShape_->currentIndex() == 1 ? text::OutlineShape::Round : text::OutlineShape::Square,
            outlineColour_};
    if (shadow_->isChecked())
        effects.shadow = text::ShadowEffect{shadowX_->value(), shadowY_->value(), shadowColour_};
    if (plate_->isChecked())
        effects.plate = text::PlateEffect{platePadding_->value(), plateColour_};
    return effects;
}

text::Spacing TeffectsForm::spacing() const
{
    return {tracking_->value(), wordSpacing_->value()};
}

void TeffectsForm::focusSpacing()
{
    tracking_->setFocus();
    tracking_->selectAll();
}

void TeffectsForm::changed()
{
    if (showing_)
        return;
    const text::Effects chosen = effects();
    project::runCommand(context_.prompter, [&] { context_.commands.setEffects(chosen); });
}

void TeffectsForm::chooseColour(QPushButton *button, raster::Colour &colour)
{
    const std::optional<raster::Colour> chosen = context_.prompter.chooseColour(colour);
    if (!chosen)
        return;
    colour = *chosen;
    showSwatch(button, colour);
    changed();
}

void TeffectsForm::showEffects()
{
    showing_ = true;
    const text::Effects &effects = context_.workspace.effects;
    outline_->setChecked(effects.outline.has_value());
    if (effects.outline) {
        outlineSize_->setValue(effects.outline->size);
        outlineShape_->setCurrentIndex(effects.outline->shape == text::OutlineShape::Round ? 1 : 0);
        outlineColour_ = effects.outline->colour;
    }
    shadow_->setChecked(effects.shadow.has_value());
    if (effects.shadow) {
        shadowX_->setValue(effects.shadow->dx);
        shadowY_->setValue(effects.shadow->dy);
        shadowColour_ = effects.shadow->colour;
    }
    plate_->setChecked(effects.plate.has_value());
    if (effects.plate) {
        platePadding_->setValue(effects.plate->padding);
        plateColour_ = effects.plate->colour;
    }
    showSwatch(outlineColourButton_, outlineColour_);
    showSwatch(shadowColourButton_, shadowColour_);
    showSwatch(plateColourButton_, plateColour_);
    tracking_->setValue(context_.workspace.spacing.tracking);
    wordSpacing_->setValue(context_.workspace.spacing.wordSpacing);
    showing_ = false;
}

}  // namespace letterloom::ui
