#pragma once
// Part 4.1: RunSync, one sync run reported through the main window's procedures.
class SyncFrontEnd;

/// The two lines that ask for account and password (sync run step 2, start-up step 11).
void ShowSpecifyAccount(SyncFrontEnd& frontEnd);
/// True when the job list was fetched successfully.
bool RunSync(SyncFrontEnd& frontEnd, bool ZeroSerial, bool Manually);
