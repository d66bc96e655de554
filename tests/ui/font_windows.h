#pragma once

// The four font editor windows over a test workspace, made in the order the
// program makes them, with a scripted prompter and plain window effects.

#include "font/glyph_sketch.h"
#include "project/project_commands.h"
#include "project/workspace.h"
#include "support/fake_effects.h"
#include "support/fake_prompter.h"
#include "ui/context.h"
#include "ui/draw_form.h"
#include "ui/font_form.h"
#include "ui/font_graph_form.h"
#include "ui/font_size_form.h"
#include "ui/spin_field.h"

#include <QPushButton>
#include <QTimer>

#include <functional>

namespace letterloom::testing {

struct FontWindows {
    project::Workspace workspace{QString()};
    FakePrompter prompter;
    FakeEffects effects;
    project::ProjectCommands commands{workspace, prompter, effects};
    ui::Windows windows;
    ui::Context context{workspace, prompter, commands, windows};
    ui::TfontSizeForm fontSize{context};
    ui::TfontGraphForm fontGraph{context};
    ui::TfontForm font{context};
    ui::TdrawForm draw{context};

    font::tGraphChar &glyph(int code) { return workspace.glyphs[code]; }
    font::tGraphChar &current() { return workspace.glyphs[workspace.currentGlyph]; }

    // Makes a glyph defined with these pixels (see glyph_sketch.h).
    void define(int code, const QStringList &rows) { workspace.glyphs[code] = sketchGlyph(rows); }

    // Selects the glyph as a click on its cell of the character table would.
    void select(int code) { font.StringGridSelectCell(code % 16, code / 16); }

    // Does something to the size dialog once it runs modally, then presses
    // one of its buttons.
    void whenSizeDialogOpens(const std::function<void(ui::TfontSizeForm &)> &step, const QString &button)
    {
        QTimer::singleShot(0, &fontSize, [this, step, button] {
            if (step)
                step(fontSize);
            fontSize.findChild<QPushButton *>(button)->click();
        });
    }
};

}  // namespace letterloom::testing
