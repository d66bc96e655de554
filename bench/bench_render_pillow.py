#!/usr/bin/env python3
"""The work of `letterloom-cli render`, done with Pillow, for comparison.

    bench_render_pillow.py PROJECT.llp FONT.llf RRGGBB OUT.bmp

Reads the project (settings, text and embedded picture) and the font, lays
the text out in Python by the program's rules (words between spaces and
CR LF, trimmed, measured as typed, wrapped at the area's width, escapes
resolved), pastes every glyph image opaquely onto a white overlay the size of
the text area at the place left alignment gives, turns pure black into the
text colour, draws the overlay onto the picture leaving out white and writes
a BMP file.
"""
import io
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
    parts = []
    for _ in range(3):  # font path, text, picture
        length = struct.unpack_from('<i', data, pos)[0]
        parts.append(data[pos + 4:pos + 4 + length])
        pos += 4 + length
    picture = Image.open(io.BytesIO(parts[2])).convert('RGB')
    return (x, y, width, height), alignment, line_spacing, parts[1], picture


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
        glyphs.append((data[pos - 9 - 4 * count], width, height, image))
    return glyphs


def resolve_escapes(word):
    """"$$" is "$", "$" and one or two digits the character of that code."""
    out, i = bytearray(), 0
    while i < len(word) - 1:
        if word[i] == 36:
            if word[i + 1] == 36:
                out.append(36)
                i += 2
                continue
            digits = word[i + 1:i + 3]
            if digits.isdigit():
                out.append(int(digits) & 255)
                i += 1 + len(digits)
                continue
        out.append(word[i])
        i += 1
    out += word[i:]
    return bytes(out)


def lay_out(text, area, line_spacing, glyphs):
    """The lines of words of the text, as the program places them."""
    widths = [g[1] if g[0] else 0 for g in glyphs]
    space = widths[32]
    room, height_room, pitch = area[2] - 4, area[3] - 4, line_spacing + 2
    lines, line, line_width = [], None, 0
    line_number = 0
    for paragraph in text.strip(bytes(range(33))).split(b'\r\n'):
        for word in paragraph.split(b' '):
            word = word.strip(bytes(range(33)))
            w = sum(widths[c] for c in word)
            if w > room:
                return lines
            while True:
                if len(lines) < line_number + 1:
                    line, line_width = [], 0
                    lines.append(line)
                line_width += w + space
                if line_width <= room:
                    break
                if not line:
                    return lines
                line_number += 1
                if pitch * line_number > height_room:
                    return lines
            line.append(resolve_escapes(word))
        line_number += 1
    return lines


def render(lines, area, line_spacing, glyphs):
    overlay = Image.new('RGB', (area[2], area[3]), (255, 255, 255))
    space = glyphs[32][1]
    baseline = 2
    for line in lines:
        baseline += line_spacing + 2
        x = 2
        for word in line:
            for code in word:
                _, width, height, image = glyphs[code]
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
    project, font, colour, out = sys.argv[1:5]
    area, alignment, line_spacing, text, picture = read_project(project)
    if alignment != 1:
        sys.exit('only left alignment is drawn here')
    glyphs = read_font(font)
    lines = lay_out(text, area, line_spacing, glyphs)
    overlay = render(lines, area, line_spacing, glyphs)
    rgb = tuple(int(colour[i:i + 2], 16) for i in (0, 2, 4))
    overlay.paste(rgb, mask=channel_mask(overlay, ImageChops.lighter, 0))
    not_white = channel_mask(overlay, ImageChops.darker, 255).point(lambda v: 255 - v)
    picture.paste(overlay, (area[0], area[1]), not_white)
    picture.save(out, 'BMP')


if __name__ == '__main__':
    main()
