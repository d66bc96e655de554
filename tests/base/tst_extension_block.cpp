#include "base/extension_block.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <limits>

using namespace letterloom;

namespace {

// A block as it stands in a file: the magic, the length n (the JSON's own
// size unless given) and the JSON.
QByteArray block(const QByteArray &json, qint64 length = -1)
{
    const std::uint32_t n = std::uint32_t(length < 0 ? json.size() : length);
    QByteArray bytes("LLX1");
    for (int i = 0; i < 4; ++i)
        bytes.append(char((n >> (8 * i)) & 0xFF));
    return bytes + json;
}

QJsonObject object(const char *json)
{
    return QJsonDocument::fromJson(json).object();
}

}  // namespace

class TestExtensionBlock : public QObject {
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("tail");   // the bytes after the described part
        QTest::addColumn<QJsonObject>("keys");
        QTest::addColumn<QString>("damage");    // empty when nothing is wrong

        QTest::newRow("nothing after the described part") << QByteArray() << QJsonObject() << QString();
        QTest::newRow("other bytes are no block") << QByteArray("trailing junk") << QJsonObject() << QString();
        QTest::newRow("half a magic") << QByteArray("LLX") << QJsonObject() << QString();
        QTest::newRow("an older magic") << block("{}").replace(3, 1, "0") << QJsonObject() << QString();
        QTest::newRow("one key") << block(R"({"textColour":"FF0000"})") << object(R"({"textColour":"FF0000"})")
                                 << QString();
        QTest::newRow("spaced JSON, bytes after the block")
            << block(" { \"a\" : [1, 2] }\n") + "after" << object(R"({"a":[1,2]})") << QString();
        QTest::newRow("empty object") << block("{}") << QJsonObject() << QString();

        QTest::newRow("magic without a length") << QByteArray("LLX1\x05\x00", 6) << QJsonObject()
                                                << "its length is cut off";
        QTest::newRow("length past the end") << block("{}", 3) << QJsonObject()
                                             << "its length of 3 bytes runs past the end of the file";
        QTest::newRow("length of four gigabytes") << block("{}", 0xFFFFFFFFu) << QJsonObject()
                                                  << "its length of 4294967295 bytes runs past the end of the file";
        QTest::newRow("length cutting the JSON short")
            << block(R"({"a":1})", 4) << QJsonObject()
            << "its JSON is not valid (unterminated string at byte 4)";
        QTest::newRow("not JSON") << block("LLX1 again") << QJsonObject()
                                  << "its JSON is not valid (illegal value at byte 1)";
        QTest::newRow("an array, not an object") << block("[1]") << QJsonObject() << "it holds no JSON object";
        QTest::newRow("JSON nested 100000 deep")
            << block(QByteArray(100000, '[')) << QJsonObject()
            << "its JSON is not valid (too deeply nested document at byte 1025)";
        QTest::newRow("invalid UTF-8 in a string")
            << block("{\"a\":\"\xff\"}") << QJsonObject() << "its JSON is not valid (invalid UTF8 string at byte 6)";
    }

    void read()
    {
        QFETCH(QByteArray, tail);
        QFETCH(QJsonObject, keys);
        QFETCH(QString, damage);
        // The block starts where the described part ends, anywhere in the file.
        const QByteArray described("described part");
        const ExtensionBlock read = readExtensionBlock(described + tail, described.size());
        QCOMPARE(read.damage, damage);
        QCOMPARE(read.keys, keys);
    }

    void written_data()
    {
        QTest::addColumn<QJsonObject>("keys");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no keys, no block") << QJsonObject() << QByteArray();
        QTest::newRow("compact, keys in order")
            << object(R"({"zeta": {"b": true, "a": null}, "alpha": [1.5, "x"]})")
            << block(R"({"alpha":[1.5,"x"],"zeta":{"a":null,"b":true}})");
        QTest::newRow("non-ASCII kept as UTF-8")
            << object("{\"name\": \"Stra\xc3\x9f" "e\"}") << block("{\"name\":\"Stra\xc3\x9f" "e\"}");
    }

    void written()
    {
        QFETCH(QJsonObject, keys);
        QFETCH(QByteArray, bytes);
        QCOMPARE(extensionBlockBytes(keys), bytes);
        QCOMPARE(readExtensionBlock(bytes, 0).keys, keys);
    }

    // Whole numbers of a file, however large, against the widest and a
    // narrow range: nothing is converted before it is known to fit.
    void wholeNumbers_data()
    {
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<qint64>("widest");  // -1 for nothing, within the 64-bit integers
        QTest::addColumn<qint64>("narrow");  // -1 for nothing, within 0 to 255
        constexpr qint64 none = -1;
        const qint64 min64 = std::numeric_limits<qint64>::min();
        QTest::newRow("0") << QJsonValue(0) << qint64(0) << qint64(0);
        QTest::newRow("255") << QJsonValue(255) << qint64(255) << qint64(255);
        QTest::newRow("256") << QJsonValue(256) << qint64(256) << none;
        QTest::newRow("1.5") << QJsonValue(1.5) << none << none;
        QTest::newRow("-2^63") << QJsonValue(-9223372036854775808.0) << min64 << none;
        QTest::newRow("2^63") << QJsonValue(9223372036854775808.0) << none << none;
        QTest::newRow("1e300") << QJsonValue(1e300) << none << none;
        QTest::newRow("-1e300") << QJsonValue(-1e300) << none << none;
        QTest::newRow("infinity") << QJsonValue(std::numeric_limits<double>::infinity()) << none << none;
        QTest::newRow("a text") << QJsonValue(QStringLiteral("1")) << none << none;
        QTest::newRow("null") << QJsonValue(QJsonValue::Null) << none << none;
    }
    void wholeNumbers()
    {
        QFETCH(QJsonValue, value);
        QFETCH(qint64, widest);
        QFETCH(qint64, narrow);
        const auto read = [](std::optional<std::int64_t> number) { return number.value_or(-1); };
        QCOMPARE(read(wholeNumberIn(value, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max())),
                 widest);
        QCOMPARE(read(wholeNumberIn(value, 0, 255)), narrow);
    }

    // A level takes its keys by type; the others stay as they were.
    void keysAreTakenByType()
    {
        ExtensionKeys keys(object(R"({"colour": "00FF00", "size": "eight", "later": {"x": [1]}, "n": 3})"));
        QCOMPARE(keys.take(QStringLiteral("colour"), QJsonValue::String), QJsonValue(QStringLiteral("00FF00")));
        QCOMPARE(keys.take(QStringLiteral("size"), QJsonValue::Double), std::nullopt);
        QCOMPARE(keys.take(QStringLiteral("missing"), QJsonValue::Object), std::nullopt);
        QCOMPARE(keys.take(QStringLiteral("n"), QJsonValue::Double), QJsonValue(3));
        keys.drop(QStringLiteral("n"));
        QCOMPARE(keys.dropped(), (QStringList{"size", "n"}));
        QCOMPARE(keys.rest(), object(R"({"later": {"x": [1]}})"));
    }
};

QTEST_GUILESS_MAIN(TestExtensionBlock)
#include "tst_extension_block.moc"
