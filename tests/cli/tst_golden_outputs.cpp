// Fixed outputs over many generated projects and fonts: the line table, the
// overlay and the exported picture of each refresh, the bytes of every font
// format written and read back, and what letterloom-cli render, layout --json
// and fit print and write. Each case is one checksum in
// tests/data/golden/outputs.txt; faster code must give the same bytes.
//
// LETTERLOOM_WRITE_GOLDEN=1 writes the file anew from the current code
// (only ever from code whose outputs are known to be right).

#include "base/file_io.h"
#include "font/bdf_font.h"
#include "font/font_file.h"
#include "font/font_formats.h"
#include "project/compose_view.h"
#include "project/project_file.h"
#include "project/workspace.h"
#include "text/layout.h"
#include "support/split_mix.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace letterloom;
using raster::Colour;
using raster::Raster;

namespace {

const QString kGoldenFile = QStringLiteral(LETTERLOOM_TEST_DATA "/golden/outputs.txt");

constexpr int kRefreshCases = 400;
constexpr int kFontCases = 48;
constexpr int kCliCases = 16;

struct Random : testing::SplitMix {
    explicit Random(std::uint64_t seed) : SplitMix(seed, 12345ULL) {}
};

Colour colourOf(Random &random)
{
    switch (random.range(0, 5)) {
    case 0:
    case 1:
        return raster::kBlack;
    case 2:
        return raster::kWhite;
    case 3:
        return raster::kRed;
    default:
        return Colour(random.next() & 0xFFFFFF);
    }
}

// Glyphs of 0 to 11 pixels a side, some undefined; with images larger than
// the glyph when `odd` (only a table built in memory can hold those).
font::GlyphTable randomFont(Random &random, bool odd)
{
    font::GlyphTable glyphs;
    const int codes = random.chance(30) ? 256 : random.range(4, 40);
    for (int i = 0; i < codes; ++i) {
        const int code = codes == 256 ? i : random.chance(60) ? random.range(32, 127) : random.range(0, 255);
        const int width = random.range(0, 11);
        const int height = random.range(0, 11);
        const bool larger = odd && random.chance(10);
        glyphs.setGlyphSize(code, larger ? width + random.range(1, 4) : width,
                            larger ? height + random.range(1, 4) : height);
        font::tGraphChar &glyph = glyphs[code];
        const bool plain = random.chance(50);
        for (auto &column : glyph.pixels)
            for (auto &colour : column)
                colour = plain ? (random.chance(50) ? raster::kBlack : raster::kWhite) : colourOf(random);
        font::syncImage(glyph);
        glyph.defined = random.chance(85) ? 1 : 0;
        if (random.chance(3))
            glyph.defined = std::uint8_t(random.range(2, 255));
        if (larger) {
            glyph.width = width;
            glyph.height = height;
        }
    }
    if (random.chance(70))
        glyphs[32].defined = 1;
    return glyphs;
}

// Text of short words, runs of spaces, CR LF, lone CR and LF, escapes and now
// and then any byte at all.
QByteArray randomText(Random &random)
{
    QByteArray text;
    const int length = random.chance(10) ? random.range(500, 3000) : random.range(0, 300);
    while (text.size() < length) {
        const int pick = random.range(0, 99);
        if (pick < 55)
            text += char('a' + random.range(0, 7));
        else if (pick < 70)
            text += ' ';
        else if (pick < 76)
            text += "\r\n";
        else if (pick < 78)
            text += random.chance(50) ? '\r' : '\n';
        else if (pick < 84)
            text += '$' + QByteArray::number(random.range(0, 130));
        else if (pick < 86)
            text += "$$";
        else if (pick < 88)
            text += '$';
        else if (pick < 92)
            text += char(random.range(0, 255));
        else if (pick < 95)
            text += QByteArray(random.range(1, 40), char('a' + random.range(0, 7)));
        else
            text += random.chance(50) ? '\t' : char('A' + random.range(0, 25));
    }
    return text;
}

Raster randomPicture(Random &random)
{
    Raster picture(random.range(1, 160), random.range(1, 120));
    const Colour base = colourOf(random);
    picture.fill(base);
    for (int i = random.range(0, 30); i > 0; --i)
        picture.fillRect(random.range(-10, 160), random.range(-10, 120), random.range(0, 170), random.range(0, 130),
                         colourOf(random));
    return picture;
}

project::ProjectSettings randomSettings(Random &random, const Raster &picture)
{
    project::ProjectSettings settings;
    settings.showHelp = 0;  // the hint lines are the platform's text, not the program's
    settings.showSelection = random.chance(50) ? 1 : 0;
    settings.area.x = random.range(-20, picture.width());
    settings.area.y = random.range(-20, picture.height());
    settings.area.width = random.chance(5) ? random.range(-5, 4) : random.range(5, 220);
    settings.area.height = random.chance(5) ? random.range(-5, 4) : random.range(5, 160);
    settings.alignment = std::uint8_t(random.chance(8) ? random.range(0, 6) : random.range(1, 4));
    settings.lineSpacing = random.chance(10) ? random.range(-6, -1) : random.range(0, 14);
    return settings;
}

// Everything a line table holds, in order.
void addLines(QCryptographicHash &hash, const text::LineTable &lines)
{
    hash.addData(QByteArray::number(qsizetype(lines.size())));
    for (const text::TextLine &line : lines) {
        hash.addData(QByteArray("|") + QByteArray::number(line.wordCount()) + ' '
                     + QByteArray::number(line.lineWidth) + ' ' + QByteArray::number(line.gap));
        for (qsizetype w = 0; w < line.wordCount(); ++w) {
            const QByteArray word = line.word(w).toByteArray();
            hash.addData(QByteArray::number(word.size()) + ':' + word + ':' + QByteArray::number(line.wordWidth(w)));
        }
        hash.addData(QByteArray::number(line.wordCount()));
    }
}

void addRaster(QCryptographicHash &hash, const Raster &raster)
{
    hash.addData(QByteArray::number(raster.width()) + 'x' + QByteArray::number(raster.height()));
    for (int y = 0; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x) {
            const Colour c = raster.pixel(x, y);
            hash.addData(QByteArray(reinterpret_cast<const char *>(&c), sizeof c));
        }
}

QByteArray hex(QCryptographicHash &hash)
{
    return hash.result().toHex().left(32);
}

// A font file: its name and bytes (and, for BMFont, its page's too).
QByteArray filesOf(const QString &path)
{
    QByteArray all;
    const QFileInfo info(path);
    for (const QString &name : QDir(info.path()).entryList({info.completeBaseName() + "*"}, QDir::Files, QDir::Name))
        all += name.toUtf8() + ':' + QByteArray::number(QFileInfo(info.path() + '/' + name).size()) + ':'
               + readWholeFile(info.path() + '/' + name);
    return all;
}

struct Run {
    int status = 0;
    QByteArray out;
    QByteArray err;
};

Run cli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(LETTERLOOM_CLI), arguments);
    if (!process.waitForFinished(-1))
        qFatal("letterloom-cli did not run: %s", qPrintable(process.errorString()));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// The temporary folder's name, which changes from run to run, reads as "@".
