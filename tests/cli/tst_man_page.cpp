// The man page docs/letterloom-cli.1 against the tool's own --help: every
// command with its usage line, every option with its value, every exit
// status, and nothing the tool no longer has. A failure names each thing to
// add to the man page (or to take out of it).

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString kManPage = QStringLiteral(LETTERLOOM_SOURCE_DIR "/docs/letterloom-cli.1");

QString helpOf(const QStringList &words)
{
    QProcess cli;
    cli.start(QStringLiteral(LETTERLOOM_CLI), words + QStringList{QStringLiteral("--help")});
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
        qFatal("letterloom-cli %s --help failed", qPrintable(words.join(u' ')));
    return QString::fromUtf8(cli.readAllStandardOutput());
}

// A man page line as the reader sees it: font changes dropped, escaped
// hyphens made plain, a quoted macro argument unquoted.
QString plain(QString line)
{
    static const QRegularExpression fonts(QStringLiteral(R"(\\f[BIRP])"));
    line.remove(fonts);
    line.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    line.replace(QStringLiteral("\\(mu"), QStringLiteral("x"));
    line.remove(u'"');
    return line.trimmed();
}

// An option as a list shows it: its names ("-o", "--output") and the name of
// its value ("OUT.bmp"; empty when it takes none).
struct Option {
    QStringList names;
    QString value;
};

// "-o, --output OUT.bmp" (the man page) or "-o, --output <OUT.bmp>  The..." (--help).
Option optionOf(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(R"(^((?:--?[A-Za-z][\w-]*(?:, )?)+)(?: <?([^\s>]+)>?)?)"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    Option option;
    if (!match.hasMatch())
        return option;
    for (const QString &name : match.captured(1).split(QStringLiteral(", "), Qt::SkipEmptyParts))
        option.names << name.trimmed();
    option.value = match.captured(2);
    return option;
}

// What one command's --help says.
struct CommandHelp {
    QString usage;  // "letterloom-cli render [options] PROJECT -o OUT.bmp"
    QMap<QString, Option> options;  // by the long name
};

CommandHelp commandHelp(const QString &command)
{
    const QString help = helpOf(command.split(u' '));
    CommandHelp result;
    result.usage = help.section(u'\n', 0, 0).remove(QStringLiteral("Usage: "));
    bool inOptions = false;
    for (const QString &line : help.split(u'\n')) {
        if (!line.startsWith(u' '))
            inOptions = line == u"Options:";
        else if (inOptions && line.startsWith(QStringLiteral("  -"))) {  // not a wrapped description
            const Option option = optionOf(line);
            if (!option.names.contains(QStringLiteral("--help")))
                result.options.insert(option.names.last(), option);
        }
    }
    return result;
}

// What the man page says: its sections (.SH), and in COMMANDS each command's
// lines (.SS) with the options of its .TP entries.
struct ManPage {
    QMap<QString, QStringList> sections;         // plain lines, by section
    QMap<QString, QStringList> commandLines;     // plain lines, by command
    QMap<QString, QMap<QString, Option>> options;  // by command, then by long name
    QStringList exitCodes;                        // the .TP entries of EXIT STATUS
};

ManPage readManPage()
{
    QFile file(kManPage);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no man page %s", qPrintable(kManPage));
    ManPage page;
    QString section, command;
    bool tagNext = false;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(QStringLiteral(".SH "))) {
            section = plain(line.mid(4));
            command.clear();
            continue;
        }
        if (line.startsWith(QStringLiteral(".SS ")) && section == u"COMMANDS") {
            command = plain(line.mid(4));
            page.commandLines[command];
            continue;
        }
        if (line.startsWith(QStringLiteral(".TP"))) {
            tagNext = true;
            continue;
        }
        const QString text = plain(line);
        page.sections[section] << text;
        if (!command.isEmpty())
            page.commandLines[command] << text;
        if (tagNext && !command.isEmpty()) {
            const Option option = optionOf(text);
            if (!option.names.isEmpty())
                page.options[command].insert(option.names.last(), option);
        }
        if (tagNext && section == u"EXIT STATUS")
            page.exitCodes << text;
        tagNext = false;
    }
    return page;
}

}  // namespace

class TestManPage : public QObject {
    Q_OBJECT

private slots:
    void manPageFollowsHelp();
    void manPageFormatsCleanly();
};

