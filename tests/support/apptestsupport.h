#pragma once
// The app layer's pieces of the tests: jobs of sync runs going to the recorder's double. Linking
// this support also resets the app layer's state around each test function.
#include "app/replyrecords.h"
#include "recordertestsupport.h"

/// While it lives, the replies of sync runs and fetches are read into records whose jobs go to
/// FakeRecorders over `log`.
class RecordingSchedulerInstalled
{
public:
    explicit RecordingSchedulerInstalled(RecordingScheduler::Log& log, bool missing = false);
    ~RecordingSchedulerInstalled();
    RecordingSchedulerInstalled(const RecordingSchedulerInstalled&) = delete;
    RecordingSchedulerInstalled& operator=(const RecordingSchedulerInstalled&) = delete;

private:
    FakeRecorders m_recorders;
    SyncReplyRecords m_records{&m_recorders};
};
[[nodiscard]] inline std::unique_ptr<RecordingSchedulerInstalled>
installRecordingScheduler(RecordingScheduler::Log& log, bool missing = false)
{
    return std::make_unique<RecordingSchedulerInstalled>(log, missing);
}
