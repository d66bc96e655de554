#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <vector>

namespace letterloom {

// The largest file the program reads. Real fonts, projects, pictures and texts
// are far smaller; the cap keeps a stray multi-gigabyte file from exhausting
// memory before its content is even looked at.
inline constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;

// True when path names an existing regular file (not a folder, pipe or device).
bool isRegularFile(const QString &path);

// The message for a path that names a folder, a pipe, a device or a socket
// where a file is read or written: "PATH" is not a regular file.
QString notRegularFileMessage(const QString &path);

// The whole content of a regular file. Throws "File not found" when there is
// nothing at path, "... is not a regular file" for a folder, pipe or device,
// "File ... is too large" beyond limit bytes, and the platform's message when
// it cannot be read.
QByteArray readWholeFile(const QString &path, qint64 limit = kMaxFileSize);

// A text as a command-line user may give it: "-" is standard input, and a
// pipe or a device (/dev/stdin) is read to its end; anything else is read as
// readWholeFile reads it. More than limit bytes are refused as too large.
QByteArray readTextInput(const QString &path, qint64 limit = kMaxFileSize);

// The file that writing to path replaces: path itself, or the file that its
// symbolic links lead to (which need not exist yet). Throws "... is not a
// regular file" when that is a folder, a pipe, a device or a socket: those
// are never replaced.
QString writeTarget(const QString &path);

// Replaces the file at path with bytes, all or nothing: the bytes go to a
// temporary file that takes the old file's place only once completely written,
// so a failed write ("Disk full", a read-only folder) leaves the old file as it was.
// A symbolic link is kept and the file it leads to replaced (see writeTarget).
void writeWholeFile(const QString &path, const QByteArray &bytes);

// The same for a file whose bytes come in pieces: fill is called once and
// hands each piece in turn to the function it is given, which writes it out.
// An exception from fill leaves the old file as it was, as a failed write does.
using WritePiece = std::function<void(QByteArrayView piece)>;
void writeWholeFileInPieces(const QString &path, const std::function<void(const WritePiece &write)> &fill);

struct FileBytes {
    QString path;
    QByteArray bytes;
};

// Replaces several files as one, all or nothing: every file is written in
// full to a temporary file beside it first, and only once all of them are do
// they take their files' places, in the order given. A failure before that
// leaves every old file as it was and no temporary file behind.
void writeWholeFiles(const std::vector<FileBytes> &files);

// The file name of a path, without its directory.
QString fileNameOf(const QString &path);

}  // namespace letterloom
