#include "apptestsupport.h"

#include "app/sessioncontext.h"

namespace {
// The session, the record consumer, the cached settings and the channel catalogue live in the
// app layer from one test function to the next.
void resetAppLayer(HttpTransfer* transfer)
{
    kov::resetSupport();
    kov::setSharedTransfer(transfer);
}
[[maybe_unused]] const bool kRegistered = TestEnvironment::addLayerReset(&resetAppLayer);
} // namespace

RecordingSchedulerInstalled::RecordingSchedulerInstalled(RecordingScheduler::Log& log, bool missing)
    : m_recorders(log, missing)
{
    kov::setRecordConsumer(&m_records);
}

RecordingSchedulerInstalled::~RecordingSchedulerInstalled()
{
    // A later installation may have taken over already.
    if (kov::recordConsumer() == &m_records)
        kov::setRecordConsumer(nullptr);
}
