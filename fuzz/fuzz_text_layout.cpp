// Fuzz target: text layout, rendering, tinting and the composed view on
// fuzzed settings, glyphs and text (the input is described in fuzz_scene.h).

#include "fuzz_target.h"

#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The view's hint lines are drawn with the platform's fonts, which need
    // an application object; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_text_layout";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *application = new QGuiApplication(argc, argv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return letterloom::fuzz::runCheck(letterloom::fuzz::checkScene, data, size);
}
