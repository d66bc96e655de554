#include "base/file_io.h"

#include "base/error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <memory>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace letterloom {

bool isRegularFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QByteArray readWholeFile(const QString &path, qint64 limit)
{
    if (!isRegularFile(path))
        throw Error(QStringLiteral("File not found"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    if (file.size() > limit)
        throw Error(QStringLiteral("File \"%1\" is too large").arg(fileNameOf(path)));
    // Read to the end rather than asking for limit + 1 bytes: that
    // would make the platform reserve the whole cap for every file read.
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
    if (bytes.size() > limit)
        throw Error(QStringLiteral("File \"%1\" is too large").arg(fileNameOf(path)));
    return bytes;
}

namespace {

[[noreturn]] void throwWriteError(const QSaveFile &file)
{
    if (file.error() == QFileDevice::ResourceError)
        throw Error(QStringLiteral("Disk full"));
    throw Error(QStringLiteral("Cannot write file \"%1\". %2").arg(file.fileName(), file.errorString()));
}

[[noreturn]] void throwWriteError(const QString &path, int error)
{
    if (error == ENOSPC || error == EDQUOT)
        throw Error(QStringLiteral("Disk full"));
    throw Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

// The bytes of one file, written completely into a temporary file beside it
// and stored by the file system, ready to take the file's place. Destroyed
// without commit(), it removes the temporary file.
std::unique_ptr<QSaveFile> prepareFile(const QString &path, const QByteArray &bytes)
{
    auto file = std::make_unique<QSaveFile>(path);
    file->setDirectWriteFallback(false);
    if (!file->open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file->errorString()));
    // Straight to the file, past the device's buffer: commit() would flush
    // the last buffered bytes without noticing that they found no room, and a
    // short write would go unexplained.
    const char *data = bytes.constData();
    for (qint64 left = bytes.size(); left > 0;) {
        const ssize_t written = ::write(file->handle(), data, size_t(std::min<qint64>(left, qint64(1) << 30)));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throwWriteError(path, written < 0 ? errno : ENOSPC);
        data += written;
        left -= written;
    }
    // Some file systems only find out at this point that the disk is full.
    if (::fsync(file->handle()) != 0 && errno != EINVAL)
        throwWriteError(path, errno);
    return file;
}

}  // namespace

void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    const std::unique_ptr<QSaveFile> file = prepareFile(path, bytes);
    if (!file->commit())
        throwWriteError(*file);
}

QString fileNameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

}  // namespace letterloom
