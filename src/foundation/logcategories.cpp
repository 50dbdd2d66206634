#include "logcategories.h"

// Information and above stay on, as for any category; debug, where the trace lines go, is off
// by default.
namespace kov {
Q_LOGGING_CATEGORY(lcFoundation, "kovferrit.foundation", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPlatform, "kovferrit.platform", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSettings, "kovferrit.settings", QtInfoMsg)
Q_LOGGING_CATEGORY(lcProtocol, "kovferrit.protocol", QtInfoMsg)
Q_LOGGING_CATEGORY(lcRecorders, "kovferrit.recorders", QtInfoMsg)
Q_LOGGING_CATEGORY(lcChannels, "kovferrit.channels", QtInfoMsg)
Q_LOGGING_CATEGORY(lcJobs, "kovferrit.jobs", QtInfoMsg)
Q_LOGGING_CATEGORY(lcApp, "kovferrit.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcGui, "kovferrit.gui", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCli, "kovferrit.cli", QtInfoMsg)
} // namespace kov
