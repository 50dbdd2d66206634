#include "lastsync.h"

#include "foundation/datetext.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "recorders/recorderrunscope.h"
#include "sessioncontext.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

#include <QJsonDocument>
#include <QJsonObject>

kov::SyncOutcome kov::syncOutcome(bool ok, const JobTally& tally, const QStringList& said)
{
    SyncOutcome outcome;
    outcome.time = kov::now();
    outcome.result = !ok ? QStringLiteral("failed")
                         : (tally.skipped() > 0 ? QStringLiteral("skipped") : QStringLiteral("ok"));
    outcome.scheduled = tally.scheduled;
    outcome.deleted = tally.deleted;
    outcome.alreadyThere = tally.alreadyThere;
    outcome.skipped = tally.skipped();
    QStringList lines = said;
    // The failed recorder says why in a box of its own, which no front end sees.
    if (const QString outage = kov::recorderOutage(); !outage.isEmpty())
        lines << outage;
    outcome.message = lines.join(QLatin1Char(' '));
    return outcome;
}

QJsonObject kov::SyncOutcome::toJson() const
{
    return {{QStringLiteral("time"), kov::isoTextWithOffset(time)},
            {QStringLiteral("result"), result},
            {QStringLiteral("scheduled"), scheduled},
            {QStringLiteral("deleted"), deleted},
            {QStringLiteral("alreadyThere"), alreadyThere},
            {QStringLiteral("skipped"), skipped},
            {QStringLiteral("message"), message}};
}

void kov::storeSyncOutcome(const SyncOutcome& outcome)
{
    // One value, so that a reader never sees the time of one run with the counts of another.
    kov::setText(kov::sharedSettings(), Setting::LastSync,
                 QString::fromUtf8(QJsonDocument(outcome.toJson()).toJson(QJsonDocument::Compact)));
}

kov::SyncOutcome kov::lastSyncOutcome()
{
    SyncOutcome outcome;
    const QJsonObject stored =
        QJsonDocument::fromJson(kov::text(kov::sharedSettings(), Setting::LastSync).toUtf8())
            .object();
    outcome.time =
        QDateTime::fromString(stored.value(QStringLiteral("time")).toString(), Qt::ISODate)
            .toLocalTime();
    outcome.result = stored.value(QStringLiteral("result")).toString();
    outcome.scheduled = stored.value(QStringLiteral("scheduled")).toInt();
    outcome.deleted = stored.value(QStringLiteral("deleted")).toInt();
    outcome.alreadyThere = stored.value(QStringLiteral("alreadyThere")).toInt();
    outcome.skipped = stored.value(QStringLiteral("skipped")).toInt();
    outcome.message = stored.value(QStringLiteral("message")).toString();
    if (outcome.result.isEmpty())
        outcome.time = QDateTime();
    return outcome;
}

kov::SyncNotice kov::syncNotice(const SyncOutcome& outcome)
{
    SyncNotice notice;
    if (outcome.result == QLatin1String("failed")) {
        // The run's own lines say why; a user in another window sees them nowhere else.
        notice.title = kov::translate(QStringLiteral("The sync failed"));
        notice.text = outcome.message;
        notice.failed = true;
        return notice;
    }
    if (outcome.scheduled == 0 && outcome.deleted == 0)
        return notice;
    notice.title = kov::translate(outcome.scheduled > 0 ? QStringLiteral("Recordings scheduled")
                                                        : QStringLiteral("Recordings deleted"));
    QStringList counts;
    const auto count = [&](int n, const QString& text) {
        if (n > 0)
            counts << kov::translate(text).arg(n);
    };
    count(outcome.scheduled, QStringLiteral("%1 scheduled"));
    count(outcome.deleted, QStringLiteral("%1 deleted"));
    count(outcome.skipped, QStringLiteral("%1 skipped"));
    notice.text = kov::translate(QStringLiteral("Jobs:")) + QLatin1Char(' ') +
                  counts.join(QStringLiteral(", "));
    return notice;
}

void SaidLines::showMessage(const QString& text)
{
    m_lines << text;
    m_next.showMessage(text);
}

void SaidLines::showProblem(const QString& text)
{
    m_lines << text;
    m_next.showProblem(text);
}
