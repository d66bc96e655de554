// The commands for work in bulk: batch (many pictures from a table of jobs in
// one process) and texts export / texts import (every area's text as a table
// for a spreadsheet, and back).

#include "area_texts.h"
#include "cli.h"
#include "command_line.h"
#include "map_option.h"
#include "project_input.h"

#include "base/csv.h"
#include "base/error.h"
#include "base/file_io.h"
#include "project/compose_view.h"
#include "project/project_file.h"
#include "project/text_areas.h"
#include "project/text_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace letterloom::cli {

namespace {

// A table of a CSV file read a record at a time, keeping only the cells of
// the columns it is asked for. The whole file is checked first, so a broken
// table is refused before any of its rows is used. Errors name the file.
class CsvTable {
public:
    // Reads the file and the header; throws for a file that is not UTF-8, a
    // broken table, a table without rows and a header that lacks one of
    // names (letter case and spaces around the names do not count).
    CsvTable(const QString &path, const QStringList &names) : bytes_(readWholeFile(path))
    {
        if (!bytes_.isValidUtf8())
            throw Error(QStringLiteral("%1: not UTF-8 text").arg(path));
        QByteArrayView text(bytes_);
        if (text.startsWith("\xEF\xBB\xBF"))  // a mark before the table's own is skipped too
            text = text.sliced(3);
        reader_.emplace(text);
        try {
            reader_->check();
        } catch (const Error &error) {
            throw Error(QStringLiteral("%1: %2").arg(path, error.message()));
        }
        columns_.assign(size_t(names.size()), -1);
        const bool any = reader_->next([&](qsizetype column, QByteArrayView field) {
            const QString name = csvFieldText(field).trimmed().toLower();
            for (size_t i = 0; i < columns_.size(); ++i)
                if (columns_[i] < 0 && name == names[qsizetype(i)])
                    columns_[i] = column;
        });
        if (!any)
            throw Error(QStringLiteral("%1: no header row").arg(path));
        for (size_t i = 0; i < columns_.size(); ++i)
            if (columns_[i] < 0)
                throw Error(QStringLiteral("%1: the header row has no column \"%2\" (it needs %3)")
                                .arg(path, names[qsizetype(i)], names.join(u',')));
        cells_.resize(columns_.size());
    }

    // Reads the next record that is not blank (every field empty or spaces);
    // false at the end of the table.
    bool next()
    {
        for (;;) {
            bool blank = true;
            std::fill(cells_.begin(), cells_.end(), QString());
            const bool any = reader_->next([&](qsizetype column, QByteArrayView field) {
                const QString text = csvFieldText(field);
                blank = blank && text.trimmed().isEmpty();
                for (size_t i = 0; i < columns_.size(); ++i)
                    if (columns_[i] == column)
                        cells_[i] = text;
            });
            if (!any)
                return false;
            if (!blank)
                return true;
        }
    }

