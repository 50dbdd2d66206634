// kovferrit-cli status: what a user asks first when syncs seem to stop, on one screen or as one
// JSON document.
#include "app/lastsync.h"
#include "app/updatetimer.h"
#include "clicommands.h"
#include "clifrontend.h"
#include "foundation/datetext.h"
#include "foundation/programfolder.h"
#include "platform/clock.h"
#include "recorders/recorderfactory.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

#include <QJsonObject>

namespace cli {
namespace {
QJsonObject recorderState()
{
    SettingsStore settings = kov::settings();
    const QString kind = kov::text(settings, Setting::Recorder).toLower();
    const bool vdr = kind == QLatin1String("vdr");
    const QString place =
        vdr ? QStringLiteral("%1:%2").arg(kov::text(settings, Setting::VdrHost),
                                          QString::number(kov::number(settings, Setting::VdrPort)))
            : kov::programFile(QStringLiteral("KOVSched.db"));
    QString why;
    const std::unique_ptr<RecorderScheduler> recorder = kov::openRecorderForReading(&why);
    QJsonObject state{{QStringLiteral("kind"), kind.isEmpty() ? QStringLiteral("local") : kind},
                      {QStringLiteral("place"), place}};
    const qsizetype recordings = recorder ? recorder->recordingNames().size() : 0;
    if (recorder && recorder->failure().isEmpty()) {
        state.insert(QStringLiteral("answers"), true);
        state.insert(QStringLiteral("recordings"), recordings);
    } else {
        state.insert(QStringLiteral("answers"), false);
        state.insert(QStringLiteral("problem"), recorder ? recorder->failure() : why);
    }
    return state;
}

QJsonValue lastSync(const kov::SyncOutcome& outcome)
{
    if (!outcome.isValid())
        return QJsonValue::Null;
    return outcome.toJson();
}

void printStatus(const QJsonObject& status)
{
    const QJsonObject recorder = status[QStringLiteral("recorder")].toObject();
    kov::printLine(QStringLiteral("account: ") + status[QStringLiteral("account")].toString());
    const QString answers =
        recorder[QStringLiteral("answers")].toBool()
            ? QStringLiteral("answers")
            : QStringLiteral("does not answer: ") + recorder[QStringLiteral("problem")].toString();
    kov::printLine(QStringLiteral("recorder: %1 %2 (%3)")
                       .arg(recorder[QStringLiteral("kind")].toString(),
                            recorder[QStringLiteral("place")].toString(), answers));
    const QJsonObject last = status[QStringLiteral("lastSync")].toObject();
    if (last.isEmpty()) {
        kov::printLine(QStringLiteral("last sync: none"));
    } else {
        QString line =
            QStringLiteral("last sync: %1 %2, %3 scheduled, %4 deleted, %5 already there, %6 "
                           "skipped")
                .arg(last[QStringLiteral("time")].toString(),
                     last[QStringLiteral("result")].toString())
                .arg(last[QStringLiteral("scheduled")].toInt())
                .arg(last[QStringLiteral("deleted")].toInt())
                .arg(last[QStringLiteral("alreadyThere")].toInt())
                .arg(last[QStringLiteral("skipped")].toInt());
        if (last[QStringLiteral("result")].toString() == QLatin1String("failed"))
            line += QStringLiteral(": ") + last[QStringLiteral("message")].toString();
        kov::printLine(line);
    }
    const QJsonValue next = status[QStringLiteral("nextSync")];
    kov::printLine(QStringLiteral("next sync: ") + (status[QStringLiteral("syncDue")].toBool()
                                                        ? QStringLiteral("due")
                                                        : next.toString()));
    kov::printLine(QStringLiteral("recordings: ") +
                   (recorder.contains(QStringLiteral("recordings"))
                        ? QString::number(recorder[QStringLiteral("recordings")].toInt())
                        : QStringLiteral("unknown")));
}
} // namespace

int statusCommand(const QCommandLineParser& parser, const QStringList& args)
{
    if (!args.isEmpty())
        return usage(QStringLiteral("status takes no arguments"));
    SettingsStore settings = kov::settings();
    const kov::SyncOutcome outcome = kov::lastSyncOutcome();
    bool readable = false;
    const QDateTime next = kov::parseDate(kov::text(settings, Setting::NextSync), &readable);
    // A time long past (or none) means the next tick of a running daemon or tray program syncs.
    const bool due = !readable || next <= kov::now();
    const QJsonObject status{
        {QStringLiteral("account"), kov::text(settings, Setting::Account)},
        {QStringLiteral("recorder"), recorderState()},
        {QStringLiteral("lastSync"), lastSync(outcome)},
        {QStringLiteral("nextSync"),
         due ? QJsonValue(QJsonValue::Null) : QJsonValue(kov::isoTextWithOffset(next))},
        {QStringLiteral("syncDue"), due}};
    if (parser.isSet(QStringLiteral("json")))
        kov::printJson(status);
    else
        printStatus(status);
    return outcome.isValid() && outcome.result == QLatin1String("ok") ? kOk : kFailed;
}
} // namespace cli
