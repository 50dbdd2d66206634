#include "vdrscheduler.h"

#include "foundation/kov_paths.h"
#include "foundation/kov_vb.h"
#include "foundation/translate.h"
#include "platform/userinterface.h"

namespace {
constexpr int kOk = 250;
// VDR's timer flag for a recording in progress.
constexpr int kRecording = 8;

QString escapeXml(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"));
}

QString unescapeXml(QString text)
{
    return text.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

QString element(const QString& aux, const QString& tag)
{
    const qsizetype open = aux.indexOf(QLatin1Char('<') + tag + QLatin1Char('>'));
    const qsizetype close = aux.indexOf(QStringLiteral("</") + tag + QLatin1Char('>'));
    if (open < 0 || close < open)
        return QString();
    const qsizetype from = open + tag.size() + 2;
    return unescapeXml(aux.mid(from, close - from));
}

void trace(const QString& message)
{
    kov_ClassMessage("VdrScheduler", message);
}

// "0930" as a time of day.
QTime timeOfDay(const QString& hhmm)
{
    return QTime::fromString(hhmm.rightJustified(4, QLatin1Char('0')), QStringLiteral("hhmm"));
}
} // namespace

VdrScheduler::VdrScheduler(int timeoutMs) : m_client(timeoutMs) {}

std::unique_ptr<VdrScheduler> VdrScheduler::Connect(const QString& host, quint16 port,
                                                    int timeoutSeconds, QString* why)
{
    std::unique_ptr<VdrScheduler> vdr(new VdrScheduler(std::max(1, timeoutSeconds) * 1000));
    if (vdr->m_client.open(host, port))
        return vdr;
    trace(vdr->m_client.error());
    if (why)
        *why =
            Translate(QStringLiteral("VDR at %1, port %2, cannot be used:")).arg(host).arg(port) +
            QLatin1Char(' ') + ReasonText(vdr->m_client);
    return nullptr;
}

QString VdrScheduler::ReasonText(const SvdrpClient& client)
{
    switch (client.failure()) {
    case SvdrpClient::Failure::Refused:
        return Translate(QStringLiteral("the connection was refused (is VDR running, and is this "
                                        "its SVDRP port?)."));
    case SvdrpClient::Failure::TimedOut:
        return Translate(QStringLiteral("it did not answer in time."));
    case SvdrpClient::Failure::UnknownHost:
        return Translate(QStringLiteral("the host name is unknown."));
    case SvdrpClient::Failure::NotAllowed:
        return Translate(QStringLiteral(
            "it does not let this computer in; add its address to VDR's svdrphosts.conf."));
    case SvdrpClient::Failure::Closed:
        return Translate(QStringLiteral("it closed the connection."));
    case SvdrpClient::Failure::NotSvdrp:
        // The line it sent tells the user which service listens there.
        return Translate(QStringLiteral("it answers something that is not SVDRP:")) +
               QLatin1Char(' ') + client.error().section(QStringLiteral(": "), 1);
    case SvdrpClient::Failure::None:
    case SvdrpClient::Failure::Other:
        break;
    }
    return client.error();
}

QString VdrScheduler::AuxFor(const QString& name, const QString& tag)
{
    return QStringLiteral("<kovferrit><name>") + escapeXml(name) + QStringLiteral("</name><tag>") +
           escapeXml(tag) + QStringLiteral("</tag></kovferrit>");
}

std::optional<QList<VdrScheduler::Timer>> VdrScheduler::OwnTimers()
{
    const std::optional<SvdrpReply> reply = m_client.command(QStringLiteral("LSTT"));
    if (!reply) {
        trace(m_client.error());
        return std::nullopt;
    }
    QList<Timer> timers;
    if (reply->code != kOk) // 550: no timers at all
        return timers;
    for (const QString& line : reply->lines) {
        // "ID FLAGS:CHANNEL:DAY:START:STOP:PRIORITY:LIFETIME:FILE:AUX"; AUX may hold colons.
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        Timer timer;
        timer.id = line.left(blank).toInt();
        QStringList fields = line.mid(blank + 1).split(QLatin1Char(':'));
        if (blank < 1 || timer.id < 1 || fields.size() < 9)
            continue;
        const QString aux = fields.mid(8).join(QLatin1Char(':'));
        if (!aux.startsWith(QLatin1String("<kovferrit>")))
            continue;
        timer.flags = fields.at(0).toInt();
        timer.fields = fields.mid(1, 7) << aux;
        timer.name = element(aux, QStringLiteral("name"));
        timer.tag = element(aux, QStringLiteral("tag"));
        timers << timer;
    }
    return timers;
}

bool VdrScheduler::DoesProgramExist(const QString& name)
{
    const auto timers = OwnTimers();
    if (!timers)
        return false;
    return std::any_of(timers->begin(), timers->end(),
                       [&](const Timer& t) { return t.name == name; });
}

qint32 VdrScheduler::CreateProgram(qint32 /*arg1*/, const QString& name, const QDateTime& start,
                                   const QDateTime& end, qint32 channel, qint32 /*arg6*/,
                                   const QString& /*fileName*/, const QString& tag,
                                   qint32 recurrence, const QVariant& /*arg10*/, bool /*arg11*/)
{
    if (!(end > start))
        return EndNotAfterStart;
    const std::optional<SvdrpReply> known =
        m_client.command(QStringLiteral("LSTC ") + QString::number(channel));
    if (!known) {
        trace(m_client.error());
        return Failed;
    }
    if (known->code != kOk)
        return UnknownChannel;
    // A repeating recording runs every day from its first day on.
    const QString date = start.date().toString(Qt::ISODate);
    const QString day = recurrence != 0 ? QStringLiteral("MTWTFSS@") + date : date;
    QString file = name;
    file.replace(QLatin1Char(':'), QLatin1Char('|'));
    const QString timer = QStringLiteral("1:%1:%2:%3:%4:50:99:%5:%6")
                              .arg(channel)
                              .arg(day, start.toString(QStringLiteral("hhmm")),
                                   end.toString(QStringLiteral("hhmm")), file, AuxFor(name, tag));
    const std::optional<SvdrpReply> made = m_client.command(QStringLiteral("NEWT ") + timer);
    if (!made) {
        trace(m_client.error());
        return Failed;
    }
    if (made->code != kOk) {
        trace(QStringLiteral("NEWT refused: ") + made->lines.join(QLatin1Char(' ')));
        return Failed;
    }
    return Created;
}

bool VdrScheduler::DeleteProgram(const QString& name)
{
    const auto timers = OwnTimers();
    if (!timers)
        return false;
    for (const Timer& t : *timers) {
        if (t.name != name)
            continue;
        // DELT would stop a running recording without a word: leave it and say so.
        if (t.flags & kRecording) {
            kov_UserInterface().messageBox(
                name + QLatin1Char(' ') +
                    Translate(QStringLiteral("is being recorded and was not deleted.")),
                MsgStyle::Information, kov_AppTitle());
            return false;
        }
        // Timer numbers change when VDR restarts, so the one just listed is deleted at once.
        const std::optional<SvdrpReply> done =
            m_client.command(QStringLiteral("DELT ") + QString::number(t.id));
        return done && done->code == kOk;
    }
    return false;
}

QList<ScheduledProgram> VdrScheduler::Programs()
{
    QList<ScheduledProgram> list;
    for (const Timer& t : OwnTimers().value_or(QList<Timer>())) {
        ScheduledProgram p;
        p.name = t.name;
        // DAY is "2026-12-10", or a weekday mask with "@" and its first day.
        const QString day = t.fields.at(1);
        const qsizetype at = day.indexOf(QLatin1Char('@'));
        const QDate date = QDate::fromString(at < 0 ? day : day.mid(at + 1), Qt::ISODate);
        p.recurrence = day.contains(QLatin1Char('@')) || !date.isValid() ? 1 : 0;
        p.start = QDateTime(date, timeOfDay(t.fields.at(2)));
        p.end = QDateTime(date, timeOfDay(t.fields.at(3)));
        if (p.end <= p.start)
            p.end = p.end.addDays(1);
        p.channel = t.fields.at(0).toInt();
        p.fileName = QString(t.fields.at(6)).replace(QLatin1Char('|'), QLatin1Char(':'));
        p.tag = t.tag;
        list << p;
    }
    return list;
}

std::optional<QList<RecorderChannel>> VdrScheduler::Channels()
{
    const std::optional<SvdrpReply> reply = m_client.command(QStringLiteral("LSTC"));
    if (!reply || reply->code != kOk) {
        trace(reply ? reply->lines.join(QLatin1Char(' ')) : m_client.error());
        return std::nullopt;
    }
    QList<RecorderChannel> channels;
    for (const QString& line : reply->lines) {
        // "NUMBER NAME[,SHORT NAME][;PROVIDER]:FREQUENCY:..."
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        const qint32 number = line.left(blank).toInt();
        const QString name = line.mid(blank + 1)
                                 .section(QLatin1Char(':'), 0, 0)
                                 .section(QLatin1Char(';'), 0, 0)
                                 .section(QLatin1Char(','), 0, 0);
        if (blank > 0 && number > 0 && !name.isEmpty())
            channels << RecorderChannel{number, name};
    }
    return channels;
}