    // The cell of the record last read in the i-th of the names asked for
    // (empty where the record is too short), and its row, the header being row 1.
    const QString &cell(size_t i) const { return cells_[i]; }
    int row() const { return reader_->row(); }

private:
    QByteArray bytes_;
    std::optional<CsvReader> reader_;
    std::vector<qsizetype> columns_;
    std::vector<QString> cells_;
};

// An area number of a table: counted from 1, at most count.
int areaNumber(const QString &cell, size_t count)
{
    bool ok = false;
    const int number = cell.trimmed().toInt(&ok);
    if (!ok || number < 1)
        throw Error(QStringLiteral("the area is a whole number from 1, not \"%1\"").arg(cell));
    if (size_t(number) > count)
        throw Error(QStringLiteral("there is no text area %1: the project has %2").arg(number).arg(count));
    return number;
}

// --- batch -------------------------------------------------------------------

struct JobRow {
    int row = 0;       // the spreadsheet's row, the header being row 1
    QString areaCell;
    QString text;
};

// One picture: a project drawn with the texts its rows give.
struct Job {
    QString project;
    QString output;
    std::vector<JobRow> rows;
};

// A line of the report: a row that failed or does not fit.
struct RowReport {
    int row = 0;
    bool failed = false;
    QString message;
};

// The bytes a row's text cell stands for: "@FILE" is read as --text reads
// it, relative to the table's folder ("@@" is a literal "@"); anything else
// is the text itself.
QByteArray rowText(const QString &cell, const QDir &folder, const font::CharMap &map)
{
    if (cell.startsWith(QStringLiteral("@@")))
        return cellBytes(cell.mid(1), map);
    if (!cell.startsWith(u'@'))
        return cellBytes(cell, map);
    const QString path = folder.filePath(cell.mid(1));
    try {
        return project::textFileBytes(readTextInput(path), map);
    } catch (const Error &error) {
        throw Error(QStringLiteral("%1: %2").arg(cell.mid(1), error.message()));
    }
}

// What drawing a job gave: the report's lines and, unless a row failed, the
// picture's file bytes, still to be written.
struct Drawn {
    std::vector<RowReport> reports;
    QByteArray file;
};

// A failure to write or draw a job's picture: a line for each of its rows.
void reportFailure(const Job &job, const QString &message, std::vector<RowReport> &reports)
{
    for (const JobRow &row : job.rows)
        reports.push_back({row.row, true, QStringLiteral("%1: %2").arg(job.output, message)});
}

Drawn drawJob(const Job &job, const ProjectInput &input, const QDir &folder, std::optional<raster::Colour> colour)
{
    Drawn drawn;
    std::vector<RowReport> &reports = drawn.reports;
    const font::CharMap &map = input.workspace.fontExtras.charMap;
    std::vector<project::AreaText> areas = input.areas;
    std::vector<int> givenBy(areas.size(), 0);  // the row that gave each area its text
    for (const JobRow &row : job.rows) {
        try {
            const int number = areaNumber(row.areaCell, areas.size());
            if (givenBy[size_t(number) - 1] != 0)
                throw Error(QStringLiteral("text area %1 of %2 is given twice, first in row %3")
                                .arg(number).arg(job.output).arg(givenBy[size_t(number) - 1]));
            givenBy[size_t(number) - 1] = row.row;
            areas[size_t(number) - 1].text = rowText(row.text, folder, map);
        } catch (const Error &error) {
            reports.push_back({row.row, true, error.message()});
        }
    }
    if (!reports.empty()) {
        for (RowReport &report : reports)
            report.message += QStringLiteral("; %1 was not written").arg(job.output);
        return drawn;
    }
    std::vector<text::Notice> notices;
    try {
        const raster::Raster::PictureKind kind = raster::Raster::writableKindOf(job.output);
        project::Workspace workspace = input.workspace;
        if (colour)
            for (project::AreaText &area : areas)
                area.colour = *colour;
        const QByteArray first = project::setWorkspaceAreas(workspace, areas);
        // The texts are drawn onto a copy of the project's picture, which
        // the other jobs need as it is.
        raster::Raster copy(workspace.picture.width(), workspace.picture.height());
        copy.drawOpaque(workspace.picture, 0, 0);
        workspace.picture = std::move(copy);
        notices = project::ExportOntoPicture(workspace, first, workspace.textColour);
        const raster::Raster &picture = workspace.picture;
        drawn.file = kind == raster::Raster::PictureKind::Bmp ? picture.toBmp() : picture.toPng();
    } catch (const std::exception &failure) {
        reportFailure(job, messageOf(failure), reports);
        return drawn;
    }
    for (size_t i = 0; i < notices.size(); ++i) {
        if (notices[i] == text::Notice::None)
            continue;
        // An area no row gave a text keeps the project's; the job's first row answers for it.
        const int row = givenBy[i] != 0 ? givenBy[i] : job.rows.front().row;
        const QString area = areas.size() > 1 ? QStringLiteral("text area %1: ").arg(i + 1) : QString();
        reports.push_back({row, false, area + text::noticeText(notices[i])});
    }
    return drawn;
}

// Pictures waiting to be written, handed from the threads that draw to the
// threads that write. A write waits for the disk to store the file (the
// files are synced one by one), not for the processor, so many writes are
// under way at once; a bounded queue keeps the pictures in memory few.
class WriteQueue {
public:
    static constexpr size_t kLimit = 64;

