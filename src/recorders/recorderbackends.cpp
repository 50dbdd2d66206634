#include "recorderbackends.h"

#include "foundation/translate.h"
#include "localscheduler.h"
#include "vdrscheduler.h"

const QList<RecorderBackend>& kov::recorderBackends()
{
    static const QList<RecorderBackend> backends{
        {QLatin1String("local"), [] { return kov::translate(QStringLiteral("Local scheduler")); },
         &LocalScheduler::open},
        {QLatin1String("vdr"), [] { return kov::translate(QStringLiteral("VDR")); },
         &VdrScheduler::open, &VdrScheduler::readSettings, true},
    };
    return backends;
}

const RecorderBackend* kov::findRecorderBackend(const QString& name)
{
    const QList<RecorderBackend>& backends = recorderBackends();
    if (name.isEmpty())
        return &backends.first();
    for (const RecorderBackend& backend : backends) {
        if (backend.name == name)
            return &backend;
    }
    return nullptr;
}
