#pragma once
// Making the recorder a job is scheduled into: the `Recorder` setting picks the backend.
#include "platform/recorderscheduler.h"

#include <QStringList>

#include <functional>
#include <memory>

namespace kov {
/// The programmatic identifier of the Lumo Scheduler's control.
inline QString defaultRecorderId()
{
    return QStringLiteral("KOVSchedControl.KOVSched");
}

/// Creates the control by its programmatic identifier: the backend `Recorder` names ("local",
/// the default, or "vdr"). nullptr when that fails (unknown identifier or backend, a local
/// store that cannot be opened, a VDR that cannot be reached); then *why, when the configured
/// backend failed, tells the user in one translated sentence what and why.
std::unique_ptr<RecorderScheduler> createRecorder(const QString& recorderId,
                                                  QString* why = nullptr);

/// The chosen backend for reading only: the local store is neither created nor changed.
/// nullptr when it cannot be used, and then *why says what and why.
std::unique_ptr<RecorderScheduler> openRecorderForReading(QString* why = nullptr);
} // namespace kov

/// While one lives (a sync run), one recorder serves all the run's jobs: the `Recorder` setting
/// is read at the run's first job, and a VDR is connected once and serves every job over that
/// one connection (the control made per job hands its calls on). Once the recorder failed in
/// the run (kov::recorderFailed), the run asks it nothing more; the failure and the jobs it
/// cost stay readable until the next run starts, and the next run tries the recorder again.
class RecorderRunScope
{
public:
    RecorderRunScope();
    ~RecorderRunScope();
    RecorderRunScope(const RecorderRunScope&) = delete;
    RecorderRunScope& operator=(const RecorderRunScope&) = delete;
};

namespace kov {
/// True while a RecorderRunScope lives.
bool recorderRunActive();
/// The message that the recorder cannot be used: the line users know the failure by, then
/// `why` (a translated sentence naming the recorder and the cause).
QString missingRecorderMessage(const QString& why);
/// Marks the recorder failed for the rest of the run; the first reason stays.
void recorderFailed(const QString& why);
/// The reason of the recorder's failure in the current or the last run; empty when none.
QString recorderOutage();
/// Counts one job that the failed recorder left unscheduled, and reads the count.
void countJobNotScheduled();
int jobsNotScheduled();

/// What became of a job handed to the recorder, for the summary at the run's end.
enum class JobOutcome
{
    Scheduled,
    Deleted,
    AlreadyThere,
    NoChannelNumber, ///< a "rec" job whose channel has no number (the prompt cancelled)
    Refused          ///< the recorder answered scheduleRecording with a failure code
};
/// The outcomes of the current or the last run's jobs; like the outage, kept until the next
/// run starts.
struct JobTally
{
    int scheduled = 0;
    int deleted = 0;
    int alreadyThere = 0;
    int noChannelNumber = 0;
    QStringList unnumberedChannels; ///< each once, in the order met
    int refused = 0;
    int recorderFailed = 0; ///< left unscheduled by the failed recorder
    int skipped() const { return noChannelNumber + refused + recorderFailed; }
    bool isEmpty() const { return scheduled + deleted + alreadyThere + skipped() == 0; }
};
void countJob(JobOutcome outcome, const QString& channel = QString());
JobTally jobTally();
} // namespace kov

using SchedulerFactory = std::function<std::unique_ptr<RecorderScheduler>(const QString&)>;
namespace kov {
/// Replaces the factory (tests); an empty function restores the configured backend.
void setRecorderFactory(SchedulerFactory factory);
} // namespace kov
