#include "base/file_io.h"

#include "base/error.h"
#include "base/large_pages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <memory>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace letterloom {

bool isRegularFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QString notRegularFileMessage(const QString &path)
{
    return QStringLiteral("\"%1\" is not a regular file").arg(path);
}

QByteArray readWholeFile(const QString &path, qint64 limit)
{
    if (!isRegularFile(path)) {
        // A folder, pipe or device is there, not missing; opening a pipe
        // would wait for a writer that may never come.
        if (!path.isEmpty() && QFileInfo::exists(path))
            throw Error(notRegularFileMessage(path));
        throw Error(QStringLiteral("File not found"));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    if (file.size() > limit)
        throw Error(QStringLiteral("File \"%1\" is too large").arg(fileNameOf(path)));
    // As many bytes as the file has, in one buffer, then to the end in case
    // it grew meanwhile (asking for limit + 1 bytes would make the platform
    // reserve the whole cap for every file read).
    QByteArray bytes(qsizetype(file.size()), Qt::Uninitialized);
    preferLargePages(bytes.data(), std::size_t(bytes.size()));
    const qint64 got = file.read(bytes.data(), bytes.size());
    bytes.truncate(qsizetype(std::max<qint64>(got, 0)));
    if (got == file.size())
        bytes += file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
    if (bytes.size() > limit)
        throw Error(QStringLiteral("File \"%1\" is too large").arg(fileNameOf(path)));
    return bytes;
}

namespace {

// Everything that can be read from fd, in pieces, as it comes from a pipe.
QByteArray readStream(int fd, const QString &path, qint64 limit)
{
    QByteArray bytes;
    constexpr qsizetype kPiece = 64 * 1024;
    for (;;) {
        const qsizetype size = bytes.size();
        bytes.resize(size + kPiece);
        const ssize_t got = ::read(fd, bytes.data() + size, size_t(kPiece));
        if (got < 0 && errno == EINTR) {
            bytes.resize(size);
            continue;
        }
        if (got < 0)
            throw Error(QStringLiteral("Cannot read file \"%1\". %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        bytes.resize(size + got);
        if (bytes.size() > limit)
            throw Error(QStringLiteral("File \"%1\" is too large").arg(path == u"-" ? path : fileNameOf(path)));
        if (got == 0)
            break;
    }
    bytes.squeeze();
    return bytes;
}

}  // namespace

QByteArray readTextInput(const QString &path, qint64 limit)
{
    if (path == u"-")
        return readStream(STDIN_FILENO, path, limit);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isFile() || info.isDir())
        return readWholeFile(path, limit);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    return readStream(fd, path, limit);
}

QString writeTarget(const QString &path)
{
    // Through every link in turn: the last one may lead to a file that is not
    // there yet, which the write then creates.
    QString target = path;
    for (int links = 0; QFileInfo(target).isSymLink(); ++links) {
        if (links == 40)
            throw Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, QString::fromLocal8Bit(std::strerror(ELOOP))));
        target = QFileInfo(target).symLinkTarget();
    }
    const QFileInfo info(target);
    if (info.exists() && !info.isFile())
        throw Error(notRegularFileMessage(path));
    return target;
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

// Writes all of bytes to the open file at path, or throws.
void writeAll(QSaveFile &file, const QString &path, QByteArrayView bytes)
{
    // Straight to the file, past the device's buffer: commit() would flush
    // the last buffered bytes without noticing that they found no room, and a
    // short write would go unexplained.
    const char *data = bytes.data();
    for (qint64 left = bytes.size(); left > 0;) {
        const ssize_t written = ::write(file.handle(), data, size_t(std::min<qint64>(left, qint64(1) << 30)));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throwWriteError(path, written < 0 ? errno : ENOSPC);
        data += written;
        left -= written;
    }
}

// One file, written completely by fill into a temporary file beside it and
// stored by the file system, ready to take the file's place. Destroyed
// without commit(), it removes the temporary file.
std::unique_ptr<QSaveFile> prepareFile(const QString &path, const std::function<void(const WritePiece &)> &fill)
{
    auto file = std::make_unique<QSaveFile>(writeTarget(path));
    file->setDirectWriteFallback(false);
    if (!file->open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file->errorString()));
    fill([&](QByteArrayView piece) { writeAll(*file, path, piece); });
    // Some file systems only find out at this point that the disk is full.
    if (::fsync(file->handle()) != 0 && errno != EINVAL)
        throwWriteError(path, errno);
    return file;
}

std::unique_ptr<QSaveFile> prepareFile(const QString &path, const QByteArray &bytes)
{
    return prepareFile(path, [&bytes](const WritePiece &write) { write(bytes); });
}

void commit(QSaveFile &file)
{
    // Only a rename is left: it takes no room on the disk.
    if (!file.commit())
        throwWriteError(file);
}

}  // namespace

void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    writeWholeFiles({{path, bytes}});
}

void writeWholeFiles(const std::vector<FileBytes> &files)
{
    // Every name is checked before any byte is written.
    for (const FileBytes &file : files)
        writeTarget(file.path);
    std::vector<std::unique_ptr<QSaveFile>> prepared;
    for (const FileBytes &file : files)
        prepared.push_back(prepareFile(file.path, file.bytes));
    for (const std::unique_ptr<QSaveFile> &file : prepared)
        commit(*file);
}

void writeWholeFileInPieces(const QString &path, const std::function<void(const WritePiece &write)> &fill)
{
    commit(*prepareFile(path, fill));
}

QString fileNameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

}  // namespace letterloom
