#include "ui/font_windows.h"
#include "ui/string_grid.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace letterloom;
using letterloom::testing::FontWindows;
using letterloom::testing::pixelSketch;
using letterloom::testing::rasterSketch;

namespace {

ui::SpinField *field(FontWindows &w, const char *name)
{
    return w.fontSize.findChild<ui::SpinField *>(QLatin1String(name));
}

QPushButton *pushButton(FontWindows &w, const char *name)
{
    return w.fontSize.findChild<QPushButton *>(QLatin1String(name));
}

// The widget that holds the keyboard focus, or the field it lies in.
QWidget *focusedControl(QWidget *dialog)
{
    QWidget *focused = QApplication::focusWidget();
    for (auto *spin : dialog->findChildren<ui::SpinField *>())
        if (spin->isAncestorOf(focused))
            return spin;
    return focused;
}

}  // namespace

class TestFontSizeForm : public QObject {
    Q_OBJECT
private slots:
    void creation();
    void controls_data();
    void controls();
    void tabOrder();
    void enterAndEscapeDoNotAnswer();
    void fieldReading_data();
    void fieldReading();
    void fieldLimits_data();
    void fieldLimits();
    void plainOkKeepsALargeGlyph_data();
    void plainOkKeepsALargeGlyph();
    void ok_data();
    void ok();
    void everyOkSetsTheDefaultSize();
    void cancel();
    void shrunkEmptyGlyphStaysWhite();
};

void TestFontSizeForm::creation()
{
    project::Workspace workspace{QString()};
    workspace.settings.defaultGlyphWidth = 30;
    workspace.settings.defaultGlyphHeight = 40;
    testing::FakePrompter prompter;
    testing::FakeEffects effects;
    project::ProjectCommands commands(workspace, prompter, effects);
    ui::Windows windows;
    ui::Context context{workspace, prompter, commands, windows};
    ui::TfontSizeForm dialog(context);

    QCOMPARE(workspace.settings.defaultGlyphWidth, 8);
    QCOMPARE(workspace.settings.defaultGlyphHeight, 8);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Set character size."));
    QCOMPARE(dialog.size(), QSize(185, 145));
    QVERIFY(dialog.isHidden());
    QVERIFY(dialog.isModal());
    QVERIFY(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(windows.fontSize, &dialog);
}

void TestFontSizeForm::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("place");

    QTest::newRow("labelCaption") << "labelCaption" << "Set font size:" << QPoint(16, 8);
    QTest::newRow("labelWidth") << "labelWidth" << "Width:" << QPoint(24, 34);
    QTest::newRow("labelHeight") << "labelHeight" << "Height:" << QPoint(24, 58);
    QTest::newRow("labelPx1") << "labelPx1" << "px" << QPoint(152, 34);
    QTest::newRow("labelPx2") << "labelPx2" << "px" << QPoint(152, 58);
    QTest::newRow("gCharDefSize") << "gCharDefSize" << "Defaults" << QPoint(8, 88);
    QTest::newRow("btnOk") << "btnOk" << "Ok" << QPoint(8, 112);
    QTest::newRow("btnCancel") << "btnCancel" << "Отмена" << QPoint(104, 112);
    QTest::newRow("gCharWidth") << "gCharWidth" << "" << QPoint(72, 32);
    QTest::newRow("gCharHeight") << "gCharHeight" << "" << QPoint(72, 56);
}

void TestFontSizeForm::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QPoint, place);

    FontWindows w;
    QWidget *control = w.fontSize.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->pos(), place);
    if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), text);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        QCOMPARE(button->text(), text);

    auto *caption = w.fontSize.findChild<QLabel *>(QStringLiteral("labelCaption"));
    QVERIFY(caption->font().bold());
    QCOMPARE(caption->alignment(), Qt::AlignCenter);
    QVERIFY(w.fontSize.findChild<QCheckBox *>(QStringLiteral("gCharDefSize"))->isChecked());
}

void TestFontSizeForm::tabOrder()
{
    FontWindows w;
    w.fontSize.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.fontSize));
    QCOMPARE(focusedControl(&w.fontSize), pushButton(w, "btnOk"));

    const QStringList order{"gCharWidth", "gCharHeight", "btnCancel", "gCharDefSize", "btnOk"};
    QStringList visited;
    for (int step = 0; step < order.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusedControl(&w.fontSize)->objectName();
    }
    QCOMPARE(visited, order);
}

void TestFontSizeForm::enterAndEscapeDoNotAnswer()
{
    FontWindows w;
    QVERIFY(!pushButton(w, "btnOk")->isDefault() && !pushButton(w, "btnOk")->autoDefault());
    QVERIFY(!pushButton(w, "btnCancel")->isDefault() && !pushButton(w, "btnCancel")->autoDefault());

    w.select(65);
    w.fontSize.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.fontSize));
    field(w, "gCharWidth")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(w.fontSize.isVisible());
    QCOMPARE(w.glyph(65).defined, std::uint8_t(0));

    // Enter on a focused button presses that button.
    pushButton(w, "btnCancel")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(w.fontSize.isHidden());
    QCOMPARE(w.glyph(65).defined, std::uint8_t(0));
}

