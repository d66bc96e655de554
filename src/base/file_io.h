#pragma once

#include <QByteArray>
#include <QString>

namespace letterloom {

// The largest file the program reads. Real fonts, projects, pictures and texts
// are far smaller; the cap keeps a stray multi-gigabyte file from exhausting
// memory before its content is even looked at.
inline constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;

// True when path names an existing regular file (not a folder, pipe or device).
bool isRegularFile(const QString &path);

// The whole content of a regular file. Throws "File not found" when there is
// no such regular file, "File ... is too large" beyond limit bytes, and the
// platform's message when it cannot be read.
QByteArray readWholeFile(const QString &path, qint64 limit = kMaxFileSize);

// Replaces the file at path with bytes, all or nothing: the bytes go to a
// temporary file that takes the old file's place only once completely written,
// so a failed write ("Disk full", a read-only folder) leaves the old file as it was.
void writeWholeFile(const QString &path, const QByteArray &bytes);

// The file name of a path, without its directory.
QString fileNameOf(const QString &path);

}  // namespace letterloom
