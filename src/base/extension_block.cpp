#include "base/extension_block.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace letterloom {

namespace {

constexpr qsizetype kMagicSize = 4;
constexpr qsizetype kHeaderSize = kMagicSize + 4;

std::uint32_t u32At(const QByteArray &bytes, qsizetype at)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t(std::uint8_t(bytes[at + i])) << (8 * i);
    return value;
}

}  // namespace

ExtensionBlock readExtensionBlock(const QByteArray &bytes, qsizetype offset)
{
    if (offset < 0 || bytes.size() - offset < kMagicSize
        || QByteArrayView(bytes).sliced(offset, kMagicSize) != QByteArrayView(kExtensionMagic))
        return {};
    const qsizetype left = bytes.size() - offset - kHeaderSize;
    if (left < 0)
        return {{}, QStringLiteral("its length is cut off")};
    const std::uint32_t length = u32At(bytes, offset + kMagicSize);
    if (qint64(length) > left)
        return {{}, QStringLiteral("its length of %1 bytes runs past the end of the file").arg(length)};

    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(bytes.sliced(offset + kHeaderSize, qsizetype(length)), &error);
    if (error.error != QJsonParseError::NoError)
        return {{}, QStringLiteral("its JSON is not valid (%1 at byte %2)").arg(error.errorString()).arg(error.offset)};
    if (!document.isObject())
        return {{}, QStringLiteral("it holds no JSON object")};
    return {document.object(), {}};
}

QByteArray extensionBlockBytes(const QJsonObject &keys)
{
    if (keys.isEmpty())
        return {};
    const QByteArray json = QJsonDocument(keys).toJson(QJsonDocument::Compact);
    QByteArray block(kExtensionMagic, kMagicSize);
    for (int i = 0; i < 4; ++i)
        block.append(char((std::uint32_t(json.size()) >> (8 * i)) & 0xFF));
    return block + json;
}

QString extensionDamageNotice(const QString &fileName, const QString &damage)
{
    return QStringLiteral("The extras stored at the end of \"%1\" are damaged and were left out: %2.")
        .arg(fileName, damage);
}

QString droppedKeysNotice(const QString &fileName, const QStringList &keys)
{
    return QStringLiteral("Some extras of \"%1\" have values this program cannot use and were left out: %2.")
        .arg(fileName, keys.join(QStringLiteral(", ")));
}

std::optional<std::int64_t> wholeNumberIn(const QJsonValue &value, std::int64_t low, std::int64_t high)
{
    if (!value.isDouble())
        return std::nullopt;
    // 2^63, the first whole number beyond the 64-bit integers; NaN and the
    // infinities fail these comparisons too.
    constexpr double kBeyond = 9223372036854775808.0;
    const double number = value.toDouble();
    if (!(std::floor(number) == number && number >= -kBeyond && number < kBeyond))
        return std::nullopt;
    const auto whole = std::int64_t(number);
    if (whole < low || whole > high)
        return std::nullopt;
    return whole;
}

std::optional<QJsonValue> ExtensionKeys::take(const QString &key, QJsonValue::Type type)
{
    const auto found = rest_.constFind(key);
    if (found == rest_.constEnd())
        return std::nullopt;
    const QJsonValue value = found.value();
    rest_.remove(key);
    if (value.type() != type) {
        drop(key);
        return std::nullopt;
    }
    return value;
}

}  // namespace letterloom
