#include "font/char_map.h"

#include "base/error.h"

#include <QFile>
#include <QTest>

using namespace letterloom;
using namespace letterloom::font;

namespace {

QByteArray hexBytes(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

// A small table of a game's own order: letters from 0x80, a few dual-tile
// entries, a repeated text and the punctuation the game has.
const QByteArray kDteTable =
    "\xEF\xBB\xBF"
    "80=A\r\n81=B\r\n8E=a\r\n92=e\r\n93=h\r\n99=o\r\n9D=t\r\n"
    "E0=th\r\nE1=the\r\nE2=e \r\n"
    "F0=!\r\nF1=A\r\n";

}  // namespace

class TestCharMap : public QObject {
    Q_OBJECT

private slots:
    void codePagesEncodeRealText_data();
    void codePagesEncodeRealText();
    void codePageNamesAndAliases_data();
    void codePageNamesAndAliases();
    void everyCodePageIsSingleByteOverAscii();
    void codePageHolesHaveNoText();
    void noneIsLatin1();
    void tableEncodesLongestFirst_data();
    void tableEncodesLongestFirst();
    void tableDecodes();
    void encodesWholeTexts_data();
    void encodesWholeTexts();
    void tableKeepsLayoutCodesAndEscapes();
    void tableReportsSkippedLines_data();
    void tableReportsSkippedLines();
    void readsTableFile();
    void tableIsAllOrNothing_data();
    void tableIsAllOrNothing();
    void tableReportIsBounded();
    void tableTextReadsBackToTheSameMap();
    void describesCharacters();
};

// Bytes of each code page taken from its published chart.
void TestCharMap::codePagesEncodeRealText_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("windows-1251") << "windows-1251" << u"Привет"_qs << hexBytes("CF F0 E8 E2 E5 F2");
    QTest::newRow("windows-1251 Ђ") << "cp1251" << u"Ђ"_qs << hexBytes("80");
    QTest::newRow("KOI8-R") << "KOI8-R" << u"Привет"_qs << hexBytes("F0 D2 C9 D7 C5 D4");
    QTest::newRow("KOI8-U") << "koi8-u" << u"Ґанок"_qs << hexBytes("BD C1 CE CF CB");
    QTest::newRow("cp866") << "cp866" << u"Да"_qs << hexBytes("84 A0");
    QTest::newRow("ISO-8859-7") << "ISO-8859-7" << u"Καλημέρα"_qs << hexBytes("CA E1 EB E7 EC DD F1 E1");
    QTest::newRow("windows-1253") << "windows-1253" << u"Καλημέρα"_qs << hexBytes("CA E1 EB E7 EC DD F1 E1");
    QTest::newRow("windows-1250") << "windows-1250" << u"Žluťoučký kůň"_qs
                                  << hexBytes("8E 6C 75 9D 6F 75 E8 6B FD 20 6B F9 F2");
    QTest::newRow("windows-1250 Łódź") << "windows-1250" << u"Łódź"_qs << hexBytes("A3 F3 64 9F");
    QTest::newRow("ISO-8859-2 Łódź") << "ISO-8859-2" << u"Łódź"_qs << hexBytes("A3 F3 64 BC");
    QTest::newRow("ISO-8859-16") << "ISO-8859-16" << u"Șț"_qs << hexBytes("AA FE");
    QTest::newRow("MacRoman") << "MacRoman" << u"ÄÖÜß"_qs << hexBytes("80 85 86 A7");
    QTest::newRow("cp437") << "cp437" << u"░▒▓"_qs << hexBytes("B0 B1 B2");
}

void TestCharMap::codePagesEncodeRealText()
{
    QFETCH(QString, page);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const CharMap map = CharMap::fromCodePage(page);
    QCOMPARE(map.kind(), CharMap::Kind::CodePage);
    const CharMap::Encoded encoded = map.encode(text);
    QVERIFY(encoded.ok());
    QCOMPARE(encoded.bytes.toHex(' '), bytes.toHex(' '));
    QCOMPARE(map.decode(bytes), text);
    QCOMPARE(map.text(static_cast<unsigned char>(bytes[0])), text.first(text[0].isHighSurrogate() ? 2 : 1));
}

