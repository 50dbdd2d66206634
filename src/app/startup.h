#pragma once
// What the programs do when they start, kept out of the windows so that the desktop program
// and kovferrit-cli share it: the process-wide state a server request needs, admin mode from
// the command line, and what the main window shows and starts after reading the settings.
// The callers act on the results; nothing here touches a widget.
#include <QString>
#include <QStringList>

class SettingsStore;
class HttpTransfer;

namespace kov {
/// Records `transfer` as the shared session's HTTP transfer and builds the
/// translated result texts; both must be in place before the first server request.
void prepareSession(HttpTransfer* transfer);

/// Admin mode after reading the command-line words: "admin" turns it on, "noadmin" off, the
/// last one wins, and `adminMode` stays when neither appears. Words are split at runs of
/// blanks and tabs (quotes mean nothing), compared case-sensitively, and only the first 10 count.
bool adminModeFromCommandLine(const QStringList& arguments, bool adminMode);

/// Opens `settings` on the settings key and reads the setting `app.EXEName`, which the first
/// start creates with this executable's name. A different recorded name only leaves a trace:
/// the stored password is encrypted with the executable name, which a renamed program no
/// longer matches.
void openStartUpSettings(SettingsStore& settings);
} // namespace kov

/// What the main window shows and starts once it has read the settings at start-up.
struct StartUpPlan
{
    /// No channel database yet: the message area asks for account and password, and the
    /// update line keeps the version.
    bool specifyAccount = false;
    /// The update line: "Updating Now ... : " and the due date when a sync is due, else the
    /// countdown to it. Empty when `specifyAccount`.
    QString updateText;
    /// A sync is due: the update timer's handler runs once, after the tray icon is added (or,
    /// without a tray, the window shown), so that the sync's progress shows and it can be
    /// stopped.
    bool syncNow = false;
    /// Only the tray icon shows: `HaveChannelDatabase` is exactly 1 and the desktop has a tray.
    bool startHidden = false;
    /// The update timer runs from start-up on (`HaveChannelDatabase` is not 0).
    bool timerRuns = false;
};

namespace kov {
/// Seeds `NextSync` with yesterday when it is empty or the sentinel, so that a sync is due at
/// once, then decides from `HaveChannelDatabase` (read before any sync of the start-up) and
/// `NextSync` what the window does.
/// `trayAvailable`: whether the desktop has a tray for the window to hide in.
StartUpPlan planStartUp(SettingsStore& settings, bool trayAvailable);
} // namespace kov
