#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace letterloom {

// Fonts and projects may end with one extension block after the part every
// reader of the two formats knows; those readers stop before it, so the
// block carries what this program added without disturbing them:
//
//   4 bytes  "LLX1"
//   4 bytes  N, unsigned 32-bit little-endian
//   N bytes  a UTF-8 JSON object, keys in camelCase
//
// The block is written only when it holds a key, so a file without extras
// has exactly the bytes it had before there were extras.
inline constexpr char kExtensionMagic[] = "LLX1";

// The keys of a file's extension block as read. Bytes that do not start
// with the magic are no block and are ignored silently. A block that starts
// with the magic but whose length or JSON is broken is ignored as a whole:
// keys is then empty and damage says why, for a notice to the user.
struct ExtensionBlock {
    QJsonObject keys;
    QString damage;

    bool operator==(const ExtensionBlock &other) const = default;
};

// Reads the block that starts at offset of bytes (where the described part
// of the file ended). Never throws; nothing is allocated for a length before
// it has been proven against the bytes.
ExtensionBlock readExtensionBlock(const QByteArray &bytes, qsizetype offset);

// The bytes of a block holding keys, compact JSON; empty for no keys.
QByteArray extensionBlockBytes(const QJsonObject &keys);

// The notice for a damaged block of the named file.
QString extensionDamageNotice(const QString &fileName, const QString &damage);
// The notice for keys a reader dropped because their values made no sense.
QString droppedKeysNotice(const QString &fileName, const QStringList &keys);

// A whole number from low to high in a JSON value; nothing for any other
// value. However large the number a file holds, it is compared before it
// is ever converted.
std::optional<std::int64_t> wholeNumberIn(const QJsonValue &value, std::int64_t low, std::int64_t high);

// The whole number from low to high under key of object, or fallback when
// the key is missing; nothing for any other value.
template <typename Whole>
std::optional<Whole> wholeNumberAt(const QJsonObject &object, const QString &key, Whole low, Whole high, Whole fallback)
{
    if (!object.contains(key))
        return fallback;
    const std::optional<std::int64_t> number = wholeNumberIn(object.value(key), low, high);
    if (!number)
        return std::nullopt;
    return Whole(*number);
}

// Takes the keys one level of the program knows out of a block, each of the
// type it expects. A key of another type is dropped and its name kept for
// the notice; what is left untaken belongs to others and is kept as read.
class ExtensionKeys {
public:
    explicit ExtensionKeys(QJsonObject keys) : rest_(std::move(keys)) {}

    // The value of key when it is there and of the type; a key of another
    // type is dropped (and named), a missing one gives nothing.
    std::optional<QJsonValue> take(const QString &key, QJsonValue::Type type);
    // Names a key that was taken but whose value the level cannot use.
    void drop(const QString &name) { dropped_ << name; }

    // The keys nobody took, as they were read.
    const QJsonObject &rest() const { return rest_; }
    // The names of the dropped keys, in the order they were dropped.
    const QStringList &dropped() const { return dropped_; }

private:
    QJsonObject rest_;
    QStringList dropped_;
};

}  // namespace letterloom
