#pragma once
// RunSync: one sync run reported through the main window's procedures.
class SyncFrontEnd;

/// The two lines that ask for account and password (a sync run and the start-up, when no account is
/// set).
void ShowSpecifyAccount(SyncFrontEnd& frontEnd);
/// True when the job list was fetched successfully.
bool RunSync(SyncFrontEnd& frontEnd, bool ZeroSerial, bool Manually);
