// kovferrit-cli fetch, sync, tick and daemon: the same core calls as the desktop program.
#include "app/dryrun.h"
#include "app/resulttexts.h"
#include "app/serverfunction.h"
#include "app/sessioncontext.h"
#include "app/syncrun.h"
#include "app/syncrunscope.h"
#include "app/updatetimer.h"
#include "channels/channeldatabase.h"
#include "clicommands.h"
#include "clifrontend.h"
#include "clitextbox.h"
#include "daemonfrontend.h"
#include "daemonui.h"
#include "foundation/journalstream.h"
#include "foundation/translate.h"
#include "platform/servicenotify.h"
#include "platform/userinterface.h"
#include "recorders/recorderrunscope.h"
#include "settings/quibfunction.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"
#include "terminalui.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace cli {
namespace {
// Ends the daemon, and a sync reading a long reply stops before its next record.
extern "C" void onStopSignal(int)
{
    kov::requestStop();
}

// The sync as usual, with every job only reported: nothing reaches the recorder or the
// channel database.
QJsonObject previewDocument(const DryRunRecords& preview)
{
    QJsonArray jobs;
    for (const QStringList& row : preview.rows())
        jobs << QJsonObject{{QStringLiteral("action"), row.value(0)},
                            {QStringLiteral("name"), row.value(1)},
                            {QStringLiteral("start"), row.value(2)},
                            {QStringLiteral("end"), row.value(3)},
                            {QStringLiteral("channel"), row.value(4)},
                            {QStringLiteral("number"), row.value(5).toInt()}};
    return {{QStringLiteral("jobs"), jobs},
            {QStringLiteral("recorderAnswers"), !preview.recorderMissing()}};
}

// `timed`: as the update timer runs it (the changed jobs), else as Sync does (all of them).
bool runSyncAs(CliFrontEnd& frontEnd, bool timed)
{
    return timed ? kov::runSync(frontEnd, kov::JobsAsked::Changed, kov::SyncStart::ByTimer)
                 : kov::runSync(frontEnd, kov::JobsAsked::All, kov::SyncStart::ByUser);
}

int dryRunSync(CliFrontEnd& frontEnd, bool timed, bool json)
{
    // The run's own lines go to standard error, so that standard output is the document alone.
    kov::reportOnStderr(json);
    DryRunRecords preview;
    kov::setRecordConsumer(&preview);
    const bool ok = runSyncAs(frontEnd, timed);
    kov::setRecordConsumer(nullptr);
    if (preview.recorderMissing())
        std::fputs("kovferrit-cli: the recorder cannot be reached; nothing counts as existing\n",
                   stderr);
    if (json) {
        kov::printJson(previewDocument(preview));
    } else {
        for (const QString& line : preview.lines())
            kov::printLine(line);
    }
    return ok ? kOk : kFailed;
}
} // namespace

int fetchCommand(const QCommandLineParser& parser, const QStringList& args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("fetch needs one server function"));
    const bool manual = parser.isSet(QStringLiteral("manual"));
    const bool zeroSerial = parser.isSet(QStringLiteral("zero-serial"));
    const std::optional<QuibFunction> function = kov::functionFromName(args[0]);
    if (!function)
        return complain(QStringLiteral("unknown server function %1 (getjobs, channelguide or "
                                       "gettargetsystems)")
                            .arg(args[0]),
                        kUsage);
    SettingsStore& settings = kov::sharedSettings();
    CliTextBox box;
    const qint32 code = kov::runServerFunction(*function, kov::text(settings, Setting::Account),
                                               &box, zeroSerial, manual);
    kov::printLine(QString::number(code));
    // A recorder that failed during the fetch left jobs unscheduled.
    return kov::isSuccessCode(code) && kov::recorderOutage().isEmpty() ? kOk : kFailed;
}

