#pragma once
// The context every server function of the process shares: the one session, the HTTP transfer
// it is handed, where the records of its replies go, and the settings object.
class SettingsStore;
class QuibSession;
class ReplyRecordConsumer;
class HttpTransfer;

namespace kov {
/// Records the HTTP transfer the shared session sends its requests through (the desktop
/// program's or the CLI's; nullptr: none).
void setSharedTransfer(HttpTransfer* transfer);
/// Where the records of the following replies go (not owned); nullptr restores the sync's own
/// (jobs scheduled, channels and servers kept).
void setRecordConsumer(ReplyRecordConsumer* consumer);
/// The shared session, or nullptr before the first kov::runServerFunction.
QuibSession* sharedSession();
/// Drops the shared session, settings object, channel catalogue, result texts and a noted write
/// failure (process end; tests start each case afresh).
void resetSupport();

/// The shared settings object, opened on the settings key on first use.
SettingsStore& sharedSettings();
} // namespace kov

namespace kov {
/// The shared session, made and handed the HTTP transfer on first use. Made once and
/// never replaced: nullptr when that first hand-over fails, and a later run hands it over again.
QuibSession* openSharedSession();
/// Hands the HTTP transfer to the shared session again when a failed exchange of an
/// earlier run dropped it.
void handOverTransferAgain();
/// Where the records of the next reply go: the consumer set, else the sync's own.
ReplyRecordConsumer* recordConsumer();
} // namespace kov
