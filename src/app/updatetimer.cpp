#include "updatetimer.h"

#include "foundation/datetext.h"
#include "foundation/filewriters.h"
#include "foundation/randomnumber.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "platform/syncfrontend.h"
#include "platform/userinterface.h"
#include "recorders/recorderrunscope.h"
#include "sessioncontext.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"
#include "syncrun.h"
#include "syncrunscope.h"

#include <limits>

QDateTime kov::dateOrZero(const QString& text)
{
    bool ok = false;
    const QDateTime value = kov::parseDate(text, &ok);
    return ok ? value : kov::zeroDate();
}

qint64 kov::minutesUntil(const QDateTime& now, const QDateTime& due)
{
    auto minuteOf = [](const QDateTime& t) {
        return QDateTime(t.date(), QTime(t.time().hour(), t.time().minute()));
    };
    return minuteOf(now).secsTo(minuteOf(due)) / 60 + 1;
}

QString kov::countdownText(const QDateTime& now, const QDateTime& due)
{
    return kov::translate(QStringLiteral("Next Update")) + QStringLiteral(": ") +
           QString::number(kov::minutesUntil(now, due)) + QLatin1Char(' ') +
           kov::translate(QStringLiteral("Minutes")) + QLatin1Char('.');
}

namespace {
// Reads a date text; an empty one is first written with `seed` and read again.
QString readOrSeed(SettingsStore& settings, Setting setting, const QString& seed)
{
    if (kov::text(settings, setting).isEmpty())
        kov::setText(settings, setting, seed);
    return kov::text(settings, setting);
}
} // namespace

bool kov::runMinuteTick(SyncFrontEnd& ui, bool adminMode)
{
    // A tick while a run waits (in a prompt, or showing a long reply's progress) leaves the
    // due sync to the next minute.
    if (kov::syncRunning())
        return true;
    // A file that could not be written outside a sync (a window's settings, the last tick's
    // NextSync) reaches the message area too, not only standard error.
    if (const QString failure = kov::takeWriteFailure(); !failure.isEmpty())
        ui.showMessage(failure);
    SettingsStore& settings = kov::sharedSettings();
    const QString nextText = readOrSeed(settings, Setting::NextSync, kov::syncSentinel());
    bool synced = true;
    if (kov::dateOrZero(nextText) < kov::now()) {
        synced = kov::runSync(ui, kov::JobsAsked::Changed, kov::SyncStart::ByTimer);
        if (kov::stopRequested())
            return synced; // the program is ending: NextSync stays due for its next start
        if (kov::syncWaitedForKeyring())
            return synced; // NextSync stays due: the next tick asks the keyring again
        QDateTime nextDue;
        if (adminMode) {
            nextDue = kov::now().addSecs(60);
        } else {
            qint32 hours = kov::number(settings, Setting::UpdateFrequency);
            if (hours < 1) {
                kov::setNumber(settings, Setting::UpdateFrequency, 1);
                hours = kov::number(settings, Setting::UpdateFrequency);
            }
            // f x 60 that overflows 32 bits ends the tick without a new NextSync.
            if (hours > std::numeric_limits<qint32>::max() / 60)
                return synced;
            const qint64 minutes = static_cast<qint64>(kov::randomBetween(-15, 15)) + hours * 60;
            nextDue = kov::now().addSecs(minutes * 60);
        }
        kov::setText(settings, Setting::NextSync, kov::dateText(nextDue));

        const QString channelUpdate =
            readOrSeed(settings, Setting::NextChannelUpdate, kov::dateText(kov::now().addDays(-1)));
        // A recorder that failed in the first run would cost the second one its wait and its
        // message again: the channel update waits for the next tick.
        if (kov::dateOrZero(channelUpdate) < kov::now() && kov::recorderOutage().isEmpty()) {
            kov::setNumber(settings, Setting::HaveChannelDatabase, 0);
            synced = kov::runSync(ui, kov::JobsAsked::All, kov::SyncStart::ByTimer) && synced;
        }
    }
    bool readable = false;
    const QDateTime due = kov::parseDate(kov::text(settings, Setting::NextSync), &readable);
    if (!readable)
        return synced; // a NextSync that is not a date ends the tick before the countdown
    ui.showUpdateText(kov::countdownText(kov::now(), due));
    return synced;
}
