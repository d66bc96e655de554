#include "font/font_file.h"

#include "base/byte_reader.h"
#include "base/error.h"
#include "base/extension_block.h"
#include "base/file_io.h"

#include <QJsonDocument>

#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using namespace letterloom::font;

namespace {

// A small repeatable stream of numbers below range, one stream a seed.
auto numbersFrom(int seed)
{
    return [state = quint32(seed) * 2654435761u](quint32 range) mutable {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
}

QByteArray record(quint8 defined, qint32 width, qint32 height, const QList<quint32> &colours = {})
{
    ByteWriter out;
    out.u8(defined);
    out.i32(width);
    out.i32(height);
    for (quint32 c : colours)
        out.u32(c);
    return out.result();
}

// A font file of 256 empty records with the given records put in place.
QByteArray fontFile(const QMap<int, QByteArray> &records)
{
    QByteArray bytes;
    for (int code = 0; code < 256; ++code)
        bytes += records.value(code, record(0, 0, 0));
    return bytes;
}

QString messageOf(const std::function<void()> &body)
{
    try {
        body();
    } catch (const Error &e) {
        return e.message();
    }
    return {};
}

// The records as the format reads, a field and a pixel at a time: what the
// reader's column copies must give.
GlyphTable referenceParse(const QByteArray &bytes)
{
    ByteReader in(bytes);
    GlyphTable glyphs;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        tGraphChar &glyph = glyphs[code];
        glyph.defined = in.u8();
        const qint32 width = in.i32(), height = in.i32();
        resizeGlyph(glyph, width, height);
        for (qint32 x = 0; x < width; ++x)
            for (qint32 y = 0; y < height; ++y) {
                const Colour colour = in.u32();
                glyph.pixels[x][y] = colour;
                glyph.image.setPixel(x, y, colour);
            }
    }
    return glyphs;
}

QByteArray referenceBytes(const GlyphTable &glyphs)
{
    ByteWriter out;
    for (int code = 0; code < GlyphTable::kSize; ++code) {
        const tGraphChar &glyph = glyphs[code];
        out.u8(glyph.defined);
        out.i32(glyph.width);
        out.i32(glyph.height);
        for (qint32 x = 0; x < glyph.width; ++x)
            for (qint32 y = 0; y < glyph.height; ++y)
                out.u32(glyph.pixels[x][y]);
    }
    return out.result();
}

}  // namespace

class TestFontFile : public QObject {
    Q_OBJECT

private slots:
    void clearedTableIs2304ZeroBytes()
    {
        const QByteArray bytes = fontBytes(GlyphTable());
        QCOMPARE(bytes, QByteArray(2304, '\0'));
    }

    void oneGlyphIsWrittenAtItsPlace()
    {
        GlyphTable table;
        table.setGlyphSize(65, 1, 2);
        table[65].defined = 1;
        table[65].pixels[0][0] = 0x0000FF;
        table[65].pixels[0][1] = 0xFFFFFF;
        const QByteArray bytes = fontBytes(table);
        QCOMPARE(bytes.size(), 2312);
        QCOMPARE(bytes.mid(585, 17), QByteArray("\x01\x01\x00\x00\x00\x02\x00\x00\x00"
                                                "\xFF\x00\x00\x00\xFF\xFF\xFF\x00", 17));
        QCOMPARE(bytes.mid(602, 9), QByteArray(9, '\0'));  // code 66 follows
    }

    void coloursAreStoredColumnByColumn()
    {
        GlyphTable table;
        table.setGlyphSize(0, 2, 3);
        for (int x = 0; x < 2; ++x)
            for (int y = 0; y < 3; ++y)
                table[0].pixels[x][y] = 0x10 * x + y;
        const QByteArray bytes = fontBytes(table);
        ByteReader in(bytes);
        in.take(9);
        QList<quint32> order;
        for (int i = 0; i < 6; ++i)
            order << in.u32();
        QCOMPARE(order, (QList<quint32>{0x00, 0x01, 0x02, 0x10, 0x11, 0x12}));
    }

