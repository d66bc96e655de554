#include "ui/shell_effects.h"

#include "ui/font_form.h"
#include "ui/graph_form.h"
#include "ui/main_form.h"
#include "ui/text_form.h"
#include "ui/tool_window.h"

namespace letterloom::ui {

ShellEffects::ShellEffects(Windows &windows)
    : windows_(windows)
{
}

QByteArray ShellEffects::text() const
{
    return windows_.text ? windows_.text->bytes() : QByteArray();
}

void ShellEffects::setText(const QByteArray &text)
{
    if (windows_.text)
        windows_.text->setBytes(text);
}

void ShellEffects::setTextCaption(const QString &caption)
{
    if (windows_.text)
        windows_.text->setWindowTitle(caption);
}

raster::Colour ShellEffects::textColour() const
{
    return windows_.main ? windows_.main->textColour() : raster::kBlack;
}

void ShellEffects::setTextColour(raster::Colour colour)
{
    if (windows_.main)
        windows_.main->showTextColour(colour);
}

void ShellEffects::setMainCaption(const QString &caption)
{
    if (windows_.main)
        windows_.main->setCaption(caption);
}

void ShellEffects::setRefreshEnabled(bool enabled)
{
    if (windows_.main)
        windows_.main->setRefreshEnabled(enabled);
}

void ShellEffects::showSettings(const project::ProjectSettings &settings)
{
    if (windows_.main)
        windows_.main->showSettings(settings);
}

void ShellEffects::setFontTableCaption(const QString &caption)
{
    if (windows_.font)
        setDocumentCaption(windows_.font, caption);
}

void ShellEffects::showFontTable()
{
    bringBack(windows_.font);
}

void ShellEffects::hideFontTable()
{
    if (windows_.font)
        windows_.font->hide();
}

void ShellEffects::refreshFontTable()
{
    if (windows_.font)
        windows_.font->refreshGrid();
}

void ShellEffects::showCharMap()
{
    if (windows_.font)
        windows_.font->showCharMap();
    if (windows_.text)
        windows_.text->showThroughMap();
}

void ShellEffects::setImageCaption(const QString &caption)
{
    if (windows_.graph)
        windows_.graph->setWindowTitle(caption);
}

void ShellEffects::setImageViewSize(QSize size)
{
    if (windows_.graph)
        windows_.graph->setViewSize(size);
}

void bringBack(QWidget *window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace letterloom::ui
