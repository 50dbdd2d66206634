#include "programname.h"

namespace {
QString& executableName()
{
    static QString name = QStringLiteral("kovferrit");
    return name;
}
} // namespace

QString kov_AppTitle()
{
    return QStringLiteral("KovFerrit");
}

QString kov_ExecutableName()
{
    return executableName();
}

void kov_SetExecutableName(const QString& name)
{
    executableName() = name;
}
