#pragma once
// The recorder backend that drives a VDR over SVDRP: a recording is a VDR timer whose AUX
// field names the accounts and programs that asked for it, so KovFerrit finds its own timers
// again, shares one timer between accounts, and never touches the ones others made.
#include "platform/recorderscheduler.h"
#include "svdrpclient.h"
#include "vdrtimertext.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>

#include <map>

class SettingsStore;

/// Where the VDR is and how its timers are made.
struct VdrOptions
{
    QString host = QStringLiteral("localhost");
    int port = 6419; // 1 to 65535
    int timeoutSeconds = 10;
    QString account;       // the claims this program folder makes and releases
    int marginBefore = 0;  // minutes the timer starts before the job
    int marginAfter = 0;   // minutes it stops after the job
    bool useVps = false;   // a job with a VPS time becomes a VPS timer
    QString folder;        // VDR's recordings folder ('~' between levels); empty: none
    bool readOnly = false; // asks only: a dry run, a listing
};

class VdrScheduler : public RecorderScheduler
{
public:
    /// createRecording results, with the local store's meanings.
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
    static std::unique_ptr<VdrScheduler> connect(const VdrOptions& options, QString* why = nullptr);
    /// Connects with the options the VDR settings give, as the backend list makes it.
    static std::unique_ptr<RecorderScheduler> open(SettingsStore& settings, RecorderAccess access,
                                                   QString* why);
    /// Reads the VDR settings (making them with their defaults) without connecting.
    static void readSettings(SettingsStore& settings);

    bool hasRecording(const QString& name) override;
    qint32 createRecording(const RecordingRequest& request) override;
    bool deleteRecording(const QString& name) override;
    /// From the timer list as this run read it: VDR's flag that the timer is recording.
    bool isRecording(const QString& name) override;
    QList<ScheduledProgram> recordingNames() override;
    std::optional<QList<RecorderChannel>> channels() override;
    QString failure() const override { return m_failure; }
    /// A scheduler opened for reading that a sync run goes on to change through.
    void allowChanges() override { m_options.readOnly = false; }

private:
    struct Timer
    {
        int id = 0;
        int flags = 0;
        QStringList fields; // channel, day, start, stop, priority, lifetime, file
        kov::vdr::Mark mark;
    };
    enum class Lookup
    {
        Found,
        Gone,
        Failed
    };

    explicit VdrScheduler(const VdrOptions& options);
    QString unusable() const;
    void forgetAll();
    /// A new connection, the lists to be read afresh; false (and failure() says why) when VDR
    /// cannot be reached.
    bool reconnect();
    /// VDR closes an idle connection and may restart meanwhile: after a long pause (a prompt
    /// can keep a run waiting) each operation starts on a new connection.
    void refreshIfIdle();
    void adoptOldClaim(int id, const QString& name);
    /// One command and its reply; none (and failure() says why) when VDR did not answer.
    std::optional<SvdrpReply> send(const QString& command);
    /// The timer list, read once and then kept current by this object's own changes.
    bool loadTimers();
    /// VDR's present state of one of KovFerrit's timers, just before it is changed.
    Lookup reread(int id, Timer* timer);
    std::optional<Timer> parseTimer(const QString& line) const;
    bool ours(const kov::vdr::Claim& claim, const QString& name) const;
    void remember(const Timer& timer);
    void forget(int id);
    QString timerText(const Timer& timer) const;
    /// Whether VDR has the channel; none when it did not answer.
    std::optional<bool> hasChannel(qint32 channel);
    bool changeClaims(const Timer& timer);

    VdrOptions m_options;
    SvdrpClient m_client;
    QString m_failure;
    QElapsedTimer m_lastAnswer;
    bool m_loaded = false;
    std::map<int, Timer> m_timers;          // by id, so in the order VDR made them
    QHash<QString, int> m_byName;           // this account's program names
    QHash<QString, int> m_byRecording;      // other accounts' timers: channel, day, start, stop
    std::optional<QSet<qint32>> m_channels; // VDR's channel numbers, once asked
};
