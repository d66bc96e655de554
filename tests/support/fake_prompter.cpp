#include "support/fake_prompter.h"

#include <QFileInfo>
#include <QTest>

namespace letterloom::testing {

QStringList FakePrompter::entries(const QString &kind) const
{
    QStringList found;
    const QString prefix = kind + QStringLiteral(": ");
    for (const QString &entry : log)
        if (entry.startsWith(prefix))
            found << entry.mid(prefix.size());
    return found;
}

project::Answer FakePrompter::ask(const QString &question, bool withCancel)
{
    log << (withCancel ? QStringLiteral("askCancel: ") : QStringLiteral("ask: ")) + question;
    if (answers.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unscripted question: ") + question), __FILE__, __LINE__);
        return withCancel ? project::Answer::Cancel : project::Answer::No;
    }
    const project::Answer a = answers.front();
    answers.pop_front();
    return a;
}

void FakePrompter::confirmNotice(const QString &text) { log << QStringLiteral("confirmNotice: ") + text; }
void FakePrompter::notice(const QString &text) { log << QStringLiteral("notice: ") + text; }
void FakePrompter::information(const QString &text) { log << QStringLiteral("information: ") + text; }
void FakePrompter::error(const QString &message) { log << QStringLiteral("error: ") + message; }

std::optional<QString> FakePrompter::nextFile(project::FileDialog &dialog, const QString &kind)
{
    log << kind + QStringLiteral(": ") + dialog.filter;
    dialogs << dialog;
    if (files.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unscripted file dialog: ") + dialog.filter), __FILE__, __LINE__);
        return std::nullopt;
    }
    std::optional<QString> chosen = files.front();
    files.pop_front();
    if (chosen) {
        QString path = *chosen;
        if (!dialog.defaultExtension.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += u'.' + dialog.defaultExtension;
        dialog.proposePath(path);
        return path;
    }
    return std::nullopt;
}

std::optional<QString> FakePrompter::chooseOpenFile(project::FileDialog &dialog)
{
    return nextFile(dialog, QStringLiteral("open"));
}

std::optional<QString> FakePrompter::chooseSaveFile(project::FileDialog &dialog)
{
    return nextFile(dialog, QStringLiteral("save"));
}

std::optional<raster::Colour> FakePrompter::chooseColour(raster::Colour start)
{
    log << QStringLiteral("colour");
    colourStarts << start;
    if (colours.empty())
        return std::nullopt;
    const auto c = colours.front();
    colours.pop_front();
    return c;
}

std::optional<project::TextArea> FakePrompter::chooseTextArea(const project::TextArea &start, QSize pictureSize)
{
    log << QStringLiteral("textArea: %1 %2 %3 %4 of %5 x %6")
               .arg(start.x)
               .arg(start.y)
               .arg(start.width)
               .arg(start.height)
               .arg(pictureSize.width())
               .arg(pictureSize.height());
    if (areas.empty()) {
        QTest::qFail("unscripted text area dialog", __FILE__, __LINE__);
        return std::nullopt;
    }
    const auto area = areas.front();
    areas.pop_front();
    return area;
}

namespace {

template <typename Settings>
std::optional<Settings> nextAnswer(std::deque<std::optional<Settings>> &answers, const char *kind)
{
    if (answers.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unscripted dialog: ") + QLatin1String(kind)), __FILE__, __LINE__);
        return std::nullopt;
    }
    std::optional<Settings> answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

std::optional<font::GridImportSettings> FakePrompter::chooseGridImport(const QImage &picture,
                                                                       const font::GridImportSettings &start)
{
    log << QStringLiteral("gridImport");
    gridPictures << picture.size();
    gridImportStarts << start;
    return nextAnswer(gridImports, "gridImport");
}

std::optional<font::GridExportSettings> FakePrompter::chooseGridExport(const font::GlyphTable &,
                                                                       const font::GridExportSettings &)
{
    log << QStringLiteral("gridExport");
    return nextAnswer(gridExports, "gridExport");
}

std::optional<font::Kerning> FakePrompter::chooseKerning(const font::GlyphTable &, const font::Kerning &start,
                                                         const font::CharMap &)
{
    log << QStringLiteral("kerning");
    kerningStarts << start;
    return nextAnswer(kernings, "kerning");
}

std::optional<int> FakePrompter::chooseItem(const QString &caption, const QString &, const QStringList &list,
                                           int current)
{
    log << QStringLiteral("choose: ") + caption;
    itemLists << list;
    itemStarts << current;
    if (items.empty())
        return std::nullopt;
    const auto chosen = items.front();
    items.pop_front();
    return chosen;
}

}  // namespace letterloom::testing
