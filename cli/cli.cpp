#include "cli.h"

#include "base/error.h"
#include "raster/raster.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace letterloom::cli {

namespace {

std::vector<Command> allCommands()
{
    std::vector<Command> all = textCommands();
    for (Command &command : fontCommands())
        all.push_back(std::move(command));
    for (Command &command : batchCommands())
        all.push_back(std::move(command));
    return all;
}

QString overview(const std::vector<Command> &commands)
{
    QString text = QStringLiteral("Usage: %1 COMMAND [options] ARGUMENTS\n"
                                  "Lays text out on pictures with raster fonts, and looks into fonts.\n\n"
                                  "Commands:\n").arg(QLatin1String(kProgramName));
    // The summaries line up two spaces past the longest name.
    qsizetype width = 14;
    for (const Command &command : commands)
        width = std::max(width, command.name.size());
    for (const Command &command : commands)
        text += QStringLiteral("  %1%2\n").arg(command.name, -int(width + 2)).arg(command.summary);
    text += QStringLiteral("\n'%1 COMMAND --help' shows a command's options.\n"
                           "Exit status: 0 done, 1 failure, 2 bad usage, 3 the text does not fit.\n")
                .arg(QLatin1String(kProgramName));
    return text;
}

// The command named at the start of arguments: one word, or two for the
// commands of a group ("font info"). Sets consumed to the number of words.
const Command *findCommand(const std::vector<Command> &commands, const QStringList &arguments, int &consumed)
{
    for (const Command &command : commands) {
        const QStringList words = command.name.split(u' ');
        if (arguments.mid(0, words.size()) == words) {
            consumed = int(words.size());
            return &command;
        }
    }
    return nullptr;
}

// What to say about words that name no command: for a group's name, its
// commands.
QString unknownCommand(const std::vector<Command> &commands, const QStringList &words)
{
    QStringList group;
    for (const Command &command : commands)
        if (command.name.startsWith(words.first() + u' '))
            group << command.name.section(u' ', 1);
    if (group.isEmpty())
        return QStringLiteral("Unknown command '%1'").arg(words.first());
    return QStringLiteral("Unknown command '%1'; the %2 commands are %3")
        .arg(words.mid(0, 2).join(u' '), words.first(), group.join(QStringLiteral(", ")));
}

bool isHelp(const QString &argument)
{
    return argument == QLatin1String("--help") || argument == QLatin1String("-h")
           || argument == QLatin1String("help");
}

}  // namespace

bool drawsText(int argc, const char *const *argv)
{
    return argc >= 3 && std::strcmp(argv[1], "font") == 0 && std::strcmp(argv[2], "sheet") == 0;
}

void printOut(const QByteArray &bytes)
{
    errno = 0;
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    if (std::fflush(stdout) == 0 && written == size_t(bytes.size()))
        return;
    const int error = errno;
    std::clearerr(stdout);
    if (error == ENOSPC || error == EDQUOT)
        throw Error(QStringLiteral("Disk full"));
    throw Error(QStringLiteral("Cannot write to standard output. %1")
                    .arg(QString::fromLocal8Bit(std::strerror(error != 0 ? error : EIO))));
}

void writePictureOutput(const raster::Raster &picture, const QString &output)
{
    if (output != u"-")
        return picture.writePictureFile(output);
    printOut(picture.bmpFileBytes());
}

void printMessage(const QString &message)
{
    const QByteArray line = QStringLiteral("%1: %2\n").arg(QLatin1String(kProgramName), message).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

int run(const QStringList &arguments)
{
    const std::vector<Command> commands = allCommands();
    const QStringList words = arguments.mid(1);
    int consumed = 0;
    const Command *command = findCommand(commands, words, consumed);
    try {
        if (!words.isEmpty() && isHelp(words.first())) {
            printOut(overview(commands).toUtf8());
            return kExitOk;
        }
        if (words.isEmpty())
            throw UsageError(QStringLiteral("Missing command"));
        if (!command)
            throw UsageError(unknownCommand(commands, words));
        return command->run(words.mid(consumed));
    } catch (const UsageError &usage) {
        printMessage(usage.message());
        printMessage(command ? QStringLiteral("Try '%1 %2 --help'.").arg(QLatin1String(kProgramName), command->name)
                             : QStringLiteral("Try '%1 --help'.").arg(QLatin1String(kProgramName)));
        return kExitUsage;
    } catch (const std::exception &failure) {
        printMessage(messageOf(failure));
        return kExitError;
    }
}

}  // namespace letterloom::cli
