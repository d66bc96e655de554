#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>
#include <vector>

namespace letterloom::raster {
class Raster;
}

namespace letterloom::cli {

// The exit statuses of letterloom-cli.
enum ExitStatus : int {
    kExitOk = 0,      // done; the text fits
    kExitError = 1,   // a failure; its message went to stderr and nothing was written
    kExitUsage = 2,   // bad command line
    kExitNotice = 3,  // done, but the text does not fit (the notice went to stderr)
};

inline constexpr char kProgramName[] = "letterloom-cli";

// A command line that makes no sense: an unknown command or option, a missing
// or surplus argument, a malformed value.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString &message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    QString message() const { return message_; }

private:
    QString message_;
};

// One command: its name as typed ("render", "font info"), a one-line summary
// for the overview, and its body, which gets the arguments after the name and
// returns the exit status. Bodies throw UsageError or letterloom::Error.
struct Command {
    QString name;
    QString summary;
    std::function<int(const QStringList &arguments)> run;
};

std::vector<Command> textCommands();  // render, layout, fit
std::vector<Command> fontCommands();  // font info, font sheet, font convert, font import-grid
std::vector<Command> batchCommands();  // batch, texts export, texts import

// Runs the command named by the arguments (the program's own name first) and
// returns the exit status. Messages go to stderr as "letterloom-cli: MESSAGE".
int run(const QStringList &arguments);

// True when the command line names a command that draws text with the
// platform's fonts (font sheet, for its labels): only those need a GUI
// application. Looks at the raw arguments, before any application exists.
bool drawsText(int argc, const char *const *argv);

// Output of the commands: stdout gets results, stderr gets messages.
// printOut throws "Disk full" (or the platform's message) when stdout does
// not take the bytes, so that a result lost on the way is never a success.
void printOut(const QByteArray &bytes);
void printMessage(const QString &message);

// Writes a picture to the file output names, in the kind its name asks for,
// or as a BMP to stdout when output is "-".
void writePictureOutput(const raster::Raster &picture, const QString &output);

}  // namespace letterloom::cli
