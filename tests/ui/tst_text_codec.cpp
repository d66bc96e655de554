// The text input window's view of the text's bytes through a character map:
// what it shows, and what an edit does to the bytes.

#include "font/char_map.h"
#include "ui/text_codec.h"

#include <QTest>

using letterloom::font::CharMap;
using letterloom::font::readTable;
using letterloom::ui::TextView;

namespace {

QByteArray hexBytes(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

// A game's table: letters from 0x80, dual-tile entries at E0, one text at two codes.
CharMap dteMap()
{
    return readTable("80=A\n81=B\n8E=a\n92=e\n93=h\n9A=n\n99=o\n9D=t\nE0=th\nE1=the\nF0=!\nF1=A\n05=\xC3\xA9\n").map;
}

CharMap mapNamed(const QString &name)
{
    if (name == QStringLiteral("none"))
        return CharMap();
    if (name == QStringLiteral("dte"))
        return dteMap();
    return CharMap::fromCodePage(name);
}

QByteArray allBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    return bytes;
}

}  // namespace

class TestTextCodec : public QObject {
    Q_OBJECT

private slots:
    void showsBytesThroughTheMap_data();
    void showsBytesThroughTheMap();
    void everyByteSurvivesEveryMap_data();
    void everyByteSurvivesEveryMap();
    void editReencodesOnlyTouchedWords_data();
    void editReencodesOnlyTouchedWords();
    void refusesCharactersWithoutCode_data();
    void refusesCharactersWithoutCode();
    void remapKeepsTheBytes();
};

void TestTextCodec::showsBytesThroughTheMap_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none: Latin-1") << "none" << QByteArray("caf\xE9\r\n\x01") << u"café\n␁"_qs;
    QTest::newRow("windows-1251") << "windows-1251" << hexBytes("CF F0 E8 E2 E5 F2 20 EC E8 F0") << u"Привет мир"_qs;
    QTest::newRow("KOI8-R") << "KOI8-R" << hexBytes("F0 D2 C9 D7 C5 D4") << u"Привет"_qs;
    QTest::newRow("Greek") << "windows-1253" << hexBytes("CA E1 EB E7 EC DD F1 E1") << u"Καλημέρα"_qs;
    QTest::newRow("Greek hole as placeholder") << "windows-1253" << hexBytes("41 D2") << u"A\uE0D2"_qs;
    QTest::newRow("Central European") << "ISO-8859-2" << hexBytes("A3 F3 64 BC") << u"Łódź"_qs;
    QTest::newRow("DTE") << "dte" << hexBytes("E1 20 8E 9D 0D 0A E0 F0") << u"the at\nth!"_qs;
    QTest::newRow("DTE printable code below 32") << "dte" << hexBytes("05 06") << u"é␆"_qs;
    QTest::newRow("DTE code without text") << "dte" << hexBytes("41") << u"\uE041"_qs;
    QTest::newRow("code page control codes as pictures") << "cp437" << hexBytes("01 0D 7F B0") << u"␁␍␡░"_qs;
}

void TestTextCodec::showsBytesThroughTheMap()
{
    QFETCH(QString, map);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(letterloom::ui::bytesToEditorText(bytes, mapNamed(map)), shown);
    TextView view;
    QCOMPARE(view.show(bytes, mapNamed(map)), QString(shown).replace(u'\n', QChar::ParagraphSeparator));
}

// Every byte value, alone, inside words and around line breaks, comes back
// from the view and from an edit of another word; repeated texts included.
void TestTextCodec::everyByteSurvivesEveryMap_data()
{
    QTest::addColumn<QString>("map");
    for (const char *map : {"none", "windows-1251", "KOI8-R", "windows-1253", "cp437", "dte"})
        QTest::newRow(map) << map;
}

void TestTextCodec::everyByteSurvivesEveryMap()
{
    QFETCH(QString, map);
    const CharMap charMap = mapNamed(map);
    QByteArray bytes = allBytes() + "\r\n";
    for (int b = 0; b < 256; ++b)
        bytes += "0" + QByteArray(1, char(b)) + "1 ";
    TextView view;
    view.show(bytes, charMap);
    QCOMPARE(view.bytes(), bytes);
    QCOMPARE(letterloom::ui::editorTextToBytes(view.text(), charMap).bytes.size(), bytes.size());
    const TextView::Edit edit = view.edit(view.text() + QStringLiteral("42"));
    QCOMPARE(edit.hint, QString());
    QCOMPARE(view.bytes(), bytes + "42");
}

