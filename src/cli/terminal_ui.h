#pragma once
// The CLI's user interface: message boxes go to standard error as "[CAPTION] TEXT"; the
// missing-channel prompt is answered from --channel, else asked on a terminal, else cancelled;
// the progress of a long reply goes to standard error.
#include "platform/userinterface.h"

#include <QHash>

class TerminalUserInterface : public StderrUserInterface
{
public:
    void setChannelAnswers(const QHash<QString, int>& answers) { m_answers = answers; }
    int askChannelNumber(const QString& channelName, qint32 suggested) override;
    /// "progress: 1200 of 200000 jobs" on standard error, so standard output keeps its lines.
    void showProgress(int done, int total) override;

private:
    QHash<QString, int> m_answers;
};
