#pragma once

#include "project/window_effects.h"

#include <QStringList>

#include <optional>

namespace letterloom::testing {

// Window effects as plain values, for tests of the project commands.
class FakeEffects : public project::WindowEffects {
public:
    QByteArray textBytes;
    QString textCaption = QStringLiteral("Text Input Window");
    raster::Colour colour = raster::kBlack;
    QString mainCaption = QStringLiteral("Letterloom v1.0");
    bool refreshEnabled = false;
    std::optional<project::ProjectSettings> shownSettings;
    QString fontTableCaption = QStringLiteral("Character Table");
    bool fontTableVisible = false;
    int fontTableRefreshes = 0;
    QString imageCaption = QStringLiteral("Image");
    QSize imageViewSize{297, 274};
    // Every call, in order, by name ("setText", "showFontTable", ...).
    QStringList calls;

    QByteArray text() const override { return textBytes; }
    void setText(const QByteArray &text) override { textBytes = text; calls << QStringLiteral("setText"); }
    void setTextCaption(const QString &caption) override { textCaption = caption; calls << QStringLiteral("setTextCaption"); }
    raster::Colour textColour() const override { return colour; }
    void setTextColour(raster::Colour shown) override { colour = shown; calls << QStringLiteral("setTextColour"); }
    void setMainCaption(const QString &caption) override { mainCaption = caption; calls << QStringLiteral("setMainCaption"); }
    void setRefreshEnabled(bool enabled) override { refreshEnabled = enabled; calls << QStringLiteral("setRefreshEnabled"); }
    void showSettings(const project::ProjectSettings &settings) override { shownSettings = settings; calls << QStringLiteral("showSettings"); }
    void setFontTableCaption(const QString &caption) override { fontTableCaption = caption; calls << QStringLiteral("setFontTableCaption"); }
    void showFontTable() override { fontTableVisible = true; calls << QStringLiteral("showFontTable"); }
    void hideFontTable() override { fontTableVisible = false; calls << QStringLiteral("hideFontTable"); }
    void refreshFontTable() override { ++fontTableRefreshes; calls << QStringLiteral("refreshFontTable"); }
    void showCharMap() override { calls << QStringLiteral("showCharMap"); }
    void setImageCaption(const QString &caption) override { imageCaption = caption; calls << QStringLiteral("setImageCaption"); }
    void setImageViewSize(QSize size) override { imageViewSize = size; calls << QStringLiteral("setImageViewSize"); }
};

}  // namespace letterloom::testing