    void recordsLoadAsStored_data()
    {
        QTest::addColumn<QByteArray>("glyph");  // the record of code 65
        QTest::addColumn<int>("defined");
        QTest::addColumn<QSize>("size");
        QTest::newRow("defined 2 x 1") << record(1, 2, 1, {0x0000FF, 0x123456}) << 1 << QSize(2, 1);
        QTest::newRow("flag held as stored") << record(0xAB, 1, 1, {0}) << 0xAB << QSize(1, 1);
        QTest::newRow("undefined with a size") << record(0, 1, 2, {5, 6}) << 0 << QSize(1, 2);
        QTest::newRow("width 3, height 0") << record(1, 3, 0) << 1 << QSize(3, 0);
        QTest::newRow("high byte kept") << record(1, 1, 1, {0xFF0000FF}) << 1 << QSize(1, 1);
    }
    void recordsLoadAsStored()
    {
        QFETCH(QByteArray, glyph);
        QFETCH(int, defined);
        QFETCH(QSize, size);
        const QByteArray bytes = fontFile({{65, glyph}});
        const GlyphTable table = parseFont(bytes);
        const tGraphChar &g = table[65];
        QCOMPARE(int(g.defined), defined);
        QCOMPARE(QSize(g.width, g.height), size);
        QCOMPARE(g.image.size(), size);
        QCOMPARE(g.pixels.size(), std::size_t(g.height > 0 ? g.width : 0));
        for (int x = 0; x < g.width; ++x)
            for (int y = 0; y < g.height; ++y)
                QCOMPARE(g.image.pixel(x, y), g.pixels[x][y] & 0xFFFFFF);
        // Written back, the file is the same to the byte.
        QCOMPARE(fontBytes(table), bytes);
    }

    void bytesAfterTheLastRecordAreIgnored()
    {
        const QByteArray bytes = fontFile({{255, record(1, 1, 1, {7})}});
        const GlyphTable table = parseFont(bytes + "more bytes");
        QCOMPARE(table[255].pixels[0][0], Colour(7));
        QCOMPARE(fontBytes(table), bytes);
    }

