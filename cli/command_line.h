#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace letterloom::cli {

// The options and arguments of one command, parsed with its own --help.
class CommandLine {
public:
    // name as typed ("font sheet"), the syntax of its arguments after the
    // options ("FONT.llf -o SHEET.bmp") and what it does, for --help.
    CommandLine(const QString &name, const QString &syntax, const QString &description);

    void addArgument(const QString &name, const QString &description);
    void addOption(const QCommandLineOption &option);

    // Parses the arguments after the command's name. Returns false when help
    // was asked for (and printed); throws UsageError for anything that does not
    // parse, including a wrong number of arguments.
    bool parse(const QStringList &arguments);

    QString argument(int index) const { return parser_.positionalArguments().at(index); }
    bool isSet(const QString &option) const { return parser_.isSet(option); }
    QString value(const QString &option) const { return parser_.value(option); }
    // Every value of an option that may be given more than once, in order.
    QStringList values(const QString &option) const { return parser_.values(option); }
    // The value of an option that must be given.
    QString required(const QString &option) const;
    // The same for the name of a picture to write, which must ask for a kind
    // the program writes (".bmp", ".png" or no extension, for BMP).
    QString requiredPicture(const QString &option) const;

    QString helpText() const;

private:
    QString name_;
    QString syntax_;
    QCommandLineParser parser_;
    QCommandLineOption help_;
    int argumentCount_ = 0;
};

}  // namespace letterloom::cli
