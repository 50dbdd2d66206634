#include "vdrscheduler.h"

#include "foundation/programname.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "platform/userinterface.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

using kov::vdr::Claim;

namespace {
constexpr int kOk = 250;
// VDR's timer flags: active, VPS, a recording in progress.
constexpr int kActive = 1;
constexpr int kVps = 4;
constexpr int kRecording = 8;
// VDR closes an SVDRP connection left idle for its time-out (300 s by default); a run that
// waited this long (a prompt, say) starts a new connection rather than find the old one gone.
constexpr qint64 kIdleMs = 60 * 1000;

void trace(const QString& message)
{
    kov::traceFrom("VdrScheduler", message);
}

// "0930" as a time of day.
QTime timeOfDay(const QString& hhmm)
{
    return QTime::fromString(hhmm.rightJustified(4, QLatin1Char('0')), QStringLiteral("hhmm"));
}

// Channel, day, start and stop: what makes two timers the same recording. A repeating timer's
// first day goes once it has passed (VDR writes "MTWTFSS" for "MTWTFSS@2026-12-04").
QString recordingKey(const QStringList& fields)
{
    return fields.value(0) + QLatin1Char(':') + fields.value(1).section(QLatin1Char('@'), 0, 0) +
           QLatin1Char(':') + fields.value(2) + QLatin1Char(':') + fields.value(3);
}

// A command naming a timer by its number, which may mean another timer after VDR restarted.
bool namesTimer(const QString& command)
{
    return command.startsWith(QLatin1String("LSTT ")) ||
           command.startsWith(QLatin1String("DELT ")) || command.startsWith(QLatin1String("MODT "));
}

QString reasonText(const SvdrpClient& client)
{
    switch (client.failure()) {
    case SvdrpClient::Failure::Refused:
        return kov::translate(
            QStringLiteral("the connection was refused (is VDR running, and is this "
                           "its SVDRP port?)."));
    case SvdrpClient::Failure::TimedOut:
        return kov::translate(QStringLiteral("it did not answer in time."));
    case SvdrpClient::Failure::UnknownHost:
        return kov::translate(QStringLiteral("the host name is unknown."));
    case SvdrpClient::Failure::NotAllowed:
        return kov::translate(QStringLiteral(
            "it does not let this computer in; add its address to VDR's svdrphosts.conf."));
    case SvdrpClient::Failure::Closed:
        return kov::translate(QStringLiteral("it closed the connection."));
    case SvdrpClient::Failure::NotSvdrp:
        // The line it sent tells the user which service listens there.
        return kov::translate(QStringLiteral("it answers something that is not SVDRP:")) +
               QLatin1Char(' ') + client.error().section(QStringLiteral(": "), 1);
    case SvdrpClient::Failure::None:
    case SvdrpClient::Failure::Other:
        break;
    }
    return client.error();
}
} // namespace

VdrScheduler::VdrScheduler(const VdrOptions& options)
    : m_options(options), m_client(std::max(1, options.timeoutSeconds) * 1000)
{
}

std::unique_ptr<VdrScheduler> VdrScheduler::connect(const VdrOptions& options, QString* why)
{
    std::unique_ptr<VdrScheduler> vdr(new VdrScheduler(options));
    if (vdr->m_client.open(options.host, static_cast<quint16>(options.port))) {
        vdr->m_lastAnswer.start();
        return vdr;
    }
    trace(vdr->m_client.error());
    if (why)
        *why = vdr->unusable();
    return nullptr;
}

QString VdrScheduler::unusable() const
{
    return kov::translate(QStringLiteral("VDR at %1, port %2, cannot be used:"))
               .arg(m_options.host)
               .arg(m_options.port) +
           QLatin1Char(' ') + reasonText(m_client);
}

void VdrScheduler::forgetAll()
{
    m_loaded = false;
    m_timers.clear();
    m_byName.clear();
    m_byRecording.clear();
    m_channels.reset();
}

bool VdrScheduler::reconnect()
{
    // VDR may have restarted meanwhile, and its timer numbers with it.
    m_client.close();
    forgetAll();
    if (m_client.open(m_options.host, static_cast<quint16>(m_options.port))) {
        m_lastAnswer.start();
        return true;
    }
    trace(m_client.error());
    m_failure = unusable();
    return false;
}

void VdrScheduler::refreshIfIdle()
{
    if (m_failure.isEmpty() && m_lastAnswer.hasExpired(kIdleMs))
        reconnect();
}

