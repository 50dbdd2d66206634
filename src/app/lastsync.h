#pragma once
// What the last sync run came to, kept in the settings database (`LastSync`) so that a
// process other than the one that synced (`kovferrit-cli status`) can tell it.
#include "platform/syncfrontend.h"

#include <QDateTime>
#include <QJsonObject>
#include <QStringList>

namespace kov {
struct JobTally;

struct SyncOutcome
{
    QDateTime time; ///< when the run ended; invalid when no run was recorded
    QString result; ///< "ok", "skipped" (done, but jobs skipped) or "failed"
    int scheduled = 0;
    int deleted = 0;
    int alreadyThere = 0;
    int skipped = 0;
    QString message; ///< the run's own lines, a failure's cause among them
    bool isValid() const { return time.isValid(); }
    /// The form it is stored in and `kovferrit-cli status --json` prints.
    QJsonObject toJson() const;
};

/// The outcome of a run that ended now with `ok`, the jobs it counted and what it said.
SyncOutcome syncOutcome(bool ok, const JobTally& tally, const QStringList& said);
void storeSyncOutcome(const SyncOutcome& outcome);
/// The recorded outcome; an invalid one when none is stored or it cannot be read.
SyncOutcome lastSyncOutcome();

/// What a desktop notification tells of a run, translated; empty for a run that went well
/// without scheduling or deleting anything.
struct SyncNotice
{
    QString title;
    QString text;
    bool failed = false;
    bool isEmpty() const { return title.isEmpty(); }
};
SyncNotice syncNotice(const SyncOutcome& outcome);
} // namespace kov

/// Hands every report on to the front end of the run and keeps the message lines, which tell
/// why a run failed.
class SaidLines : public SyncFrontEnd
{
public:
    explicit SaidLines(SyncFrontEnd& next) : m_next(next) {}
    void showMessage(const QString& text) override;
    void showProblem(const QString& text) override;
    void showUpdateText(const QString& text) override { m_next.showUpdateText(text); }
    TextBox* messageArea() override { return m_next.messageArea(); }
    void showSummary(const QString& brief, const QString& full) override
    {
        m_next.showSummary(brief, full);
    }
    void enableUpdateTimer() override { m_next.enableUpdateTimer(); }
    void runEnding() override { m_next.runEnding(); }
    AccountEntry accountEntry() const override { return m_next.accountEntry(); }
    void runFinished(bool succeeded, const QString& counts) override
    {
        m_next.runFinished(succeeded, counts);
    }
    const QStringList& lines() const { return m_lines; }

private:
    SyncFrontEnd& m_next;
    QStringList m_lines;
};
