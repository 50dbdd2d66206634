#pragma once
// The three functions the Quib service offers. Inside the program a function is this enum;
// its name is text only on the wire and in the names of the settings that record a request.
#include <QString>

#include <optional>

enum class QuibFunction
{
    GetTargetSystems,
    GetJobs,
    ChannelGuide
};

namespace kov {
/// The function's name in the request path: "gettargetsystems", "getjobs", "channelguide".
QString functionName(QuibFunction function);
/// The function of a name as the service spells it (lower case), or none.
std::optional<QuibFunction> functionFromName(const QString& name);
} // namespace kov
