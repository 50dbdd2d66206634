#pragma once
// The recorder backends the `Recorder` setting can name. The factory, the advanced settings
// window's recorder choice and whatever else lists recorders read this one list, so a new
// backend is its own file in src/recorders and one entry in recorderbackends.cpp.
#include "platform/recorderscheduler.h"

#include <QList>
#include <QString>

class SettingsStore;

struct RecorderBackend
{
    /// What the `Recorder` setting stores for it, lower case.
    QLatin1String name;
    /// What users see for it, translated.
    QString (*label)();
    /// Makes its recorder from the settings; nullptr when that fails, and then *why (when
    /// given) tells the user in one translated sentence what and why.
    std::unique_ptr<RecorderScheduler> (*make)(SettingsStore& settings, RecorderAccess access,
                                               QString* why);
    /// Reads its settings, and so makes them with their defaults, without making a recorder:
    /// the settings listings show every backend's settings whatever the choice. nullptr when it
    /// has none.
    void (*readSettings)(SettingsStore& settings) = nullptr;
    /// One recorder serves all jobs of a sync run (a connection made once) rather than one
    /// made per job; a shared one made for reading is allowed changes when a job asks for them.
    bool sharedInRun = false;
};

namespace kov {
/// Every backend; the first is the one an empty `Recorder` setting means.
const QList<RecorderBackend>& recorderBackends();
/// The backend `name` names (case and surrounding blanks as the setting stores them are
/// dropped by the caller); an empty name means the first. nullptr when none.
const RecorderBackend* findRecorderBackend(const QString& name);
} // namespace kov
