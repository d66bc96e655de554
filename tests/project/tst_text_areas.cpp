#include "base/extension_block.h"
#include "base/file_io.h"
#include "project/compose_view.h"
#include "project/project_commands.h"
#include "project/project_file.h"
#include "project/text_areas.h"
#include "support/fake_effects.h"
#include "support/fake_prompter.h"
#include "text/font_description.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace letterloom;
using namespace letterloom::project;
using raster::Raster;

namespace {

constexpr raster::Colour kGrey = 0xC0C0C0;

QByteArray part(const QByteArray &bytes)
{
    QByteArray length(4, 0);
    for (int i = 0; i < 4; ++i)
        length[i] = char((bytes.size() >> (8 * i)) & 0xFF);
    return length + bytes;
}

// The three areas of the tests: left, centred and justified, side by side.
std::vector<AreaText> threeAreas()
{
    return {{{4, 6, 60, 40}, "ab abc\r\nabcd", 1, 10, {}, raster::kBlack, {}, {}},
            {{80, 10, 90, 50}, "abc ab a\r\n\r\nab", 2, 12, {}, raster::kBlack, {}, {}},
            {{190, 20, 70, 60}, "a ab a abc ab abcd", 4, 9, QJsonObject{{"later", 7}}, raster::kBlack, {}, {}}};
}

ProjectFile fileOf(const std::vector<AreaText> &areas)
{
    ProjectFile file;
    ProjectExtras extras;
    splitAreas(areas, file.settings, file.text, extras);
    file.extensions.keys = projectExtrasKeys(extras);
    return file;
}

// A workspace with a grey picture, no guides, the font of the tests and areas.
Workspace sceneWith(const std::vector<AreaText> &areas, QByteArray &text)
{
    Workspace workspace{QString()};
    workspace.glyphs = testing::fontFrom(QStringLiteral("a=3x8 b=5x8r c=4x8 d=6x8 32=3x8."));
    workspace.pictureLoaded = true;
    workspace.picture = Raster(300, 120);
    workspace.picture.fill(kGrey);
    workspace.settings.showHelp = 0;
    workspace.settings.showSelection = 0;
    text = setWorkspaceAreas(workspace, areas);
    return workspace;
}

Raster exported(const Workspace &workspace)
{
    Raster view(workspace.picture.width(), workspace.picture.height());
    ComposeView(workspace, view, true);
    return view;
}

bool inside(const TextArea &area, int x, int y)
{
    return x >= area.x && x < area.x + area.width && y >= area.y && y < area.y + area.height;
}

}  // namespace

