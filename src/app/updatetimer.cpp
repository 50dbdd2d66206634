#include "updatetimer.h"

#include "foundation/filewriters.h"
#include "foundation/kov_date.h"
#include "foundation/randomnumber.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "platform/frontend.h"
#include "platform/userinterface.h"
#include "recorders/recorderfactory.h"
#include "sessioncontext.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "syncrun.h"
#include "syncrunscope.h"

#include <limits>

QDateTime MakeDate(const QString& Text)
{
    bool ok = false;
    const QDateTime value = kov_ParseDate(Text, &ok);
    return ok ? value : kov_ZeroDate();
}

qint64 kov_MinutesUntil(const QDateTime& now, const QDateTime& due)
{
    auto minuteOf = [](const QDateTime& t) {
        return QDateTime(t.date(), QTime(t.time().hour(), t.time().minute()));
    };
    return minuteOf(now).secsTo(minuteOf(due)) / 60 + 1;
}

QString kov_CountdownText(const QDateTime& now, const QDateTime& due)
{
    return Translate(QStringLiteral("Next Update")) + QStringLiteral(": ") +
           QString::number(kov_MinutesUntil(now, due)) + QLatin1Char(' ') +
           Translate(QStringLiteral("Minutes")) + QLatin1Char('.');
}

namespace {
// Reads a date text; an empty one is first written with `seed` and read again.
QString readOrSeed(CKovReg& settings, const QString& name, const QString& seed)
{
    if (settings.Str(name).isEmpty())
        settings.setStr(name, seed);
    return settings.Str(name);
}
} // namespace

bool TimerTick(SyncFrontEnd& ui, bool adminMode)
{
    // A tick while a run waits (in a prompt, or showing a long reply's progress) leaves the
    // due sync to the next minute.
    if (kov_SyncRunning())
        return true;
    // A file that could not be written outside a sync (a window's settings, the last tick's
    // NextSync) reaches the message area too, not only standard error.
    if (const QString failure = kov::takeWriteFailure(); !failure.isEmpty())
        ui.ShowMessage(failure);
    CKovReg& settings = GetSettings();
    const QString nextText = readOrSeed(settings, KovSetting::NextSync, kov_SyncSentinel());
    bool synced = true;
    if (MakeDate(nextText) < kov_Now()) {
        synced = RunSync(ui, false, false);
        if (kov_StopRequested())
            return synced; // the program is ending: NextSync stays due for its next start
        QDateTime nextDue;
        if (adminMode) {
            nextDue = kov_Now().addSecs(60);
        } else {
            qint32 hours = kov_ReadNumber(settings, KovSetting::UpdateFrequency);
            if (hours < 1) {
                settings.setLng(KovSetting::UpdateFrequency, 1);
                hours = kov_ReadNumber(settings, KovSetting::UpdateFrequency);
            }
            // f x 60 that overflows 32 bits ends the tick without a new NextSync.
            if (hours > std::numeric_limits<qint32>::max() / 60)
                return synced;
            const qint64 minutes = static_cast<qint64>(kov_RandomBetween(-15, 15)) + hours * 60;
            nextDue = kov_Now().addSecs(minutes * 60);
        }
        settings.setStr(KovSetting::NextSync, kov_DateText(nextDue));

        const QString channelUpdate = readOrSeed(settings, KovSetting::NextChannelUpdate,
                                                 kov_DateText(kov_Now().addDays(-1)));
        // A recorder that failed in the first run would cost the second one its wait and its
        // message again: the channel update waits for the next tick.
        if (MakeDate(channelUpdate) < kov_Now() && kov::recorderOutage().isEmpty()) {
            settings.setLng(KovSetting::HaveChannelDatabase, 0);
            synced = RunSync(ui, true, false) && synced;
        }
    }
    bool readable = false;
    const QDateTime due = kov_ParseDate(settings.Str(KovSetting::NextSync), &readable);
    if (!readable)
        return synced; // a NextSync that is not a date ends the tick before the countdown
    ui.ShowUpdateText(kov_CountdownText(kov_Now(), due));
    return synced;
}
