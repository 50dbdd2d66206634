#include "autostart.h"

#include "foundation/programfolder.h"
#include "foundation/translate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
// An Exec key holds a command line: a path with a space or a shell character is quoted, and
// inside the quotes ", `, $ and \ are escaped. The key is also a string value, so each
// backslash is doubled once more, and a literal % is written %% (field codes start with %).
QString execValue(const QString& executable)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString value = executable;
    value.replace(QLatin1Char('%'), QStringLiteral("%%"));
    bool quote = false;
    for (const QChar c : executable)
        quote = quote || reserved.contains(c);
    if (quote) {
        QString quoted;
        for (const QChar c : value) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        value = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    // A line break would end the key early; the string escape keeps it inside.
    value.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return value;
}
} // namespace

namespace Autostart {

QString entryPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/kovferrit.desktop");
}

bool isEnabled()
{
    return QFileInfo::exists(entryPath());
}

QString entryText(const QString& executable, const QString& programFolder)
{
    // A folder given as its own argument, quoted as a whole when it holds a space.
    const QString command =
        programFolder.isEmpty()
            ? execValue(executable)
            : execValue(executable) + QStringLiteral(" --home ") + execValue(programFolder);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=KovFerrit\n"
                          "Comment=Keeps the recorder in step with the Quib recording jobs\n"
                          "Exec=%1\n"
                          "Icon=kovferrit\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(command);
}

QString customProgramFolder()
{
    const QString inUse = kov::programFolder();
    const QString byDefault = kov::defaultProgramFolder(
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString());
    // The same folder reached through a link is no other folder.
    const QString canonical = QFileInfo(inUse).canonicalFilePath();
    if (inUse == byDefault ||
        (!canonical.isEmpty() && canonical == QFileInfo(byDefault).canonicalFilePath()))
        return QString();
    return inUse;
}

bool enable(const QString& executable, QString* error)
{
    const QString path = entryPath();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = kov::translate(QStringLiteral("Cannot create the folder %1"))
                     .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(entryText(executable, customProgramFolder()).toUtf8()) < 0 || !file.commit()) {
        *error = kov::translate(QStringLiteral("Cannot write %1: %2"))
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

bool disable(QString* error)
{
    const QString path = entryPath();
    QFile file(path);
    if (!file.exists() || file.remove())
        return true;
    *error = kov::translate(QStringLiteral("Cannot remove %1: %2"))
                 .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

} // namespace Autostart
