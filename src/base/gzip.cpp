#include "base/gzip.h"

#include "base/error.h"

#include <zlib.h>

#include <algorithm>

namespace letterloom {

namespace {

constexpr int kGzipWindow = 15 + 16;  // the largest window, gzip framing only
constexpr qsizetype kChunk = 64 * 1024;

[[noreturn]] void damaged()
{
    throw Error(QStringLiteral("The gzip compression is damaged"));
}

}  // namespace

bool isGzip(const QByteArray &bytes)
{
    return bytes.size() >= 2 && quint8(bytes[0]) == 0x1F && quint8(bytes[1]) == 0x8B;
}

QByteArray gunzip(const QByteArray &packed, qint64 limit)
{
    z_stream stream{};
    if (inflateInit2(&stream, kGzipWindow) != Z_OK)
        throw std::bad_alloc();
    QByteArray out;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.constData()));
    stream.avail_in = uInt(packed.size());
    int status = Z_OK;
    try {
        for (;;) {
            // The output grows in steps of its own size, never past the limit
            // (plus one byte, to tell a stream that reaches it from one that passes it).
            const qsizetype used = out.size() - qsizetype(stream.avail_out);
            if (stream.avail_out == 0) {
                const qint64 room = std::min<qint64>(std::max<qint64>(kChunk, used), limit + 1 - used);
                if (room <= 0)
                    throw Error(QStringLiteral("It unpacks to more than %1 MiB").arg(limit >> 20));
                out.resize(used + qsizetype(room));
                stream.next_out = reinterpret_cast<Bytef *>(out.data() + used);
                stream.avail_out = uInt(room);
            }
            status = inflate(&stream, Z_NO_FLUSH);
            if (status == Z_STREAM_END) {
                // Another member may follow; anything else after the last is damage.
                if (stream.avail_in == 0)
                    break;
                if (inflateReset(&stream) != Z_OK)
                    damaged();
                continue;
            }
            if (status == Z_MEM_ERROR)
                throw std::bad_alloc();
            if (status != Z_OK || (stream.avail_in == 0 && stream.avail_out != 0))
                damaged();  // broken, or cut short
        }
    } catch (...) {
        inflateEnd(&stream);
        throw;
    }
    out.resize(out.size() - qsizetype(stream.avail_out));
    inflateEnd(&stream);
    if (out.size() > limit)
        throw Error(QStringLiteral("It unpacks to more than %1 MiB").arg(limit >> 20));
    return out;
}

QByteArray gzip(const QByteArray &bytes)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindow, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::bad_alloc();
    QByteArray out(qsizetype(deflateBound(&stream, uLong(bytes.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    const int status = deflate(&stream, Z_FINISH);
    out.resize(out.size() - qsizetype(stream.avail_out));
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        throw std::bad_alloc();
    return out;
}

}  // namespace letterloom
