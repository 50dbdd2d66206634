#pragma once
// The CLI's user interface: message boxes go to standard error as "[CAPTION] TEXT"; the
// missing-channel prompt is answered from --channel, else asked on a terminal, else cancelled;
// the progress of a long reply is one line rewritten in place on standard error when that is a
// terminal, and left out otherwise, so scripts read only the prefixed lines.
#include "platform/stderruserinterface.h"

#include <QHash>

class TerminalUserInterface : public StderrUserInterface
{
public:
    /// The answers of --channel, by the channel's name as the channel database stores it.
    void setChannelAnswers(const QHash<QString, int>& answers) { m_answers = answers; }
    int askChannelNumber(const QString& channelName, qint32 suggested) override;
    int presetChannelNumber(const QString& channelName) const override
    {
        return m_answers.value(channelName, 0);
    }
    /// Ends the progress line first, so the box starts a line of its own on the terminal.
    MessageAnswer messageBox(const QString& text, MessageStyle style,
                             const QString& caption) override;
    /// "progress: 1200 of 200000 jobs" on the terminal, ended at the last job.
    void showProgress(int done, int total) override;

private:
    QHash<QString, int> m_answers;
};
