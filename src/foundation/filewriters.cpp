#include "filewriters.h"

#include "codepage.h"
#include "journalstream.h"
#include "programname.h"
#include "translate.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <unistd.h>
#include <utility>

namespace {
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The bytes reach the system before the file is closed: a write failing at the flush (a full
// disk) is seen, not lost in QFile's destructor. `why` says what failed.
bool writeAll(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode, QString* why)
{
    QFile f(path);
    if (f.open(mode) && f.write(bytes) == bytes.size() && f.flush())
        return true;
    *why = f.errorString();
    return false;
}

bool writeBytes(const QString& path, const QString& text, QIODevice::OpenMode mode)
{
    QString why;
    if (writeAll(path, kov::toCodePage(text), mode, &why))
        return true;
    kov::noteWriteFailure(path, why);
    return false;
}

struct WriteFailure
{
    std::mutex mutex;
    QString message;
};

WriteFailure& writeFailure()
{
    static WriteFailure failure;
    return failure;
}
} // namespace

bool kov::writeTextFile(const QString& path, const QString& text)
{
    return writeBytes(path, text, QIODevice::WriteOnly | QIODevice::Truncate);
}

bool kov::appendTextFile(const QString& path, const QString& text)
{
    return writeBytes(path, text, QIODevice::WriteOnly | QIODevice::Append);
}

void kov::makePrivate(const QString& path)
{
    QFile::setPermissions(path, kOwnerOnly);
}

bool kov::preparePrivateFile(const QString& path, QString* whyNot)
{
    const QFileInfo info(path);
    if (info.exists()) {
        if (info.isFile())
            kov::makePrivate(path);
        return true;
    }
    QFile f(path);
    // The mode is given to open(2), so the file never exists with more. Another process may
    // have made it in the meantime.
    if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly) || QFileInfo(path).isFile())
        return true;
    if (whyNot)
        *whyNot = f.errorString();
    return false;
}

bool kov::preparePrivateDatabase(const QString& path, QString* whyNot)
{
    for (const char* journal : {"-wal", "-shm", "-journal"}) {
        if (QFileInfo(path + QLatin1String(journal)).isFile())
            kov::makePrivate(path + QLatin1String(journal));
    }
    // SQLite gives its journal files the mode of the database file.
    return kov::preparePrivateFile(path, whyNot);
}

bool kov::writePrivateFile(const QString& path, const QString& text, QString* whyNot)
{
    return kov::writePrivateBytes(path, kov::toCodePage(text), whyNot);
}

void kov::noteWriteFailure(const QString& path, const QString& reason)
{
    const QString message =
        kov::translate(QStringLiteral("%1 cannot be written: %2")).arg(path, reason);
    WriteFailure& failure = writeFailure();
    const std::lock_guard<std::mutex> guard(failure.mutex);
    if (!failure.message.isEmpty())
        return;
    failure.message = message;
    kov::writeStderrLine(kov::LogPriority::Error, QLatin1Char('[') + kov::appTitle() +
                                                      QStringLiteral("] ") + failure.message);
}

bool kov::writeFailed()
{
    WriteFailure& failure = writeFailure();
    const std::lock_guard<std::mutex> guard(failure.mutex);
    return !failure.message.isEmpty();
}

QString kov::takeWriteFailure()
{
    WriteFailure& failure = writeFailure();
    const std::lock_guard<std::mutex> guard(failure.mutex);
    return std::exchange(failure.message, QString());
}

bool kov::writePrivateBytes(const QString& path, const QByteArray& bytes, QString* whyNot,
                            const QString& backup)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        QString why;
        // An export to a device or a pipe (/dev/stdout) is written into: it cannot be replaced.
        const bool written = writeAll(path, bytes, QIODevice::WriteOnly, &why);
        if (!written && whyNot)
            *whyNot = why;
        else if (!written)
            kov::noteWriteFailure(path, why);
        return written;
    }
    const QString fresh = path + QStringLiteral(".new");
    QFile::remove(fresh); // a stale one may have another mode
    QFile f(fresh);
    bool written = f.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly) &&
                   f.write(bytes) == bytes.size() && f.flush();
    QString why = f.errorString();
    if (written && ::fsync(f.handle()) != 0) {
        written = false;
        why = QString::fromLocal8Bit(std::strerror(errno));
    }
    f.close();
    if (written && !backup.isEmpty()) {
        QFile::remove(backup);
        if (QFile::exists(path))
            QFile::copy(path, backup);
    }
    // rename(2) replaces the old file in one step: at every moment one whole file exists.
    if (written && std::rename(QFile::encodeName(fresh).constData(),
                               QFile::encodeName(path).constData()) != 0) {
        written = false;
        why = QString::fromLocal8Bit(std::strerror(errno));
    }
    if (!written) {
        QFile::remove(fresh);
        if (whyNot)
            *whyNot = why;
        else
            kov::noteWriteFailure(path, why);
    }
    return written;
}

bool kov::appendPrivateFile(const QString& path, const QString& text)
{
    QString why;
    if (!kov::preparePrivateFile(path, &why)) {
        kov::noteWriteFailure(path, why);
        return false;
    }
    return writeBytes(path, text, QIODevice::WriteOnly | QIODevice::Append);
}
