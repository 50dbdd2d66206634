#pragma once
// The recorder backend that drives a VDR over SVDRP: a recording is a VDR timer whose AUX
// field names the program, so KovFerrit finds its own timers again and never touches the
// ones the user made by hand.
#include "platform/recorderscheduler.h"
#include "svdrpclient.h"

class VdrScheduler : public RecorderScheduler
{
public:
    /// CreateProgram results, with the local store's meanings.
    enum Result
    {
        Created = 0,
        EndNotAfterStart = 1,
        UnknownChannel = 2,
        Failed = 3
    };

    /// One connection for the life of the object; nullptr when VDR cannot be reached, refuses
    /// this host or does not greet in time, and then *why tells the user, translated, where
    /// and why.
    static std::unique_ptr<VdrScheduler> Connect(const QString& host, quint16 port,
                                                 int timeoutSeconds, QString* why = nullptr);

    bool DoesProgramExist(const QString& name) override;
    qint32 CreateProgram(qint32 arg1, const QString& name, const QDateTime& start,
                         const QDateTime& end, qint32 channel, qint32 arg6, const QString& fileName,
                         const QString& tag, qint32 recurrence, const QVariant& arg10,
                         bool arg11) override;
    bool DeleteProgram(const QString& name) override;
    QList<ScheduledProgram> Programs() override;
    std::optional<QList<RecorderChannel>> Channels() override;

    /// The AUX text that marks a timer as KovFerrit's.
    static QString AuxFor(const QString& name, const QString& tag);

private:
    struct Timer
    {
        int id = 0;
        int flags = 0;
        QStringList fields; // channel, day, start, stop, priority, lifetime, file, aux
        QString name;
        QString tag;
    };

    explicit VdrScheduler(int timeoutMs);
    static QString ReasonText(const SvdrpClient& client);
    /// KovFerrit's timers; none when VDR could not be asked.
    std::optional<QList<Timer>> OwnTimers();

    SvdrpClient m_client;
};
