#pragma once

#include "project/settings.h"
#include "raster/colour.h"

#include <QByteArray>
#include <QSize>
#include <QString>

namespace letterloom::project {

// The few things the project commands do to windows. The desktop program
// implements it with its windows; the command-line tool and the tests with
// plain values.
class WindowEffects {
public:
    virtual ~WindowEffects() = default;

    // The text input window's whole text as 8-bit characters, lines separated
    // by CR LF; byte n is the character of code n.
    virtual QByteArray text() const = 0;
    virtual void setText(const QByteArray &text) = 0;
    virtual void setTextCaption(const QString &caption) = 0;
    // The colour chosen for the text, resolved to its current value.
    virtual raster::Colour textColour() const = 0;
    // Shows a colour read from a project as the chosen one.
    virtual void setTextColour(raster::Colour colour) = 0;

    virtual void setMainCaption(const QString &caption) = 0;
    // The Refresh menu item (F9).
    virtual void setRefreshEnabled(bool enabled) = 0;
    // Bring the toolbar buttons and boxes up to date with settings just read
    // from a project: the alignment button of a value 1..4 (another value
    // changes no button), the two show toggles, the line spacing and pixel size.
    virtual void showSettings(const ProjectSettings &settings) = 0;

    // The character table window.
    virtual void setFontTableCaption(const QString &caption) = 0;
    virtual void showFontTable() = 0;
    virtual void hideFontTable() = 0;
    virtual void refreshFontTable() = 0;
    // The font's character map changed: the character table's labels, the
    // glyph editor's caption and the text input window show the codes anew
    // (the text's bytes stay as they are).
    virtual void showCharMap() = 0;

    // The image view: its caption, and its client area and view raster size.
    virtual void setImageCaption(const QString &caption) = 0;
    virtual void setImageViewSize(QSize size) = 0;
};

}  // namespace letterloom::project
