#pragma once
// The recorder as the scheduling step sees it: what it asks of a recorder's schedule. The
// backends (a local store, VDR) live in src/recorders.
#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

/// One stored recording, as `kovferrit-cli recordings` lists it.
struct ScheduledProgram
{
    QString name;
    QDateTime start;
    QDateTime end;
    qint32 channel = 0;
    QString fileName;
    QString tag;
    qint32 recurrence = 0;
};

/// A channel as the recorder numbers it.
struct RecorderChannel
{
    qint32 number = 0;
    QString name;
};

/// What a job asks the recorder to record: the recording and the job's VPS time, which only a
/// recorder that knows VPS uses.
struct RecordingRequest : ScheduledProgram
{
    QDateTime vps; // invalid, or far from the start (the zero date-time): none
};

class RecorderScheduler
{
public:
    virtual ~RecorderScheduler() = default;
    virtual bool hasRecording(const QString& name) = 0;
    /// Schedules one recording; 0 when it is scheduled, otherwise the backend's failure code.
    virtual qint32 createRecording(const RecordingRequest& request) = 0;
    virtual bool deleteRecording(const QString& name) = 0;
    /// Whether the program is being recorded now, so that a delete would leave it in place.
    /// The local store only keeps the schedule: nothing in it is ever under way.
    virtual bool isRecording(const QString& name)
    {
        Q_UNUSED(name);
        return false;
    }
    /// The recordings this program made, oldest first.
    virtual QList<ScheduledProgram> recordingNames() = 0;
    /// The recorder's own channel list; none when it keeps none or cannot tell.
    virtual std::optional<QList<RecorderChannel>> channels() { return std::nullopt; }
    /// Why the recorder stopped serving (it no longer answers, its store cannot be written);
    /// empty while it serves. Once set it stays for the object's life: nothing more is tried.
    virtual QString failure() const { return QString(); }
    /// A recorder made for reading that a sync run shares goes on to take changes too.
    virtual void allowChanges() {}
};

/// What a recorder is made for: scheduling changes it, reading leaves a local store neither
/// created nor changed.
enum class RecorderAccess
{
    Changes,
    ReadOnly
};

/// Where a job step gets its recorder from. A sync run hands one down to its jobs, so that all
/// of them go to the backend chosen for the run; tests hand in one that makes fakes.
class RecorderSource
{
public:
    virtual ~RecorderSource() = default;
    /// A recorder for one job or one look; nullptr when it cannot be made, and then *why (when
    /// given) tells the user in one translated sentence what and why.
    virtual std::unique_ptr<RecorderScheduler> open(RecorderAccess access, QString* why) = 0;
};
