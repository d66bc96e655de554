// The desktop program at rest and at work, with its real windows: a
// 1920 x 1080 picture with a text laid out on it, and every window shown (main
// window, text input window, image view, character table, glyph editor on a
// 16 x 16 glyph, drawing tools). Measures
//   - the processor time the program takes while nothing happens, as a share
//     of one core, over several seconds;
//     side by side with the same process holding only two bare 1 ms timers
//     that do nothing (the windows hidden), the floor of any program that
//     polls every millisecond;
//   - how long a pencil dab takes to appear in the glyph editor and a toolbar
//     nudge to appear in the image view: from the mouse press or the button
//     click until the drawing surface has painted the changed picture.
// Runs on any platform plugin (offscreen unless QT_QPA_PLATFORM says otherwise).
// "--zoom N" shows the image view at N x (scrolled to the probed frame edge);
// the run keeps its settings to itself, so the user's zoom plays no part.

#include "font/font_file.h"
#include "project/prompter.h"
#include "project/workspace.h"
#include "ui/application.h"
#include "ui/font_form.h"
#include "ui/font_graph_form.h"
#include "ui/graph_form.h"
#include "ui/main_form.h"
#include "ui/text_form.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <functional>
#include <vector>

using namespace letterloom;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kIdleSeconds = 6;
constexpr int kSamples = 101;
constexpr int kEditorGlyph = 'A';

// Answers the file dialogs from a list and stays silent otherwise.
class ScriptedPrompter : public project::Prompter {
public:
    std::deque<QString> files;

    project::Answer ask(const QString &, bool) override { return project::Answer::No; }
    void confirmNotice(const QString &) override {}
    void notice(const QString &) override {}
    void information(const QString &) override {}
    void error(const QString &message) override { std::fprintf(stderr, "error: %s\n", qPrintable(message)); }
    std::optional<QString> chooseOpenFile(project::FileDialog &) override { return next(); }
    std::optional<QString> chooseSaveFile(project::FileDialog &) override { return next(); }
    std::optional<raster::Colour> chooseColour(raster::Colour) override { return std::nullopt; }
    std::optional<project::TextArea> chooseTextArea(const project::TextArea &, QSize) override { return std::nullopt; }
    std::optional<font::GridImportSettings> chooseGridImport(const QImage &, const font::GridImportSettings &) override
    {
        return std::nullopt;
    }
    std::optional<font::GridExportSettings> chooseGridExport(const font::GlyphTable &,
                                                             const font::GridExportSettings &) override
    {
        return std::nullopt;
    }
    std::optional<int> chooseItem(const QString &, const QString &, const QStringList &, int) override
    {
        return std::nullopt;
    }

private:
    std::optional<QString> next()
    {
        if (files.empty())
            return std::nullopt;
        QString file = files.front();
        files.pop_front();
        return file;
    }
};

// 8 x 12 glyphs for the printable ASCII codes (black blocks with a coloured
// rim), and a 16 x 16 glyph of many colours for the editor.
font::GlyphTable benchFont()
{
    font::GlyphTable glyphs;
    for (int code = 32; code < 127; ++code) {
        const int side = code == kEditorGlyph ? 16 : 0;
        glyphs.setGlyphSize(code, side ? side : 8, side ? side : 12);
        glyphs.clearOutside(code, 0, 0);
        font::tGraphChar &glyph = glyphs[code];
        for (int x = 0; x < glyph.width; ++x)
            for (int y = 0; y < glyph.height; ++y) {
                if (side)
                    glyph.pixels[std::size_t(x)][std::size_t(y)] = raster::Colour((x * 16 + y) * 0x010203 & 0xFFFFFF);
                else if (code != ' ' && x >= 1 && x < 7 && y >= 2 && y < 11)
                    glyph.pixels[std::size_t(x)][std::size_t(y)] = (x == 1 || y == 2) ? 0x2040C0 : raster::kBlack;
            }
        font::syncImage(glyph);
        glyph.defined = 1;
    }
    return glyphs;
}

raster::Raster gradientPicture()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x)
            row[x] = qRgb(x * 255 / kWidth, y * 255 / kHeight, (x + y) & 0xFF);
    }
    return raster::Raster(image);
}

QByteArray paragraphs()
{
    QByteArray text;
    for (int i = 0; i < 60; ++i)
        text += "The quick brown fox jumps over the lazy dog and keeps running past the mill. ";
    return text;
}

double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void runEventLoopFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// The share of one core the process takes while the event loop runs for a while.
double idleShare()
{
    const double cpuBefore = processSeconds();
    QElapsedTimer wall;
    wall.start();
    runEventLoopFor(kIdleSeconds * 1000);
    return (processSeconds() - cpuBefore) / (double(wall.nsecsElapsed()) / 1e9);
}

// Notes when a widget has finished painting something that shows.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget *surface)
    {
        surface->installEventFilter(this);
    }
    std::function<bool()> shows;  // true once the painted picture shows the change
    bool seen = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        // Paint first, then look at what was painted.
        static_cast<QObject *>(watched)->event(event);
        if (shows && shows())
            seen = true;
        return true;
    }
};

struct Figures {
    double median = 0;
    double worst = 0;
};

