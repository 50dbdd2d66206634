#pragma once
// Making the recorder a job is scheduled into: the `Recorder` setting picks the backend.
#include "platform/recorderscheduler.h"

#include <QString>

#include <memory>
#include <optional>

namespace kov {
/// The chosen backend for reading only: the local store is neither created nor changed.
/// nullptr when it cannot be used, and then *why says what and why.
std::unique_ptr<RecorderScheduler> openRecorderForReading(QString* why = nullptr);

/// The message that the recorder cannot be used: the line users know the failure by, then
/// `why` (a translated sentence naming the recorder and the cause).
QString missingRecorderMessage(const QString& why);
} // namespace kov

/// The backend the `Recorder` setting names ("local", the default, or "vdr"), read anew for
/// every recorder made: for the jobs of a reply fetched outside a sync run, and for single looks
/// (status, the channel list's match). A VDR is connected for each recorder.
class ConfiguredRecorders : public RecorderSource
{
public:
    std::unique_ptr<RecorderScheduler> open(RecorderAccess access, QString* why) override;
};

/// The backend of one sync run: the `Recorder` setting is read at the run's first job (a run
/// without jobs leaves it unread) and kept for the run, and a VDR is connected once and serves
/// every job over that one connection (each job's recorder object hands its calls on). The
/// connection is closed when the object goes, as the run ends.
class RunRecorders : public RecorderSource
{
public:
    RunRecorders();
    ~RunRecorders() override;
    RunRecorders(const RunRecorders&) = delete;
    RunRecorders& operator=(const RunRecorders&) = delete;
    std::unique_ptr<RecorderScheduler> open(RecorderAccess access, QString* why) override;

    struct State
    {
        std::optional<QString> kind; // the Recorder setting, read at the run's first recorder
        bool connectTried = false;
        std::unique_ptr<RecorderScheduler> shared; // what the run shares, say a VDR connection
        QString sharedWhy;                         // why it could not be made
    };

private:
    State m_run;
};
