#pragma once
// The recorder's double for the tests of the recorders layer and above.
#include "recorders/recorderfactory.h"
#include "testsupport.h"

/// Records every call, "exists NAME", "create NAME|START|END|CHANNEL|FILE|TAG|RECURRENCE|VPS"
/// (times in ISO form, VPS empty when none) and "delete NAME", and answers as configured.
class RecordingScheduler : public RecorderScheduler
{
public:
    struct Log
    {
        QStringList calls;
        QStringList existing; // names that hasRecording reports
        qint32 createResult = 0;
        bool raises = false; // every call raises a failure instead of answering
        qsizetype count(const QString& verb) const { return calls.filter(verb + u' ').size(); }
    };
    explicit RecordingScheduler(Log& log) : m_log(log) {}

    bool hasRecording(const QString& name) override;
    qint32 createRecording(const RecordingRequest& request) override;
    bool deleteRecording(const QString& name) override;
    QList<ScheduledProgram> recordingNames() override { return {}; }

private:
    Log& m_log;
};

/// Makes RecordingSchedulers over one log (or fails when `missing`).
class FakeRecorders : public RecorderSource
{
public:
    explicit FakeRecorders(RecordingScheduler::Log& log, bool missing = false)
        : m_log(log), m_missing(missing)
    {
    }
    std::unique_ptr<RecorderScheduler> open(RecorderAccess, QString*) override
    {
        return m_missing ? nullptr : std::make_unique<RecordingScheduler>(m_log);
    }

private:
    RecordingScheduler::Log& m_log;
    bool m_missing;
};
