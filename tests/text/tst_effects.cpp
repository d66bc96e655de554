#include "text/effects.h"

#include <QRandomGenerator>
#include <QTest>

using namespace letterloom;
using namespace letterloom::text;
using raster::Colour;
using raster::Raster;

namespace {

TextMask randomMask(QRandomGenerator &random, int width, int height, int percent)
{
    TextMask mask{width, height, std::vector<std::uint8_t>(size_t(width) * size_t(height))};
    for (std::uint8_t &bit : mask.bits)
        bit = random.bounded(100) < percent;
    return mask;
}

bool masked(const TextMask &mask, int x, int y)
{
    return x >= 0 && y >= 0 && x < mask.width && y < mask.height && mask.at(x, y);
}

// The parts straight from their definitions, pixel by pixel, in the mask's
// coordinates (the layer starts at -margin).
LayerPart referencePart(const TextMask &mask, const Effects &effects, int x, int y)
{
    const auto nearText = [&](int px, int py) {
        if (masked(mask, px, py))
            return true;
        if (!effects.outline)
            return false;
        const int n = effects.outline->size;
        for (int dy = -n; dy <= n; ++dy)
            for (int dx = -n; dx <= n; ++dx)
                if ((effects.outline->shape == OutlineShape::Square || dx * dx + dy * dy <= n * n)
                    && masked(mask, px + dx, py + dy))
                    return true;
        return false;
    };
    if (masked(mask, x, y))
        return LayerPart::Text;
    if (nearText(x, y))
        return LayerPart::Outline;
    if (effects.shadow && nearText(x - effects.shadow->dx, y - effects.shadow->dy))
        return LayerPart::Shadow;
    if (effects.plate) {
        int left = mask.width, right = -1, top = mask.height, bottom = -1;
        for (int my = 0; my < mask.height; ++my)
            for (int mx = 0; mx < mask.width; ++mx)
                if (mask.at(mx, my)) {
                    left = std::min(left, mx), right = std::max(right, mx);
                    top = std::min(top, my), bottom = std::max(bottom, my);
                }
        const int p = effects.plate->padding;
        if (right >= 0 && x >= left - p && x <= right + p && y >= top - p && y <= bottom + p)
            return LayerPart::Plate;
    }
    return LayerPart::None;
}

Effects effectsFrom(int outline, bool round, int dx, int dy, int padding)
{
    Effects effects;
    if (outline > 0)
        effects.outline = OutlineEffect{outline, round ? OutlineShape::Round : OutlineShape::Square, 0x0000FF};
    if (dx != 0 || dy != 0)
        effects.shadow = ShadowEffect{dx, dy, 0x00FF00};
    if (padding >= 0)
        effects.plate = PlateEffect{padding, 0xFF0000};
    return effects;
}

}  // namespace

