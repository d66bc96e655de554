// Edit > Text Effects...: what each control puts in the workspace, the flag
// it sets, and the window following the project.

#include "project/workspace.h"
#include "support/fake_prompter.h"
#include "ui/application.h"
#include "ui/effects_form.h"
#include "ui/main_form.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using letterloom::testing::FakePrompter;
using letterloom::ui::Shell;
using letterloom::ui::TeffectsForm;

Q_DECLARE_METATYPE(letterloom::text::Effects)

class TestEffectsForm : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    static TeffectsForm *open(Shell &shell)
    {
        shell.windows().main->findChild<QAction *>(QStringLiteral("mmTextEffects"))->trigger();
        return shell.windows().effects;
    }

private slots:
    // Steps: "X" clicks the check box or button X, "X=N" sets spin box or
    // list X; a colour button takes the next scripted colour.
    void controls_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("colours");
        QTest::addColumn<text::Effects>("expected");
        using text::OutlineShape;
        text::Effects outline;
        outline.outline = text::OutlineEffect{3, OutlineShape::Round, raster::kRed};
        QTest::newRow("round red outline of 3")
            << QStringList{"cbOutline", "seOutlineSize=3", "cbOutlineShape=1", "btOutlineColour"}
            << QList<int>{int(raster::kRed)} << outline;
        text::Effects shadow;
        shadow.shadow = text::ShadowEffect{-16, 5, raster::kBlack};
        QTest::newRow("shadow, colour cancelled")
            << QStringList{"seShadowX=-20", "seShadowY=5", "cbShadow", "btShadowColour"} << QList<int>{-1} << shadow;
        text::Effects plate;
        plate.plate = text::PlateEffect{32, 0x00FFFF};
        QTest::newRow("plate of 32 in yellow") << QStringList{"cbPlate", "sePlatePadding=40", "btPlateColour"}
                                               << QList<int>{0x00FFFF} << plate;
        QTest::newRow("on and off again") << QStringList{"cbOutline", "cbShadow", "cbOutline", "cbShadow"}
                                          << QList<int>{} << text::Effects{};
    }

    void controls()
    {
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, colours);
        QFETCH(text::Effects, expected);
        FakePrompter prompter;
        for (const int colour : colours)
            prompter.colours.push_back(colour < 0 ? std::nullopt : std::optional(raster::Colour(colour)));
        Shell shell(prompter, dir_.path());
        project::Workspace &workspace = shell.workspace();
        TeffectsForm *form = open(shell);
        QVERIFY(form && form->isVisible());
        const std::uint64_t revision = workspace.revision();
        for (const QString &step : steps) {
            const QStringList parts = step.split(u'=');
            QWidget *control = form->findChild<QWidget *>(parts[0]);
            QVERIFY2(control, qPrintable(step));
            if (parts.size() == 1)
                qobject_cast<QAbstractButton *>(control)->click();
            else if (auto *spin = qobject_cast<QSpinBox *>(control))
                spin->setValue(parts[1].toInt());
            else
                qobject_cast<QComboBox *>(control)->setCurrentIndex(parts[1].toInt());
        }
        QCOMPARE(workspace.effects, expected);
        QCOMPARE(form->effects(), expected);
        QVERIFY(workspace.effectsChanged);
        QVERIFY(workspace.revision() > revision);
        QVERIFY(!workspace.textChanged && !workspace.areaChanged && !workspace.pictureChanged);

        // New takes the effects away, and the window follows.
        prompter.answer(project::Answer::No);
        shell.windows().main->findChild<QAction *>(QStringLiteral("mmNewProject"))->trigger();
        QCOMPARE(workspace.effects, text::Effects());
        QVERIFY(!workspace.effectsChanged);
        shell.windows().main->StatusTimerTimer();
        QCOMPARE(form->effects(), text::Effects());
        QVERIFY(!form->findChild<QCheckBox *>(QStringLiteral("cbOutline"))->isChecked());
    }

    // Edit > Text Spacing... opens the same window on the tracking box; the
    // two boxes are the current area's spacing, held to their range, and
    // unsaved project work until New.
    void spacing()
    {
        FakePrompter prompter;
        Shell shell(prompter, dir_.path());
        project::Workspace &workspace = shell.workspace();
        shell.windows().main->findChild<QAction *>(QStringLiteral("mmTextSpacing"))->trigger();
        TeffectsForm *form = shell.windows().effects;
        QVERIFY(form && form->isVisible());
        auto *tracking = form->findChild<QSpinBox *>(QStringLiteral("seTracking"));
        auto *wordSpacing = form->findChild<QSpinBox *>(QStringLiteral("seWordSpacing"));
        QCOMPARE(form->focusWidget(), tracking);
        const std::uint64_t revision = workspace.revision();
        tracking->setValue(-20);
        wordSpacing->setValue(20);
        QCOMPARE(workspace.spacing, (text::Spacing{-8, 16}));
        QVERIFY(workspace.spacingChanged);
        QVERIFY(workspace.revision() > revision);
        QCOMPARE(workspace.effects, text::Effects());
        QVERIFY(!workspace.effectsChanged && !workspace.textChanged && !workspace.areaChanged);

        prompter.answer(project::Answer::No);
        shell.windows().main->findChild<QAction *>(QStringLiteral("mmNewProject"))->trigger();
        QCOMPARE(workspace.spacing, text::Spacing());
        QVERIFY(!workspace.spacingChanged);
        shell.windows().main->StatusTimerTimer();
        QCOMPARE(form->spacing(), text::Spacing());
        QCOMPARE(tracking->value(), 0);
    }
};

QTEST_MAIN(TestEffectsForm)
#include "tst_effects_form.moc"
