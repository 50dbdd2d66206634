#include "journalstream.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

bool kov::stderrIsJournal()
{
    static const bool journal = [] {
        const QByteArray stream = qgetenv("JOURNAL_STREAM");
        struct stat info
        {
        };
        if (stream.isEmpty() || fstat(STDERR_FILENO, &info) != 0)
            return false;
        return stream == QByteArray::number(static_cast<qulonglong>(info.st_dev)) + ':' +
                             QByteArray::number(static_cast<qulonglong>(info.st_ino));
    }();
    return journal;
}

QByteArray kov::stderrLine(LogPriority priority, const QString& text)
{
    if (!kov::stderrIsJournal())
        return text.toLocal8Bit() + '\n';
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
    return '<' + QByteArray::number(static_cast<int>(priority)) + '>' + line.toLocal8Bit() + '\n';
}

void kov::writeStderrLine(LogPriority priority, const QString& text)
{
    std::fputs(kov::stderrLine(priority, text).constData(), stderr);
    std::fflush(stderr);
}
