#include "font/font_extras.h"

#include "base/error.h"
#include "base/extension_block.h"

#include <QJsonArray>

#include <optional>

namespace letterloom::font {

namespace {

const QString kCharMapKey = QStringLiteral("charMap");
const QString kNameKey = QStringLiteral("name");
const QString kTableKey = QStringLiteral("table");
const QString kKerningKey = QStringLiteral("kerning");

// As many pairs as there are pairs of codes.
constexpr qsizetype kMaxKerningPairs = 256 * 256;

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

// The pair of one entry of a kerning list, [left, right, amount]; nothing
// for an entry that is no such list or has a value out of range.
std::optional<KerningPair> kerningPairOf(const QJsonValue &value)
{
    const QJsonArray entry = value.toArray();
    if (!value.isArray() || entry.size() != 3)
        return std::nullopt;
    const std::optional<std::int64_t> left = wholeNumberIn(entry[0], 0, 255);
    const std::optional<std::int64_t> right = wholeNumberIn(entry[1], 0, 255);
    const std::optional<std::int64_t> amount = wholeNumberIn(entry[2], -kMaxKerning, kMaxKerning);
    if (!left || !right || !amount || *amount == 0)
        return std::nullopt;
    return KerningPair{std::uint8_t(*left), std::uint8_t(*right), int(*amount)};
}

// The pairs of a kerning list; the entries that are no pair, or repeat the
// codes of an earlier one, are named in keys.dropped().
Kerning kerningOf(const QJsonArray &list, ExtensionKeys &keys)
{
    std::vector<KerningPair> pairs;
    std::vector<bool> seen(std::size_t(kMaxKerningPairs), false);
    for (qsizetype i = 0; i < list.size(); ++i) {
        const std::optional<KerningPair> pair = kerningPairOf(list[i]);
        const std::size_t codes = pair ? std::size_t(pair->left) * 256 + pair->right : 0;
        if (!pair || seen[codes]) {
            keys.drop(QStringLiteral("%1[%2]").arg(kKerningKey).arg(i));
            continue;
        }
        seen[codes] = true;
        pairs.push_back(*pair);
    }
    return Kerning(pairs);
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
    if (const std::optional<QJsonValue> value = keys.take(kKerningKey, QJsonValue::Array)) {
        if (value->toArray().size() > kMaxKerningPairs)
            keys.drop(kKerningKey);
        else
            extras.kerning = kerningOf(value->toArray(), keys);
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
    if (!extras.kerning.isEmpty()) {
        QJsonArray pairs;
        for (const KerningPair &pair : extras.kerning.pairs())
            pairs.append(QJsonArray{int(pair.left), int(pair.right), pair.amount});
        keys.insert(kKerningKey, pairs);
    }
    return keys;
}

}  // namespace letterloom::font
