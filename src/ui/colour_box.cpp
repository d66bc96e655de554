#include "ui/colour_box.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPixmap>

#include <utility>

namespace letterloom::ui {

namespace {

// An item's system colour, as a palette role; absent for fixed colours.
constexpr int kPaletteRole = Qt::UserRole + 1;

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
    setCurrentIndex(0);
}

raster::Colour ColourBox::currentColour() const
{
    const QVariant role = currentData(kPaletteRole);
    const QColor colour = role.isValid()
        ? QGuiApplication::palette().color(QPalette::ColorRole(role.toInt()))
        : currentData().value<QColor>();
    return raster::fromQRgb(colour.rgb());
}

}  // namespace letterloom::ui
