#pragma once

#include <QByteArray>

namespace letterloom {

// gzip streams, as compressed files on Linux machines are (".gz").

// True when the bytes begin as a gzip stream does.
bool isGzip(const QByteArray &bytes);

// The unpacked bytes of one or more gzip members one after the other. A
// damaged stream throws "The gzip compression is damaged"; one that would
// unpack to more than limit bytes throws "It unpacks to more than N MiB".
QByteArray gunzip(const QByteArray &packed, qint64 limit);

// The bytes as one gzip member (no file name, no time, so the same bytes
// always give the same file).
QByteArray gzip(const QByteArray &bytes);

}  // namespace letterloom