void TestCharMap::codePageNamesAndAliases_data()
{
    QTest::addColumn<QString>("spelling");
    QTest::addColumn<QString>("stored");  // empty: not a code page
    QTest::newRow("stored spelling") << "windows-1251" << "windows-1251";
    QTest::newRow("case and dashes") << "WINDOWS_1251" << "windows-1251";
    QTest::newRow("cp alias") << "cp1251" << "windows-1251";
    QTest::newRow("koi8r") << "koi8r" << "KOI8-R";
    QTest::newRow("latin1") << "latin1" << "ISO-8859-1";
    QTest::newRow("ISO_8859-5:1988") << "ISO_8859-5:1988" << "ISO-8859-5";
    QTest::newRow("iso8859-16") << "iso8859-16" << "ISO-8859-16";
    QTest::newRow("IBM866") << "IBM866" << "cp866";
    QTest::newRow("437") << "IBM437" << "cp437";
    QTest::newRow("macintosh") << "macintosh" << "MacRoman";
    QTest::newRow("no -12") << "ISO-8859-12" << "";
    QTest::newRow("multi-byte") << "UTF-8" << "";
    QTest::newRow("Shift_JIS") << "Shift_JIS" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("punctuation only") << "--" << "";
    QTest::newRow("not ASCII") << u"кои8"_qs << "";
    QTest::newRow("unknown") << "klingon" << "";
}

void TestCharMap::codePageNamesAndAliases()
{
    QFETCH(QString, spelling);
    QFETCH(QString, stored);
    const std::optional<QString> name = CharMap::codePageName(spelling);
    QCOMPARE(name.value_or(QString()), stored);
    if (stored.isEmpty()) {
        try {
            CharMap::fromCodePage(spelling);
            QFAIL("an unknown code page was taken");
        } catch (const Error &error) {
            QVERIFY(error.message().contains(QStringLiteral("windows-1251, windows-1252")));
        }
    } else {
        QCOMPARE(CharMap::fromCodePage(spelling).name(), stored);
    }
}

// Every offered page is a true single-byte page: the printable ASCII codes
// stand for themselves, and no two codes of 0x20..0x7E share a text.
void TestCharMap::everyCodePageIsSingleByteOverAscii()
{
    const QStringList names = CharMap::codePageNames();
    QCOMPARE(names.size(), 31);
    QVERIFY(!names.contains(QStringLiteral("ISO-8859-12")));
    for (const QString &name : names) {
        const CharMap map = CharMap::fromCodePage(name);
        QCOMPARE(map.name(), name);
        for (int code = 0x20; code < 0x7F; ++code) {
            QCOMPARE(map.text(code), QString(QChar(char16_t(code))));
            QCOMPARE(map.code(map.text(code)), code);
        }
    }
}

void TestCharMap::codePageHolesHaveNoText()
{
    // Greek leaves 0xD2 free (final sigma has a code of its own).
    const CharMap map = CharMap::fromCodePage(QStringLiteral("windows-1253"));
    QVERIFY(map.text(0xD2).isEmpty());
    QCOMPARE(map.decode(hexBytes("41 D2 42")), u"A\uFFFDB"_qs);
    QCOMPARE(map.decode(hexBytes("D2"), u"?"), QStringLiteral("?"));
    QCOMPARE(map.code(u"€"), 0x80);
    QCOMPARE(map.code(u"ς"), 0xF2);
    const CharMap::Encoded encoded = map.encode(u"Aé");
    QCOMPARE(encoded.failedAt, 1);
    QCOMPARE(encoded.bytes, QByteArray("A"));
}

void TestCharMap::noneIsLatin1()
{
    const CharMap none;
    QVERIFY(none.isNone());
    QCOMPARE(none.description(), QStringLiteral("none"));
    QByteArray every(256, 0);
    QString latin1;
    for (int code = 0; code < 256; ++code) {
        every[code] = char(code);
        latin1 += QChar(char16_t(code));
        QCOMPARE(none.text(code), QString(QChar(char16_t(code))));
    }
    QCOMPARE(none.decode(every), latin1);
    QCOMPARE(none.encode(latin1).bytes, every);
    QCOMPARE(none.encode(u"café Привет").failedAt, 5);
    QVERIFY(none == CharMap());
    QVERIFY(!(none == CharMap::fromCodePage(QStringLiteral("ISO-8859-1"))));
}

void TestCharMap::tableEncodesLongestFirst_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("failedAt");
    QTest::newRow("the: the longest entry") << "the" << hexBytes("E1") << -1;
    QTest::newRow("that: th then letters") << "that" << hexBytes("E0 8E 9D") << -1;
    QTest::newRow("hat") << "hat" << hexBytes("93 8E 9D") << -1;
    QTest::newRow("repeated text: first code") << "A" << hexBytes("80") << -1;
    QTest::newRow("entry with a space") << "e t" << hexBytes("E2 9D") << -1;
    QTest::newRow("digits and $ at ASCII") << "$07!" << hexBytes("24 30 37 F0") << -1;
    QTest::newRow("no code for x") << "tax" << hexBytes("9D 8E") << 2;
    QTest::newRow("no code for capital T") << "The" << QByteArray() << 0;
}

