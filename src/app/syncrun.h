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
/// The two lines that ask for account and password (a sync run and the start-up, when no account is
/// set).
void showAccountNeeded(SyncFrontEnd& frontEnd);
/// True when the job list was fetched successfully. A run that handed jobs to the recorder
/// ends with their summary (kov::jobTally() has the counts until the next run).
bool runSync(SyncFrontEnd& frontEnd, bool zeroSerial, bool manually);
} // namespace kov