std::optional<SvdrpReply> VdrScheduler::send(const QString& command)
{
    if (!m_failure.isEmpty())
        return std::nullopt;
    std::optional<SvdrpReply> reply = m_client.command(command);
    if (!reply && m_client.failure() == SvdrpClient::Failure::Closed) {
        // VDR closes a connection left idle for its SVDRP time-out, which its user may have set
        // shorter than ours: a new one goes on, but a timer number read before is not trusted.
        trace(m_client.error());
        if (!reconnect() || namesTimer(command))
            return std::nullopt;
        reply = m_client.command(command);
    }
    if (!reply) {
        trace(m_client.error());
        m_failure = unusable();
        return std::nullopt;
    }
    m_lastAnswer.start();
    return reply;
}

std::optional<VdrScheduler::Timer> VdrScheduler::parseTimer(const QString& line) const
{
    // "ID FLAGS:CHANNEL:DAY:START:STOP:PRIORITY:LIFETIME:FILE:AUX"; AUX may hold colons.
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    Timer timer;
    timer.id = line.left(blank).toInt();
    const QStringList fields = line.mid(blank + 1).split(QLatin1Char(':'));
    if (blank < 1 || timer.id < 1 || fields.size() < 9)
        return std::nullopt;
    std::optional<kov::vdr::Mark> mark = kov::vdr::markOf(fields.mid(8).join(QLatin1Char(':')));
    if (!mark)
        return std::nullopt;
    timer.flags = fields.at(0).toInt();
    timer.fields = fields.mid(1, 7);
    timer.mark = std::move(*mark);
    return timer;
}

bool VdrScheduler::ours(const Claim& claim, const QString& name) const
{
    // A claim without an account was written before timers carried accounts.
    return claim.name == name && (claim.account == m_options.account || claim.account.isEmpty());
}

void VdrScheduler::remember(const Timer& timer)
{
    forget(timer.id);
    bool claimed = false;
    for (const Claim& claim : timer.mark.claims) {
        if (ours(claim, claim.name)) {
            m_byName.insert(claim.name, timer.id);
            claimed = true;
        }
    }
    // Only another account's timer is joined: two jobs of one account keep a timer each.
    if (!claimed)
        m_byRecording.insert(recordingKey(timer.fields), timer.id);
    m_timers[timer.id] = timer;
}

void VdrScheduler::forget(int id)
{
    const auto found = m_timers.find(id);
    if (found == m_timers.end())
        return;
    for (const Claim& claim : found->second.mark.claims) {
        if (m_byName.value(claim.name) == id)
            m_byName.remove(claim.name);
    }
    const QString key = recordingKey(found->second.fields);
    if (m_byRecording.value(key) == id)
        m_byRecording.remove(key);
    m_timers.erase(found);
}

bool VdrScheduler::loadTimers()
{
    if (m_loaded)
        return true;
    const std::optional<SvdrpReply> reply = send(QStringLiteral("LSTT"));
    if (!reply)
        return false;
    m_loaded = true;
    if (reply->code != kOk) // 550: no timers at all
        return true;
    for (const QString& line : reply->lines) {
        if (const std::optional<Timer> timer = parseTimer(line))
            remember(*timer);
    }
    return true;
}

VdrScheduler::Lookup VdrScheduler::reread(int id, Timer* timer)
{
    const std::optional<SvdrpReply> reply = send(QStringLiteral("LSTT ") + QString::number(id));
    if (!reply)
        return Lookup::Failed;
    std::optional<Timer> now =
        reply->code == kOk ? parseTimer(reply->lines.value(0)) : std::optional<Timer>();
    if (!now || now->id != id) {
        forget(id); // deleted, or no longer KovFerrit's
        return Lookup::Gone;
    }
    remember(*now);
    *timer = *now;
    return Lookup::Found;
}

QString VdrScheduler::timerText(const Timer& timer) const
{
    return QString::number(timer.flags & ~kRecording) + QLatin1Char(':') +
           timer.fields.join(QLatin1Char(':')) + QLatin1Char(':') + kov::vdr::auxField(timer.mark);
}

std::optional<bool> VdrScheduler::hasChannel(qint32 channel)
{
    // The whole list once: one reply costs VDR less than a question per job.
    if (!m_channels) {
        const std::optional<QList<RecorderChannel>> list = channels();
        if (!m_failure.isEmpty())
            return std::nullopt;
        m_channels.emplace(); // none at all: VDR answers 550
        for (const RecorderChannel& known : list.value_or(QList<RecorderChannel>()))
            m_channels->insert(known.number);
    }
    return m_channels->contains(channel);
}

