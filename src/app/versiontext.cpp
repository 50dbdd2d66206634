#include "versiontext.h"

#include "foundation/translate.h"

QString kov::versionText()
{
    return kov::translate(QStringLiteral("Version")) + QLatin1Char(' ') +
           QStringLiteral(KOVFERRIT_VERSION);
}
