#include "project/project_extras.h"

#include "base/extension_block.h"

#include <QJsonArray>
#include <QRegularExpression>


namespace letterloom::project {

namespace {

const QString kTextColour = QStringLiteral("textColour");
const QString kEffects = QStringLiteral("effects");
const QString kColour = QStringLiteral("colour");
const QString kSpacing = QStringLiteral("spacing");
const QString kTracking = QStringLiteral("tracking");
const QString kWordSpacing = QStringLiteral("wordSpacing");

std::optional<raster::Colour> colourAt(const QJsonObject &object)
{
    if (!object.contains(kColour))
        return raster::kBlack;
    return colourFromHex(object.value(kColour));
}

}  // namespace

std::optional<raster::Colour> colourFromHex(const QJsonValue &value)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    const QString text = value.toString();
    if (!value.isString() || !hex.match(text).hasMatch())
        return std::nullopt;
    const uint number = text.toUInt(nullptr, 16);
    return raster::rgb(int(number >> 16), int(number >> 8), int(number));
}

QJsonObject effectsJson(const text::Effects &effects)
{
    QJsonObject object;
    if (effects.outline)
        object.insert(QStringLiteral("outline"),
                      QJsonObject{{QStringLiteral("size"), effects.outline->size},
                                  {QStringLiteral("shape"), effects.outline->shape == text::OutlineShape::Round
                                                                ? QStringLiteral("round") : QStringLiteral("square")},
                                  {kColour, colourHex(effects.outline->colour)}});
    if (effects.shadow)
        object.insert(QStringLiteral("shadow"), QJsonObject{{QStringLiteral("dx"), effects.shadow->dx},
                                                            {QStringLiteral("dy"), effects.shadow->dy},
                                                            {kColour, colourHex(effects.shadow->colour)}});
    if (effects.plate)
        object.insert(QStringLiteral("plate"), QJsonObject{{QStringLiteral("padding"), effects.plate->padding},
                                                           {kColour, colourHex(effects.plate->colour)}});
    return object;
}

text::Effects effectsFromJson(const QJsonValue &value, QStringList &bad)
{
    text::Effects effects;
    if (!value.isObject()) {
        bad << kEffects;
        return effects;
    }
    const QJsonObject object = value.toObject();
    const auto member = [&](const char *name, auto read) {
        const QString key = QLatin1String(name);
        if (!object.contains(key))
            return;
        const QJsonValue part = object.value(key);
        if (!part.isObject() || !read(part.toObject()))
            bad << kEffects + u'.' + key;
    };
    member("outline", [&](const QJsonObject &outline) {
        const std::optional<int> size = wholeNumberAt(outline, QStringLiteral("size"), 0, text::kMaxOutline, 1);
        const QJsonValue shapeValue = outline.value(QStringLiteral("shape"));
        const QString shape = shapeValue.isUndefined() ? QStringLiteral("square") : shapeValue.toString();
        const std::optional<raster::Colour> colour = colourAt(outline);
        if (!size || !colour || (shape != QLatin1String("square") && shape != QLatin1String("round")))
            return false;
        if (*size > 0)
            effects.outline = text::OutlineEffect{
                *size, shape == QLatin1String("round") ? text::OutlineShape::Round : text::OutlineShape::Square, *colour};
        return true;
    });
    member("shadow", [&](const QJsonObject &shadow) {
        const int limit = text::kMaxShadowOffset;
        const std::optional<int> dx = wholeNumberAt(shadow, QStringLiteral("dx"), -limit, limit, 0);
        const std::optional<int> dy = wholeNumberAt(shadow, QStringLiteral("dy"), -limit, limit, 0);
        const std::optional<raster::Colour> colour = colourAt(shadow);
        if (!dx || !dy || !colour)
            return false;
        effects.shadow = text::ShadowEffect{*dx, *dy, *colour};
        return true;
    });
    member("plate", [&](const QJsonObject &plate) {
        const std::optional<int> padding =
            wholeNumberAt(plate, QStringLiteral("padding"), 0, text::kMaxPlatePadding, 0);
        const std::optional<raster::Colour> colour = colourAt(plate);
        if (!padding || !colour)
            return false;
        effects.plate = text::PlateEffect{*padding, *colour};
        return true;
    });
    return effects;
}

QJsonObject spacingJson(const text::Spacing &spacing)
{
    QJsonObject object;
    if (spacing.tracking != 0)
        object.insert(kTracking, spacing.tracking);
    if (spacing.wordSpacing != 0)
        object.insert(kWordSpacing, spacing.wordSpacing);
    return object;
}

std::optional<text::Spacing> spacingFromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const std::optional<int> tracking = wholeNumberAt(object, kTracking, text::kMinTracking, text::kMaxTracking, 0);
    const std::optional<int> wordSpacing =
        wholeNumberAt(object, kWordSpacing, text::kMinWordSpacing, text::kMaxWordSpacing, 0);
    if (!tracking || !wordSpacing)
        return std::nullopt;
    return text::Spacing{*tracking, *wordSpacing};
}

ProjectExtras readProjectExtras(ExtensionKeys &keys)
{
    ProjectExtras extras;
    if (const std::optional<QJsonValue> colour = keys.take(kTextColour, QJsonValue::String)) {
        extras.textColour = colourFromHex(*colour);
        if (!extras.textColour)
            keys.drop(kTextColour);
    }
    if (const std::optional<QJsonValue> effects = keys.take(kEffects, QJsonValue::Object)) {
        QStringList bad;
        extras.effects = effectsFromJson(*effects, bad);
        for (const QString &name : bad)
            keys.drop(name);
    }
    if (const std::optional<QJsonValue> spacing = keys.take(kSpacing, QJsonValue::Object)) {
        if (const std::optional<text::Spacing> read = spacingFromJson(*spacing))
            extras.spacing = *read;
        else
            keys.drop(kSpacing);
    }
    if (const std::optional<QJsonValue> areas = keys.take(QStringLiteral("areas"), QJsonValue::Array)) {
        const QJsonArray list = areas->toArray();
        // The first area is not in the list.
        if (list.size() >= kMaxAreas)
            keys.drop(QStringLiteral("areas"));
        else
            for (qsizetype i = 0; i < list.size(); ++i) {
                if (const std::optional<AreaText> area = areaFromJson(list[i]))
                    extras.areas.push_back(*area);
                else
                    keys.drop(QStringLiteral("areas[%1]").arg(i));
            }
    }
    extras.otherKeys = keys.rest();
    return extras;
}

QJsonObject projectExtrasKeys(const ProjectExtras &extras)
{
    QJsonObject keys = extras.otherKeys;
    if (extras.textColour && *extras.textColour != raster::kBlack)
        keys.insert(kTextColour, colourHex(*extras.textColour));
    if (extras.effects.any())
        keys.insert(kEffects, effectsJson(extras.effects));
    if (extras.spacing.any())
        keys.insert(kSpacing, spacingJson(extras.spacing));
    if (!extras.areas.empty()) {
        QJsonArray areas;
        for (const AreaText &area : extras.areas)
            areas.append(areaJson(area));
        keys.insert(QStringLiteral("areas"), areas);
    }
    return keys;
}

}  // namespace letterloom::project
