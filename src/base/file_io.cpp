#include "base/file_io.h"

#include "base/error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace letterloom {

bool isRegularFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QByteArray readWholeFile(const QString &path)
{
    if (!isRegularFile(path))
        throw Error(QStringLiteral("File not found"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    if (file.size() > kMaxFileSize)
        throw Error(QStringLiteral("File \"%1\" is too large").arg(fileNameOf(path)));
    // Read to the end rather than asking for kMaxFileSize + 1 bytes: that
    // would make the platform reserve the whole cap for every file read.
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
    if (bytes.size() > kMaxFileSize)
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

}  // namespace

void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size())
        throwWriteError(file);
    if (!file.commit())
        throwWriteError(file);
}

QString fileNameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

}  // namespace letterloom
