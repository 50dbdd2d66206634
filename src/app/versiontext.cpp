#include "versiontext.h"

#include "foundation/translate.h"

QString kov_VersionText()
{
    return Translate(QStringLiteral("Version")) + QLatin1Char(' ') +
           QStringLiteral(KOVFERRIT_VERSION);
}
