#pragma once
// Part 4.1: RunSync, one sync run reported through the main window's procedures.
class SyncFrontEnd;

/// True when the job list was fetched successfully.
bool RunSync(SyncFrontEnd& frontEnd, bool ZeroSerial, bool Manually);