class TestEffects : public QObject {
    Q_OBJECT

private slots:
    // Random overlays of every density against the reference: every pixel of
    // the layer, and nothing drawn past the layer's margin.
    void layerAgainstReference_data()
    {
        QTest::addColumn<int>("outline");
        QTest::addColumn<bool>("round");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("padding");  // -1: no plate

        QTest::newRow("square 1") << 1 << false << 0 << 0 << -1;
        QTest::newRow("square 8") << 8 << false << 0 << 0 << -1;
        QTest::newRow("round 1") << 1 << true << 0 << 0 << -1;
        QTest::newRow("round 5") << 5 << true << 0 << 0 << -1;
        QTest::newRow("round 8") << 8 << true << 0 << 0 << -1;
        QTest::newRow("shadow alone") << 0 << false << 3 << -2 << -1;
        QTest::newRow("shadow of an outline") << 2 << true << -16 << 16 << -1;
        QTest::newRow("plate alone") << 0 << false << 0 << 0 << 0;
        QTest::newRow("all three") << 3 << false << 4 << 5 << 32;
        QTest::newRow("plate inside the shadow's reach") << 8 << true << 16 << -16 << 6;
    }
    void layerAgainstReference()
    {
        QFETCH(int, outline);
        QFETCH(bool, round);
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(int, padding);
        const Effects effects = effectsFrom(outline, round, dx, dy, padding);
        QRandomGenerator random(quint32(outline * 1000 + dx * 37 + dy * 11 + padding + round));
        for (const int percent : {0, 1, 5, 30, 90}) {
            const TextMask mask = randomMask(random, 1 + int(random.bounded(37)), 1 + int(random.bounded(23)), percent);
            const EffectsLayer layer = effectsLayer(mask, effects);
            const int margin = layer.margin;
            QCOMPARE(margin, effectsReach(effects));
            QCOMPARE(layer.width, mask.width + 2 * margin);
            QCOMPARE(layer.height, mask.height + 2 * margin);
            for (int y = -margin - 1; y <= mask.height + margin; ++y)
                for (int x = -margin - 1; x <= mask.width + margin; ++x) {
                    const LayerPart expected = referencePart(mask, effects, x, y);
                    const bool inLayer = x >= -margin && y >= -margin && x < mask.width + margin
                                         && y < mask.height + margin;
                    const LayerPart got = inLayer ? layer.at(x + margin, y + margin) : LayerPart::None;
                    if (got != expected)
                        QFAIL(qPrintable(QStringLiteral("%1%% mask %2 x %3: pixel (%4, %5) is part %6, not %7")
                                             .arg(percent).arg(mask.width).arg(mask.height).arg(x).arg(y)
                                             .arg(int(got)).arg(int(expected))));
                }
        }
    }

    // The mask is taken before tinting: white text still has its outline, a
    // glyph's own colours stay, and its white pixels are not text.
    void composition_data()
    {
        QTest::addColumn<QRect>("clip");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("rows");  // the target's rows: . untouched, W white, r red, B blue

        QTest::newRow("whole") << QRect(0, 0, 7, 5) << QPoint(2, 1) << ".BBBBB.|.BWrWB.|.BBBBB.|.......|.......";
        QTest::newRow("clipped by the picture") << QRect(0, 0, 4, 2) << QPoint(2, 1)
                                                << ".BBB...|.BWr...|.......|.......|.......";
        QTest::newRow("past the left edge") << QRect(0, 0, 7, 5) << QPoint(0, 0)
                                            << "WrWB...|BBBB...|.......|.......|.......";
        QTest::newRow("text above the top edge") << QRect(0, 0, 7, 5) << QPoint(1, -1)
                                                 << "BBBBB..|.......|.......|.......|.......";
    }
    void composition()
    {
        QFETCH(QRect, clip);
        QFETCH(QPoint, at);
        QFETCH(QString, rows);
        // A 3 x 1 overlay: black, red, black; white text (the tint) outlined in blue.
        Raster overlay(3, 1);
        overlay.setPixel(0, 0, raster::kBlack);
        overlay.setPixel(1, 0, raster::kRed);
        overlay.setPixel(2, 0, raster::kBlack);
        const TextMask mask = textMask(overlay);
        QCOMPARE(mask.bits, (std::vector<std::uint8_t>{1, 1, 1}));
        overlay.setPixel(0, 0, raster::kWhite);
        overlay.setPixel(2, 0, raster::kWhite);
        Effects effects;
        effects.outline = OutlineEffect{1, OutlineShape::Square, raster::rgb(0, 0, 0xFF)};
        Raster target(7, 5);
        target.fill(0x123456);
        drawWithEffects(target, clip, at.x(), at.y(), overlay, mask, effects);
        QString drawn;
        for (int y = 0; y < target.height(); ++y) {
            if (y > 0)
                drawn += u'|';
            for (int x = 0; x < target.width(); ++x) {
                const Colour c = target.pixel(x, y);
                drawn += c == 0x123456 ? u'.' : c == raster::kWhite ? u'W' : c == raster::kRed ? u'r'
                         : c == raster::rgb(0, 0, 0xFF) ? u'B' : u'?';
            }
        }
        QCOMPARE(drawn, rows);
    }
};

QTEST_GUILESS_MAIN(TestEffects)
#include "tst_effects.moc"
