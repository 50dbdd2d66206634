#pragma once
// What `kovferrit-cli daemon` reports: one line per sync run on standard error (the journal,
// under systemd) with its result, its job counts and, for a run that failed, the messages that
// say why; and the status line the service manager shows, with the last run and the next one.
// No countdown: a line a minute would only fill the journal.
#include "platform/syncfrontend.h"
#include "platform/textbox.h"

#include <QDateTime>
#include <QStringList>

class DaemonFrontEnd : public SyncFrontEnd
{
public:
    void showMessage(const QString& text) override;
    void showProblem(const QString& text) override { showMessage(text); }
    void showUpdateText(const QString& /*text*/) override {}
    void showSummary(const QString& /*brief*/, const QString& /*full*/) override {}
    TextBox* messageArea() override { return &m_box; }
    void enableUpdateTimer() override {}
    AccountEntry accountEntry() const override { return AccountEntry::Command; }
    void runFinished(bool succeeded, const QString& counts) override;

    /// A message box of the running sync: it joins the run's line as one of its messages.
    void addMessage(const QString& text) { showMessage(text); }
    /// "Next sync 2026-12-06 19:02. Last sync 2026-12-06 17:55 succeeded: Jobs: ...", the next
    /// sync `due` ("now" when it has passed).
    QString statusText(const QDateTime& due) const;

private:
    // The request's progress ("WAIT ....") is no news; its outcome comes as a message.
    class QuietBox : public TextBox
    {
    public:
        void setText(const QString& text) override { m_text = text; }
        QString text() const override { return m_text; }

    private:
        QString m_text;
    };

    QuietBox m_box;
    QStringList m_messages; // of the running sync
    QString m_lastRun;      // "2026-12-06 17:55 succeeded: ..."
};
