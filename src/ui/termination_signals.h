#pragma once

class QWidget;

namespace letterloom::ui {

// Ends the program on SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C in the
// terminal, the terminal closed) as Exit does: mainWindow is closed, so its
// close query still asks about unsaved work and may keep the program open.
// The handler runs in the event loop. A signal that came while the program
// was started with these signals blocked is handled as soon as this runs.
// A later call hands the signals to another window.
void closeOnTerminationSignals(QWidget *mainWindow);

}  // namespace letterloom::ui
