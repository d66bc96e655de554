#!/usr/bin/env python3
"""The work of `letterloom-cli render`, done with Pillow, for comparison.

    bench_render_pillow.py PROJECT.llp FONT.llf LAYOUT.json RRGGBB OUT.bmp

Reads the project (settings and embedded picture) and the font, takes the
lines from `letterloom-cli layout --json` (this script does not lay out),
pastes every glyph image opaquely onto a white overlay the size of the text
area at the place left alignment gives, turns pure black into the text
colour, draws the overlay onto the picture leaving out white and writes a
BMP file.
"""
import io
import json
import struct
import sys

from PIL import Image, ImageChops


def read_project(path):
    data = open(path, 'rb').read()
    if data[0] != 16:
        sys.exit('not a project file')
    x, y, width, height = struct.unpack_from('<4i', data, 3)
    alignment = data[19]
    line_spacing = struct.unpack_from('<i', data, 24)[0]
    pos = 36
    for _ in range(2):  # font path, text
        length = struct.unpack_from('<i', data, pos)[0]
        pos += 4 + length
    length = struct.unpack_from('<i', data, pos)[0]
    picture = Image.open(io.BytesIO(data[pos + 4:pos + 4 + length])).convert('RGB')
    return (x, y, width, height), alignment, line_spacing, picture


def read_font(path):
    """(width, height, image or None) for each of the 256 codes."""
    data = open(path, 'rb').read()
    glyphs, pos = [], 0
    for _ in range(256):
        width, height = struct.unpack_from('<ii', data, pos + 1)
        pos += 9
        count = width * height
        colours = struct.unpack_from('<%dI' % count, data, pos)
        pos += 4 * count
        image = None
        if count:
            # Colours are 0x00BBGGRR, stored column by column.
            raw = bytearray(3 * count)
            for x in range(width):
                for y in range(height):
                    c = colours[x * height + y]
                    i = 3 * (y * width + x)
                    raw[i:i + 3] = bytes((c & 255, (c >> 8) & 255, (c >> 16) & 255))
            image = Image.frombytes('RGB', (width, height), bytes(raw))
        glyphs.append((width, height, image))
    return glyphs


def render(lines, area, line_spacing, glyphs):
    overlay = Image.new('RGB', (area[2], area[3]), (255, 255, 255))
    space = glyphs[32][0]
    baseline = 2
    for line in lines:
        baseline += line_spacing + 2
        x = 2
        for word in line['words']:
            for code in word.encode('latin-1'):
                width, height, image = glyphs[code]
                if image is not None:
                    overlay.paste(image, (x, baseline - height))
                x += width
            x += space
    return overlay


def channel_mask(image, combine, wanted):
    """255 where the combined channels equal wanted, else 0."""
    r, g, b = image.split()
    return combine(combine(r, g), b).point(lambda v: 255 if v == wanted else 0)


def main():
    project, font, layout, colour, out = sys.argv[1:6]
    area, alignment, line_spacing, picture = read_project(project)
    if alignment != 1:
        sys.exit('only left alignment is drawn here')
    glyphs = read_font(font)
    lines = json.load(open(layout))['lines']
    overlay = render(lines, area, line_spacing, glyphs)
    rgb = tuple(int(colour[i:i + 2], 16) for i in (0, 2, 4))
    overlay.paste(rgb, mask=channel_mask(overlay, ImageChops.lighter, 0))
    not_white = channel_mask(overlay, ImageChops.darker, 255).point(lambda v: 255 - v)
    picture.paste(overlay, (area[0], area[1]), not_white)
    picture.save(out, 'BMP')


if __name__ == '__main__':
    main()