void TestTextCodec::editReencodesOnlyTouchedWords_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Cyrillic typed at the end") << "windows-1251" << hexBytes("CF F0 E8 E2 E5 F2") << 6 << 0
                                               << u" мир"_qs << hexBytes("CF F0 E8 E2 E5 F2 20 EC E8 F0");
    QTest::newRow("KOI8-R letter replaced") << "KOI8-R" << hexBytes("F0 D2 C9 D7 C5 D4") << 1 << 1 << u"Р"_qs
                                            << hexBytes("F0 F2 C9 D7 C5 D4");
    QTest::newRow("Greek word inserted") << "windows-1253" << hexBytes("CA E1 EB E7 EC DD F1 E1") << 0 << 0
                                         << u"Γεια "_qs << hexBytes("C3 E5 E9 E1 20 CA E1 EB E7 EC DD F1 E1");
    QTest::newRow("Central European") << "windows-1250" << hexBytes("A3 F3 64 9F") << 4 << 0 << u" żółw"_qs
                                      << hexBytes("A3 F3 64 9F 20 BF F3 B3 77");
    QTest::newRow("typing the gives the longest entry") << "dte" << QByteArray() << 0 << 0 << "the"
                                                        << hexBytes("E1");
    QTest::newRow("th typed apart stays in an untouched word") << "dte" << hexBytes("9D 93 92 20 8E") << 5 << 0 << "t"
                                                               << hexBytes("9D 93 92 20 8E 9D");
    QTest::newRow("the touched word is encoded anew") << "dte" << hexBytes("9D 93 92 20 8E") << 3 << 0 << "n"
                                                      << hexBytes("E1 9A 20 8E");
    QTest::newRow("repeated text: untouched code kept") << "dte" << hexBytes("F1 20 80") << 3 << 0 << "B"
                                                        << hexBytes("F1 20 80 81");
    QTest::newRow("deleting a space joins two words") << "dte" << hexBytes("9D 20 93 92") << 1 << 1 << ""
                                                      << hexBytes("E1");
    QTest::newRow("half of a dual tile deleted") << "dte" << hexBytes("E0") << 1 << 1 << "" << hexBytes("9D");
    QTest::newRow("line break inside a word") << "dte" << hexBytes("E1") << 2 << 0 << u"\u2029"_qs
                                              << hexBytes("E0 0D 0A 92");
    QTest::newRow("a code without text survives its word's edit") << "windows-1253" << hexBytes("41 D2 42") << 3 << 0
                                                                  << "C" << hexBytes("41 D2 42 43");
    QTest::newRow("control picture typed") << "windows-1251" << QByteArray("a") << 1 << 0 << u"␇"_qs
                                           << QByteArray("a\x07");
    QTest::newRow("no map: Latin-1 as before") << "none" << QByteArray("caf") << 3 << 0 << u"é"_qs
                                               << QByteArray("caf\xE9");
}

void TestTextCodec::editReencodesOnlyTouchedWords()
{
    QFETCH(QString, map);
    QFETCH(QByteArray, bytes);
    QFETCH(int, at);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QFETCH(QByteArray, expected);
    TextView view;
    const QString edited = QString(view.show(bytes, mapNamed(map))).replace(at, removed, inserted);
    const TextView::Edit edit = view.edit(edited);
    QCOMPARE(edit.hint, QString());
    QCOMPARE(view.bytes().toHex(' '), expected.toHex(' '));
    QCOMPARE(view.text(), edited);
}

void TestTextCodec::refusesCharactersWithoutCode_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<int>("failedAt");
    QTest::addColumn<QString>("hint");
    QTest::newRow("no map: Cyrillic") << "none" << u"Привет"_qs << 4
                                      << u"\u201CП\u201D (U+041F) has no code in the font; choose a character map "
                                         "with Font \u203A Character Map..."_qs;
    QTest::newRow("no map: emoji") << "none" << u"🙂"_qs << 4
                                   << u"\u201C🙂\u201D (U+1F642) has no code in the font; choose a character map "
                                      "with Font \u203A Character Map..."_qs;
    QTest::newRow("Cyrillic page: Latin accent") << "windows-1251" << u"é"_qs << 4
                                                 << u"\u201Cé\u201D (U+00E9) has no code in the font's character "
                                                    "map (windows-1251)"_qs;
    QTest::newRow("table: letter it lacks") << "dte" << u"tax"_qs << 6
                                            << u"\u201Cx\u201D (U+0078) has no code in the font's character map "
                                               "(table)"_qs;
}

void TestTextCodec::refusesCharactersWithoutCode()
{
    QFETCH(QString, map);
    QFETCH(QString, inserted);
    QFETCH(int, failedAt);
    QFETCH(QString, hint);
    TextView view;
    const QByteArray bytes("\x80\x20\x20\x20", 4);
    const QString before = view.show(bytes, mapNamed(map));
    const TextView::Edit edit = view.edit(before + inserted);
    QCOMPARE(edit.hint, hint);
    QCOMPARE(edit.failedAt, failedAt);
    QCOMPARE(view.bytes(), bytes);
    QCOMPARE(view.text(), before);
}

void TestTextCodec::remapKeepsTheBytes()
{
    TextView view;
    const QByteArray bytes = hexBytes("F0 D2 C9 D7 C5 D4");
    view.show(bytes, CharMap());
    QCOMPARE(view.remap(CharMap::fromCodePage(QStringLiteral("KOI8-R"))), u"Привет"_qs);
    QCOMPARE(view.bytes(), bytes);
    QCOMPARE(view.remap(CharMap::fromCodePage(QStringLiteral("windows-1251"))), u"рТЙЧЕФ"_qs);
    QCOMPARE(view.bytes(), bytes);
}

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_text_codec.moc"