    void badFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray whole = fontFile({{65, record(1, 2, 2, {1, 2, 3, 4})}});
        QTest::newRow("empty") << QByteArray() << "Read beyond end of file";
        QTest::newRow("cut in the last record") << whole.chopped(1) << "Read beyond end of file";
        QTest::newRow("cut in the colours") << whole.left(585 + 12) << "Read beyond end of file";
        QTest::newRow("negative width") << fontFile({{3, record(1, -1, 2)}}) << "Invalid glyph size in font file";
        QTest::newRow("negative height") << fontFile({{3, record(1, 2, -5)}}) << "Invalid glyph size in font file";
        QTest::newRow("too wide") << fontFile({{3, record(1, 4097, 1)}}) << "Invalid glyph size in font file";
        QTest::newRow("2^31 - 1 wide and 0 high")
            << fontFile({{3, record(1, 2147483647, 0)}}) << "Invalid glyph size in font file";
        QTest::newRow("100000 x 100000") << fontFile({{0, record(1, 100000, 100000)}})
                                         << "Invalid glyph size in font file";
        QTest::newRow("4096 x 4096 claimed, few bytes")
            << fontFile({{0, record(1, 4096, 4096)}}) << "Read beyond end of file";
    }
    void badFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QCOMPARE(messageOf([&] { parseFont(bytes); }), message);
        // Records checked without a glyph table are refused alike.
        QCOMPARE(messageOf([&] { parseFontRecords(bytes); }), message);
    }

    // What follows the 256th record: an extension block is read into the
    // font's extras, anything else is ignored, and the glyphs load whatever
    // the block holds.
    void extensionBlock_data()
    {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<QByteArray>("extrasJson");  // the extras as read
        QTest::addColumn<QStringList>("notices");
        QTest::addColumn<QByteArray>("writtenTail");  // what writing the font back appends
        QTest::addColumn<QString>("map");             // the character map read, described

        QTest::newRow("nothing") << QByteArray() << QByteArray("{}") << QStringList() << QByteArray() << "none";
        QTest::newRow("other bytes") << QByteArray("junk") << QByteArray("{}") << QStringList() << QByteArray() << "none";
        const QByteArray later = R"({"charMap":{"name":"cp437"},"ligatures":[[65,86,1]]})";
        QTest::newRow("keys of a later version, kept")
            << extensionBlockBytes(QJsonDocument::fromJson(later).object()) << QByteArray(R"({"ligatures":[[65,86,1]]})")
            << QStringList() << extensionBlockBytes(QJsonDocument::fromJson(later).object()) << "cp437";
        const auto block = [](const char *json) { return extensionBlockBytes(QJsonDocument::fromJson(json).object()); };
        QTest::newRow("code page alias, written in its stored spelling")
            << block(R"({"charMap":{"name":"cp1251"}})") << QByteArray("{}") << QStringList()
            << block(R"({"charMap":{"name":"windows-1251"}})") << "windows-1251";
        QTest::newRow("a table")
            << block(R"({"charMap":{"name":"g.tbl","table":"41=A\nE0=th\n"}})") << QByteArray("{}") << QStringList()
            << block(R"({"charMap":{"name":"g.tbl","table":"41=A\nE0=th\n"}})") << "table g.tbl";
        const QStringList dropped{
            "Some extras of \"f.llf\" have values this program cannot use and were left out: charMap."};
        QTest::newRow("unknown code page") << block(R"({"charMap":{"name":"klingon"},"x":1})") << QByteArray(R"({"x":1})")
                                           << dropped << block(R"({"x":1})") << "none";
        QTest::newRow("table with no entry") << block(R"({"charMap":{"table":"/FF=end"}})") << QByteArray("{}")
                                             << dropped << QByteArray() << "none";
        QTest::newRow("a name, not an object") << block(R"({"charMap":"cp437"})") << QByteArray("{}") << dropped
                                               << QByteArray() << "none";
        QTest::newRow("damaged block")
            << QByteArray("LLX1\xff\x00\x00\x00{}", 10) << QByteArray("{}")
            << QStringList{"The extras stored at the end of \"f.llf\" are damaged and were left out: its length of "
                           "255 bytes runs past the end of the file."}
            << QByteArray() << "none";
    }
    void extensionBlock()
    {
        QFETCH(QByteArray, tail);
        QFETCH(QByteArray, extrasJson);
        QFETCH(QStringList, notices);
        QFETCH(QByteArray, writtenTail);
        QFETCH(QString, map);
        const QByteArray records = fontFile({{65, record(1, 1, 1, {0x0000FF})}});
        const FontFile font = parseFontFile(records + tail, QStringLiteral("f.llf"));
        QCOMPARE(font.glyphs[65].pixels[0][0], Colour(0x0000FF));
        QCOMPARE(font.extras.otherKeys, QJsonDocument::fromJson(extrasJson).object());
        QCOMPARE(font.notices, notices);
        QCOMPARE(font.extras.charMap.description(), map);
        QCOMPARE(fontFileBytes(font.glyphs, font.extras), records + writtenTail);
        // Copied as records, the font reads and writes the same.
        FontRecords copied = parseFontRecords(records + tail, QStringLiteral("f.llf"));
        QCOMPARE(copied.recordsSize, records.size());
        QVERIFY(copied.extras == font.extras);
        QCOMPARE(copied.notices, notices);
        QCOMPARE(fontRecordsFileBytes(std::move(copied)), records + writtenTail);
    }

    // Kerning pairs in the block: the bytes written for them, and what a
    // block of bad pairs reads as. Pairs are "left,right,pixels" in code order.
    void kerningInTheBlock_data()
    {
        QTest::addColumn<QByteArray>("json");     // the block read
        QTest::addColumn<QString>("pairs");       // as read
        QTest::addColumn<QString>("dropped");     // the keys named in the notice
        QTest::addColumn<QByteArray>("written");  // the block written back
        QTest::newRow("sorted on writing") << QByteArray(R"({"kerning":[[86,65,3],[65,86,-2]]})") << "65,86,-2 86,65,3"
                                           << "" << QByteArray(R"({"kerning":[[65,86,-2],[86,65,3]]})");
        QTest::newRow("both ends of the range") << QByteArray(R"({"kerning":[[0,255,-64],[255,0,64]]})")
                                                << "0,255,-64 255,0,64" << ""
                                                << QByteArray(R"({"kerning":[[0,255,-64],[255,0,64]]})");
        QTest::newRow("beside a map and others")
            << QByteArray(R"({"charMap":{"name":"cp437"},"kerning":[[1,2,1]],"x":1})") << "1,2,1" << ""
            << QByteArray(R"({"charMap":{"name":"cp437"},"kerning":[[1,2,1]],"x":1})");
        QTest::newRow("bad pairs dropped, the rest read")
            << QByteArray(R"({"kerning":[[65,86,65],[256,1,1],[1,-1,1],[1,2],[1,2,3,4],"AV",[1.5,2,1],[1,2,0],)"
                          R"([1,2,-1],[1,2,5],[null,2,1]]})")
            << "1,2,-1" << "kerning[0], kerning[1], kerning[2], kerning[3], kerning[4], kerning[5], kerning[6], "
                           "kerning[7], kerning[9], kerning[10]"
            << QByteArray(R"({"kerning":[[1,2,-1]]})");
        QTest::newRow("numbers beyond 64 bits dropped")
            << QByteArray(R"({"kerning":[[1e300,2,1],[1,-1e300,1],[1,2,1e19],[1,2,-1e19],[3,4,5]]})") << "3,4,5"
            << "kerning[0], kerning[1], kerning[2], kerning[3]" << QByteArray(R"({"kerning":[[3,4,5]]})");
        QTest::newRow("not a list") << QByteArray(R"({"kerning":{"65":1}})") << "" << "kerning" << QByteArray();
        QTest::newRow("empty list writes no block") << QByteArray(R"({"kerning":[]})") << "" << "" << QByteArray();
        QByteArray many = R"({"kerning":[)";
        for (int i = 0; i <= 65536; ++i)
            many += "[1,2,1],";
        many.chop(1);
        QTest::newRow("more pairs than codes make") << many + "]}" << "" << "kerning" << QByteArray();
    }
    void kerningInTheBlock()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, pairs);
        QFETCH(QString, dropped);
        QFETCH(QByteArray, written);
        const QByteArray records = fontFile({});
        const FontFile font = parseFontFile(records + extensionBlockBytes(QJsonDocument::fromJson(json).object()),
                                            QStringLiteral("f.llf"));
        QStringList read;
        for (const KerningPair &pair : font.extras.kerning.pairs())
            read << QStringLiteral("%1,%2,%3").arg(pair.left).arg(pair.right).arg(pair.amount);
        QCOMPARE(read.join(u' '), pairs);
        QCOMPARE(font.notices.join(u'\n'),
                 dropped.isEmpty() ? QString()
                                   : "Some extras of \"f.llf\" have values this program cannot use and were left out: "
                                         + dropped + '.');
        // The block's bytes: the magic, the length and the compact JSON.
        QByteArray block;
        if (!written.isEmpty()) {
            const quint32 size = quint32(written.size());
            block = "LLX1" + QByteArray(reinterpret_cast<const char *>(&size), 4) + written;
        }
        QCOMPARE(fontFileBytes(font.glyphs, font.extras), records + block);
    }

    // Fonts of glyphs of many sizes (sides of 0 and 1, wide, tall) and random
    // colours, the high byte included: read and written in bulk, they give
    // what a pixel at a time gives, to the byte and to the pixel.
    void bulkMatchesPixelByPixel_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<int>("largest");  // the largest side
        for (int seed = 1; seed <= 6; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed << (seed % 2 ? 9 : 130);
    }
    void bulkMatchesPixelByPixel()
    {
        QFETCH(int, seed);
        QFETCH(int, largest);
        auto next = numbersFrom(seed);
        QByteArray bytes;
        for (int code = 0; code < GlyphTable::kSize; ++code) {
            const qint32 width = qint32(next(quint32(largest) + 1)), height = qint32(next(quint32(largest) + 1));
            QList<quint32> colours;
            for (qint64 i = 0; i < qint64(width) * height; ++i)
                colours << (next(4) == 0 ? 0xFFFFFFu : next(0xFFFFFF) | (next(3) == 0 ? 0xAB000000u : 0));
            bytes += record(quint8(next(3)), width, height, colours);
        }
        const GlyphTable table = parseFont(bytes);
        QVERIFY(table == referenceParse(bytes));
        QCOMPARE(fontBytes(table), bytes);
        QCOMPARE(fontBytes(table), referenceBytes(table));

        // A glyph's image follows its pixels after an edit, as setPixel would.
        GlyphTable edited = table;
        for (int code = 0; code < GlyphTable::kSize; ++code) {
            tGraphChar &glyph = edited[code];
            for (auto &column : glyph.pixels)
                for (Colour &colour : column)
                    colour ^= 0x00FF00;
            raster::Raster expected = glyph.image;
            for (qint32 x = 0; x < glyph.width; ++x)
                for (qint32 y = 0; y < glyph.height; ++y)
                    expected.setPixel(x, y, glyph.pixels[x][y]);
            syncImage(glyph);
            QVERIFY(glyph.image == expected);
        }
    }

    // A font copied as its records gives the bytes that the glyph table
    // gives: for fonts of many sizes, with and without a block, with bytes
    // behind it, and with a character map put in that makes the block longer
    // than the room the old one leaves (or shorter). The bytes read are
    // never changed for a caller that still holds them.
    void recordsCopyAsTheGlyphs_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<QString>("map");  // a code page put in before writing, or none
        const auto block = [](const char *json) { return extensionBlockBytes(QJsonDocument::fromJson(json).object()); };
        const QByteArray kerning = block(R"({"charMap":{"name":"cp1251"},"kerning":[[86,65,3],[65,86,-2]],"x":[1]})");
        QTest::newRow("no block") << 1 << QByteArray() << QString();
        QTest::newRow("bytes that are no block") << 2 << QByteArray("junk after the records") << QString();
        QTest::newRow("a block rewritten") << 3 << kerning << QString();
        QTest::newRow("a block and bytes behind it") << 4 << kerning + "junk" << QString();
        QTest::newRow("a damaged block") << 5 << QByteArray("LLX1\xff\x00\x00\x00{}", 10) << QString();
        QTest::newRow("a map put in, no room for it") << 6 << QByteArray() << "koi8-r";
        QTest::newRow("a map put in, over a longer block") << 7 << kerning + QByteArray(300, 'x') << "cp437";
        QTest::newRow("one record of 4096 x 1") << 0 << QByteArray() << QString();
    }
    void recordsCopyAsTheGlyphs()
    {
        QFETCH(int, seed);
        QFETCH(QByteArray, tail);
        QFETCH(QString, map);
        auto next = numbersFrom(seed);
        QByteArray bytes;
        for (int code = 0; code < GlyphTable::kSize; ++code) {
            const qint32 width = seed == 0 ? (code == 7 ? 4096 : 0) : qint32(next(40));
            const qint32 height = seed == 0 ? (code == 7 ? 1 : 0) : qint32(next(40));
            QList<quint32> colours;
            for (qint64 i = 0; i < qint64(width) * height; ++i)
                colours << (next(5) | (next(7) == 0 ? 0xAB000000u : 0));
            bytes += record(quint8(next(4) == 0 ? 0xC3 : next(2)), width, height, colours);
        }
        const QByteArray file = bytes + tail;
        FontFile font = parseFontFile(file, QStringLiteral("f.llf"));
        FontRecords copied = parseFontRecords(file, QStringLiteral("f.llf"));
        QCOMPARE(copied.notices, font.notices);
        if (!map.isEmpty()) {
            font.extras.charMap = CharMap::fromCodePage(map);
            copied.extras.charMap = CharMap::fromCodePage(map);
        }
        QCOMPARE(fontRecordsFileBytes(std::move(copied)), fontFileBytes(font.glyphs, font.extras));
        QCOMPARE(file, bytes + tail);
    }

    void filesRoundTrip()
    {
        GlyphTable table;
        table.setGlyphSize(33, 3, 4);
        table[33].defined = 1;
        table[33].pixels[2][3] = 0x00FF00;
        QTemporaryDir dir;
        const QString path = dir.filePath("f.llf");
        writeFontFile(path, table);
        QCOMPARE(readWholeFile(path), fontBytes(table));
        const GlyphTable back = readFontFile(path);
        QCOMPARE(back[33].pixels, table[33].pixels);
        QCOMPARE(back[33].image.pixel(2, 3), Colour(0x00FF00));
        QCOMPARE(messageOf([&] { readFontFile(dir.filePath("missing.llf")); }), QStringLiteral("File not found"));

        // With extras, the block follows the records and comes back as written.
        FontExtras extras;
        extras.otherKeys = QJsonObject{{"later", 1}};
        writeFontFile(path, table, extras);
        QCOMPARE(readWholeFile(path), fontBytes(table) + extensionBlockBytes(extras.otherKeys));
        QCOMPARE(loadFontFile(path).extras, extras);

        // Copied as records, the new file holds the same bytes.
        const QString copy = dir.filePath("copy.llf");
        writeFontRecords(copy, loadFontRecords(path));
        QCOMPARE(readWholeFile(copy), readWholeFile(path));
        QCOMPARE(messageOf([&] { loadFontRecords(dir.filePath("missing.llf")); }), QStringLiteral("File not found"));
    }
};

QTEST_MAIN(TestFontFile)
#include "tst_font_file.moc"