void addRun(QCryptographicHash &hash, const Run &run, const QString &folder)
{
    QByteArray all = QByteArray::number(run.status) + '\n' + run.out + '\n' + run.err + '\n';
    hash.addData(all.replace(folder.toUtf8(), "@"));
}

}  // namespace

class GoldenOutputsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::map<QString, QByteArray> golden_;
    std::map<QString, QByteArray> measured_;
    bool writing_ = false;

    void check(const QString &name, const QByteArray &sum)
    {
        measured_[name] = sum;
        if (writing_)
            return;
        const auto found = golden_.find(name);
        QVERIFY2(found != golden_.end(), qPrintable("no golden checksum for " + name));
        QCOMPARE(sum, found->second);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        writing_ = qEnvironmentVariableIsSet("LETTERLOOM_WRITE_GOLDEN");
        if (writing_)
            return;
        QFile file(kGoldenFile);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(kGoldenFile));
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() == 2)
                golden_[QString::fromLatin1(parts[0])] = parts[1];
        }
    }

    void cleanupTestCase()
    {
        if (!writing_)
            return;
        QByteArray all;
        for (const auto &[name, sum] : measured_)
            all += name.toLatin1() + ' ' + sum + '\n';
        QDir().mkpath(QFileInfo(kGoldenFile).path());
        writeWholeFile(kGoldenFile, all);
        qInfo("wrote %zu checksums to %s", measured_.size(), qPrintable(kGoldenFile));
    }

    void refresh_data()
    {
        QTest::addColumn<int>("seed");
        for (int seed = 0; seed < kRefreshCases; ++seed)
            QTest::addRow("refresh-%03d", seed) << seed;
    }

    // Layout, overlay and the composed picture (exported, and as the screen
    // shows it with the area frame), and the BMP bytes of the export.
    void refresh()
    {
        QFETCH(int, seed);
        Random random(std::uint64_t(seed) + 1);
        project::Workspace workspace(dir_.path() + '/');
        workspace.glyphs = randomFont(random, true);
        workspace.picture = randomPicture(random);
        workspace.pictureLoaded = true;
        workspace.settings = randomSettings(random, workspace.picture);
        const QByteArray text = randomText(random);
        const Colour colour = colourOf(random);

        const text::Notice notice = project::refreshText(workspace, text, colour);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(QByteArray::number(int(notice)));
        addLines(hash, workspace.lines);
        addRaster(hash, workspace.overlay);
        Raster view(workspace.picture.width(), workspace.picture.height());
        project::ComposeView(workspace, view, true);
        hash.addData(view.toBmp());
        project::ComposeView(workspace, view, false);
        addRaster(hash, view);
        check(QTest::currentDataTag(), hex(hash));
    }

    void fonts_data()
    {
        QTest::addColumn<int>("seed");
        for (int seed = 0; seed < kFontCases; ++seed)
            QTest::addRow("font-%03d", seed) << seed;
    }

    // Every format's bytes as written, and the glyphs read back from each.
    void fonts()
    {
        QFETCH(int, seed);
        Random random(std::uint64_t(seed) + 100000);
        const font::GlyphTable glyphs = randomFont(random, false);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        const QByteArray llf = font::fontBytes(glyphs);
        hash.addData(llf);
        QCOMPARE(font::parseFont(llf), glyphs);
        const QString folder = dir_.filePath(QStringLiteral("font-%1").arg(seed));
        QVERIFY(QDir().mkpath(folder));
        for (const char *extension : {"llf", "bdf", "fnt", "psf"}) {
            const QString path = folder + "/f." + extension;
            QStringList warnings;
            try {
                warnings = font::writeAnyFont(path, glyphs);
            } catch (const std::exception &failure) {
                warnings << QStringLiteral("failed: %1").arg(failure.what());
            }
            hash.addData(warnings.join('\n').toUtf8());
            hash.addData(filesOf(path));
            try {
                const font::ImportedFont back = font::readAnyFont(path);
                hash.addData(back.warnings.join('\n').toUtf8());
                hash.addData(font::fontBytes(back.glyphs));
            } catch (const std::exception &failure) {
                hash.addData(QByteArray("unread: ") + failure.what());
            }
        }
        check(QTest::currentDataTag(), hex(hash));
    }

    void commandLine_data()
    {
        QTest::addColumn<int>("seed");
        for (int seed = 0; seed < kCliCases; ++seed)
            QTest::addRow("cli-%03d", seed) << seed;
    }

    // render (BMP and PNG), layout --json (with and without a character map)
    // and fit, as whole processes.
    void commandLine()
    {
        QFETCH(int, seed);
        Random random(std::uint64_t(seed) + 200000);
        const QString folder = dir_.filePath(QStringLiteral("cli-%1").arg(seed));
        QVERIFY(QDir().mkpath(folder));
        const QString fontPath = folder + "/f.llf";
        writeWholeFile(fontPath, font::fontBytes(randomFont(random, false)));
        project::ProjectFile file;
        const Raster picture = randomPicture(random);
        file.settings = randomSettings(random, picture);
        // Areas wider than most words, so that layouts run to many lines.
        file.settings.area.width = random.range(300, 900);
        file.settings.area.height = random.range(100, 700);
        file.storedFontPath = fontPath.toUtf8();
        file.text = randomText(random);
        file.pictureBmp = picture.toBmp();
        const QString projectPath = folder + "/p.llp";
        writeWholeFile(projectPath, project::projectBytes(file));
        QByteArray paragraphs;
        for (int i = random.range(1, 30); i > 0; --i)
            paragraphs += randomText(random).left(random.range(0, 60)) + (random.chance(50) ? "\r\n\r\n" : "\n\n");
        writeWholeFile(folder + "/t.txt", paragraphs);
        const QString colour = QString::number(colourOf(random) & 0xFFFFFF, 16).rightJustified(6, '0');

        QCryptographicHash hash(QCryptographicHash::Sha256);
        addRun(hash, cli({"render", projectPath, "-o", folder + "/o.bmp", "--color", colour}), folder);
        hash.addData(readWholeFile(folder + "/o.bmp"));
        addRun(hash, cli({"render", projectPath, "-o", folder + "/o.png"}), folder);
        hash.addData(readWholeFile(folder + "/o.png"));
        addRun(hash, cli({"layout", projectPath, "--json"}), folder);
        addRun(hash, cli({"layout", projectPath, "--json", "--map", "cp437"}), folder);
        addRun(hash, cli({"fit", projectPath, "--text-bytes", folder + "/t.txt"}), folder);
        addRun(hash, cli({"fit", projectPath, "--text", folder + "/t.txt"}), folder);
        check(QTest::currentDataTag(), hex(hash));
    }
};

QTEST_MAIN(GoldenOutputsTest)
#include "tst_golden_outputs.moc"
