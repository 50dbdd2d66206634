// The desktop's autostart entry: where it lives and the Exec line a desktop parses back into
// the program's path.
#include "app/autostart.h"
#include "testsupport.h"

class TestAutostart : public QObject
{
    Q_OBJECT
private slots:
    void entry_data()
    {
        // XDG_CONFIG_HOME, the program's path; the entry's folder (~: home) and its Exec value
        Columns<QByteArray, QString, QString, QString>::add();
        QTest::newRow("plain") << QByteArray("/tmp/c") << u"/usr/bin/kovferrit"_s << u"/tmp/c"_s
                               << u"/usr/bin/kovferrit"_s;
        QTest::newRow("unset, space")
            << QByteArray() << u"/home/a b/k"_s << u"~/.config"_s << u"\"/home/a b/k\""_s;
        QTest::newRow("relative, field code")
            << QByteArray("c") << u"/opt/100%/k"_s << u"~/.config"_s << u"/opt/100%%/k"_s;
        QTest::newRow("shell characters") << QByteArray("/c") << u"/x/$HOME\\d\"q/k"_s << u"/c"_s
                                          << u"\"/x/\\\\$HOME\\\\\\\\d\\\\\"q/k\""_s;
    }
    void entry()
    {
        const auto [variable, executable, folder, exec] =
            Columns<QByteArray, QString, QString, QString>::fetch();
        const QByteArray kept = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", variable);
        const QString path = Autostart::entryPath();
        qputenv("XDG_CONFIG_HOME", kept);
        QCOMPARE(path, QString(folder).replace(u'~', QDir::homePath()) +
                           u"/autostart/kovferrit.desktop"_s);
        QVERIFY(Autostart::entryText(executable).contains(u"\nExec="_s + exec + u'\n'));
    }
};

QTEST_GUILESS_MAIN(TestAutostart)
#include "tst_autostart.moc"