    void push(size_t job, QByteArray file)
    {
        std::unique_lock lock(mutex_);
        roomLeft_.wait(lock, [this] { return queue_.size() < kLimit; });
        queue_.emplace_back(job, std::move(file));
        ready_.notify_one();
    }
    // Nothing once the queue is closed and empty.
    std::optional<std::pair<size_t, QByteArray>> pop()
    {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return closed_ || !queue_.empty(); });
        if (queue_.empty())
            return std::nullopt;
        auto item = std::move(queue_.front());
        queue_.pop_front();
        roomLeft_.notify_one();
        return item;
    }
    void close()
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        ready_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_, roomLeft_;
    std::deque<std::pair<size_t, QByteArray>> queue_;
    bool closed_ = false;
};

constexpr int kWriters = 16;

int batch(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("batch"), QStringLiteral("JOBS.csv"),
                     QStringLiteral("Renders many pictures in one process. JOBS.csv is a table (RFC 4180, UTF-8)\n"
                                    "with a header row naming the columns project, area, text and output, in any\n"
                                    "order (other columns are ignored). Each row gives the text of one text area\n"
                                    "(counted from 1) of a project; the rows with the same project and output make\n"
                                    "one picture, written as render writes it, whose other areas keep the project's\n"
                                    "text. A text starting with @ names a file, read as --text reads it (@@ stands\n"
                                    "for a literal @). Paths are relative to the folder of JOBS.csv.\n"
                                    "Prints JOBS.csv:ROW: MESSAGE for each row that fails or does not fit, in row\n"
                                    "order (the header is row 1); the other rows still run.\n"
                                    "Exit status 1 when a row failed, else 3 when a text does not fit, else 0."));
    line.addArgument(QStringLiteral("JOBS.csv"), QStringLiteral("The table of jobs."));
    line.addOption({QStringLiteral("j"), QStringLiteral("Draw N pictures at a time, each in a thread of its own (default 1); the drawn pictures are written by threads of their own meanwhile."),
                    QStringLiteral("N"), QStringLiteral("1")});
    line.addOption({QStringLiteral("color"), QStringLiteral("The text colour as RRGGBB in hex, red first (default: each area's own, "
                                                            "black when it has none)."),
                    QStringLiteral("RRGGBB")});
    if (!line.parse(arguments))
        return kExitOk;
    bool ok = false;
    const int threads = line.value(QStringLiteral("j")).toInt(&ok);
    if (!ok || threads < 1 || threads > 256)
        throw UsageError(QStringLiteral("-j takes a whole number from 1 to 256, not '%1'").arg(line.value(QStringLiteral("j"))));
    const bool colourGiven = line.isSet(QStringLiteral("color"));
    const std::optional<raster::Colour> colour = colourGiven ? parseColour(line.value(QStringLiteral("color")))
                                                             : std::nullopt;
    if (colourGiven && !colour)
        throw UsageError(QStringLiteral("--color takes six hex digits, RRGGBB (red first), not '%1'")
                             .arg(line.value(QStringLiteral("color"))));

    const QString table = line.argument(0);
    CsvTable records(table, {QStringLiteral("project"), QStringLiteral("area"), QStringLiteral("text"),
                             QStringLiteral("output")});
    const QDir folder = QFileInfo(table).absoluteDir();

    // The jobs in the order of their first rows.
    std::vector<Job> jobs;
    std::map<std::pair<QString, QString>, size_t> jobOf;
    std::vector<RowReport> reports;
    int rows = 0;
    while (records.next()) {
        ++rows;
        const auto cell = [&](int column) { return records.cell(size_t(column)); };
        const int row = records.row();
        if (cell(0).isEmpty() || cell(3).isEmpty()) {
            reports.push_back({row, true, QStringLiteral("the row names no %1").arg(cell(0).isEmpty() ? "project" : "output")});
            continue;
        }
        const std::pair<QString, QString> key{QDir::cleanPath(folder.filePath(cell(0))),
                                              QDir::cleanPath(folder.filePath(cell(3)))};
        auto [at, added] = jobOf.try_emplace(key, jobs.size());
        if (added)
            jobs.push_back({key.first, key.second, {}});
        jobs[at->second].rows.push_back({row, cell(1), cell(2)});
    }

    // Each project is opened once, before any drawing.
    std::map<QString, std::shared_ptr<ProjectInput>> projects;
    std::map<QString, QString> projectErrors;
    for (const Job &job : jobs) {
        if (projects.count(job.project) || projectErrors.count(job.project))
            continue;
        try {
            auto input = std::make_shared<ProjectInput>(openProject(job.project, {}));
            if (input->workspace.picture.isEmpty())
                throw Error(QStringLiteral("The project has no picture"));
            projects[job.project] = std::move(input);
        } catch (const std::exception &failure) {
            projectErrors[job.project] = messageOf(failure);
        }
    }

    // Each job's lines are filled by the thread that draws it and, after the
    // queue has handed the picture over, by the one that writes it.
    std::vector<std::vector<RowReport>> results(jobs.size());
    WriteQueue written;
    std::atomic<size_t> next{0};
    const auto draw = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            const Job &job = jobs[i];
            const auto failed = projectErrors.find(job.project);
            if (failed != projectErrors.end()) {
                for (const JobRow &row : job.rows)
                    results[i].push_back({row.row, true, QStringLiteral("%1: %2").arg(QFileInfo(job.project).fileName(), failed->second)});
                continue;
            }
            Drawn drawn = drawJob(job, *projects.at(job.project), folder, colour);
            results[i] = std::move(drawn.reports);
            if (!drawn.file.isEmpty())
                written.push(i, std::move(drawn.file));
        }
    };
    const auto write = [&] {
        while (std::optional<std::pair<size_t, QByteArray>> item = written.pop()) {
            try {
                writeWholeFile(jobs[item->first].output, item->second);
            } catch (const std::exception &failure) {
                reportFailure(jobs[item->first], messageOf(failure), results[item->first]);
            }
        }
    };
    std::vector<std::thread> writers;
    for (int t = 0; t < std::min<int>(kWriters, int(jobs.size())); ++t)
        writers.emplace_back(write);
    std::vector<std::thread> drawers;
    for (int t = 1; t < std::min<int>(threads, int(jobs.size())); ++t)
        drawers.emplace_back(draw);
    draw();
    for (std::thread &drawer : drawers)
        drawer.join();
    written.close();
    for (std::thread &writer : writers)
        writer.join();

    for (std::vector<RowReport> &result : results)
        reports.insert(reports.end(), result.begin(), result.end());
    std::stable_sort(reports.begin(), reports.end(), [](const RowReport &a, const RowReport &b) { return a.row < b.row; });
    QByteArray out;
    int failedRows = 0, tightRows = 0, lastFailed = 0, lastTight = 0;
    for (const RowReport &report : reports) {
        out += QStringLiteral("%1:%2: %3\n").arg(table).arg(report.row).arg(report.message).toUtf8();
        if (report.failed && report.row != lastFailed)
            ++failedRows, lastFailed = report.row;
        if (!report.failed && report.row != lastTight)
            ++tightRows, lastTight = report.row;
    }
    printOut(out);
    if (failedRows > 0 || tightRows > 0)
        printMessage(QStringLiteral("%1 of %2 rows failed, %3 do not fit").arg(failedRows).arg(rows).arg(tightRows));
    return failedRows > 0 ? kExitError : tightRows > 0 ? kExitNotice : kExitOk;
}

