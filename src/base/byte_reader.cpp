#include "base/byte_reader.h"

#include "base/error.h"

namespace letterloom {

void ByteReader::require(qint64 count) const
{
    if (count < 0 || count > remaining())
        throw Error(QStringLiteral("Read beyond end of file"));
}

std::uint8_t ByteReader::u8()
{
    require(1);
    return std::uint8_t(bytes_[pos_++]);
}

std::uint32_t ByteReader::u32()
{
    require(4);
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t(std::uint8_t(bytes_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return value;
}

std::int32_t ByteReader::i32()
{
    return std::int32_t(u32());
}

QByteArray ByteReader::take(qsizetype count)
{
    require(count);
    QByteArray part = bytes_.mid(pos_, count);
    pos_ += count;
    return part;
}

const char *ByteReader::skip(qint64 count)
{
    require(count);
    const char *at = bytes_.constData() + pos_;
    pos_ += qsizetype(count);
    return at;
}

void ByteWriter::u32(std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes_.append(char((value >> (8 * i)) & 0xFF));
}

}  // namespace letterloom
