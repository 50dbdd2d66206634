#pragma once
// What a sync run reports to: the message area, the update line and the update timer. The
// desktop program implements it with its main window, the CLI with printed lines, tests with
// recorders.
#include <QString>

class TextBox;

class SyncFrontEnd
{
public:
    virtual ~SyncFrontEnd() = default;
    /// The message area shows the previous message and this one.
    virtual void showMessage(const QString& text) = 0;
    /// A problem that ends the run: the message area, and standard error where there is one.
    virtual void showProblem(const QString& text) { showMessage(text); }
    /// The update line: when the next sync is due.
    virtual void showUpdateText(const QString& text) = 0;
    /// The message area as a text box, written directly by kov::runServerFunction.
    virtual TextBox* messageArea() = 0;
    /// The summary at the end of a run that handed jobs to the recorder: `brief` fits the
    /// message area, `full` names every channel without a number. The CLI also writes it to
    /// standard error.
    virtual void showSummary(const QString& brief, const QString& full)
    {
        Q_UNUSED(full);
        showMessage(brief);
    }
    /// How a user of this front end sets the account: in the window before clicking Sync, or
    /// with a command (a terminal, a daemon's journal).
    enum class AccountEntry
    {
        Window,
        Command
    };
    virtual AccountEntry accountEntry() const { return AccountEntry::Window; }
    /// Starts the update timer, once the channel database has arrived.
    virtual void enableUpdateTimer() = 0;
    /// The end of every sync run, while it still counts as running: the desktop program drops
    /// the clicks and keys the window system held back while a request blocked its input.
    virtual void runEnding() {}
    /// Right after runEnding: whether the run went well, and its job counts (the full
    /// summary, also when nothing reached the recorder; empty for a run that never started
    /// because another one held the program folder).
    virtual void runFinished(bool succeeded, const QString& counts)
    {
        Q_UNUSED(succeeded);
        Q_UNUSED(counts);
    }
};
