#include "programname.h"

namespace {
QString& storedExecutableName()
{
    static QString name = QStringLiteral("kovferrit");
    return name;
}
} // namespace

QString kov::appTitle()
{
    return QStringLiteral("KovFerrit");
}

QString kov::executableName()
{
    return storedExecutableName();
}

void kov::setExecutableName(const QString& name)
{
    storedExecutableName() = name;
}
