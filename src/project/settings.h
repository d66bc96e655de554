#pragma once

#include <cstdint>

namespace letterloom::project {

// The rectangle of the picture into which the text is laid out.
struct TextArea {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const TextArea &other) const = default;
};

// The settings a project file keeps, with their values at program start.
struct ProjectSettings {
    std::uint8_t showHelp = 1;       // the image view shows its hint lines
    std::uint8_t showSelection = 1;  // the image view draws the text area frame
    TextArea area;
    std::uint8_t alignment = 1;      // 1 left, 2 centre, 3 right, 4 justified
    std::int32_t pixelSize = 20;     // zoom of the glyph editor
    std::int32_t lineSpacing = 10;
    std::int32_t defaultGlyphWidth = 8;
    std::int32_t defaultGlyphHeight = 8;

    bool operator==(const ProjectSettings &other) const = default;
};

}  // namespace letterloom::project