void TestFontSizeForm::fieldReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("read");
    QTest::addColumn<QString>("afterFocusLeaves");

    QTest::newRow("in range") << "12" << 12 << "12";
    QTest::newRow("above") << "150" << 150 << "100";
    QTest::newRow("zero") << "0" << 0 << "1";
    QTest::newRow("negative") << "-5" << -5 << "1";
    QTest::newRow("empty reads 1") << "" << 1 << "";
    QTest::newRow("a sign alone reads 1") << "-" << 1 << "-";
    QTest::newRow("beyond 32 bits reads 1") << "99999999999" << 1 << "99999999999";
    QTest::newRow("leading zeros") << "007" << 7 << "007";
}

void TestFontSizeForm::fieldReading()
{
    QFETCH(QString, text);
    QFETCH(int, read);
    QFETCH(QString, afterFocusLeaves);

    FontWindows w;
    w.fontSize.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.fontSize));
    ui::SpinField *width = field(w, "gCharWidth");
    width->setFocus();
    width->findChild<QLineEdit *>()->setText(text);
    QCOMPARE(width->value(), read);

    field(w, "gCharHeight")->setFocus();
    QCOMPARE(width->text(), afterFocusLeaves);
}

// The fields reach 100, or the current glyph's own size where it is larger.
void TestFontSizeForm::fieldLimits_data()
{
    QTest::addColumn<int>("glyphSide");  // the current glyph's width and height; 0 for none
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("limit");

    QTest::newRow("0") << 0 << 0 << "1" << 100;
    QTest::newRow("negative") << 0 << -8 << "1" << 100;
    QTest::newRow("1") << 0 << 1 << "1" << 100;
    QTest::newRow("100") << 0 << 100 << "100" << 100;
    QTest::newRow("101") << 0 << 101 << "100" << 100;
    QTest::newRow("101 with a glyph of 40") << 40 << 101 << "100" << 100;
    QTest::newRow("120 with a glyph of 120") << 120 << 120 << "120" << 120;
    QTest::newRow("150 with a glyph of 120") << 120 << 150 << "120" << 120;
    QTest::newRow("300 with a glyph of 300") << 300 << 300 << "300" << 300;
}

void TestFontSizeForm::fieldLimits()
{
    QFETCH(int, glyphSide);
    QFETCH(int, set);
    QFETCH(QString, shown);
    QFETCH(int, limit);

    FontWindows w;
    if (glyphSide > 0)
        w.workspace.glyphs.setGlyphSize(70, glyphSide, glyphSide);
    w.select(70);
    w.fontSize.setFields(set, set);
    QCOMPARE(field(w, "gCharWidth")->text(), shown);
    QCOMPARE(field(w, "gCharHeight")->text(), shown);

    // Typing takes digits only; the arrows stay within the limits.
    ui::SpinField *width = field(w, "gCharWidth");
    width->findChild<QLineEdit *>()->clear();
    QTest::keyClicks(width, QStringLiteral("4x2"));
    QCOMPARE(width->text(), QStringLiteral("42"));
    width->setValue(set);
    width->stepBy(1);
    QCOMPARE(width->value(), std::clamp(set + 1, 2, limit));

    // The limits follow the glyph the dialog is opened for.
    w.select(71);
    w.fontSize.setFields(set, set);
    QCOMPARE(field(w, "gCharWidth")->text(), QString::number(std::clamp(set, 1, 100)));
}

// Change size on a glyph larger than 100 pixels, answered with a plain OK,
// leaves its pixels as they were.
void TestFontSizeForm::plainOkKeepsALargeGlyph_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("wide") << QSize(120, 3);
    QTest::newRow("high") << QSize(2, 130);
    QTest::newRow("both") << QSize(101, 150);
}

void TestFontSizeForm::plainOkKeepsALargeGlyph()
{
    QFETCH(QSize, size);
    FontWindows w;
    w.workspace.settings.pixelSize = 1;
    w.workspace.glyphs.setGlyphSize(90, size.width(), size.height());
    font::tGraphChar &glyph = w.glyph(90);
    glyph.defined = 1;
    for (int x = 0; x < size.width(); ++x)
        for (int y = 0; y < size.height(); ++y)
            glyph.pixels[std::size_t(x)][std::size_t(y)] = raster::Colour(x * 1000 + y);
    const font::tGraphChar before = glyph;
    w.select(90);
    w.whenSizeDialogOpens(nullptr, "btnOk");
    w.font.pmSetGCharSizeClick();

    QCOMPARE(w.glyph(90).width, size.width());
    QCOMPARE(w.glyph(90).height, size.height());
    QVERIFY(w.glyph(90).pixels == before.pixels);
    QCOMPARE(QSize(w.workspace.settings.defaultGlyphWidth, w.workspace.settings.defaultGlyphHeight), size);
}

