#include "project/text_areas.h"

#include "base/extension_block.h"
#include "project/project_extras.h"
#include "text/effects.h"
#include "project/workspace.h"
#include "text/render.h"

#include <QJsonArray>

#include <limits>

namespace letterloom::project {

namespace {

const QString kX = QStringLiteral("x");
const QString kY = QStringLiteral("y");
const QString kWidth = QStringLiteral("width");
const QString kHeight = QStringLiteral("height");
const QString kText = QStringLiteral("text");
const QString kAlignment = QStringLiteral("alignment");
const QString kLineSpacing = QStringLiteral("lineSpacing");
const QString kTextColour = QStringLiteral("textColour");
const QString kEffects = QStringLiteral("effects");
const QString kSpacing = QStringLiteral("spacing");

void live(Workspace &workspace, const AreaSlot &slot)
{
    workspace.settings.area = slot.values.rect;
    workspace.settings.alignment = slot.values.alignment;
    workspace.settings.lineSpacing = slot.values.lineSpacing;
    workspace.textColour = slot.values.colour;
    workspace.effects = slot.values.effects;
    workspace.spacing = slot.values.spacing;
    workspace.lines = slot.lines;
    workspace.overlay = slot.overlay;
    workspace.mask = slot.mask;
    workspace.overflow = slot.overflow;
}

// The current area's live values put back in its place.
void park(Workspace &workspace, const QByteArray &currentText)
{
    AreaSlot &slot = workspace.areas[size_t(workspace.currentArea)];
    slot.values.rect = workspace.settings.area;
    slot.values.alignment = workspace.settings.alignment;
    slot.values.lineSpacing = workspace.settings.lineSpacing;
    slot.values.text = currentText;
    slot.values.colour = workspace.textColour;
    slot.values.effects = workspace.effects;
    slot.values.spacing = workspace.spacing;
    slot.lines = workspace.lines;
    slot.overlay = workspace.overlay;
    slot.mask = workspace.mask;
    slot.overflow = workspace.overflow;
}

}  // namespace

text::TextSettings textSettingsOf(const AreaText &area)
{
    return {area.rect.width, area.rect.height, area.lineSpacing, area.alignment, area.colour, area.spacing};
}

QJsonObject areaJson(const AreaText &area)
{
    QJsonObject object = area.otherKeys;
    object.insert(kX, area.rect.x);
    object.insert(kY, area.rect.y);
    object.insert(kWidth, area.rect.width);
    object.insert(kHeight, area.rect.height);
    object.insert(kText, QString::fromLatin1(area.text));
    object.insert(kAlignment, area.alignment);
    object.insert(kLineSpacing, area.lineSpacing);
    if (area.colour != raster::kBlack)
        object.insert(kTextColour, colourHex(area.colour));
    if (area.effects.any())
        object.insert(kEffects, effectsJson(area.effects));
    if (area.spacing.any())
        object.insert(kSpacing, spacingJson(area.spacing));
    return object;
}

std::optional<AreaText> areaFromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    QJsonObject object = value.toObject();
    constexpr std::int32_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t high = std::numeric_limits<std::int32_t>::max();
    AreaText area;
    std::int32_t *const fields[] = {&area.rect.x, &area.rect.y, &area.rect.width, &area.rect.height};
    const QString keys[] = {kX, kY, kWidth, kHeight};
    for (int i = 0; i < 4; ++i) {
        const std::optional<std::int32_t> number = wholeNumberAt(object, keys[i], low, high, 0);
        if (!number)
            return std::nullopt;
        *fields[i] = *number;
    }
    const std::optional<int> alignment = wholeNumberAt(object, kAlignment, 0, 255, int(area.alignment));
    const std::optional<std::int32_t> spacing = wholeNumberAt(object, kLineSpacing, low, high, area.lineSpacing);
    if (!alignment || !spacing)
        return std::nullopt;
    area.alignment = std::uint8_t(*alignment);
    area.lineSpacing = *spacing;
    if (object.contains(kText)) {
        const QJsonValue text = object.value(kText);
        if (!text.isString())
            return std::nullopt;
        const QString characters = text.toString();
        for (QChar c : characters)
            if (c.unicode() > 0xFF)
                return std::nullopt;
        area.text = characters.toLatin1();
    }
    if (object.contains(kTextColour)) {
        const std::optional<raster::Colour> colour = colourFromHex(object.value(kTextColour));
        if (!colour)
            return std::nullopt;
        area.colour = *colour;
    }
    if (object.contains(kEffects)) {
        QStringList bad;
        area.effects = effectsFromJson(object.value(kEffects), bad);
        if (!bad.isEmpty())
            return std::nullopt;
    }
    if (object.contains(kSpacing)) {
        const std::optional<text::Spacing> spacing = spacingFromJson(object.value(kSpacing));
        if (!spacing)
            return std::nullopt;
        area.spacing = *spacing;
    }
    for (const QString &key : {kX, kY, kWidth, kHeight, kText, kAlignment, kLineSpacing, kTextColour, kEffects, kSpacing})
        object.remove(key);
    area.otherKeys = object;
    return area;
}

std::vector<AreaText> joinAreas(const ProjectSettings &settings, const QByteArray &text, const ProjectExtras &extras)
{
    std::vector<AreaText> areas{AreaText{settings.area, text, settings.alignment, settings.lineSpacing, {},
                                         extras.textColour.value_or(raster::kBlack), extras.effects, extras.spacing}};
    areas.insert(areas.end(), extras.areas.begin(), extras.areas.end());
    return areas;
}

