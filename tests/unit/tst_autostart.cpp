// The desktop's autostart entry: where it lives and the Exec line a desktop has to parse back
// into the program's path.
#include "app/autostart.h"
#include "testsupport.h"

#include <QtTest>

class TestAutostart : public QObject
{
    Q_OBJECT
private slots:
    void entryPath_data()
    {
        Columns<QByteArray, QString>::add(); // XDG_CONFIG_HOME, the entry below the home folder
        QTest::newRow("set") << QByteArray("/tmp/cfg") << u"/tmp/cfg/autostart/kovferrit.desktop"_s;
        QTest::newRow("unset") << QByteArray() << u"~/.config/autostart/kovferrit.desktop"_s;
        QTest::newRow("relative is ignored")
            << QByteArray("cfg") << u"~/.config/autostart/kovferrit.desktop"_s;
    }
    void entryPath()
    {
        const auto [variable, path] = Columns<QByteArray, QString>::fetch();
        const QByteArray kept = qgetenv("XDG_CONFIG_HOME");
        if (variable.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", variable);
        const QString found = Autostart::EntryPath();
        qputenv("XDG_CONFIG_HOME", kept);
        QCOMPARE(found, QString(path).replace(u"~"_s, QDir::homePath()));
    }
    void execLine_data()
    {
        Columns<QString, QString>::add(); // the program's path, its Exec line
        QTest::newRow("plain") << u"/usr/bin/kovferrit"_s << u"Exec=/usr/bin/kovferrit"_s;
        QTest::newRow("space") << u"/home/a b/kovferrit"_s << u"Exec=\"/home/a b/kovferrit\""_s;
        QTest::newRow("field code") << u"/opt/100%/kovferrit"_s << u"Exec=/opt/100%%/kovferrit"_s;
        QTest::newRow("shell characters")
            << u"/x/$HOME\\d\"q/k"_s << u"Exec=\"/x/\\\\$HOME\\\\\\\\d\\\\\"q/k\""_s;
    }
    void execLine()
    {
        const auto [executable, exec] = Columns<QString, QString>::fetch();
        const QStringList lines = Autostart::EntryText(executable).split(u'\n');
        QCOMPARE(lines.filter(QRegularExpression(u"^Exec="_s)), QStringList{exec});
        QCOMPARE(lines.first(), u"[Desktop Entry]"_s);
    }
};

QTEST_GUILESS_MAIN(TestAutostart)
#include "tst_autostart.moc"