// Runs change, then the event loop until watch has seen it painted.
Figures latency(PaintWatch &watch, const std::function<void(int)> &change, const std::function<bool(int)> &shows)
{
    std::vector<double> times;
    for (int sample = 0; sample < kSamples; ++sample) {
        runEventLoopFor(5);  // ticks in between, as a user's hand would leave
        watch.seen = false;
        watch.shows = [&shows, sample] { return shows(sample); };
        QElapsedTimer clock;
        clock.start();
        change(sample);
        while (!watch.seen && clock.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        watch.shows = {};
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

}  // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    const int zoom = argc == 3 && QByteArray(argv[1]) == "--zoom" ? std::max(1, std::atoi(argv[2])) : 1;
    ui::Application application(argc, argv);
    QTemporaryDir dir;
    const QString picturePath = dir.filePath(QStringLiteral("picture.bmp"));
    const QString fontPath = dir.filePath(QStringLiteral("font.llf"));
    gradientPicture().writeBmpFile(picturePath);
    font::writeFontFile(fontPath, benchFont());

    ScriptedPrompter prompter;
    ui::Shell shell(prompter, dir.path());
    const ui::Windows &windows = shell.windows();
    project::Workspace &workspace = shell.workspace();
    const auto trigger = [&](const char *name) { windows.main->findChild<QAction *>(QLatin1String(name))->trigger(); };
    shell.show();
    prompter.files = {picturePath, fontPath};
    trigger("mmLoadBitmap");
    trigger("mmLoadFont");
    workspace.settings.area = {100, 80, 1600, 900};
    workspace.bumpRevision();
    windows.text->setBytes(paragraphs());
    trigger("tbAlignJustify");
    trigger("mmResetText");
    windows.font->StringGridSelectCell(kEditorGlyph % 16, kEditorGlyph / 16);
    windows.font->StringGridDblClick();  // shows the glyph editor and the drawing tools
    // The probed part of the frame's left edge, (100, 500) of the picture, in sight.
    windows.graph->setZoom(zoom);
    windows.graph->findChild<QScrollBar *>(QStringLiteral("HorzScrollBar"))->setValue(100 * zoom - 50);
    windows.graph->findChild<QScrollBar *>(QStringLiteral("VertScrollBar"))->setValue(500 * zoom - 100);
    runEventLoopFor(1000);

    const double idle = idleShare();

    // A dab of the pencil on the editor's cell (3, 4), alternately black
    // (left button) and white (middle button).
    QWidget *editorBox = windows.fontGraph->findChild<QWidget *>(QStringLiteral("PaintBox"));
    const int pixelSize = workspace.settings.pixelSize;
    const QPoint cell(3 * pixelSize + pixelSize / 2, 4 * pixelSize + pixelSize / 2);
    PaintWatch editorWatch(editorBox);
    const auto dabColour = [](int sample) { return sample % 2 ? raster::kWhite : raster::kBlack; };
    const Figures dab = latency(
        editorWatch,
        [&](int sample) {
            const Qt::MouseButton button = sample % 2 ? Qt::MiddleButton : Qt::LeftButton;
            QMouseEvent press(QEvent::MouseButtonPress, cell, editorBox->mapToGlobal(cell), button, button,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(editorBox, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, cell, editorBox->mapToGlobal(cell), button,
                                Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(editorBox, &release);
        },
        [&](int sample) { return windows.fontGraph->editorRaster().pixel(cell.x(), cell.y()) == dabColour(sample); });

    // Shift Right and Shift Left by 5 in turn: the frame's left edge moves.
    QWidget *viewBox = windows.graph->findChild<QWidget *>(QStringLiteral("PaintBox"));
    PaintWatch viewWatch(viewBox);
    const Figures nudge = latency(
        viewWatch, [&](int sample) { trigger(sample % 2 ? "tbRangeLeft" : "tbRangeRight"); },
        [&](int sample) {
            const raster::Raster &view = windows.graph->viewRaster();
            const QPoint origin = windows.graph->origin();
            const auto red = [&](int column) {
                return view.pixel(column * zoom - origin.x(), 500 * zoom - origin.y()) == raster::kRed;
            };
            return red(sample % 2 ? 100 : 105) && !red(sample % 2 ? 105 : 100);
        });

    // The floor: every window hidden (their timers stop), two timers that
    // tick every millisecond and do nothing.
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QTimer bare[2];
    for (QTimer &timer : bare) {
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [] {});
        timer.start();
    }
    runEventLoopFor(1000);
    const double floor = idleShare();

    std::printf("picture %d x %d at %dx, %zu lines of text, every window shown (platform %s)\n", kWidth, kHeight,
                zoom, workspace.lines.size(), qPrintable(QGuiApplication::platformName()));
    std::printf("idle for %d s:           %6.1f %% of one core\n", kIdleSeconds, idle * 100);
    std::printf("two bare 1 ms timers:    %6.1f %% of one core\n", floor * 100);
    std::printf("pencil dab to screen:    median %6.2f ms, worst %6.2f ms (%d dabs)\n", dab.median, dab.worst,
                kSamples);
    std::printf("nudge to screen:         median %6.2f ms, worst %6.2f ms (%d nudges)\n", nudge.median, nudge.worst,
                kSamples);
    return 0;
}
