#include "kov_paths.h"

#include "codepage.h"
#include "translate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <unistd.h>
#include <utility>

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}

QString clean(const QString& folder)
{
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

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

QString kov_AppTitle()
{
    return QStringLiteral("KovFerrit");
}

QString kov_DefaultProgramFolder(const QString& exeDir)
{
    // An installed binary never writes beside itself, not even run by root, who could write
    // to /usr/bin: only a binary in the build's output folder, or one made portable with a
    // file named `portable` beside it, keeps its files in its own folder.
    if (!exeDir.isEmpty()) {
        const QString own = QFileInfo(exeDir).canonicalFilePath();
        const bool buildTree =
            !own.isEmpty() &&
            own == QFileInfo(QStringLiteral(KOV_BUILD_BIN_DIR)).canonicalFilePath();
        const bool portable = QFileInfo(exeDir + QStringLiteral("/portable")).isFile();
        if ((buildTree || portable) && QFileInfo(exeDir).isWritable())
            return QDir(exeDir).absolutePath();
    }
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir(data + QStringLiteral("/KovFerrit")).absolutePath();
}

namespace {
QString resolveProgramFolder(const QString& override, const QString& env)
{
    if (!override.isEmpty())
        return clean(override);
    if (!env.isEmpty())
        return clean(env);
    return clean(kov_DefaultProgramFolder(
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString()));
}

// The folder as last resolved, with what it was resolved from: the override (`--home`, tests),
// KOVFERRIT_HOME and whether an application object existed. Every file name passes through
// kov_ProgramFolder, so it is resolved (and made) again only when one of these has changed.
struct ResolvedFolder
{
    std::mutex mutex;
    QString override;
    QString env;
    bool application = false;
    QString folder; ///< empty while nothing was resolved, or the folder could not be made
};

ResolvedFolder& resolvedFolder()
{
    static ResolvedFolder resolved;
    return resolved;
}
} // namespace

QString kov_ProgramFolder()
{
    ResolvedFolder& last = resolvedFolder();
    const std::lock_guard<std::mutex> guard(last.mutex);
    const QString override = overrideFolder();
    const QString env = override.isEmpty() ? qEnvironmentVariable("KOVFERRIT_HOME") : QString();
    const bool application = QCoreApplication::instance() != nullptr;
    if (!last.folder.isEmpty() && last.override == override && last.env == env &&
        last.application == application)
        return last.folder;
    const QString folder = resolveProgramFolder(override, env);
    // A folder that could not be made is tried again by the next call.
    last.override = override;
    last.env = env;
    last.application = application;
    last.folder = QFileInfo(folder).isDir() ? folder : QString();
    return folder;
}

void kov_SetProgramFolder(const QString& folder)
{
    overrideFolder() = folder;
}

QString kov_ProgramFile(const QString& name)
{
    return kov_ProgramFolder() + QLatin1Char('/') + name;
}

bool kov_WriteTextFile(const QString& path, const QString& text)
{
    return writeBytes(path, text, QIODevice::WriteOnly | QIODevice::Truncate);
}

bool kov_AppendTextFile(const QString& path, const QString& text)
{
    return writeBytes(path, text, QIODevice::WriteOnly | QIODevice::Append);
}

void kov_MakePrivate(const QString& path)
{
    QFile::setPermissions(path, kOwnerOnly);
}

bool kov_PreparePrivateFile(const QString& path, QString* whyNot)
{
    const QFileInfo info(path);
    if (info.exists()) {
        if (info.isFile())
            kov_MakePrivate(path);
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

bool kov_PreparePrivateDatabase(const QString& path, QString* whyNot)
{
    for (const char* journal : {"-wal", "-shm", "-journal"}) {
        if (QFileInfo(path + QLatin1String(journal)).isFile())
            kov_MakePrivate(path + QLatin1String(journal));
    }
    // SQLite gives its journal files the mode of the database file.
    return kov_PreparePrivateFile(path, whyNot);
}

bool kov_WritePrivateFile(const QString& path, const QString& text, QString* whyNot)
{
    return kov_WritePrivateBytes(path, kov::toCodePage(text), whyNot);
}

void kov::noteWriteFailure(const QString& path, const QString& reason)
{
    const QString message = Translate(QStringLiteral("%1 cannot be written: %2")).arg(path, reason);
    WriteFailure& failure = writeFailure();
    const std::lock_guard<std::mutex> guard(failure.mutex);
    if (!failure.message.isEmpty())
        return;
    failure.message = message;
    std::fprintf(stderr, "[%s] %s\n", qPrintable(kov_AppTitle()),
                 failure.message.toLocal8Bit().constData());
    std::fflush(stderr);
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

bool kov_WritePrivateBytes(const QString& path, const QByteArray& bytes, QString* whyNot)
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
    // rename(2) replaces the old file in one step.
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

bool kov_AppendPrivateFile(const QString& path, const QString& text)
{
    QString why;
    if (!kov_PreparePrivateFile(path, &why)) {
        kov::noteWriteFailure(path, why);
        return false;
    }
    return writeBytes(path, text, QIODevice::WriteOnly | QIODevice::Append);
}

QString kov_ProgramFolderProblem()
{
    const QFileInfo folder(kov_ProgramFolder());
    if (!folder.exists())
        return QStringLiteral("it cannot be made");
    if (!folder.isDir())
        return QStringLiteral("it is not a folder");
    if (!folder.isWritable())
        return QStringLiteral("it is not writable");
    return QString();
}

namespace {
QString& executableName()
{
    static QString name = QStringLiteral("kovferrit");
    return name;
}
} // namespace

QString kov_ExecutableName()
{
    return executableName();
}

void kov_SetExecutableName(const QString& name)
{
    executableName() = name;
}
