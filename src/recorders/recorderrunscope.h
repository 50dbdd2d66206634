#pragma once
// A sync run's hold on the recorder, and what became of the run's jobs.
#include <QString>
#include <QStringList>

/// While one lives (a sync run), the run keeps count of its jobs' outcomes (the run's recorder
/// itself is a RunRecorders the run hands down). Once the recorder failed in the run
/// (kov::recorderFailed), the run asks it nothing more; the failure and the jobs it cost stay
/// readable until the next run starts, and the next run tries the recorder again.
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
    Refused          ///< the recorder answered createRecording with a failure code
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
