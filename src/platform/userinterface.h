#pragma once
// The user interface of the process: message boxes and the missing-channel prompt. Core code
// asks through this interface and never includes a widget header; the desktop program
// installs a QMessageBox-based one, the CLI a terminal one, tests a scripted one.
#include "foundation/messagebox.h"

class UserInterface : public MessageBoxSink
{
public:
    /// Asks for the tuner number of an unknown service channel; 0 means cancelled. `suggested`
    /// (0: none) is the recorder's number for a channel of that name, offered as the answer.
    virtual int askChannelNumber(const QString& channelName, qint32 suggested) = 0;
    /// The number given for a channel before the run (kovferrit-cli --channel), found without
    /// asking anybody; 0 when none was given. A dry run shows it where a sync would ask.
    virtual int presetChannelNumber(const QString& channelName) const
    {
        Q_UNUSED(channelName);
        return 0;
    }
    /// How far the records of a long reply have got: `done` of the `total` it announced. Called
    /// at a bounded rate while the reply is read; an interface with a window also lets it handle
    /// its events here. Shows nothing by default.
    virtual void showProgress(int done, int total)
    {
        Q_UNUSED(done);
        Q_UNUSED(total);
    }
};

namespace kov {
/// "1200 of 200000 jobs", translated: the progress of a long reply.
QString progressText(int done, int total);

/// Asks a running sync to stop before its next record, because the program is ending. Safe
/// to call from a signal handler.
void requestStop();
bool stopRequested();
/// Forgets the request (a process starting over, a test).
void clearStopRequest();

/// The process-wide interface; until one is installed, one that prints every box to standard
/// error and cancels every prompt (StderrUserInterface).
UserInterface& userInterface();
/// Installs the interface for this process (not owned), also as the sink of every message
/// box of the lower layers; nullptr restores the default.
void setUserInterface(UserInterface* ui);
} // namespace kov