void TestCharMap::tableEncodesLongestFirst()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(int, failedAt);
    const CharMap map = readTable(kDteTable).map;
    const CharMap::Encoded encoded = map.encode(text);
    QCOMPARE(encoded.bytes.toHex(' '), bytes.toHex(' '));
    QCOMPARE(encoded.failedAt, failedAt);
}

void TestCharMap::tableDecodes()
{
    const TableRead read = readTable(kDteTable, QStringLiteral("game.tbl"));
    QVERIFY(read.skipped.isEmpty());
    const CharMap &map = read.map;
    QCOMPARE(map.kind(), CharMap::Kind::Table);
    QCOMPARE(map.description(), QStringLiteral("table game.tbl"));
    QCOMPARE(map.decode(hexBytes("E0 8E 9D 20 F1 F0 41")), u"that A!\uFFFD"_qs);
    QCOMPARE(map.text(0xE2), QStringLiteral("e "));
    QCOMPARE(map.longestText(), 3);
    QVERIFY(map.text(0x41).isEmpty());
}

void TestCharMap::encodesWholeTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("failedAt");
    QTest::newRow("entry with a space stays two words") << "the e te" << hexBytes("E1 20 92 20 9D 92") << -1;
    QTest::newRow("line break and tab") << "hat\r\n\tthe" << hexBytes("93 8E 9D 0D 0A 09 E1") << -1;
    QTest::newRow("controls as they are") << u"\u0001a\u001F"_qs << hexBytes("01 8E 1F") << -1;
    QTest::newRow("failure in the second word") << "the tax" << hexBytes("E1 20 9D 8E") << 6;
}

void TestCharMap::encodesWholeTexts()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(int, failedAt);
    const CharMap::Encoded encoded = readTable(kDteTable).map.encodeText(text);
    QCOMPARE(encoded.bytes.toHex(' '), bytes.toHex(' '));
    QCOMPARE(encoded.failedAt, failedAt);
}

void TestCharMap::tableKeepsLayoutCodesAndEscapes()
{
    // A table that gives 0x24 and 0x31 texts of its own and names "7"
    // elsewhere keeps them; the free escape codes stand for themselves.
    const TableRead read = readTable("24=Ж\n31=ж\n10=7\n20= \n");
    const CharMap &map = read.map;
    QVERIFY(read.skipped.isEmpty());
    QCOMPARE(map.text(0x24), u"Ж"_qs);
    QCOMPARE(map.text(0x31), u"ж"_qs);
    QCOMPARE(map.code(u"7"), 0x10);
    QVERIFY(map.text(0x37).isEmpty());
    QCOMPARE(map.text(0x30), QStringLiteral("0"));
    QCOMPARE(map.text(0x32), QStringLiteral("2"));
    QCOMPARE(map.text(0x20), QStringLiteral(" "));
    QVERIFY(!map.code(u"$"));
    QCOMPARE(map.encode(u"Ж 27").bytes, hexBytes("24 20 32 10"));
}

void TestCharMap::tableReportsSkippedLines_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QStringList>("skipped");
    QTest::addColumn<QString>("kept");  // the text of code 0x41
    const QByteArray entry = "41=A\n";
    QTest::newRow("clean, CR LF, blank lines") << QByteArray("\r\n41=A\r\n\r\n  \n") << QStringList() << "A";
    QTest::newRow("two-byte code") << entry + "8140=x\n" << QStringList{"line 2: the code 8140 is longer than one byte"}
                                   << "A";
    QTest::newRow("end control code") << "/FF=<end>\n" + entry
                                      << QStringList{"line 1: a control code, which the program does not use"} << "A";
    QTest::newRow("line control code") << entry + "*FE\n"
                                       << QStringList{"line 2: a control code, which the program does not use"} << "A";
    QTest::newRow("no equals sign") << entry + "# a comment\n" << QStringList{"line 2: not of the form HEX=text"} << "A";
    QTest::newRow("not hex") << entry + "4G=x\n" << QStringList{"line 2: \"4G\" is not a code of hex digits"} << "A";
    QTest::newRow("odd digits") << entry + "411=x\n" << QStringList{"line 2: \"411\" is not a code of hex digits"} << "A";
    QTest::newRow("no code") << entry + "=x\n" << QStringList{"line 2: \"\" is not a code of hex digits"} << "A";
    QTest::newRow("no text") << QByteArray("41=\n42=B\n") << QStringList{"line 1: the code 41 stands for no text"} << "";
    QTest::newRow("repeated code: the first stays") << entry + "41=B\n"
                                                    << QStringList{"line 2: the code 41 was given on line 1 already"}
                                                    << "A";
    QTest::newRow("line feed") << entry + "0A=x\n" << QStringList{"line 2: the code 0A is always a line break"} << "A";
    QTest::newRow("carriage return") << entry + "0d=x\n" << QStringList{"line 2: the code 0D is always a line break"}
                                     << "A";
    QTest::newRow("space as a space is fine") << entry + "20= \n" << QStringList() << "A";
    QTest::newRow("space as something else") << entry + "20=_\n" << QStringList{"line 2: the code 20 is always a space"}
                                             << "A";
    QTest::newRow("not UTF-8") << entry + "42=\xE9t\xE9\n" << QStringList{"line 2: not UTF-8 text"} << "A";
    QTest::newRow("control character") << entry + "42=a\tb\n"
                                       << QStringList{"line 2: the text of code 42 holds a control character"} << "A";
    QTest::newRow("overlong entry") << entry + "42=" + QByteArray(65, 'x') + "\n"
                                    << QStringList{"line 2: the text of code 42 is longer than 64 characters"} << "A";
    QTest::newRow("equals in the text") << QByteArray("41===\n") << QStringList() << "==";
    QTest::newRow("lower-case hex, no final line end") << QByteArray("3f=?\n41=A") << QStringList() << "A";
}

