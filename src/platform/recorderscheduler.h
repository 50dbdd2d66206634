#pragma once
// The recording-scheduler control "KOVSchedControl.KOVSched", and its default
// stand-in: the local scheduler that keeps programs in KOVSched.db in the program folder.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class RecorderScheduler
{
public:
    virtual ~RecorderScheduler() = default;
    virtual bool DoesProgramExist(const QString& name) = 0;
    /// The eleven arguments of the control; argument 10 is omitted (an invalid QVariant).
    virtual qint32 CreateProgram(qint32 arg1, const QString& name, const QDateTime& start,
                                 const QDateTime& end, qint32 channel, qint32 arg6,
                                 const QString& fileName, const QString& tag, qint32 recurrence,
                                 const QVariant& arg10, bool arg11) = 0;
    virtual bool DeleteProgram(const QString& name) = 0;
};

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

class LocalScheduler : public RecorderScheduler
{
public:
    /// CreateProgram results.
    enum Result
    {
        Stored = 0,
        EndNotAfterStart = 1,
        ChannelOutOfRange = 2,
        CannotWrite = 3
    };

    /// Opens (creating) the store; isOpen() tells whether that worked.
    explicit LocalScheduler(const QString& databasePath);
    ~LocalScheduler() override;
    LocalScheduler(const LocalScheduler&) = delete;
    LocalScheduler& operator=(const LocalScheduler&) = delete;

    bool isOpen() const { return m_open; }
    bool DoesProgramExist(const QString& name) override;
    qint32 CreateProgram(qint32 arg1, const QString& name, const QDateTime& start,
                         const QDateTime& end, qint32 channel, qint32 arg6, const QString& fileName,
                         const QString& tag, qint32 recurrence, const QVariant& arg10,
                         bool arg11) override;
    bool DeleteProgram(const QString& name) override;
    QList<ScheduledProgram> programs();

private:
    QString m_connection;
    bool m_open = false;
};

/// The programmatic identifier of the Lumo Scheduler's control.
inline QString kov_SchedulerProgId()
{
    return QStringLiteral("KOVSchedControl.KOVSched");
}

/// Creates the control by its programmatic identifier; nullptr when that fails (unknown
/// identifier, or the local store cannot be opened).
std::unique_ptr<RecorderScheduler> kov_CreateScheduler(const QString& progId);

using SchedulerFactory = std::function<std::unique_ptr<RecorderScheduler>(const QString&)>;
/// Replaces the factory (tests); an empty function restores the local scheduler.
void kov_SetSchedulerFactory(SchedulerFactory factory);
