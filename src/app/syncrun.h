#pragma once
// kov::runSync: one sync run, reported through the front end that started it (the main window
// or the CLI).
#include <QString>

class SyncFrontEnd;
namespace kov {
struct JobTally;
/// "Jobs: 2 scheduled, 0 deleted, 1 already there, 3 skipped (no channel number: A, B; ...)".
/// `brief` (the message area holds four short lines) leaves out the counts that are 0 and the
/// reasons a recorder's own box gives, and names two channels, then "N more".
QString jobSummary(const JobTally& tally, bool brief);
} // namespace kov

namespace kov {
/// Which jobs a sync run asks for: all of them (serial 0, as after a change of account), or
/// those changed since the serial of the last reply.
enum class JobsAsked
{
    All,
    Changed
};
/// Who started the run: the user (Sync, the tray menu, `kovferrit-cli sync`) or the timer.
enum class SyncStart
{
    ByUser,
    ByTimer
};

/// The two lines that ask for account and password (a sync run and the start-up, when no account is
/// set).
void showAccountNeeded(SyncFrontEnd& frontEnd);
/// True when the job list was fetched successfully. A run that handed jobs to the recorder
/// ends with their summary (kov::jobTally() has the counts until the next run).
bool runSync(SyncFrontEnd& frontEnd, JobsAsked asked, SyncStart start);
/// True when the last run did not start because the desktop keyring would not give the password
/// (locked, or not reachable yet): the update timer then tries again at its next tick.
bool syncWaitedForKeyring();
} // namespace kov