void TestCharMap::tableReportsSkippedLines()
{
    QFETCH(QByteArray, table);
    QFETCH(QStringList, skipped);
    QFETCH(QString, kept);
    const TableRead read = readTable(table);
    QCOMPARE(read.skipped, skipped);
    QCOMPARE(read.map.text(0x41), kept);
}

// A table as a translator keeps it: a byte-order mark, CR LF, a comment, a
// two-byte code and the two kinds of control codes, all named by line.
void TestCharMap::readsTableFile()
{
    QFile file(QStringLiteral(LETTERLOOM_TEST_DATA "/tables/handmade.tbl"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const TableRead read = readTable(file.readAll(), QStringLiteral("handmade.tbl"));
    QCOMPARE(read.skipped, (QStringList{"line 1: not of the form HEX=text",
                                        "line 14: the code 8140 is longer than one byte",
                                        "line 15: a control code, which the program does not use",
                                        "line 16: a control code, which the program does not use"}));
    QCOMPARE(read.map.encode(u"Beth the ж!").bytes, hexBytes("81 92 E0 20 E1 20 E3 F0"));
    QCOMPARE(read.map.decode(hexBytes("82 99 8E 9D E2 E0 E2")), u"Coate the "_qs);
}

void TestCharMap::tableIsAllOrNothing_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("message");
    const QString none = QStringLiteral("The table has no entry of the form HEX=text");
    QTest::newRow("empty") << QByteArray() << none;
    QTest::newRow("only a byte-order mark") << QByteArray("\xEF\xBB\xBF") << none;
    QTest::newRow("only skipped lines") << QByteArray("/00=end\n8140=x\n0A=y\n") << none;
    QTest::newRow("binary") << QByteArray("\x00\x01\x02\xFF\xFE", 5) << none;
    QByteArray big = QByteArray("41=A\n").repeated(kMaxTableBytes / 5 + 1);
    QTest::newRow("too big") << big << QStringLiteral("The table is larger than 1024 KB");
}

void TestCharMap::tableIsAllOrNothing()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, message);
    try {
        readTable(table);
        QFAIL("the table was read");
    } catch (const Error &error) {
        QCOMPARE(error.message(), message);
    }
}

void TestCharMap::tableReportIsBounded()
{
    const TableRead read = readTable("41=A\n" + QByteArray("junk\n").repeated(1000));
    QCOMPARE(read.skipped.size(), kMaxReportedLines + 1);
    QCOMPARE(read.skipped.first(), QStringLiteral("line 2: not of the form HEX=text"));
    QCOMPARE(read.skipped.last(), QStringLiteral("980 more lines left out"));
}

void TestCharMap::tableTextReadsBackToTheSameMap()
{
    const CharMap map = readTable(kDteTable + "41=Ж\n05=🙂\n").map;
    const QByteArray text = map.tableText();
    QVERIFY(text.startsWith("80=A\n81=B\n"));
    QVERIFY(text.endsWith("41=\xD0\x96\n05=\xF0\x9F\x99\x82\n"));
    QCOMPARE(readTable(text).map, map);
    QCOMPARE(map.code(u"🙂"), 0x05);
    QVERIFY(CharMap().tableText().isEmpty());
}

void TestCharMap::describesCharacters()
{
    QCOMPARE(describeCharacter(u"aж", 1), u"\u201Cж\u201D (U+0436)"_qs);
    QCOMPARE(describeCharacter(u"🙂!", 0), u"\u201C🙂\u201D (U+1F642)"_qs);
    QCOMPARE(describeCharacter(u"a", 3), QString());
}

QTEST_GUILESS_MAIN(TestCharMap)
#include "tst_char_map.moc"
