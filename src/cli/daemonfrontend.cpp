#include "daemonfrontend.h"

#include "foundation/journalstream.h"
#include "platform/clock.h"
#include "platform/userinterface.h"

#include <QRegularExpression>

namespace {
QString minuteText(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}
} // namespace

void DaemonFrontEnd::showMessage(const QString& text)
{
    // The window stamps a received job list with the time ("17:55:00:New Data Received"); the
    // journal stamps every line itself.
    static const QRegularExpression stamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d:"));
    QString message = text;
    message.remove(stamp);
    if (!message.isEmpty())
        m_messages << message;
}

void DaemonFrontEnd::runFinished(bool succeeded, const QString& counts)
{
    const bool stopped = kov::stopRequested();
    const QString result = stopped     ? QStringLiteral("stopped")
                           : succeeded ? QStringLiteral("succeeded")
                                       : QStringLiteral("failed");
    QStringList parts = m_messages;
    if (!counts.isEmpty())
        parts.prepend(counts);
    m_messages.clear();
    QString line = QStringLiteral("sync ") + result;
    if (!parts.isEmpty())
        line += QStringLiteral(": ") + parts.join(QStringLiteral("; "));
    kov::writeStderrLine(succeeded || stopped ? kov::LogPriority::Info : kov::LogPriority::Error,
                         line);
    m_lastRun = minuteText(kov::now()) + QLatin1Char(' ') + line.mid(5);
}

QString DaemonFrontEnd::statusText(const QDateTime& due) const
{
    QString text = QStringLiteral("Next sync ") +
                   (due.isValid() && due > kov::now() ? minuteText(due) : QStringLiteral("now")) +
                   QLatin1Char('.');
    if (!m_lastRun.isEmpty())
        text += QStringLiteral(" Last sync ") + m_lastRun;
    return text;
}