bool VdrScheduler::changeClaims(const Timer& timer)
{
    // The last claim released, the timer goes; otherwise it keeps the others' claims.
    const bool none = timer.mark.claims.isEmpty();
    const QString id = QString::number(timer.id);
    const std::optional<SvdrpReply> reply =
        send(none ? QStringLiteral("DELT ") + id
                  : QStringLiteral("MODT ") + id + QLatin1Char(' ') + timerText(timer));
    if (!reply || reply->code != kOk) {
        trace(reply ? reply->lines.join(QLatin1Char(' ')) : m_client.error());
        return false;
    }
    if (none)
        forget(timer.id);
    else
        remember(timer);
    return true;
}

bool VdrScheduler::hasRecording(const QString& name)
{
    refreshIfIdle();
    if (!loadTimers() || !m_byName.contains(name))
        return false;
    adoptOldClaim(m_byName.value(name), name);
    return true;
}

void VdrScheduler::adoptOldClaim(int id, const QString& name)
{
    // A claim written before timers carried accounts counts as this account's until it is
    // written back with the account, which the first program folder to find it does; from
    // then on an account finds only its own claims.
    const auto isOld = [&](const Claim& c) { return c.name == name && c.account.isEmpty(); };
    const QList<Claim>& cached = m_timers.at(id).mark.claims;
    if (m_options.readOnly || std::none_of(cached.begin(), cached.end(), isOld))
        return;
    Timer timer;
    if (reread(id, &timer) != Lookup::Found || (timer.flags & kRecording))
        return;
    for (Claim& claim : timer.mark.claims) {
        if (isOld(claim))
            claim.account = m_options.account;
    }
    changeClaims(timer);
}

qint32 VdrScheduler::createRecording(const RecordingRequest& r)
{
    if (!(r.end > r.start))
        return EndNotAfterStart;
    refreshIfIdle();
    const std::optional<bool> known = hasChannel(r.channel);
    if (!known)
        return Failed;
    if (!*known)
        return UnknownChannel;
    if (!loadTimers())
        return Failed;
    // A VPS timer starts when the broadcaster signals it, so it needs no margins. A VPS time far
    // from the start is none (the zero date-time, shifted by an offset).
    const bool vps =
        m_options.useVps && r.vps.isValid() && qAbs(r.start.secsTo(r.vps)) <= 12 * 60 * 60;
    const QDateTime start = vps ? r.vps : r.start.addSecs(-60 * m_options.marginBefore);
    const QDateTime stop =
        vps ? r.vps.addSecs(r.start.secsTo(r.end)) : r.end.addSecs(60 * m_options.marginAfter);
    // A repeating recording runs every day from its first day on.
    const QString date = start.date().toString(Qt::ISODate);
    Timer timer;
    timer.flags = vps ? kActive | kVps : kActive;
    timer.fields = QStringList{QString::number(r.channel),
                               r.recurrence != 0 ? QStringLiteral("MTWTFSS@") + date : date,
                               start.toString(QStringLiteral("hhmm")),
                               stop.toString(QStringLiteral("hhmm")),
                               QStringLiteral("50"),
                               QStringLiteral("99"),
                               kov::vdr::fileField(m_options.folder, r.name)};
    const Claim claim{m_options.account, r.name, r.tag};
    timer.mark.claims << claim;

    // The same recording asked for by another account: this one joins its timer.
    const int sameId = m_byRecording.value(recordingKey(timer.fields));
    Timer same;
    const Lookup lookup = sameId > 0 ? reread(sameId, &same) : Lookup::Gone;
    if (lookup == Lookup::Failed)
        return Failed;
    if (lookup == Lookup::Found && recordingKey(same.fields) == recordingKey(timer.fields)) {
        const auto& claims = same.mark.claims;
        if (std::any_of(claims.begin(), claims.end(),
                        [&](const Claim& c) { return ours(c, r.name); }) ||
            (same.flags & kRecording)) // under way already: it is recorded for this job too
            return Created;
        same.mark.claims << claim;
        return changeClaims(same) ? Created : Failed;
    }

    const std::optional<SvdrpReply> made = send(QStringLiteral("NEWT ") + timerText(timer));
    if (!made)
        return Failed;
    if (made->code != kOk) {
        trace(QStringLiteral("NEWT refused: ") + made->lines.join(QLatin1Char(' ')));
        return Failed;
    }
    // "250 ID FLAGS:...": the new timer's number.
    timer.id = made->lines.value(0).section(QLatin1Char(' '), 0, 0).toInt();
    if (timer.id > 0)
        remember(timer);
    else
        m_loaded = false; // read the list again when it is next needed
    return Created;
}