// --- texts export / import -----------------------------------------------------

int textsExport(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("texts export"), QStringLiteral("PROJECT"),
                     QStringLiteral("Writes the text of every text area of a project as a table for a spreadsheet\n"
                                    "(RFC 4180, UTF-8, CR LF): the header row area,text and one row for each area,\n"
                                    "counted from 1. The text goes through the font's character map; without one\n"
                                    "the character U+00nn stands for the byte nn. Line breaks stay inside the cell."));
    line.addArgument(QStringLiteral("PROJECT"), QStringLiteral("The project file (.llp)."));
    line.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("Write the table to FILE instead of stdout."),
                    QStringLiteral("FILE.csv")});
    addMapOption(line);
    if (!line.parse(arguments))
        return kExitOk;
    InputFiles files;
    files.map = mapOption(line);
    const ProjectInput input = openProject(line.argument(0), files);
    QString table = csvRecord({QStringLiteral("area"), QStringLiteral("text")});
    for (size_t i = 0; i < input.areas.size(); ++i)
        table += csvRecord({QString::number(i + 1), textCell(input.areas[i].text, input.workspace.fontExtras.charMap)});
    if (line.isSet(QStringLiteral("output")))
        writeWholeFile(line.value(QStringLiteral("output")), table.toUtf8());
    else
        printOut(table.toUtf8());
    return kExitOk;
}

