#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <mutex>

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
} // namespace

QString kov::defaultProgramFolder(const QString& exeDir)
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
    return clean(kov::defaultProgramFolder(
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString()));
}

// The folder as last resolved, with what it was resolved from: the override (`--home`, tests),
// KOVFERRIT_HOME and whether an application object existed. Every file name passes through
// kov::programFolder, so it is resolved (and made) again only when one of these has changed.
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

QString kov::programFolder()
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

void kov::setProgramFolder(const QString& folder)
{
    overrideFolder() = folder;
}

QString kov::programFile(const QString& name)
{
    return kov::programFolder() + QLatin1Char('/') + name;
}

QString kov::programFolderProblem()
{
    const QFileInfo folder(kov::programFolder());
    if (!folder.exists())
        return QStringLiteral("it cannot be made");
    if (!folder.isDir())
        return QStringLiteral("it is not a folder");
    if (!folder.isWritable())
        return QStringLiteral("it is not writable");
    return QString();
}
