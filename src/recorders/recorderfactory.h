#pragma once
// Making the recorder a job is scheduled into: the `Recorder` setting picks the backend.
#include "platform/recorderscheduler.h"

#include <QString>

#include <functional>
#include <memory>

namespace kov {
/// The identifier a job asks for its recorder by; the factory makes the backend the `Recorder`
/// setting names for it.
inline QString defaultRecorderId()
{
    return QStringLiteral("KOVSchedControl.KOVSched");
}

/// Makes the recorder for `recorderId` (kov::defaultRecorderId()): the backend `Recorder` names
/// ("local", the default, or "vdr"). nullptr when that fails (unknown identifier or backend, a
/// local store that cannot be opened, a VDR that cannot be reached); then *why, when the
/// configured backend failed, tells the user in one translated sentence what and why.
std::unique_ptr<RecorderScheduler> createRecorder(const QString& recorderId,
                                                  QString* why = nullptr);

/// The chosen backend for reading only: the local store is neither created nor changed.
/// nullptr when it cannot be used, and then *why says what and why.
std::unique_ptr<RecorderScheduler> openRecorderForReading(QString* why = nullptr);

/// The message that the recorder cannot be used: the line users know the failure by, then
/// `why` (a translated sentence naming the recorder and the cause).
QString missingRecorderMessage(const QString& why);

/// Forgets what the factory kept for the sync run that ends: the `Recorder` setting as read and
/// the run's VDR connection, which is closed. RecorderRunScope calls it as the run ends.
void endRecorderRun();
} // namespace kov

using SchedulerFactory = std::function<std::unique_ptr<RecorderScheduler>(const QString&)>;
namespace kov {
/// Replaces the factory (tests); an empty function restores the configured backend.
void setRecorderFactory(SchedulerFactory factory);
} // namespace kov
