#include "recorderfactory.h"

#include "foundation/kov_paths.h"
#include "foundation/kov_vb.h"
#include "localscheduler.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "vdrscheduler.h"

namespace {
SchedulerFactory& factory()
{
    static SchedulerFactory f;
    return f;
}

std::unique_ptr<RecorderScheduler> configured(bool readOnly)
{
    CKovReg reg = kov_Settings();
    const QString kind = kov_ReadText(reg, KovSetting::Recorder).trimmed().toLower();
    // All four are read whatever the choice, so that the settings listings show them.
    const QString host = kov_ReadText(reg, KovSetting::VdrHost);
    const qint32 port = kov_ReadNumber(reg, KovSetting::VdrPort);
    const qint32 timeout = kov_ReadNumber(reg, KovSetting::VdrTimeoutSeconds);
    if (kind == QLatin1String("vdr")) {
        if (port < 1 || port > 65535) {
            kov_ClassMessage("RecorderFactory", QStringLiteral("VdrPort out of range"));
            return nullptr;
        }
        return VdrScheduler::Connect(host, static_cast<quint16>(port), timeout);
    }
    if (!kind.isEmpty() && kind != QLatin1String("local")) {
        kov_ClassMessage("RecorderFactory", QStringLiteral("Unknown recorder: ") + kind);
        return nullptr;
    }
    const QString store = kov_ProgramFile(QStringLiteral("KOVSched.db"));
    auto local = std::make_unique<LocalScheduler>(store, readOnly);
    if (!local->isOpen() && !(readOnly && !kov_FileExists(store)))
        return nullptr;
    return local;
}
} // namespace

std::unique_ptr<RecorderScheduler> kov_CreateScheduler(const QString& progId)
{
    if (factory())
        return factory()(progId);
    if (progId != kov_SchedulerProgId())
        return nullptr;
    return configured(false);
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
