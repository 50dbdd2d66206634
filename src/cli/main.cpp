#include "cliapp.h"
#include "foundation/datetext.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    kov::cacheLocalTimeRules(); // before any thread starts: it sets TZ
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kovferrit-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KOVFERRIT_VERSION));
    return runCli(QCoreApplication::arguments().mid(1));
}
