// The cost of one tick of the image view on a 1920 x 1080 picture: composing
// the scene (white, picture, frame, hint lines, the rendered text) into the
// view raster, and copying the view raster to the window the way the drawing
// surface paints it. Prints the median of many ticks of each step.

#include "project/compose_view.h"
#include "project/workspace.h"
#include "text/render.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace letterloom;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kTicks = 301;

// 8 x 12 glyphs for the printable ASCII codes: a black block with a coloured
// rim, so that tinting and the left-out white both have work to do.
font::GlyphTable blockFont()
{
    font::GlyphTable glyphs;
    for (int code = 32; code < 127; ++code) {
        glyphs.setGlyphSize(code, 8, 12);
        glyphs.clearOutside(code, 0, 0);
        if (code != ' ') {
            for (int x = 1; x < 7; ++x)
                for (int y = 2; y < 11; ++y)
                    glyphs[code].pixels[std::size_t(x)][std::size_t(y)] = (x == 1 || y == 2) ? 0x2040C0 : raster::kBlack;
        }
        font::syncImage(glyphs[code]);
        glyphs[code].defined = 1;
    }
    return glyphs;
}

// A picture with something in every pixel: a diagonal gradient.
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

double medianMilliseconds(const std::function<void()> &step)
{
    std::vector<double> times;
    times.reserve(kTicks);
    for (int tick = 0; tick < kTicks; ++tick) {
        const auto start = std::chrono::steady_clock::now();
        step();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
    }
    std::nth_element(times.begin(), times.begin() + kTicks / 2, times.end());
    return times[kTicks / 2];
}

}  // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    project::Workspace workspace(QStringLiteral("/"));
    workspace.glyphs = blockFont();
    workspace.picture = gradientPicture();
    workspace.pictureLoaded = true;
    workspace.settings.area = {100, 80, 1600, 900};
    const text::TextSettings settings{1600, 900, 6, text::kAlignJustify, raster::kRed};
    const text::Notice notice =
        text::RefreshText(paragraphs(), settings, workspace.glyphs, workspace.lines, workspace.overlay);

    raster::Raster view(kWidth, kHeight);
    // The window's backing store: what the drawing surface paints into.
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    const auto compose = [&] { project::ComposeView(workspace, view, false, true); };
    const auto copy = [&] {
        QPainter painter(&window);
        painter.drawImage(0, 0, view.image());
    };

    const double composeMs = medianMilliseconds(compose);
    const double copyMs = medianMilliseconds(copy);
    const double tickMs = medianMilliseconds([&] { compose(); copy(); });
    std::printf("picture %d x %d, text area 1600 x 900, %zu lines (%s)\n", kWidth, kHeight, workspace.lines.size(),
                notice == text::Notice::None ? "all placed" : "stopped by a notice");
    std::printf("medians of %d ticks:\n", kTicks);
    std::printf("  compose the scene   %7.2f ms\n", composeMs);
    std::printf("  copy to the window  %7.2f ms\n", copyMs);
    std::printf("  one tick            %7.2f ms  (%.0f ticks a second)\n", tickMs, 1000.0 / tickMs);
    return 0;
}
