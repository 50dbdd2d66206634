#include "recorderfactory.h"

#include "foundation/kov_paths.h"
#include "foundation/kov_vb.h"
#include "foundation/translate.h"
#include "localscheduler.h"
#include "platform/registrystore.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "vdrscheduler.h"

namespace {
SchedulerFactory& factory()
{
    static SchedulerFactory f;
    return f;
}

struct RecorderChoice
{
    int scopes = 0;
    bool known = false;
    QString kind;
};

RecorderChoice& recorderChoice()
{
    static RecorderChoice choice;
    return choice;
}

QString recorderKind(CKovReg& reg)
{
    RecorderChoice& choice = recorderChoice();
    if (choice.scopes > 0 && choice.known)
        return choice.kind;
    const QString kind = kov_ReadText(reg, KovSetting::Recorder).trimmed().toLower();
    if (choice.scopes > 0) {
        choice.kind = kind;
        choice.known = true;
    }
    return kind;
}

std::unique_ptr<RecorderScheduler> local(bool readOnly, QString* why)
{
    const QString store = kov_ProgramFile(QStringLiteral("KOVSched.db"));
    auto scheduler = std::make_unique<LocalScheduler>(store, readOnly);
    if (!scheduler->isOpen() && !(readOnly && !kov_FileExists(store))) {
        if (why)
            *why =
                Translate(QStringLiteral("The recording store %1 cannot be opened:")).arg(store) +
                QLatin1Char(' ') + scheduler->problem();
        return nullptr;
    }
    return scheduler;
}

std::unique_ptr<RecorderScheduler> configured(bool readOnly, QString* why = nullptr)
{
    CKovReg reg = kov_Settings();
    const QString kind = recorderKind(reg);
    const bool isLocal = kind.isEmpty() || kind == QLatin1String("local");
    // The VDR settings are read, and so made with their defaults, whatever the choice, so that
    // the settings listings show them; for the local store once per settings file and process
    // is enough for that, rather than three more reads for every job.
    static QString vdrSettingsMadeIn;
    const QString settingsFile = RegistryStore::instance().path();
    if (isLocal && vdrSettingsMadeIn == settingsFile)
        return local(readOnly, why);
    vdrSettingsMadeIn = settingsFile;
    const QString host = kov_ReadText(reg, KovSetting::VdrHost);
    const qint32 port = kov_ReadNumber(reg, KovSetting::VdrPort);
    const qint32 timeout = kov_ReadNumber(reg, KovSetting::VdrTimeoutSeconds);
    if (kind == QLatin1String("vdr")) {
        if (port < 1 || port > 65535) {
            kov_ClassMessage("RecorderFactory", QStringLiteral("VdrPort out of range"));
            if (why)
                *why = Translate(QStringLiteral("The setting VdrPort is no port number:")) +
                       QLatin1Char(' ') + QString::number(port);
            return nullptr;
        }
        return VdrScheduler::Connect(host, static_cast<quint16>(port), timeout, why);
    }
    if (!isLocal) {
        kov_ClassMessage("RecorderFactory", QStringLiteral("Unknown recorder: ") + kind);
        if (why)
            *why = Translate(QStringLiteral("The setting Recorder names no known recorder:")) +
                   QLatin1Char(' ') + kind;
        return nullptr;
    }
    return local(readOnly, why);
}
} // namespace

RecorderChoiceScope::RecorderChoiceScope()
{
    ++recorderChoice().scopes;
}

RecorderChoiceScope::~RecorderChoiceScope()
{
    RecorderChoice& choice = recorderChoice();
    if (--choice.scopes == 0)
        choice.known = false;
}

std::unique_ptr<RecorderScheduler> kov_CreateScheduler(const QString& progId, QString* why)
{
    if (factory())
        return factory()(progId);
    if (progId != kov_SchedulerProgId())
        return nullptr;
    return configured(false, why);
}

std::unique_ptr<RecorderScheduler> kov_OpenSchedulerForReading()
{
    if (factory())
        return factory()(kov_SchedulerProgId());
    return configured(true);
}

void kov_SetSchedulerFactory(SchedulerFactory factory_)
{
    factory() = std::move(factory_);
}
