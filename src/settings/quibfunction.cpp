#include "quibfunction.h"

#include <array>
#include <utility>

namespace {
const std::array<std::pair<QuibFunction, QLatin1String>, 3> kNames{{
    {QuibFunction::GetTargetSystems, QLatin1String("gettargetsystems")},
    {QuibFunction::GetJobs, QLatin1String("getjobs")},
    {QuibFunction::ChannelGuide, QLatin1String("channelguide")},
}};
} // namespace

QString kov::functionName(QuibFunction function)
{
    for (const auto& [f, name] : kNames) {
        if (f == function)
            return name;
    }
    return QString();
}

std::optional<QuibFunction> kov::functionFromName(const QString& name)
{
    for (const auto& [f, text] : kNames) {
        if (name == text)
            return f;
    }
    return std::nullopt;
}