class TestTextAreas : public QObject {
    Q_OBJECT

private slots:
    // The first area is the described one; the others follow in the block.
    void bytes_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("bytes");
        QByteArray first = QByteArray::fromHex("10 01 01 04000000 06000000 3c000000 28000000 01"
                                               "14000000 0a000000 08000000 08000000");
        first += part({}) + part("ab abc\r\nabcd") + part({});
        QTest::newRow("one area: no block") << 1 << first;
        const QByteArray json =
            R"({"areas":[{"alignment":2,"height":50,"lineSpacing":12,"text":"abc ab a\r\n\r\nab","width":90,"x":80,"y":10},)"
            R"({"alignment":4,"height":60,"later":7,"lineSpacing":9,"text":"a ab a abc ab abcd","width":70,"x":190,"y":20}]})";
        QTest::newRow("three areas") << 3 << first + extensionBlockBytes(QJsonDocument::fromJson(json).object());
        QCOMPARE(extensionBlockBytes(QJsonDocument::fromJson(json).object()).mid(8), json);
    }

    // Each area keeps its colour and effects: the first's in the block's
    // top-level keys, the others' in their objects of "areas".
    void look()
    {
        std::vector<AreaText> areas = threeAreas();
        areas[0].colour = raster::kWhite;
        areas[0].effects.outline = text::OutlineEffect{2, text::OutlineShape::Round, raster::kBlack};
        areas[2].colour = raster::rgb(0x12, 0x34, 0x56);
        areas[2].effects.plate = text::PlateEffect{4, raster::rgb(0xFF, 0xEE, 0)};
        const ProjectFile file = fileOf(areas);
        const QJsonObject keys = file.extensions.keys;
        QCOMPARE(keys.value("textColour").toString(), QStringLiteral("FFFFFF"));
        QCOMPARE(keys.value("effects").toObject().keys(), QStringList{"outline"});
        const QJsonArray others = keys.value("areas").toArray();
        QVERIFY(!others[0].toObject().contains("textColour") && !others[0].toObject().contains("effects"));
        QCOMPARE(others[1].toObject().value("textColour").toString(), QStringLiteral("123456"));
        QCOMPARE(others[1].toObject().value("effects").toObject().value("plate").toObject().value("colour"),
                 QJsonValue("FFEE00"));
        const ProjectFile parsed = parseProject(projectBytes(file));
        QStringList notices;
        QCOMPARE(joinAreas(parsed.settings, parsed.text, extrasOf(parsed, {}, notices)), areas);
        QCOMPARE(notices, QStringList());
    }

    // Effects reach past the frame, as far as they go but not past the
    // picture, alike on the screen and in the export; without effects the
    // frame holds the text.
    void effectsPastTheFrame()
    {
        QByteArray text;
        std::vector<AreaText> areas{{{2, 20, 40, 30}, "aaa", 1, 10, {}, raster::kBlack, {}, {}}};
        Workspace workspace = sceneWith(areas, text);
        refreshAreas(workspace, text, raster::kWhite);
        const Raster plain = exported(workspace);
        workspace.effects.outline = text::OutlineEffect{3, text::OutlineShape::Square, raster::kRed};
        workspace.effects.shadow = text::ShadowEffect{-4, 0, raster::kBlack};
        Raster screen(workspace.picture.width(), workspace.picture.height());
        ComposeView(workspace, screen, false);
        const Raster withEffects = exported(workspace);
        QCOMPARE(screen, withEffects);
        // The glyphs ('a', 3 x 8) stand on columns 4 .. 12, rows 26 .. 33 of
        // the picture; white text leaves the plain picture grey.
        QCOMPARE(plain, [&] { Raster grey(300, 120); grey.fill(kGrey); return grey; }());
        QCOMPARE(withEffects.pixel(4, 26), raster::kWhite);
        QCOMPARE(withEffects.pixel(1, 26), raster::kRed);     // outside the frame, which starts at 2
        QCOMPARE(withEffects.pixel(4, 23), raster::kRed);     // above the text, inside the frame
        QCOMPARE(withEffects.pixel(0, 26), raster::kBlack);   // shadow of the outline, cut at the picture
        QCOMPARE(withEffects.pixel(14, 26), raster::kRed);
        QCOMPARE(withEffects.pixel(16, 26), kGrey);
    }

    void bytes()
    {
        QFETCH(int, count);
        QFETCH(QByteArray, bytes);
        std::vector<AreaText> areas = threeAreas();
        areas.resize(size_t(count));
        QCOMPARE(projectBytes(fileOf(areas)), bytes);

        const ProjectFile parsed = parseProject(bytes);
        QStringList notices;
        const ProjectExtras extras = extrasOf(parsed, QStringLiteral("p.llp"), notices);
        QCOMPARE(notices, QStringList());
        QCOMPARE(joinAreas(parsed.settings, parsed.text, extras), areas);
        QVERIFY(extras.otherKeys.isEmpty());
    }

    // Every byte of a text survives as the character of its code.
    void textBytes()
    {
        QByteArray all;
        for (int code = 0; code < 256; ++code)
            all += char(code);
        std::vector<AreaText> areas = threeAreas();
        areas[2].text = all;
        const QJsonObject object = areaJson(areas[2]);
        QCOMPARE(object.value("text").toString().size(), 256);
        QCOMPARE(object.value("text").toString().at(255), QChar(0xFF));
        const QByteArray bytes = projectBytes(fileOf(areas));
        QStringList notices;
        QCOMPARE(extrasOf(parseProject(bytes), {}, notices).areas.back().text, all);
    }

    // An area whose values cannot be used is left out and named; the others
    // keep their places.
    void badAreas_data()
    {
        QTest::addColumn<QJsonValue>("bad");
        QTest::newRow("not an object") << QJsonValue(3);
        QTest::newRow("x not a number") << QJsonValue(QJsonObject{{"x", "4"}});
        QTest::newRow("width not whole") << QJsonValue(QJsonObject{{"width", 2.5}});
        QTest::newRow("height past 32 bits") << QJsonValue(QJsonObject{{"height", 4294967296.0}});
        QTest::newRow("alignment past a byte") << QJsonValue(QJsonObject{{"alignment", 256}});
        QTest::newRow("text not a string") << QJsonValue(QJsonObject{{"text", QJsonArray{1}}});
        QTest::newRow("text past U+00FF") << QJsonValue(QJsonObject{{"text", QString(QChar(0x416))}});
        QTest::newRow("colour not RRGGBB") << QJsonValue(QJsonObject{{"textColour", "#FFFFFF"}});
        QTest::newRow("round outline of 9")
            << QJsonValue(QJsonObject{{"effects", QJsonObject{{"outline", QJsonObject{{"size", 9}}}}}});
    }

    void badAreas()
    {
        QFETCH(QJsonValue, bad);
        const QJsonObject good = areaJson(threeAreas()[1]);
        ProjectFile file;
        file.extensions.keys = QJsonObject{{"areas", QJsonArray{good, bad, QJsonObject{}}}};
        QStringList notices;
        const ProjectExtras extras = extrasOf(parseProject(projectBytes(file)), QStringLiteral("p.llp"), notices);
        QCOMPARE(notices, QStringList{droppedKeysNotice(QStringLiteral("p.llp"), {QStringLiteral("areas[1]")})});
        QCOMPARE(extras.areas.size(), size_t(2));
        QCOMPARE(extras.areas[0], threeAreas()[1]);
        QCOMPARE(extras.areas[1], AreaText{});  // missing keys take the start-up values
    }

    // A list of as many areas as a project holds, or more, beside the first,
    // is left out whole: a file of a few bytes an area would otherwise cost
    // hundreds of bytes for each of them.
    void areaCount_data()
    {
        QTest::addColumn<int>("listed");
        QTest::addColumn<bool>("read");
        QTest::newRow("as many as a project holds") << kMaxAreas - 1 << true;
        QTest::newRow("one more") << kMaxAreas << false;
    }

    void areaCount()
    {
        QFETCH(int, listed);
        QFETCH(bool, read);
        QJsonArray list;
        for (int i = 0; i < listed; ++i)
            list.append(QJsonObject{});
        ProjectFile file;
        file.extensions.keys = QJsonObject{{"areas", list}};
        QStringList notices;
        const ProjectExtras extras = extrasOf(parseProject(projectBytes(file)), QStringLiteral("p.llp"), notices);
        QCOMPARE(extras.areas.size(), read ? size_t(listed) : size_t(0));
        QCOMPARE(notices, read ? QStringList{}
                               : QStringList{droppedKeysNotice(QStringLiteral("p.llp"), {QStringLiteral("areas")})});
    }

    // Each area of a picture lays out and draws as it would as the only one,
    // whichever is current.
    void layoutsAndPixels_data()
    {
        QTest::addColumn<int>("current");
        QTest::newRow("first current") << 0;
        QTest::newRow("second current") << 1;
        QTest::newRow("third current") << 2;
    }

    void layoutsAndPixels()
    {
        QFETCH(int, current);
        QByteArray text;
        std::vector<AreaText> areas = threeAreas();
        for (AreaText &area : areas)
            area.colour = raster::rgb(0, 0, 0x80);
        Workspace workspace = sceneWith(areas, text);
        text = switchArea(workspace, text, current);
        QCOMPARE(text, threeAreas()[size_t(current)].text);
        const std::vector<text::Notice> notices = refreshAreas(workspace, text, raster::rgb(0, 0, 0x80));
        // Left out of the current area and back: nothing changes.
        text = switchArea(workspace, switchArea(workspace, text, (current + 1) % 3), current);
        const Raster all = exported(workspace);

        for (size_t i = 0; i < 3; ++i) {
            const AreaText area = threeAreas()[i];
            QByteArray alone;
            Workspace single = sceneWith({area}, alone);
            QCOMPARE(refreshAreas(single, alone, raster::rgb(0, 0, 0x80)), std::vector{notices[i]});
            QCOMPARE(int(i) == current ? workspace.lines : workspace.areas[i].lines, single.lines);
            QVERIFY(!single.lines.empty());
            const Raster one = exported(single);
            QVERIFY(one != single.picture);
            for (int y = 0; y < all.height(); ++y)
                for (int x = 0; x < all.width(); ++x)
                    if (inside(area.rect, x, y))
                        QCOMPARE(all.pixel(x, y), one.pixel(x, y));
        }
        for (int y = 0; y < all.height(); ++y)
            for (int x = 0; x < all.width(); ++x)
                if (!inside(threeAreas()[0].rect, x, y) && !inside(threeAreas()[1].rect, x, y)
                    && !inside(threeAreas()[2].rect, x, y))
                    QCOMPARE(all.pixel(x, y), kGrey);
        QCOMPARE(workspaceAreas(workspace, text), areas);
    }

    // New and Delete on the workspace: the order of the others stays.
    void addAndRemove()
    {
        QByteArray text;
        Workspace workspace = sceneWith(threeAreas(), text);
        text = switchArea(workspace, text, 1);
        text = addArea(workspace, "changed");
        QCOMPARE(workspace.currentArea, 3);
        QCOMPARE(text, QByteArray());
        std::vector<AreaText> expected = threeAreas();
        expected[1].text = "changed";
        expected.push_back({{}, {}, 2, 12, {}, raster::kBlack, {}, {}});
        QCOMPARE(workspaceAreas(workspace, text), expected);

        text = switchArea(workspace, text, 0);
        text = removeCurrentArea(workspace);
        QCOMPARE(workspace.currentArea, 0);
        expected.erase(expected.begin());
        QCOMPARE(text, expected[0].text);
        QCOMPARE(workspaceAreas(workspace, text), expected);
        text = switchArea(workspace, text, 2);
        text = removeCurrentArea(workspace);
        QCOMPARE(workspace.currentArea, 1);
        expected.erase(expected.begin() + 2);
        QCOMPARE(workspaceAreas(workspace, text), expected);
        removeCurrentArea(workspace);
        removeCurrentArea(workspace);  // the only one stays
        QCOMPARE(workspace.areas.size(), size_t(1));
    }

    // The Edit menu's area commands and a plain click, step by step from the
    // first of threeAreas(): "type T" puts T in the text input window, "click
    // X Y" clicks the image view. Every step that changes the current area
    // or the number of areas moves the revision.
    void areaCommands_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<int>("current");  // counted from 1, as the caption does
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("text");  // what the text input window shows
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("areaChanged");
        const QByteArrayList texts{threeAreas()[0].text, threeAreas()[1].text, threeAreas()[2].text};
        const QString deleteTwo = QStringLiteral("ask: You really want to delete text area 2 of 3 and its text?");
        QTest::newRow("next") << QStringList{"next"} << "" << 2 << 3 << texts[1] << QStringList{} << false;
        QTest::newRow("previous goes round to the last") << QStringList{"previous"} << "" << 3 << 3 << texts[2]
                                                         << QStringList{} << false;
        QTest::newRow("three times next comes back") << QStringList{"next", "next", "next"} << "" << 1 << 3 << texts[0]
                                                     << QStringList{} << false;
        QTest::newRow("typed text stays with its area") << QStringList{"type typed", "next", "type more", "previous"}
                                                        << "" << 1 << 3 << QByteArray("typed") << QStringList{} << false;
        QTest::newRow("a click in the third area") << QStringList{"click 200 30"} << "" << 3 << 3 << texts[2]
                                                   << QStringList{} << false;
        QTest::newRow("a click on another frame's far corner") << QStringList{"click 170 60"} << "" << 2 << 3 << texts[1]
                                                               << QStringList{} << false;
        QTest::newRow("a click inside the current area keeps it") << QStringList{"next", "click 100 30"} << "" << 2 << 3
                                                                  << texts[1] << QStringList{} << false;
        QTest::newRow("a click beside every area") << QStringList{"click 75 5"} << "" << 1 << 3 << texts[0]
                                                   << QStringList{} << false;
        QTest::newRow("new area, empty, unsaved") << QStringList{"new"} << "" << 4 << 4 << QByteArray()
                                                  << QStringList{} << true;
        QTest::newRow("no new area past the most a project holds")
            << QStringList{"fill", "new"} << "" << kMaxAreas << kMaxAreas << QByteArray()
            << QStringList{"notice: A project holds at most 1024 text areas."} << true;
        QTest::newRow("delete, yes") << QStringList{"next", "delete"} << "Yes" << 1 << 2 << texts[0]
                                     << QStringList{deleteTwo} << true;
        QTest::newRow("delete, no") << QStringList{"next", "delete"} << "No" << 2 << 3 << texts[1]
                                    << QStringList{deleteTwo} << false;
        QTest::newRow("the only area is not deleted")
            << QStringList{"delete", "delete", "delete"} << "Yes Yes" << 1 << 1 << texts[2]
            << QStringList{"ask: You really want to delete text area 1 of 3 and its text?",
                           "ask: You really want to delete text area 1 of 2 and its text?",
                           "notice: The only text area of a project cannot be deleted."}
            << true;
    }

    void areaCommands()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, answers);
        QFETCH(int, current);
        QFETCH(int, count);
        QFETCH(QByteArray, text);
        QFETCH(QStringList, log);
        QFETCH(bool, areaChanged);
        testing::FakePrompter prompter;
        testing::FakeEffects effects;
        Workspace workspace = sceneWith(threeAreas(), effects.textBytes);
        ProjectCommands commands(workspace, prompter, effects);
        effects.textCaption = QStringLiteral("Text Input Window - 1 of 3");  // as Open leaves it
        for (const QString &word : answers.split(u' ', Qt::SkipEmptyParts))
            prompter.answer(word == u"Yes" ? Answer::Yes : Answer::No);
        for (const QString &step : steps) {
            const QStringList words = step.split(u' ');
            const auto before = std::make_tuple(workspace.revision(), workspace.currentArea, workspace.areas.size());
            if (words[0] == u"type")
                effects.textBytes = words[1].toLatin1();
            else if (words[0] == u"click")
                commands.selectTextAreaAt({words[1].toInt(), words[2].toInt()});
            else if (words[0] == u"next")
                commands.nextTextArea();
            else if (words[0] == u"previous")
                commands.previousTextArea();
            else if (words[0] == u"new")
                commands.newTextArea();
            else if (words[0] == u"fill")
                while (workspace.areas.size() < size_t(kMaxAreas))
                    commands.newTextArea();
            else
                commands.deleteTextArea();
            if (std::get<1>(before) != workspace.currentArea || std::get<2>(before) != workspace.areas.size())
                QVERIFY2(workspace.revision() > std::get<0>(before), qPrintable(step));
        }
        QCOMPARE(workspace.currentArea + 1, current);
        QCOMPARE(int(workspace.areas.size()), count);
        QCOMPARE(effects.textBytes, text);
        QCOMPARE(prompter.log, log);
        QCOMPARE(workspace.areaChanged, areaChanged);
        QCOMPARE(effects.textCaption, count > 1 ? QStringLiteral("Text Input Window - %1 of %2").arg(current).arg(count)
                                                : QStringLiteral("Text Input Window"));
        // The toolbars show the current area's values.
        if (effects.shownSettings) {
            QCOMPARE(effects.shownSettings->area, workspace.settings.area);
            QCOMPARE(effects.shownSettings->lineSpacing, workspaceAreas(workspace, text)[size_t(current - 1)].lineSpacing);
            QCOMPARE(effects.shownSettings->alignment, workspaceAreas(workspace, text)[size_t(current - 1)].alignment);
        }
    }

    // Open shows the first area, and says so in the text input window's caption.
    void openShowsTheFirstOfSeveral()
    {
        QTemporaryDir dir;
        ProjectFile file = fileOf(threeAreas());
        file.pictureBmp = Raster(300, 120).toBmp();
        writeWholeFile(dir.filePath("three.llp"), projectBytes(file));
        testing::FakePrompter prompter;
        testing::FakeEffects effects;
        Workspace workspace{dir.path() + u'/'};
        ProjectCommands commands(workspace, prompter, effects);
        commands.openProject(dir.filePath("three.llp"));
        QCOMPARE(workspace.areas.size(), size_t(3));
        QCOMPARE(effects.textBytes, threeAreas()[0].text);
        QCOMPARE(effects.textCaption, QStringLiteral("Text Input Window - 1 of 3"));
    }

    void notices_data()
    {
        QTest::addColumn<std::vector<text::Notice>>("notices");
        QTest::addColumn<QString>("shown");
        using text::Notice;
        QTest::newRow("one area fits") << std::vector{Notice::None} << QString();
        QTest::newRow("one area, width") << std::vector{Notice::Width} << text::noticeText(Notice::Width);
        QTest::newRow("three fit") << std::vector{Notice::None, Notice::None, Notice::None} << QString();
        QTest::newRow("second and third do not")
            << std::vector{Notice::None, Notice::Height, Notice::Width}
            << QStringLiteral("Text area 2: %1\nText area 3: %2")
                   .arg(text::noticeText(Notice::Height), text::noticeText(Notice::Width));
    }

    void notices()
    {
        QFETCH(std::vector<text::Notice>, notices);
        QFETCH(QString, shown);
        QCOMPARE(areasNotice(notices), shown);
    }
};

QTEST_GUILESS_MAIN(TestTextAreas)
#include "tst_text_areas.moc"