void TestManPage::manPageFollowsHelp()
{
    const QString overview = helpOf({});
    const ManPage page = readManPage();
    QStringList missing;
    const QString man = QStringLiteral("docs/letterloom-cli.1");

    // The commands, from the overview's list.
    QStringList commands;
    static const QRegularExpression listed(QStringLiteral(R"(^  (\S+(?: \S+)?)\s{2,}(.*)$)"));
    bool inCommands = false;
    for (const QString &line : overview.split(u'\n')) {
        if (!line.startsWith(u' ')) {
            inCommands = line == u"Commands:";
            continue;
        }
        const QRegularExpressionMatch match = listed.match(line);
        if (inCommands && match.hasMatch())
            commands << match.captured(1);
        else if (inCommands)
            missing << QStringLiteral("--help lists a command without two spaces before its summary: '%1'").arg(line);
    }
    QVERIFY(commands.size() >= 2);

    for (const QString &command : commands) {
        if (!page.commandLines.contains(command)) {
            missing << QStringLiteral("%1 has no section '.SS \"%2\"' under COMMANDS for the command '%2'")
                           .arg(man, command);
            continue;
        }
        const CommandHelp help = commandHelp(command);
        if (!page.commandLines[command].contains(help.usage))
            missing << QStringLiteral("%1: the section of '%2' lacks its usage line '%3'").arg(man, command, help.usage);
        const QMap<QString, Option> documented = page.options.value(command);
        for (const Option &option : help.options) {
            const QString name = option.names.join(QStringLiteral(", "));
            const auto entry = documented.constFind(option.names.last());
            if (entry == documented.constEnd())
                missing << QStringLiteral("%1: the section of '%2' lacks the option %3%4 (a .TP entry)")
                               .arg(man, command, name, option.value.isEmpty() ? QString() : u' ' + option.value);
            else if (entry->names != option.names || entry->value != option.value)
                missing << QStringLiteral("%1: the section of '%2' gives the option %3 as '%4 %5', --help as '%6 %7'")
                               .arg(man, command, option.names.last(), entry->names.join(QStringLiteral(", ")),
                                    entry->value, name, option.value);
        }
        for (const Option &option : documented)
            if (!help.options.contains(option.names.last()))
                missing << QStringLiteral("%1: the section of '%2' has the option %3, which '%2 --help' does not list")
                               .arg(man, command, option.names.last());
    }
    for (auto section = page.commandLines.constBegin(); section != page.commandLines.constEnd(); ++section)
        if (!commands.contains(section.key()))
            missing << QStringLiteral("%1 has a section for the command '%2', which --help does not list")
                           .arg(man, section.key());

    // The exit statuses, from "Exit status: 0 done, 1 failure, ...".
    static const QRegularExpression statusLine(QStringLiteral(R"(Exit status: (.*)\.)"));
    const QRegularExpressionMatch statuses = statusLine.match(overview);
    QVERIFY(statuses.hasMatch());
    QStringList codes;
    for (const QString &status : statuses.captured(1).split(QStringLiteral(", ")))
        codes << status.section(u' ', 0, 0);
    for (const QString &code : codes)
        if (!page.exitCodes.contains(code))
            missing << QStringLiteral("%1 lacks the exit status %2 (a .TP entry under EXIT STATUS)").arg(man, code);
    for (const QString &code : page.exitCodes)
        if (!codes.contains(code))
            missing << QStringLiteral("%1 has the exit status %2, which --help does not list").arg(man, code);

    // One line each, so that a long list is not cut short.
    for (const QString &difference : missing)
        qWarning("%s", qPrintable(difference));
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("%1 differences between the man page and --help, listed above")
                                               .arg(missing.size())));
}

// groff formats the page without a single warning.
void TestManPage::manPageFormatsCleanly()
{
    QProcess groff;
    groff.start(QStringLiteral("groff"), {QStringLiteral("-man"), QStringLiteral("-ww"), QStringLiteral("-z"), kManPage});
    QVERIFY2(groff.waitForFinished(60000), "groff did not run (package groff-base)");
    QCOMPARE(QString::fromUtf8(groff.readAllStandardError()), QString());
    QCOMPARE(groff.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestManPage)

#include "tst_man_page.moc"
