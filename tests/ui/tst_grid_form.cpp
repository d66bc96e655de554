#include "ui/grid_form.h"

#include "font/glyph_sketch.h"
#include "support/fake_prompter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace letterloom;
using letterloom::testing::FakePrompter;
using letterloom::ui::TgridForm;

namespace {

// Three 2 x 2 cells on white, A and C drawn in black, B empty; shown at
// zoom 8 (the preview enlarges small sheets).
QImage sheet()
{
    QImage picture(6, 2, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (const QPoint &pixel : {QPoint(1, 0), QPoint(1, 1), QPoint(4, 0), QPoint(4, 1)})
        picture.setPixel(pixel, qRgb(0, 0, 0));
    return picture;
}

font::GridImportSettings cells2x2()
{
    font::GridImportSettings settings;
    settings.grid.cellWidth = settings.grid.cellHeight = 2;
    settings.codes = font::consecutiveCodes(65);
    return settings;
}

template <typename Widget>
Widget *child(const QWidget &form, const char *name)
{
    Widget *widget = form.findChild<Widget *>(QLatin1String(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

QString status(const TgridForm &form)
{
    return child<QLabel>(form, "lbStatus")->text();
}

bool okEnabled(const TgridForm &form)
{
    return child<QDialogButtonBox>(form, "buttons")->button(QDialogButtonBox::Ok)->isEnabled();
}

QColor previewPixel(const TgridForm &form, const char *label, QPoint at)
{
    return child<QLabel>(form, label)->pixmap().toImage().pixelColor(at);
}

}  // namespace

class TestGridForm : public QObject {
    Q_OBJECT

private slots:
    void showsStartSettings();
    void previewFollowsTheControls_data();
    void previewFollowsTheControls();
    void drawsGridAndGlyphs();
    void coloursComeFromTheColourDialog();
    void drawingShowsThePicture();
    void charactersThroughTheFontsMap_data();
    void charactersThroughTheFontsMap();
};

void TestGridForm::showsStartSettings()
{
    FakePrompter prompter;
    font::GridImportSettings start = cells2x2();
    start.grid.marginX = 1;
    start.codes = font::codesOfCharacters("AC");
    start.ink = raster::kRed;
    start.trim = false;
    start.spaceWidth = 3;
    TgridForm form(prompter, sheet(), start);
    QCOMPARE(child<QSpinBox>(form, "gMarginX")->value(), 1);
    QVERIFY(child<QRadioButton>(form, "rbChars")->isChecked());
    QCOMPARE(child<QLineEdit>(form, "edChars")->text(), QStringLiteral("AC"));
    QVERIFY(child<QCheckBox>(form, "cbBackground")->isChecked());
    QVERIFY(!child<QCheckBox>(form, "cbInk")->isChecked());
    QCOMPARE(child<QPushButton>(form, "btInk")->text(), QStringLiteral("FF0000"));
    // What comes back is what went in.
    const font::GridImportSettings back = form.importSettings();
    QCOMPARE(back.grid, start.grid);
    QCOMPARE(back.codes, start.codes);
    QCOMPARE(back.background, start.background);
    QCOMPARE(back.ink, start.ink);
    QCOMPARE(back.trim, false);
    QCOMPARE(back.spaceWidth, start.spaceWidth);
}

// The cells' characters are shown and read through the font's map, which
// goes back with the settings.
void TestGridForm::charactersThroughTheFontsMap_data()
{
    QTest::addColumn<QString>("map");  // a code page or the lines of a table
    QTest::addColumn<font::CellCodes>("start");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<font::CellCodes>("codes");
    QTest::newRow("windows-1251") << "windows-1251" << font::CellCodes{0xCF, 0xF0} << u"Пр"_qs << u"Жи"_qs
                                  << font::CellCodes{0xC6, 0xE8};
    QTest::newRow("KOI8-R") << "KOI8-R" << font::CellCodes{0xF0, 0xD2} << u"Пр"_qs << u"Жи"_qs
                            << font::CellCodes{0xF6, 0xC9};
    QTest::newRow("a DTE table") << "41=A\nE0=th\n" << font::CellCodes{0xE0, 0x41} << "thA" << "Ath"
                                 << font::CellCodes{0x41, 0xE0};
}

void TestGridForm::charactersThroughTheFontsMap()
{
    QFETCH(QString, map);
    QFETCH(font::CellCodes, start);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(font::CellCodes, codes);
    FakePrompter prompter;
    font::GridImportSettings settings = cells2x2();
    settings.charMap = map.contains(u'=') ? font::readTable(map.toUtf8()).map : font::CharMap::fromCodePage(map);
    settings.codes = start;
    TgridForm form(prompter, sheet(), settings);
    QCOMPARE(child<QLineEdit>(form, "edChars")->text(), shown);
    QCOMPARE(form.importSettings().codes, start);
    child<QLineEdit>(form, "edChars")->setText(typed);
    QCOMPARE(form.importSettings().codes, codes);
    QCOMPARE(form.importSettings().charMap, settings.charMap);
}

void TestGridForm::previewFollowsTheControls_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<bool>("ok");

    QTest::newRow("as given")
        << "" << "" << "2 glyphs from a grid of 3 columns and 1 row; background FFFFFF, ink 000000" << true;
    QTest::newRow("two columns") << "gColumns" << "2"
                                 << "1 glyph from a grid of 2 columns and 1 row; background FFFFFF, ink 000000" << true;
    QTest::newRow("a cell too large") << "gCellWidth" << "7" << "No cell of 7 x 2 pixels fits in the picture of 6 x 2 pixels"
                                      << false;
    QTest::newRow("characters, one outside the map")
        << "edChars" << QStringLiteral("\u0416BA")
        << "1 glyph from a grid of 3 columns and 1 row; background FFFFFF, ink 000000\n"
           "Left out 1 cell that holds pixels but no character code\n"
           "Not in the character map, their cells left out: U+0416 \u0416" << true;
}

void TestGridForm::previewFollowsTheControls()
{
    QFETCH(QString, control);
    QFETCH(QString, value);
    QFETCH(QString, summary);
    QFETCH(bool, ok);

    FakePrompter prompter;
    TgridForm form(prompter, sheet(), cells2x2());
    if (control == u"edChars") {
        child<QLineEdit>(form, "edChars")->setText(value);
        QCOMPARE(form.importSettings().codes, font::codesOfCharacters(value));
    } else if (!control.isEmpty()) {
        child<QSpinBox>(form, qPrintable(control))->setValue(value.toInt());
    }
    QCOMPARE(status(form), summary);
    QCOMPARE(okEnabled(form), ok);
}

// Cells that give a glyph are outlined in cyan, the others in grey; the
// glyphs stand side by side below, 4 pixels apart, at zoom 4.
void TestGridForm::drawsGridAndGlyphs()
{
    FakePrompter prompter;
    TgridForm form(prompter, sheet(), cells2x2());
    QCOMPARE(child<QSpinBox>(form, "gZoom")->value(), 8);
    QCOMPARE(previewPixel(form, "lbPicture", {0, 0}), QColor(0, 200, 255));
    QCOMPARE(previewPixel(form, "lbPicture", {16, 0}), QColor(128, 128, 128));
    QCOMPARE(previewPixel(form, "lbPicture", {32, 0}), QColor(0, 200, 255));
    QCOMPARE(previewPixel(form, "lbPicture", {9, 9}), QColor(0, 0, 0));
    QCOMPARE(previewPixel(form, "lbPicture", {2, 2}), QColor(255, 255, 255));

    // A is .#. over .#., C #. over #.
    for (const auto &[at, colour] : std::initializer_list<std::pair<QPoint, QColor>>{
             {{1, 1}, Qt::white}, {{5, 1}, Qt::black}, {{9, 7}, Qt::white}, {{13, 1}, QColor(200, 200, 200)},
             {{17, 7}, Qt::black}, {{21, 7}, Qt::white}})
        QCOMPARE(previewPixel(form, "lbGlyphs", at), colour);
}

void TestGridForm::coloursComeFromTheColourDialog()
{
    FakePrompter prompter;
    TgridForm form(prompter, sheet(), cells2x2());
    prompter.colours.push_back(raster::kBlack);
    // The button is for a colour of the user's only once the box no longer
    // takes the top-left pixel.
    QTest::mouseClick(child<QPushButton>(form, "btBackground"), Qt::LeftButton);
    QVERIFY(prompter.log.isEmpty());
    child<QCheckBox>(form, "cbBackground")->setChecked(false);
    QTest::mouseClick(child<QPushButton>(form, "btBackground"), Qt::LeftButton);
    QCOMPARE(prompter.log, (QStringList{"colour"}));
    QCOMPARE(form.importSettings().background, std::optional<raster::Colour>(raster::kBlack));
    QVERIFY(!child<QCheckBox>(form, "cbBackground")->isChecked());
    QCOMPARE(status(form), QStringLiteral("3 glyphs from a grid of 3 columns and 1 row; background 000000, ink FFFFFF"));
}

void TestGridForm::drawingShowsThePicture()
{
    FakePrompter prompter;
    font::GlyphTable glyphs;
    glyphs['A'] = testing::sketchGlyph({"#.#", ".#."});
    font::GridExportSettings start;
    start.codes = font::codesOfCharacters("AB");
    TgridForm form(prompter, glyphs, start);
    QVERIFY(!child<QCheckBox>(form, "cbTrim")->isVisibleTo(&form));
    QCOMPARE(status(form), QStringLiteral("A picture of 48 x 2 pixels: cells of 3 x 2 in 16 columns, background FF00FF\n"
                                          "Reading this picture back needs the background colour FF00FF given"));
    child<QSpinBox>(form, "gColumns")->setValue(2);
    child<QSpinBox>(form, "gMarginX")->setValue(1);
    QCOMPARE(status(form), QStringLiteral("A picture of 7 x 2 pixels: cells of 3 x 2 in 2 columns, background FF00FF"));
    // Zoom 2: the glyph's top-left pixel at (1, 0) of the picture.
    QCOMPARE(previewPixel(form, "lbPicture", {2, 0}), QColor(0, 0, 0));
    QCOMPARE(previewPixel(form, "lbPicture", {0, 0}), QColor(255, 0, 255));
    QCOMPARE(form.exportSettings().grid.columns, 2);
    QVERIFY(okEnabled(form));
}

QTEST_MAIN(TestGridForm)
#include "tst_grid_form.moc"
