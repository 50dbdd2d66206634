// Writes kovferrit-cli(1) with the entries of its SETTINGS section taken from the settings table,
// so the installed page lists what `kovferrit-cli settings set` accepts:
//   kovferrit-settings-manual PAGE OUTPUT
// PAGE holds the line `.\" settings from the table` where the entries go.
#include "settings/settingscatalogue.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: kovferrit-settings-manual PAGE OUTPUT\n", stderr);
        return 2;
    }
    QFile page(QString::fromLocal8Bit(argv[1]));
    if (!page.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QString text = QString::fromUtf8(page.readAll());
    const QString marker = QStringLiteral(".\\\" settings from the table\n");
    if (text.count(marker) != 1) {
        std::fprintf(stderr, "%s does not hold the line .\\\" settings from the table once\n",
                     argv[1]);
        return 1;
    }
    text.replace(marker, kov::settingsManualEntries());
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text.toUtf8()) < 0 ||
        !out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
