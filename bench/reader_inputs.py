#!/usr/bin/env python3
"""Writes the worst-case inputs of bench_readers.sh: for every reader of the
program, files of about SIZE megabytes (10^6 bytes) built to make its parsing
state as large as it can be.

    reader_inputs.py DIR SIZE

Each file is DIR/NAME (see CASES); DIR/small.llf and DIR/small.llp are the
floor: a small font and a small project that uses it.
"""
import os
import struct
import sys
import zlib

folder, megabytes = sys.argv[1], float(sys.argv[2])
size = int(megabytes * 1000000)


def repeat(piece, total):
    """piece as many times as fit in total bytes."""
    return piece * max(1, total // len(piece))


def write(name, data):
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


# --- fonts -------------------------------------------------------------------

def llf(extension_json=b""):
    """A font of the program's own: 256 records, glyph 65 a 1 x 1 black cell."""
    records = bytearray()
    for code in range(256):
        if code == 65:
            records += b"\x01" + struct.pack("<ii", 1, 1) + struct.pack("<I", 0)
        else:
            records += b"\x00" + struct.pack("<ii", 0, 0)
    if extension_json:
        records += b"LLX1" + struct.pack("<I", len(extension_json)) + extension_json
    return bytes(records)


FNT_HEAD = (b"info face=\"f\" size=8\ncommon lineHeight=8 base=8 scaleW=8 scaleH=8 packed=0\n"
            b"page id=0 file=\"p.png\"\n")
# A glyph the font does not keep (its code lies beyond 255), so that no page
# is loaded and the .fnt alone is measured.
FNT_CHAR = b"char id=300 x=0 y=0 width=1 height=1 xadvance=1"


def fnt_keys():
    """One char line of millions of keys the reader does not know."""
    return FNT_HEAD + b"chars count=1\n" + FNT_CHAR + repeat(b" k=1", size) + b"\n"


def fnt_value():
    """One char line with a single quoted value of SIZE bytes."""
    return FNT_HEAD + b"chars count=1\n" + FNT_CHAR + b" k=\"" + b"x" * size + b"\"\n"


def fnt_page_name():
    """A page whose name is millions of folders deep."""
    head = FNT_HEAD.replace(b"page id=0 file=\"p.png\"\n", b"")
    return head + b"page id=0 file=\"" + repeat(b"a/", size) + b"p.png\"\nchars count=0\n"


def fnt_char_lines():
    """Millions of char lines."""
    lines = repeat(FNT_CHAR + b"\n", size)
    return FNT_HEAD + b"chars count=%d\n" % lines.count(b"\n") + lines


def fnt_pages():
    """Millions of page lines, each naming its own page."""
    head = FNT_HEAD.replace(b"page id=0 file=\"p.png\"\n", b"")
    lines = []
    total = 0
    page = 0
    while total < size:
        line = b"page id=%d file=a\n" % page
        lines.append(line)
        total += len(line)
        page += 1
    return head + b"".join(lines) + b"chars count=0\n"


def psf2(glyphs, glyph_bytes, height, width, table):
    header = b"\x72\xb5\x4a\x86" + struct.pack("<7I", 0, 32, 1 if table is not None else 0, glyphs,
                                               glyph_bytes, height, width)
    return header + b"\x80" * (glyphs * glyph_bytes) + (table or b"")


def psf_glyphs():
    """Millions of one-byte glyphs, each with one character in the table."""
    glyphs = size // 3
    return psf2(glyphs, 1, 1, 8, b"A\xff" * glyphs)


def psf_entry():
    """One glyph whose table entry is millions of characters."""
    return psf2(1, 1, 1, 8, repeat(b"A", size) + b"\xff")


def psf_gz():
    """A gzip file that unpacks to a font of 2 x SIZE glyphs without
    characters (4 x SIZE bytes)."""
    glyphs = size * 2
    raw = psf2(glyphs, 1, 1, 8, b"\xff" * glyphs)
    return zlib.compress(raw, 9, wbits=31)


def llf_json_numbers():
    """A font whose extension block keeps an unknown list of millions of numbers."""
    return llf(b"{\"later\":[" + repeat(b"0,", size)[:-1] + b"]}")


def llf_json_lists():
    """A font whose extension block keeps an unknown list of millions of lists."""
    return llf(b"{\"later\":[" + repeat(b"[],", size)[:-1] + b"]}")


# --- projects ----------------------------------------------------------------

def llp(text=b"a", extension_json=b"", picture=b""):
    font = os.path.join(os.path.abspath(folder), "small.llf").encode()
    settings = struct.pack("<BBiiiiBiiii", 0, 0, 0, 0, 80, 60, 1, 1, 10, 8, 8)
    out = b"\x10" + settings
    for part in (font, text, picture):
        out += struct.pack("<i", len(part)) + part
    if extension_json:
        out += b"LLX1" + struct.pack("<I", len(extension_json)) + extension_json
    return out


def llp_text():
    """A project whose text is SIZE bytes of one-letter lines."""
    return llp(text=repeat(b"a\r\n", size))


def llp_dropped_areas():
    """A project whose areas are millions of numbers, each dropped with a notice."""
    return llp(extension_json=b"{\"areas\":[" + repeat(b"0,", size)[:-1] + b"]}")


def llp_areas():
    """A project of millions of text areas of the default settings."""
    return llp(extension_json=b"{\"areas\":[" + repeat(b"{},", size)[:-1] + b"]}")


def llp_json_numbers():
    """A project that keeps an unknown list of millions of numbers."""
    return llp(extension_json=b"{\"later\":[" + repeat(b"0,", size)[:-1] + b"]}")


# --- tables ------------------------------------------------------------------

def csv_fields():
    """A table whose second row is millions of empty fields."""
    return b"area,text\r\n" + b"," * size + b"\r\n"


def csv_short_fields():
    """A table whose second row is millions of one-letter fields."""
    return b"area,text\r\n" + repeat(b"a,", size) + b"a\r\n"


def csv_rows():
    """A table of millions of rows of one letter."""
    return b"area,text\r\n" + repeat(b"x\r\n", size)


def csv_field():
    """A table with one quoted field of SIZE bytes."""
    return b"area,text\r\n1,\"" + b"x" * size + b"\"\r\n"


def csv_header():
    """A table whose header is millions of columns."""
    return repeat(b"a,", size) + b"area,text\r\n1,x\r\n"


# --- texts -------------------------------------------------------------------

def text_utf8():
    """A text file of SIZE bytes of two-byte characters, in paragraphs of one
    line (fit lays out one paragraph at a time)."""
    return repeat("é é\r\n\r\n".encode(), size)


# --- pictures ----------------------------------------------------------------

def bmp(width, height, bits):
    """A BMP of the given depth, every pixel black."""
    row = ((width * bits + 31) // 32) * 4
    palette = b""
    if bits <= 8:
        palette = b"\x00\x00\x00\x00\xff\xff\xff\x00" * (1 << bits >> 1)
    offset = 14 + 40 + len(palette)
    data = b"\x00" * (row * height)
    header = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       len(palette) // 4, 0)
    return header + info + palette + data


def side_for(bytes_per_pixel):
    side = int((size / bytes_per_pixel) ** 0.5)
    return max(8, side - side % 8)


def bmp24():
    side = side_for(3)
    return bmp(side, side, 24)


def bmp8():
    side = side_for(1)
    return bmp(side, side, 8)


def png_noise():
    """A PNG of SIZE bytes that compression cannot shrink: random grey pixels."""
    side = side_for(1)
    rows = b"".join(b"\x00" + os.urandom(side) for _ in range(side))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 0, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 1)) + chunk(b"IEND", b""))


CASES = {
    "keys.fnt": fnt_keys, "value.fnt": fnt_value, "pagename.fnt": fnt_page_name,
    "chars.fnt": fnt_char_lines, "pages.fnt": fnt_pages,
    "glyphs.psf": psf_glyphs, "entry.psf": psf_entry, "packed.psf.gz": psf_gz,
    "numbers.llf": llf_json_numbers, "lists.llf": llf_json_lists,
    "text.llp": llp_text, "dropped.llp": llp_dropped_areas, "areas.llp": llp_areas,
    "numbers.llp": llp_json_numbers,
    "fields.csv": csv_fields, "short.csv": csv_short_fields, "rows.csv": csv_rows,
    "field.csv": csv_field, "header.csv": csv_header,
    "utf8.txt": text_utf8,
    "rgb.bmp": bmp24, "indexed.bmp": bmp8, "noise.png": png_noise,
}

if __name__ == "__main__":
    write("small.llf", llf())
    write("small.llp", llp())
    write("p.png", b"")
    only = sys.argv[3:]
    for name, make in CASES.items():
        if not only or name in only:
            write(name, make())
