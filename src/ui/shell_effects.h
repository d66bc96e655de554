#pragma once

#include "project/window_effects.h"
#include "ui/windows.h"

class QWidget;

namespace letterloom::ui {

// What the project commands do to the windows. A window that does not exist
// yet (the reset at the main window's creation runs before the others are
// made) is left out.
class ShellEffects : public project::WindowEffects {
public:
    explicit ShellEffects(Windows &windows);

    QByteArray text() const override;
    void setText(const QByteArray &text) override;
    void setTextCaption(const QString &caption) override;
    raster::Colour textColour() const override;
    void setTextColour(raster::Colour colour) override;

    void setMainCaption(const QString &caption) override;
    void setRefreshEnabled(bool enabled) override;
    void showSettings(const project::ProjectSettings &settings) override;

    void setFontTableCaption(const QString &caption) override;
    void showFontTable() override;
    void hideFontTable() override;
    void refreshFontTable() override;
    void showCharMap() override;

    void setImageCaption(const QString &caption) override;
    void setImageViewSize(QSize size) override;

private:
    Windows &windows_;
};

// Shows a tool window, also one the user closed, in front of the others.
void bringBack(QWidget *window);

}  // namespace letterloom::ui
