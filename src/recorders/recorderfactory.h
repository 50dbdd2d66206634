#pragma once
// Making the recorder a job is scheduled into: the `Recorder` setting picks the backend.
#include "platform/recorderscheduler.h"

#include <functional>
#include <memory>

/// The programmatic identifier of the Lumo Scheduler's control.
inline QString kov_SchedulerProgId()
{
    return QStringLiteral("KOVSchedControl.KOVSched");
}

/// Creates the control by its programmatic identifier: the backend `Recorder` names ("local",
/// the default, or "vdr"). nullptr when that fails (unknown identifier or backend, a local
/// store that cannot be opened, a VDR that cannot be reached); then *why, when the configured
/// backend failed, tells the user in one translated sentence what and why.
std::unique_ptr<RecorderScheduler> kov_CreateScheduler(const QString& progId,
                                                       QString* why = nullptr);

/// The chosen backend for reading only: the local store is neither created nor changed.
std::unique_ptr<RecorderScheduler> kov_OpenSchedulerForReading();

/// While one lives (a sync run), the backend the `Recorder` setting names at the run's first
/// job serves all its jobs: a control is still made per job, but the setting is read once per
/// run rather than once per job.
class RecorderChoiceScope
{
public:
    RecorderChoiceScope();
    ~RecorderChoiceScope();
    RecorderChoiceScope(const RecorderChoiceScope&) = delete;
    RecorderChoiceScope& operator=(const RecorderChoiceScope&) = delete;
};

using SchedulerFactory = std::function<std::unique_ptr<RecorderScheduler>(const QString&)>;
/// Replaces the factory (tests); an empty function restores the configured backend.
void kov_SetSchedulerFactory(SchedulerFactory factory);
