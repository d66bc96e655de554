#pragma once

// The main of the benchmarks' helper programs: each runs one of a few
// commands, named by its first argument, that make inputs or time a step.

#include "base/error.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <vector>

namespace letterloom::bench {

struct Command {
    const char *name;
    qsizetype arguments;  // how many follow the name
    std::function<void(const QStringList &arguments)> run;
};

// Runs the command the arguments name, with as many arguments as it takes:
// 0 once it ran, 1 with its message when it failed, 2 with the usage for
// anything else.
inline int runCommand(int argc, char *argv[], const char *program, const char *usage,
                      const std::vector<Command> &commands)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    try {
        for (const Command &command : commands)
            if (!arguments.isEmpty() && arguments[0] == QLatin1String(command.name)
                && arguments.size() == command.arguments + 1) {
                command.run(arguments.mid(1));
                return 0;
            }
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "%s: %s\n", program, qPrintable(messageOf(failure)));
        return 1;
    }
    std::fprintf(stderr, "usage: %s %s\n", program, usage);
    return 2;
}

}  // namespace letterloom::bench
