// The image view's geometry at a zoom: which picture pixel lies under a
// point, where scroll bars are needed, and the point kept by a zoom change.

#include "project/view_zoom.h"

#include <QTest>

using namespace letterloom::project;

Q_DECLARE_METATYPE(ViewLayout)

class TestViewZoom : public QObject {
    Q_OBJECT

private slots:
    void pictureUnderAPoint_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QPoint>("origin");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("pixel");
        QTest::newRow("3x, first point of a pixel") << QPoint(150, 120) << QPoint(0, 0) << 3 << QPoint(50, 40);
        QTest::newRow("3x, last point of a pixel") << QPoint(152, 122) << QPoint(0, 0) << 3 << QPoint(50, 40);
        QTest::newRow("4x, scrolled") << QPoint(10, 0) << QPoint(400, 36) << 4 << QPoint(102, 9);
        QTest::newRow("2x, just left of the view") << QPoint(-1, -2) << QPoint(0, 0) << 2 << QPoint(-1, -1);
        QTest::newRow("8x, left of the view, scrolled") << QPoint(-9, 0) << QPoint(8, 0) << 8 << QPoint(-1, 0);
    }
    void pictureUnderAPoint()
    {
        QFETCH(QPoint, at);
        QFETCH(QPoint, origin);
        QFETCH(int, zoom);
        QFETCH(QPoint, pixel);
        QCOMPARE(toPicture(at, origin, zoom), pixel);
    }

    void scrollBars_data()
    {
        QTest::addColumn<QSize>("content");
        QTest::addColumn<ViewLayout>("layout");
        // In a room of 1000 x 700, with bars 15 pixels thick.
        QTest::newRow("fits exactly") << QSize(1000, 700) << ViewLayout{{1000, 700}, false, false, {1000, 700}};
        QTest::newRow("too wide") << QSize(2000, 300) << ViewLayout{{1000, 300}, true, false, {1000, 315}};
        QTest::newRow("too high") << QSize(500, 1400) << ViewLayout{{500, 700}, false, true, {515, 700}};
        // The bar of one side leaves too little room on the other.
        QTest::newRow("too wide, then too high") << QSize(2000, 690) << ViewLayout{{985, 685}, true, true, {1000, 700}};
        QTest::newRow("too high, then too wide") << QSize(995, 800) << ViewLayout{{985, 685}, true, true, {1000, 700}};
        QTest::newRow("too wide, high enough beside the bar") << QSize(1200, 685)
                                                              << ViewLayout{{1000, 685}, true, false, {1000, 700}};
    }
    void scrollBars()
    {
        QFETCH(QSize, content);
        QFETCH(ViewLayout, layout);
        QCOMPARE(layOutView(content, QSize(1000, 700), 15), layout);
    }

    // The picture point under the anchor stays under it.
    void zoomKeepsTheAnchoredPoint()
    {
        const QPoint at(120, 90);
        for (const auto &[from, to] : {std::pair{1, 2}, {2, 8}, {6, 4}, {3, 1}}) {
            const QPoint origin(48 * from, 30 * from);
            QCOMPARE(toPicture(at, originKeeping(at, origin, from, to), to), toPicture(at, origin, from));
        }
    }
};

QTEST_GUILESS_MAIN(TestViewZoom)
#include "tst_view_zoom.moc"
