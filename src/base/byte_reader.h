#pragma once

#include <QByteArray>

#include <cstdint>

namespace letterloom {

// Reads the little-endian fields of our file formats from bytes in memory.
// Every read checks what is left first and throws "Read beyond end of file"
// instead of running past the end, so a length taken from a file is proven
// against the file before anything is allocated for it.
class ByteReader {
public:
    explicit ByteReader(const QByteArray &bytes) : bytes_(bytes) {}

    std::uint8_t u8();
    std::int32_t i32();
    std::uint32_t u32();
    QByteArray take(qsizetype count);   // count must be >= 0 and available
    // The next count bytes where they lie, without a copy; valid while the
    // bytes are. Throws like take.
    const char *skip(qint64 count);
    void require(qint64 count) const;   // throws unless count bytes are left

    qsizetype position() const { return pos_; }
    qsizetype remaining() const { return bytes_.size() - pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }

private:
    const QByteArray &bytes_;
    qsizetype pos_ = 0;
};

// Appends little-endian fields to a growing byte buffer.
class ByteWriter {
public:
    void u8(std::uint8_t value) { bytes_.append(char(value)); }
    void i32(std::int32_t value) { u32(std::uint32_t(value)); }
    void u32(std::uint32_t value);
    void bytes(const QByteArray &data) { bytes_.append(data); }
    void reserve(qsizetype size) { bytes_.reserve(size); }

    const QByteArray &result() const { return bytes_; }

private:
    QByteArray bytes_;
};

}  // namespace letterloom
