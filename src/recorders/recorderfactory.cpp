#include "recorderfactory.h"

#include "foundation/fileexists.h"
#include "foundation/programfolder.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "localscheduler.h"
#include "platform/settingsdatabase.h"
#include "recorderrunscope.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"
#include "vdrscheduler.h"

namespace {
SchedulerFactory& factory()
{
    static SchedulerFactory f;
    return f;
}

// What the factory keeps while a sync run lives (kov::recorderRunActive()), so that all the
// run's jobs go to one recorder.
struct RunRecorder
{
    bool known = false;
    QString kind;
    bool connectTried = false;
    std::unique_ptr<VdrScheduler> shared; // the run's VDR connection
    QString sharedWhy;                    // why it could not be made
};

RunRecorder& runRecorder()
{
    static RunRecorder run;
    return run;
}

QString recorderKind(SettingsStore& settings)
{
    RunRecorder& run = runRecorder();
    const bool inRun = kov::recorderRunActive();
    if (inRun && run.known)
        return run.kind;
    const QString kind = kov::readText(settings, KovSetting::Recorder).trimmed().toLower();
    if (inRun) {
        run.kind = kind;
        run.known = true;
    }
    return kind;
}

// The recorder object a job gets within a run: it hands every call on to the recorder the run
// shares.
class SharedScheduler : public RecorderScheduler
{
public:
    explicit SharedScheduler(RecorderScheduler& shared) : m_shared(shared) {}
    bool hasRecording(const QString& name) override { return m_shared.hasRecording(name); }
    qint32 scheduleRecording(qint32 arg1, const QString& name, const QDateTime& start,
                             const QDateTime& end, qint32 channel, qint32 arg6,
                             const QString& fileName, const QString& tag, qint32 recurrence,
                             const QVariant& arg10, bool arg11) override
    {
        return m_shared.scheduleRecording(arg1, name, start, end, channel, arg6, fileName, tag,
                                          recurrence, arg10, arg11);
    }
    qint32 createRecording(const RecordingRequest& request) override
    {
        return m_shared.createRecording(request);
    }
    bool deleteRecording(const QString& name) override { return m_shared.deleteRecording(name); }
    bool isRecording(const QString& name) override { return m_shared.isRecording(name); }
    QList<ScheduledProgram> recordingNames() override { return m_shared.recordingNames(); }
    std::optional<QList<RecorderChannel>> channels() override { return m_shared.channels(); }
    QString failure() const override { return m_shared.failure(); }

private:
    RecorderScheduler& m_shared;
};

std::unique_ptr<RecorderScheduler> local(bool readOnly, QString* why)
{
    const QString store = kov::programFile(QStringLiteral("KOVSched.db"));
    auto scheduler = std::make_unique<LocalScheduler>(store, readOnly);
    if (!scheduler->isOpen() && !(readOnly && !kov::fileExists(store))) {
        if (why)
            *why = kov::translate(QStringLiteral("The recording store %1 cannot be opened:"))
                       .arg(store) +
                   QLatin1Char(' ') + scheduler->problem();
        return nullptr;
    }
    return scheduler;
}

VdrOptions vdrOptions(SettingsStore& settings, bool readOnly)
{
    VdrOptions options;
    options.readOnly = readOnly;
    options.host = kov::readText(settings, KovSetting::VdrHost);
    options.port = kov::readNumber(settings, KovSetting::VdrPort);
    options.timeoutSeconds = kov::readNumber(settings, KovSetting::VdrTimeoutSeconds);
    options.marginBefore = std::max(0, kov::readNumber(settings, KovSetting::VdrMarginBefore));
    options.marginAfter = std::max(0, kov::readNumber(settings, KovSetting::VdrMarginAfter));
    options.useVps = kov::readNumber(settings, KovSetting::VdrUseVps) != 0;
    options.folder = kov::readText(settings, KovSetting::VdrFolder);
    options.account = kov::readText(settings, KovSetting::Account);
    return options;
}

std::unique_ptr<VdrScheduler> connectVdr(const VdrOptions& options, QString* why)
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

std::unique_ptr<RecorderScheduler> configured(bool readOnly, QString* why = nullptr)
{
    SettingsStore settings = kov::settings();
    const QString kind = recorderKind(settings);
    const bool isLocal = kind.isEmpty() || kind == QLatin1String("local");
    // The VDR settings are read, and so made with their defaults, whatever the choice, so that
    // the settings listings show them; for the local store once per settings file and process
    // is enough for that, rather than three more reads for every job.
    static QString vdrSettingsMadeIn;
    const QString settingsFile = SettingsDatabase::instance().path();
    if (isLocal && vdrSettingsMadeIn == settingsFile)
        return local(readOnly, why);
    RunRecorder& run = runRecorder();
    const bool vdr = kind == QLatin1String("vdr");
    const bool inRun = kov::recorderRunActive();
    // In a run the VDR is connected at the first job; later jobs share that connection.
    if (vdr && inRun && !std::exchange(run.connectTried, true)) {
        vdrSettingsMadeIn = settingsFile;
        run.shared = connectVdr(vdrOptions(settings, readOnly), &run.sharedWhy);
    }
    if (vdr && inRun) {
        if (!run.shared && why)
            *why = run.sharedWhy;
        if (run.shared && !readOnly)
            run.shared->allowChanges();
        return run.shared ? std::make_unique<SharedScheduler>(*run.shared) : nullptr;
    }
    vdrSettingsMadeIn = settingsFile;
    const VdrOptions options = vdrOptions(settings, readOnly);
    if (vdr)
        return connectVdr(options, why);
    if (!isLocal) {
        kov::traceFrom("RecorderFactory", QStringLiteral("Unknown recorder: ") + kind);
        if (why)
            *why = kov::translate(QStringLiteral("The setting Recorder names no known recorder:")) +
                   QLatin1Char(' ') + kind;
        return nullptr;
    }
    return local(readOnly, why);
}
} // namespace

QString kov::missingRecorderMessage(const QString& why)
{
    return QStringLiteral("KOVSched.ocx is required for this application.") + kov::crLf() +
           (why.isEmpty() ? kov::translate(QStringLiteral("The recorder could not be started."))
                          : why);
}

void kov::endRecorderRun()
{
    RunRecorder& run = runRecorder();
    run.known = false;
    run.connectTried = false;
    run.shared.reset(); // says goodbye to VDR
    run.sharedWhy.clear();
}

std::unique_ptr<RecorderScheduler> kov::createRecorder(const QString& recorderId, QString* why)
{
    if (factory())
        return factory()(recorderId);
    if (recorderId != kov::defaultRecorderId())
        return nullptr;
    return configured(false, why);
}

std::unique_ptr<RecorderScheduler> kov::openRecorderForReading(QString* why)
{
    if (factory())
        return factory()(kov::defaultRecorderId());
    return configured(true, why);
}

void kov::setRecorderFactory(SchedulerFactory makeScheduler)
{
    factory() = std::move(makeScheduler);
}