void splitAreas(const std::vector<AreaText> &areas, ProjectSettings &settings, QByteArray &text,
                ProjectExtras &extras)
{
    const AreaText &first = areas.front();
    settings.area = first.rect;
    settings.alignment = first.alignment;
    settings.lineSpacing = first.lineSpacing;
    text = first.text;
    extras.textColour = first.colour != raster::kBlack ? std::optional(first.colour) : std::nullopt;
    extras.effects = first.effects;
    extras.spacing = first.spacing;
    extras.areas.assign(areas.begin() + 1, areas.end());
}

std::vector<AreaText> workspaceAreas(const Workspace &workspace, const QByteArray &currentText)
{
    std::vector<AreaText> areas;
    for (const AreaSlot &slot : workspace.areas)
        areas.push_back(slot.values);
    AreaText &current = areas[size_t(workspace.currentArea)];
    current.rect = workspace.settings.area;
    current.alignment = workspace.settings.alignment;
    current.lineSpacing = workspace.settings.lineSpacing;
    current.text = currentText;
    current.colour = workspace.textColour;
    current.effects = workspace.effects;
    current.spacing = workspace.spacing;
    return areas;
}

QByteArray setWorkspaceAreas(Workspace &workspace, std::vector<AreaText> areas)
{
    workspace.areas.clear();
    for (AreaText &area : areas)
        workspace.areas.push_back({std::move(area), {}, {}, {}, {}});
    workspace.currentArea = 0;
    live(workspace, workspace.areas.front());
    workspace.bumpRevision();
    return workspace.areas.front().values.text;
}

QByteArray switchArea(Workspace &workspace, const QByteArray &currentText, int index)
{
    if (index < 0 || size_t(index) >= workspace.areas.size())
        return currentText;
    park(workspace, currentText);
    workspace.currentArea = index;
    live(workspace, workspace.areas[size_t(index)]);
    workspace.bumpRevision();
    return workspace.areas[size_t(index)].values.text;
}

QByteArray addArea(Workspace &workspace, const QByteArray &currentText)
{
    park(workspace, currentText);
    AreaText area;
    area.alignment = workspace.settings.alignment;
    area.lineSpacing = workspace.settings.lineSpacing;
    area.colour = workspace.textColour;
    area.spacing = workspace.spacing;
    workspace.areas.push_back({area, {}, {}, {}, {}});
    return switchArea(workspace, currentText, int(workspace.areas.size()) - 1);
}

QByteArray removeCurrentArea(Workspace &workspace)
{
    if (workspace.areas.size() < 2)
        return workspace.areas[size_t(workspace.currentArea)].values.text;
    const int removed = workspace.currentArea;
    workspace.areas.erase(workspace.areas.begin() + removed);
    workspace.currentArea = removed > 0 ? removed - 1 : 0;
    live(workspace, workspace.areas[size_t(workspace.currentArea)]);
    workspace.bumpRevision();
    return workspace.areas[size_t(workspace.currentArea)].values.text;
}

int areaAt(const Workspace &workspace, QPoint at)
{
    // The frame is drawn on x .. x + width and y .. y + height, both ends included.
    const auto holds = [at](const TextArea &area) {
        return at.x() >= area.x && qint64(at.x()) <= qint64(area.x) + area.width && at.y() >= area.y
               && qint64(at.y()) <= qint64(area.y) + area.height;
    };
    if (holds(workspace.settings.area))
        return workspace.currentArea;
    for (int i = int(workspace.areas.size()) - 1; i >= 0; --i)
        if (i != workspace.currentArea && holds(workspace.areas[size_t(i)].values.rect))
            return i;
    return -1;
}

QString areaCaption(const QString &caption, const Workspace &workspace)
{
    if (workspace.areas.size() < 2)
        return caption;
    return QStringLiteral("%1 - %2 of %3").arg(caption).arg(workspace.currentArea + 1).arg(workspace.areas.size());
}

std::vector<text::Notice> refreshAreas(Workspace &workspace, const QByteArray &currentText, raster::Colour colour)
{
    std::vector<text::Notice> notices;
    for (size_t i = 0; i < workspace.areas.size(); ++i) {
        if (int(i) == workspace.currentArea) {
            notices.push_back(refreshText(workspace, currentText, colour));
            continue;
        }
        AreaSlot &slot = workspace.areas[i];
        const AreaText &area = slot.values;
        notices.push_back(refreshOverlay(area.text, textSettingsOf(area), workspace.glyphs,
                                         &workspace.fontExtras.kerning, slot.lines, slot.overlay, slot.mask));
        slot.overflow = text::MeasureOverflow(area.text, notices.back(), slot.lines, area.rect.width,
                                              area.rect.height, area.lineSpacing, workspace.glyphs, area.spacing,
                                              &workspace.fontExtras.kerning);
    }
    workspace.bumpRevision();
    return notices;
}

QString areasNotice(const std::vector<text::Notice> &notices)
{
    if (notices.size() == 1)
        return text::noticeText(notices.front());
    QStringList lines;
    for (size_t i = 0; i < notices.size(); ++i)
        if (notices[i] != text::Notice::None)
            lines << QStringLiteral("Text area %1: %2").arg(i + 1).arg(text::noticeText(notices[i]));
    return lines.join(u'\n');
}

QString overflowStatus(const Workspace &workspace)
{
    QStringList parts;
    for (size_t i = 0; i < workspace.areas.size(); ++i) {
        const bool current = int(i) == workspace.currentArea;
        const QString says = text::overflowText(current ? workspace.overflow : workspace.areas[i].overflow);
        if (says.isEmpty())
            continue;
        parts << (workspace.areas.size() > 1 ? QStringLiteral("Text area %1: %2").arg(i + 1).arg(says) : says);
    }
    return parts.join(QStringLiteral("; "));
}

}  // namespace letterloom::project