void TestFontSizeForm::ok_data()
{
    QTest::addColumn<QStringList>("before");  // empty: undefined
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("smaller drops pixels") << QStringList{"rgb", "#y.", "bbb"} << QSize(2, 2)
                                          << QStringList{"rg", "#y"};
    QTest::newRow("larger adds white") << QStringList{"rg", "b#"} << QSize(3, 3)
                                       << QStringList{"rg.", "b#.", "..."};
    QTest::newRow("wider, lower") << QStringList{"rg", "b#"} << QSize(3, 1) << QStringList{"rg."};
    QTest::newRow("same size") << QStringList{"rg", "b#"} << QSize(2, 2) << QStringList{"rg", "b#"};
    QTest::newRow("undefined becomes white") << QStringList{} << QSize(3, 2) << QStringList{"...", "..."};
}

void TestFontSizeForm::ok()
{
    QFETCH(QStringList, before);
    QFETCH(QSize, size);
    QFETCH(QStringList, after);

    FontWindows w;
    w.workspace.settings.pixelSize = 40;
    if (!before.isEmpty())
        w.define(77, before);
    w.select(77);
    w.whenSizeDialogOpens([&](ui::TfontSizeForm &dialog) { dialog.setFields(size.width(), size.height()); },
                          "btnOk");
    w.font.findChild<QAction *>(QStringLiteral("pmSetGCharSize"))->trigger();

    QCOMPARE(w.glyph(77).defined, std::uint8_t(1));
    QCOMPARE(pixelSketch(w.glyph(77)), after);
    QCOMPARE(rasterSketch(w.glyph(77).image), after);
    QVERIFY(w.workspace.fontModified);
    QCOMPARE(QSize(w.workspace.settings.defaultGlyphWidth, w.workspace.settings.defaultGlyphHeight), size);
    QVERIFY(w.fontSize.isHidden());
    QVERIFY(w.fontGraph.isVisible());
    QVERIFY(w.draw.isVisible());
    QCOMPARE(w.fontGraph.size(), QSize(size.width() * 40 + 2, size.height() * 40 + 2).expandedTo({100, 100}));

    // The glyph's cell turns cyan.
    auto *grid = w.font.findChild<ui::StringGrid *>(QStringLiteral("StringGrid"));
    const QImage cells = grid->grab().toImage();
    QCOMPARE(cells.pixel(grid->cellRect(77 % 16, 77 / 16).topLeft()), qRgb(0, 255, 255));
}

void TestFontSizeForm::everyOkSetsTheDefaultSize()
{
    FontWindows w;
    w.define(65, {"###", "###", "###", "###", "###"});
    w.select(65);
    // The change size item proposes the glyph's own size; OK keeps it and
    // makes it the default.
    w.whenSizeDialogOpens(nullptr, "btnOk");
    w.font.pmSetGCharSizeClick();
    QCOMPARE(w.workspace.settings.defaultGlyphWidth, 3);
    QCOMPARE(w.workspace.settings.defaultGlyphHeight, 5);

    // The next new glyph is proposed that size.
    w.select(66);
    w.whenSizeDialogOpens(nullptr, "btnOk");
    w.font.StringGridDblClick();
    QCOMPARE(w.glyph(66).width, 3);
    QCOMPARE(w.glyph(66).height, 5);
}

void TestFontSizeForm::cancel()
{
    FontWindows w;
    w.define(65, {"rg"});
    w.select(65);
    w.font.StringGridDblClick();
    w.select(66);
    w.whenSizeDialogOpens([](ui::TfontSizeForm &dialog) { dialog.setFields(20, 30); }, "btnCancel");
    w.font.StringGridDblClick();

    QCOMPARE(w.glyph(66).defined, std::uint8_t(0));
    QCOMPARE(w.glyph(66).width, 0);
    QVERIFY(w.fontGraph.isHidden());
    QVERIFY(w.fontSize.isHidden());
    QVERIFY(!w.workspace.fontModified);
    QCOMPARE(w.workspace.settings.defaultGlyphWidth, 8);
    QCOMPARE(w.workspace.settings.defaultGlyphHeight, 8);
}

void TestFontSizeForm::shrunkEmptyGlyphStaysWhite()
{
    FontWindows w;
    w.select(66);
    w.draw.findChild<QAction *>(QStringLiteral("tbGCharWidthDec"))->trigger();
    w.fontSize.setFields(2, 2);
    w.fontSize.btnOkClick();
    QCOMPARE(pixelSketch(w.glyph(66)), QStringList({"..", ".."}));
    QCOMPARE(rasterSketch(w.glyph(66).image), QStringList({"..", ".."}));
}

QTEST_MAIN(TestFontSizeForm)
#include "tst_font_size_form.moc"
