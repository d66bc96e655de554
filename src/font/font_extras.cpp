#include "font/font_extras.h"

#include "base/error.h"
#include "base/extension_block.h"

#include <optional>

namespace letterloom::font {

namespace {

const QString kCharMapKey = QStringLiteral("charMap");
const QString kNameKey = QStringLiteral("name");
const QString kTableKey = QStringLiteral("table");

// The map a charMap value names, or nothing when it names none the program
// can read (an unknown code page, a table that does not read).
std::optional<CharMap> charMapOf(const QJsonObject &value)
{
    const QString name = value.value(kNameKey).toString();
    const QJsonValue table = value.value(kTableKey);
    if (table.isString()) {
        try {
            return readTable(table.toString().toUtf8(), name).map;
        } catch (const Error &) {
            return std::nullopt;
        }
    }
    if (!table.isUndefined() || !CharMap::codePageName(name))
        return std::nullopt;
    return CharMap::fromCodePage(name);
}

}  // namespace

FontExtras readFontExtras(ExtensionKeys &keys)
{
    FontExtras extras;
    if (const std::optional<QJsonValue> value = keys.take(kCharMapKey, QJsonValue::Object)) {
        if (const std::optional<CharMap> map = charMapOf(value->toObject()))
            extras.charMap = *map;
        else
            keys.drop(kCharMapKey);
    }
    extras.otherKeys = keys.rest();
    return extras;
}

QJsonObject fontExtrasKeys(const FontExtras &extras)
{
    QJsonObject keys = extras.otherKeys;
    const CharMap &map = extras.charMap;
    if (map.kind() == CharMap::Kind::CodePage) {
        keys.insert(kCharMapKey, QJsonObject{{kNameKey, map.name()}});
    } else if (map.kind() == CharMap::Kind::Table) {
        QJsonObject table{{kTableKey, QString::fromUtf8(map.tableText())}};
        if (!map.name().isEmpty())
            table.insert(kNameKey, map.name());
        keys.insert(kCharMapKey, table);
    }
    return keys;
}

}  // namespace letterloom::font
