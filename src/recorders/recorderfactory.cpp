#include "recorderfactory.h"

#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "platform/settingsdatabase.h"
#include "recorderbackends.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

namespace {
// `run`: what a sync run keeps, nullptr outside a run.
QString recorderKind(SettingsStore& settings, RunRecorders::State* run)
{
    if (run && run->kind)
        return *run->kind;
    const QString kind = kov::text(settings, Setting::Recorder).trimmed().toLower();
    if (run)
        run->kind = kind;
    return kind;
}

// The recorder object a job gets within a run: it hands every call on to the recorder the run
// shares.
class SharedScheduler : public RecorderScheduler
{
public:
    explicit SharedScheduler(RecorderScheduler& shared) : m_shared(shared) {}
    bool hasRecording(const QString& name) override { return m_shared.hasRecording(name); }
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

std::unique_ptr<RecorderScheduler> configured(RecorderAccess access, QString* why,
                                              RunRecorders::State* inRun)
{
    SettingsStore settings = kov::settings();
    const QString kind = recorderKind(settings, inRun);
    const RecorderBackend* chosen = kov::findRecorderBackend(kind);
    // The other backends' settings are read, and so made with their defaults, whatever the
    // choice, so that the settings listings show them; once per settings file and process is
    // enough for that, rather than more reads for every job.
    static QString settingsMadeIn;
    const QString settingsFile = SettingsDatabase::instance().path();
    const bool shared = chosen && chosen->sharedInRun && inRun;
    // In a run a shared recorder is made at the first job; later jobs share it.
    if (shared && !std::exchange(inRun->connectTried, true)) {
        settingsMadeIn = settingsFile;
        inRun->shared = chosen->make(settings, access, &inRun->sharedWhy);
    }
    if (shared) {
        if (!inRun->shared && why)
            *why = inRun->sharedWhy;
        if (inRun->shared && access == RecorderAccess::Changes)
            inRun->shared->allowChanges();
        return inRun->shared ? std::make_unique<SharedScheduler>(*inRun->shared) : nullptr;
    }
    if (settingsMadeIn != settingsFile) {
        settingsMadeIn = settingsFile;
        for (const RecorderBackend& backend : kov::recorderBackends()) {
            if (&backend != chosen && backend.readSettings)
                backend.readSettings(settings);
        }
    }
    if (!chosen) {
        kov::traceFrom("RecorderFactory", QStringLiteral("Unknown recorder: ") + kind);
        if (why)
            *why = kov::translate(QStringLiteral("The setting Recorder names no known recorder:")) +
                   QLatin1Char(' ') + kind;
        return nullptr;
    }
    return chosen->make(settings, access, why);
}
} // namespace

QString kov::missingRecorderMessage(const QString& why)
{
    return QStringLiteral("KOVSched.ocx is required for this application.") + kov::crLf() +
           (why.isEmpty() ? kov::translate(QStringLiteral("The recorder could not be started."))
                          : why);
}

std::unique_ptr<RecorderScheduler> ConfiguredRecorders::open(RecorderAccess access, QString* why)
{
    return configured(access, why, nullptr);
}

RunRecorders::RunRecorders() = default;

RunRecorders::~RunRecorders() = default; // says goodbye to a VDR the run connected

std::unique_ptr<RecorderScheduler> RunRecorders::open(RecorderAccess access, QString* why)
{
    return configured(access, why, &m_run);
}

std::unique_ptr<RecorderScheduler> kov::openRecorderForReading(QString* why)
{
    return ConfiguredRecorders().open(RecorderAccess::ReadOnly, why);
}
