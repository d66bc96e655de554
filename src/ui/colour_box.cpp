#include "ui/colour_box.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPixmap>

#include <utility>

namespace letterloom::ui {

namespace {

// An item's system colour, as a palette role; absent for fixed colours.
constexpr int kPaletteRole = Qt::UserRole + 1;
// Marks the custom entry and "Custom...".
constexpr int kKindRole = Qt::UserRole + 2;
constexpr int kCustomEntry = 1;
constexpr int kCustomChoice = 2;

const std::pair<Qt::GlobalColor, const char *> kStandardColours[] = {
    {Qt::black, "Black"},          {Qt::white, "White"},
    {Qt::darkGray, "Dark Grey"},   {Qt::gray, "Grey"},
    {Qt::lightGray, "Light Grey"}, {Qt::red, "Red"},
    {Qt::green, "Green"},          {Qt::blue, "Blue"},
    {Qt::cyan, "Cyan"},            {Qt::magenta, "Magenta"},
    {Qt::yellow, "Yellow"},        {Qt::darkRed, "Dark Red"},
    {Qt::darkGreen, "Dark Green"}, {Qt::darkBlue, "Dark Blue"},
    {Qt::darkCyan, "Dark Cyan"},   {Qt::darkMagenta, "Dark Magenta"},
    {Qt::darkYellow, "Dark Yellow"},
};

const std::pair<QPalette::ColorRole, const char *> kSystemColours[] = {
    {QPalette::Window, "Window"},
    {QPalette::WindowText, "Window Text"},
    {QPalette::Base, "Base"},
    {QPalette::AlternateBase, "Alternate Base"},
    {QPalette::ToolTipBase, "Tool Tip"},
    {QPalette::ToolTipText, "Tool Tip Text"},
    {QPalette::PlaceholderText, "Placeholder Text"},
    {QPalette::Text, "Text"},
    {QPalette::Button, "Button"},
    {QPalette::ButtonText, "Button Text"},
    {QPalette::BrightText, "Bright Text"},
    {QPalette::Light, "Light"},
    {QPalette::Midlight, "Midlight"},
    {QPalette::Mid, "Mid"},
    {QPalette::Dark, "Dark"},
    {QPalette::Shadow, "Shadow"},
    {QPalette::Highlight, "Highlight"},
    {QPalette::HighlightedText, "Highlighted Text"},
    {QPalette::Link, "Link"},
    {QPalette::LinkVisited, "Visited Link"},
};

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

}  // namespace

ColourBox::ColourBox(QWidget *parent)
    : QComboBox(parent)
{
    QList<QRgb> listed;
    const auto addColour = [&](const QColor &colour, const QString &name) {
        listed << colour.rgb();
        addItem(swatch(colour), name, colour);
    };
    for (const auto &[colour, name] : kStandardColours)
        addColour(QColor(colour), QString::fromLatin1(name));
    // The extended colours: the named colours that the standard ones lack.
    for (const QString &name : QColor::colorNames()) {
        const QColor colour = QColor::fromString(name);
        if (!listed.contains(colour.rgb()))
            addColour(colour, name);
    }
    const QPalette palette = QGuiApplication::palette();
    for (const auto &[role, name] : kSystemColours) {
        addItem(swatch(palette.color(role)), QString::fromLatin1(name));
        setItemData(count() - 1, int(role), kPaletteRole);
    }
    addItem(QStringLiteral("Custom..."));
    setItemData(count() - 1, kCustomChoice, kKindRole);
    setCurrentIndex(0);
    connect(this, &QComboBox::activated, this, &ColourBox::entryActivated);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (itemData(index, kKindRole).toInt() != kCustomChoice)
            shownIndex_ = index;
    });
}

void ColourBox::entryActivated(int index)
{
    if (itemData(index, kKindRole).toInt() != kCustomChoice)
        return;
    const raster::Colour start = colourAt(shownIndex_);
    const std::optional<raster::Colour> chosen = chooser_ ? chooser_(start) : std::nullopt;
    if (chosen)
        setCustom(*chosen);
    else
        setCurrentIndex(shownIndex_);
}

void ColourBox::setCustom(raster::Colour colour)
{
    const QColor shown(raster::toQRgb(colour));
    int custom = count() - 2;
    if (itemData(custom, kKindRole).toInt() != kCustomEntry) {
        insertItem(++custom, QString());
        setItemData(custom, kCustomEntry, kKindRole);
    }
    setItemText(custom, shown.name(QColor::HexRgb).toUpper());
    setItemIcon(custom, swatch(shown));
    setItemData(custom, shown);
    setCurrentIndex(custom);
}

void ColourBox::showColour(raster::Colour colour)
{
    const QColor wanted(raster::toQRgb(colour));
    for (int i = 0; i < count(); ++i) {
        if (itemData(i, kKindRole).isValid() || itemData(i, kPaletteRole).isValid())
            continue;
        if (itemData(i).value<QColor>().rgb() == wanted.rgb()) {
            setCurrentIndex(i);
            return;
        }
    }
    setCustom(colour);
}

raster::Colour ColourBox::colourAt(int index) const
{
    // While "Custom..." is open, the colour is still the one before it.
    if (itemData(index, kKindRole).toInt() == kCustomChoice)
        index = shownIndex_;
    const QVariant role = itemData(index, kPaletteRole);
    const QColor colour = role.isValid()
        ? QGuiApplication::palette().color(QPalette::ColorRole(role.toInt()))
        : itemData(index).value<QColor>();
    return raster::fromQRgb(colour.rgb());
}

raster::Colour ColourBox::currentColour() const
{
    return colourAt(currentIndex());
}

}  // namespace letterloom::ui