int syncCommand(const QCommandLineParser& parser, const QStringList& args)
{
    if (!args.isEmpty())
        return usage(QStringLiteral("sync takes no arguments: ") + args.join(QLatin1Char(' ')));
    const bool timed = parser.isSet(QStringLiteral("timed"));
    if (parser.isSet(QStringLiteral("json")) && !parser.isSet(QStringLiteral("dry-run")))
        return usage(QStringLiteral("sync takes --json only with --dry-run"));
    QHash<QString, int> answers;
    for (const QString& pair : parser.values(QStringLiteral("channel"))) {
        const qsizetype eq = pair.lastIndexOf(QLatin1Char('='));
        if (eq <= 0 || eq + 1 == pair.size())
            return usage(QStringLiteral("--channel takes NAME=NUMBER: ") + pair);
        // A number the prompt would refuse is refused here, rather than cancelling its channel
        // without a word later.
        QString why;
        const qint32 number = kov::readChannelNumber(pair.mid(eq + 1), false, &why);
        if (number == 0)
            return usage(QStringLiteral("--channel ") + pair + QStringLiteral(": ") + why);
        answers.insert(kov::storedChannelName(pair.left(eq)), number);
    }
    if (auto* terminal = dynamic_cast<TerminalUserInterface*>(&kov::userInterface()))
        terminal->setChannelAnswers(answers);
    CliFrontEnd frontEnd;
    if (parser.isSet(QStringLiteral("dry-run")))
        return dryRunSync(frontEnd, timed, parser.isSet(QStringLiteral("json")));
    const bool ok = runSyncAs(frontEnd, timed);
    if (!ok)
        return kFailed;
    return kov::jobTally().skipped() > 0 ? kSkipped : kOk;
}

int tickCommand(const QCommandLineParser& parser, const QStringList& args)
{
    if (!args.isEmpty())
        return usage(QStringLiteral("no arguments expected: ") + args.join(QLatin1Char(' ')));
    CliFrontEnd frontEnd;
    return kov::runMinuteTick(frontEnd, parser.isSet(QStringLiteral("admin"))) ? kOk : kFailed;
}

namespace {
volatile std::sig_atomic_t g_reloadRequested = 0;

extern "C" void onReloadSignal(int)
{
    g_reloadRequested = 1;
}

QDateTime nextSyncDue()
{
    return kov::dateOrZero(kov::text(kov::sharedSettings(), Setting::NextSync));
}

// Reads the settings afresh: the session with its time-out, the result texts and the channel
// guide are made again from what the settings and files hold now.
void reloadSettings()
{
    const bool stopping = kov::stopRequested(); // a SIGTERM meanwhile still ends the daemon
    kov::resetSupport();
    kov::buildResultTexts();
    if (stopping)
        kov::requestStop();
}
} // namespace

// The update timer every minute until a stop signal, reported to the service manager when one
// started it: ready once running, the last and the next sync as its status, and the stop.
int daemonCommand(const QCommandLineParser& parser, const QStringList& args)
{
    if (!args.isEmpty())
        return usage(QStringLiteral("no arguments expected: ") + args.join(QLatin1Char(' ')));
    const bool admin = parser.isSet(QStringLiteral("admin"));
    DaemonFrontEnd frontEnd;
    UserInterface& terminal = kov::userInterface();
    DaemonUserInterface ui(frontEnd);
    kov::setUserInterface(&ui);
    // Before the first tick: its sync may be a long first one, and a stop signal then ends it
    // between two records, like a stop during any later tick.
    std::signal(SIGTERM, onStopSignal);
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGHUP, onReloadSignal);
    QByteArray status = frontEnd.statusText(nextSyncDue()).toUtf8();
    kov::notifyServiceManager("READY=1\nSTATUS=" + status);
    const auto tick = [&] {
        kov::runMinuteTick(frontEnd, admin);
        const QByteArray now = frontEnd.statusText(nextSyncDue()).toUtf8();
        if (now != status && !kov::stopRequested())
            kov::notifyServiceManager("STATUS=" + now);
        status = now;
    };
    tick();
    QTimer minute;
    QObject::connect(&minute, &QTimer::timeout, tick);
    minute.start(60 * 1000);
    QTimer watch; // a signal handler may only set a flag; the loop looks at it
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (kov::stopRequested()) {
            QCoreApplication::quit();
        } else if (g_reloadRequested && !kov::syncRunning()) {
            // A request waits in a loop of its own: the reload comes after its run.
            g_reloadRequested = 0;
            kov::notifyServiceManager("RELOADING=1");
            reloadSettings();
            kov::writeStderrLine(kov::LogPriority::Info, QStringLiteral("settings reloaded"));
            tick(); // a sync made due by the change runs now, not a minute later
            kov::notifyServiceManager("READY=1\nSTATUS=" + status);
        }
    });
    watch.start(200);
    if (!kov::stopRequested())
        QCoreApplication::exec();
    kov::notifyServiceManager("STOPPING=1");
    kov::setUserInterface(&terminal);
    return kOk;
}

} // namespace cli