bool VdrScheduler::deleteRecording(const QString& name)
{
    refreshIfIdle();
    if (!loadTimers() || !m_byName.contains(name))
        return false;
    Timer timer;
    Lookup found = reread(m_byName.value(name), &timer);
    if (found == Lookup::Gone) {
        // Numbered otherwise since the list was read (VDR restarted): the list once more.
        forgetAll();
        if (!loadTimers() || !m_byName.contains(name))
            return false;
        found = reread(m_byName.value(name), &timer);
    }
    if (found != Lookup::Found)
        return false;
    QList<Claim>& claims = timer.mark.claims;
    const auto own = [&](const Claim& c) { return ours(c, name); };
    if (std::none_of(claims.begin(), claims.end(), own))
        return false;
    // DELT would stop a running recording without a word: leave it and say so.
    if (timer.flags & kRecording) {
        kov::userInterface().messageBox(
            name + QLatin1Char(' ') +
                kov::translate(QStringLiteral("is being recorded and was not deleted.")),
            MessageIcon::Information, kov::appTitle());
        return false;
    }
    claims.erase(std::remove_if(claims.begin(), claims.end(), own), claims.end());
    return changeClaims(timer);
}

bool VdrScheduler::isRecording(const QString& name)
{
    if (!loadTimers() || !m_byName.contains(name))
        return false;
    const auto timer = m_timers.find(m_byName.value(name));
    return timer != m_timers.end() && (timer->second.flags & kRecording);
}

QList<ScheduledProgram> VdrScheduler::recordingNames()
{
    QList<ScheduledProgram> list;
    refreshIfIdle();
    if (!loadTimers())
        return list;
    for (const auto& [id, t] : m_timers) {
        // DAY is "2026-12-10", or a weekday mask with "@" and its first day.
        const QString day = t.fields.at(1);
        const qsizetype at = day.indexOf(QLatin1Char('@'));
        QDate date = QDate::fromString(at < 0 ? day : day.mid(at + 1), Qt::ISODate);
        ScheduledProgram p;
        p.recurrence = at >= 0 || !date.isValid() ? 1 : 0;
        if (!date.isValid()) // a weekday mask whose first day has passed
            date = kov::now().date();
        p.start = QDateTime(date, timeOfDay(t.fields.at(2)));
        p.end = QDateTime(date, timeOfDay(t.fields.at(3)));
        if (p.end <= p.start)
            p.end = p.end.addDays(1);
        p.channel = t.fields.at(0).toInt();
        p.fileName = QString(t.fields.at(6)).replace(QLatin1Char('|'), QLatin1Char(':'));
        for (const Claim& claim : t.mark.claims) {
            if (!ours(claim, claim.name))
                continue;
            p.name = claim.name;
            p.tag = claim.tag;
            list << p;
        }
    }
    return list;
}

std::optional<QList<RecorderChannel>> VdrScheduler::channels()
{
    refreshIfIdle();
    const std::optional<SvdrpReply> reply = send(QStringLiteral("LSTC"));
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

namespace {
VdrOptions vdrOptions(SettingsStore& settings, bool readOnly)
{
    VdrOptions options;
    options.readOnly = readOnly;
    options.host = kov::text(settings, Setting::VdrHost);
    options.port = kov::number(settings, Setting::VdrPort);
    options.timeoutSeconds = kov::number(settings, Setting::VdrTimeoutSeconds);
    options.marginBefore = std::max(0, kov::number(settings, Setting::VdrMarginBefore));
    options.marginAfter = std::max(0, kov::number(settings, Setting::VdrMarginAfter));
    options.useVps = kov::number(settings, Setting::VdrUseVps) != 0;
    options.folder = kov::text(settings, Setting::VdrFolder);
    options.account = kov::text(settings, Setting::Account);
    return options;
}

std::unique_ptr<RecorderScheduler> connectVdr(const VdrOptions& options, QString* why)
{
    if (options.port < 1 || options.port > 65535) {
        kov::traceFrom("RecorderFactory", QStringLiteral("VdrPort out of range"));
        if (why)
            *why = kov::translate(QStringLiteral("The setting VdrPort is no port number:")) +
                   QLatin1Char(' ') + QString::number(options.port);
        return nullptr;
    }
    return VdrScheduler::connect(options, why);
}
} // namespace

std::unique_ptr<RecorderScheduler> VdrScheduler::open(SettingsStore& settings,
                                                      RecorderAccess access, QString* why)
{
    return connectVdr(vdrOptions(settings, access == RecorderAccess::ReadOnly), why);
}

void VdrScheduler::readSettings(SettingsStore& settings)
{
    vdrOptions(settings, true);
}
