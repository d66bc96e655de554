// Font > Kerning...: the pairs typed into the dialog, what it gives back, and
// the test text drawn with them at every change.

#include "font/test_glyphs.h"
#include "ui/kerning_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using namespace letterloom;
using letterloom::ui::TkerningForm;

namespace {

// The columns of the test text's first row that hold black, as "2,3,7,8".
QString blackColumns(const QImage &image)
{
    QStringList columns;
    for (int y = 0; y < image.height() && columns.isEmpty(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0)
                columns << QString::number(x);
    return columns.join(u',');
}

QString pairsText(const font::Kerning &kerning)
{
    QStringList pairs;
    for (const font::KerningPair &pair : kerning.pairs())
        pairs << QStringLiteral("%1,%2,%3").arg(pair.left).arg(pair.right).arg(pair.amount);
    return pairs.join(u' ');
}

}  // namespace

class TestKerningForm : public QObject {
    Q_OBJECT

private slots:
    // Steps: "left=X", "right=X", "pixels=N", "sample=TEXT" fill a field,
    // "row=N" chooses a listed pair, "set" and "remove" click. Glyphs A, V and
    // code 192 are 2 pixels wide; the font starts with A V at -1.
    void steps_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("pairs");    // "left,right,pixels" in code order
        QTest::addColumn<QString>("columns");  // of the test text "AV" as drawn
        QTest::addColumn<QString>("status");
        QTest::newRow("the font's pairs at the start") << "" << QStringList{} << "65,86,-1" << "2,3,4" << "1 pair";
        QTest::newRow("a pair set again") << "" << QStringList{"left=A", "right=V", "pixels=3", "set"} << "65,86,3"
                                          << "2,3,7,8" << "1 pair";
        QTest::newRow("a new pair") << "" << QStringList{"left=V", "right=A", "pixels=-2", "set"}
                                    << "65,86,-1 86,65,-2" << "2,3,4" << "2 pairs";
        QTest::newRow("a listed pair removed") << "" << QStringList{"row=0", "remove"} << "" << "2,3,4,5" << "0 pairs";
        QTest::newRow("codes typed as escapes") << "" << QStringList{"left=$65", "right=$86", "pixels=64", "set"}
                                                << "65,86,64" << "2,3,68,69" << "1 pair";
        QTest::newRow("two characters are no pair")
            << "" << QStringList{"left=AV", "right=V", "pixels=5", "set"} << "65,86,-1" << "2,3,4"
            << "Type one character of the font on each side (or $ and its code)";
        QTest::newRow("through the character map")
            << "windows-1251" << QStringList{"left=A", "right=\u0410", "pixels=1", "set", "sample=A\u0410"}
            << "65,86,-1 65,192,1" << "2,3,5,6" << "2 pairs";
    }

    void steps()
    {
        QFETCH(QString, map);
        QFETCH(QStringList, steps);
        QFETCH(QString, pairs);
        QFETCH(QString, columns);
        QFETCH(QString, status);
        const font::GlyphTable glyphs = font::test::tableOf({{65, {"##"}}, {86, {"##"}}, {192, {"##"}}});
        const font::CharMap charMap = map.isEmpty() ? font::CharMap() : font::CharMap::fromCodePage(map);
        TkerningForm form(glyphs, font::Kerning({{65, 86, -1}}), charMap);
        form.findChild<QLineEdit *>("edSample")->setText(QStringLiteral("AV"));
        for (const QString &step : steps) {
            const qsizetype at = step.indexOf(u'=');
            const QString name = step.left(at), value = step.mid(at + 1);
            if (name == u"left" || name == u"right" || name == u"sample")
                form.findChild<QLineEdit *>(name == u"left" ? "edLeft" : name == u"right" ? "edRight" : "edSample")
                    ->setText(value);
            else if (name == u"pixels")
                form.findChild<QSpinBox *>("sePixels")->setValue(value.toInt());
            else if (name == u"row")
                form.findChild<QTableWidget *>("tbPairs")->selectRow(value.toInt());
            else
                form.findChild<QPushButton *>(name == u"set" ? "btSet" : "btRemove")->click();
        }
        QCOMPARE(pairsText(form.kerning()), pairs);
        QCOMPARE(blackColumns(form.preview()), columns);
        QCOMPARE(form.findChild<QLabel *>("lbStatus")->text(), status);
        auto *table = form.findChild<QTableWidget *>("tbPairs");
        QCOMPARE(table->rowCount(), qsizetype(form.kerning().pairs().size()));
        if (table->rowCount() > 0)
            QCOMPARE(table->item(0, 2)->text(), QString::number(form.kerning().pairs()[0].amount));
    }
};

QTEST_MAIN(TestKerningForm)
#include "tst_kerning_form.moc"
