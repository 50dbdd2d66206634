#pragma once
// One logging category per layer and front end, named kovferrit.<layer>. Their debug lines are
// off until a rule switches them on (QT_LOGGING_RULES="kovferrit.protocol.debug=true"); the
// build tells each source file which one is its own (KOV_LOG_CATEGORY, see kov::trace).
#include <QLoggingCategory>

namespace kov {
Q_DECLARE_LOGGING_CATEGORY(lcFoundation)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcProtocol)
Q_DECLARE_LOGGING_CATEGORY(lcRecorders)
Q_DECLARE_LOGGING_CATEGORY(lcChannels)
Q_DECLARE_LOGGING_CATEGORY(lcJobs)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcGui)
Q_DECLARE_LOGGING_CATEGORY(lcCli)
} // namespace kov
