#include "kov_paths.h"

#include "codepage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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

bool writeBytes(const QString& path, const QString& text, QIODevice::OpenMode mode)
{
    QFile f(path);
    if (!f.open(mode))
        return false;
    const QByteArray bytes = kov::toCodePage(text);
    return f.write(bytes) == bytes.size();
}
} // namespace

QString kov_AppTitle()
{
    return QStringLiteral("KovFerrit");
}

QString kov_ProgramFolder()
{
    if (!overrideFolder().isEmpty())
        return clean(overrideFolder());
    const QString env = qEnvironmentVariable("KOVFERRIT_HOME");
    if (!env.isEmpty())
        return clean(env);
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        if (QFileInfo(exeDir).isWritable())
            return clean(exeDir);
    }
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return clean(data + QStringLiteral("/KovFerrit"));
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
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
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
