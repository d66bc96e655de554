#pragma once

#include "project/settings.h"
#include "raster/colour.h"
#include "text/effects.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace letterloom::project {

struct Workspace;

// Edit > Live Refresh: while it is on, the image view lays out and draws the
// text again on its next tick after anything the text depends on changed
// (the text, the colour, the line spacing, the alignment, the text area, the
// effects, the glyphs), however many changes came in between. A text that
// does not fit gives a notice line for the image view instead of a box.
// The choice is the user's, kept in the settings, off at first.
class LiveRefresh {
public:
    LiveRefresh();

    bool isOn() const { return on_; }
    // Switches it and remembers the choice for the next run.
    void setOn(bool on);

    // One tick: refreshes every area when anything changed since the last
    // refresh it made. Returns true when it refreshed. A failure is kept as
    // the notice rather than thrown, since the next tick would throw again.
    bool tick(Workspace &workspace, const QByteArray &text, raster::Colour colour);
    // The notice of the last live refresh; empty when every area fit.
    const QString &notice() const { return notice_; }

private:
    struct Inputs {
        QByteArray text;
        raster::Colour colour;
        std::uint8_t alignment;
        std::int32_t lineSpacing;
        TextArea area;
        text::Effects effects;
        std::uint64_t revision;
        bool operator==(const Inputs &other) const = default;
    };

    bool on_ = false;
    std::optional<Inputs> last_;
    QString notice_;
};

}  // namespace letterloom::project