int textsImport(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("texts import"), QStringLiteral("PROJECT TEXTS.csv -o NEW.llp"),
                     QStringLiteral("Takes the texts of a table as texts export writes it (columns area and text,\n"
                                    "in any order) back into a project and writes it as NEW.llp. A cell left as it\n"
                                    "was exported keeps the area's bytes exactly; an area without a row keeps its\n"
                                    "text. An unknown area, an area given twice or a character without a code in\n"
                                    "the font's character map fails the whole import, naming the row; nothing is\n"
                                    "written then."));
    line.addArgument(QStringLiteral("PROJECT"), QStringLiteral("The project file (.llp)."));
    line.addArgument(QStringLiteral("TEXTS.csv"), QStringLiteral("The table of texts."));
    line.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("The project file to write."),
                    QStringLiteral("NEW.llp")});
    addMapOption(line);
    if (!line.parse(arguments))
        return kExitOk;
    const QString output = line.required(QStringLiteral("output"));
    const QString projectPath = line.argument(0);
    const QString table = line.argument(1);
    InputFiles files;
    files.map = mapOption(line);
    const font::CharMap map = openProject(projectPath, files).workspace.fontExtras.charMap;

    project::ProjectFile file = project::parseProject(readWholeFile(projectPath));
    QStringList notices;  // already shown when the project was opened
    project::ProjectExtras extras = project::extrasOf(file, QFileInfo(projectPath).fileName(), notices);
    std::vector<project::AreaText> areas = project::joinAreas(file.settings, file.text, extras);

    CsvTable records(table, {QStringLiteral("area"), QStringLiteral("text")});
    std::vector<int> givenBy(areas.size(), 0);
    while (records.next()) {
        const int row = records.row();
        try {
            const int number = areaNumber(records.cell(0), areas.size());
            if (givenBy[size_t(number) - 1] != 0)
                throw Error(QStringLiteral("text area %1 is given twice, first in row %2").arg(number).arg(givenBy[size_t(number) - 1]));
            givenBy[size_t(number) - 1] = row;
            project::AreaText &area = areas[size_t(number) - 1];
            const QString &cell = records.cell(1);
            if (!sameCell(cell, textCell(area.text, map)))
                area.text = cellBytes(cell, map);
        } catch (const Error &error) {
            throw Error(QStringLiteral("%1:%2: %3").arg(table).arg(row).arg(error.message()));
        }
    }
    project::splitAreas(areas, file.settings, file.text, extras);
    file.extensions.keys = project::projectExtrasKeys(extras);
    writeWholeFile(output, project::projectBytes(file));
    return kExitOk;
}

}  // namespace

std::vector<Command> batchCommands()
{
    return {
        {QStringLiteral("batch"), QStringLiteral("Render the pictures of a table of jobs in one process"), batch},
        {QStringLiteral("texts export"), QStringLiteral("Write every text area's text as a table for a spreadsheet"), textsExport},
        {QStringLiteral("texts import"), QStringLiteral("Take the texts of such a table back into a project"), textsImport},
    };
}

}  // namespace letterloom::cli
