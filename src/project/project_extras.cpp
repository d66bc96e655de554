#include "project/project_extras.h"

#include "base/extension_block.h"

#include <QJsonArray>

namespace letterloom::project {

ProjectExtras readProjectExtras(ExtensionKeys &keys)
{
    ProjectExtras extras;
    if (const std::optional<QJsonValue> areas = keys.take(QStringLiteral("areas"), QJsonValue::Array)) {
        const QJsonArray list = areas->toArray();
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
    if (!extras.areas.empty()) {
        QJsonArray areas;
        for (const AreaText &area : extras.areas)
            areas.append(areaJson(area));
        keys.insert(QStringLiteral("areas"), areas);
    }
    return keys;
}

}  // namespace letterloom::project
