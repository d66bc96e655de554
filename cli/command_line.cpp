#include "command_line.h"

#include "cli.h"

#include "base/error.h"
#include "raster/raster.h"

namespace letterloom::cli {

CommandLine::CommandLine(const QString &name, const QString &syntax, const QString &description)
    : name_(name), syntax_(syntax),
      help_({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."))
{
    parser_.setApplicationDescription(description);
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(help_);
}

void CommandLine::addArgument(const QString &name, const QString &description)
{
    parser_.addPositionalArgument(name, description);
    ++argumentCount_;
}

void CommandLine::addOption(const QCommandLineOption &option)
{
    parser_.addOption(option);
}

bool CommandLine::parse(const QStringList &arguments)
{
    if (!parser_.parse(QStringList{QString::fromLatin1(kProgramName)} + arguments))
        throw UsageError(parser_.errorText());
    if (parser_.isSet(help_)) {
        printOut(helpText().toUtf8());
        return false;
    }
    const qsizetype given = parser_.positionalArguments().size();
    if (given < argumentCount_)
        throw UsageError(QStringLiteral("Missing arguments: %1 %2").arg(name_, syntax_));
    if (given > argumentCount_)
        throw UsageError(QStringLiteral("Unexpected argument '%1'").arg(parser_.positionalArguments().at(argumentCount_)));
    return true;
}

QString CommandLine::required(const QString &option) const
{
    if (!parser_.isSet(option))
        throw UsageError(QStringLiteral("Missing option --%1: %2 %3").arg(option, name_, syntax_));
    return parser_.value(option);
}

QString CommandLine::helpText() const
{
    // Qt's usage line names the program by the path it was started with and
    // knows nothing of commands; ours is written out in full.
    QString text = parser_.helpText();
    const qsizetype firstLineEnd = text.indexOf(u'\n');
    return QStringLiteral("Usage: %1 %2 [options] %3").arg(QLatin1String(kProgramName), name_, syntax_)
           + text.mid(firstLineEnd);
}

QString CommandLine::requiredPicture(const QString &option) const
{
    const QString path = required(option);
    try {
        raster::Raster::writableKindOf(path);
    } catch (const Error &error) {
        throw UsageError(error.message());
    }
    return path;
}

}  // namespace letterloom::cli
