#include "cli_app.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kovferrit-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KOVFERRIT_VERSION));
    return runCli(QCoreApplication::arguments().mid(1));
}
