#pragma once
// The default recorder: programs kept in KOVSched.db in the program folder, for a machine
// without a recorder of its own (and for tests).
#include "platform/recorderscheduler.h"

#include <memory>

class SettingsStore;
class SqlConnection;

class LocalScheduler : public RecorderScheduler
{
public:
    /// createRecording results.
    enum Result
    {
        Stored = 0,
        EndNotAfterStart = 1,
        ChannelOutOfRange = 2,
        CannotWrite = 3
    };

    /// Opens (creating) the store; isOpen() tells whether that worked. The writable schedulers
    /// of a process share one connection per file, kept open from job to job. A read-only
    /// store is never created or changed: it reads as empty when the file is missing.
    explicit LocalScheduler(const QString& databasePath, bool readOnly = false);
    ~LocalScheduler() override;
    LocalScheduler(const LocalScheduler&) = delete;
    LocalScheduler& operator=(const LocalScheduler&) = delete;

    /// The store KOVSched.db in the program folder, as the backend list makes it. A read-only
    /// look at a store that does not exist yet reads it as empty.
    static std::unique_ptr<RecorderScheduler> open(SettingsStore& settings, RecorderAccess access,
                                                   QString* why);

    bool isOpen() const { return m_open; }
    /// Why a writable store could not be opened, translated for the user.
    QString problem() const { return m_problem; }
    bool hasRecording(const QString& name) override;
    /// Stores the recording; the store keeps no VPS time.
    qint32 createRecording(const RecordingRequest& request) override;
    bool deleteRecording(const QString& name) override;
    QList<ScheduledProgram> recordingNames() override;
    QString failure() const override { return m_failure; }

private:
    void noteWriteFailure();

    QString m_path;
    QString m_failure;
    std::shared_ptr<SqlConnection> m_db;
    bool m_open = false;
    QString m_problem;
};
