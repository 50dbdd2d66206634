// The desktop's autostart entry: where it lives and the Exec line a desktop parses back into
// the program's path.
#include "app/autostart.h"
#include "testbasics.h"

class TestAutostart : public QObject
{
    Q_OBJECT
    using Cases = Columns<QByteArray, QString, QString, QString, QString>;
private slots:
    void entry_data()
    {
        // XDG_CONFIG_HOME, the program's path, the program folder it carries; the entry's folder
        // (~: home) and its Exec value
        Cases::add();
        QTest::newRow("plain") << QByteArray("/tmp/c") << u"/usr/bin/kovferrit"_s << QString()
                               << u"/tmp/c"_s << u"/usr/bin/kovferrit"_s;
        QTest::newRow("unset, space") << QByteArray() << u"/home/a b/k"_s << QString()
                                      << u"~/.config"_s << u"\"/home/a b/k\""_s;
        QTest::newRow("relative, field code") << QByteArray("c") << u"/opt/100%/k"_s << QString()
                                              << u"~/.config"_s << u"/opt/100%%/k"_s;
        QTest::newRow("shell characters") << QByteArray("/c") << u"/x/$HOME\\d\"q/k"_s << QString()
                                          << u"/c"_s << u"\"/x/\\\\$HOME\\\\\\\\d\\\\\"q/k\""_s;
        QTest::newRow("program folder")
            << QByteArray("/c") << u"/usr/bin/kovferrit"_s << u"/srv/kov"_s << u"/c"_s
            << u"/usr/bin/kovferrit --home /srv/kov"_s;
        QTest::newRow("program folder with a space")
            << QByteArray("/c") << u"/usr/bin/kovferrit"_s << u"/home/a/My TV"_s << u"/c"_s
            << u"/usr/bin/kovferrit --home \"/home/a/My TV\""_s;
    }
    void entry()
    {
        const auto [variable, executable, programFolder, folder, exec] = Cases::fetch();
        qputenv("XDG_CONFIG_HOME", variable);
        QCOMPARE(Autostart::entryPath(), QString(folder).replace(u'~', QDir::homePath()) +
                                             u"/autostart/kovferrit.desktop"_s);
        QVERIFY(
            Autostart::entryText(executable, programFolder).contains(u"\nExec="_s + exec + u'\n'));
    }
    void customProgramFolder_data()
    {
        // KOVFERRIT_HOME (none: unset; @ a fresh folder, XDG_DATA_HOME @/data), the folder the
        // entry carries
        Columns<QString, QString>::add();
        QTest::newRow("unset") << QString() << QString();
        QTest::newRow("the default") << u"@/data/KovFerrit"_s << QString();
        QTest::newRow("a link to the default") << u"@/link"_s << QString();
        QTest::newRow("another") << u"@/other folder"_s << u"@/other folder"_s;
    }
    void customProgramFolder()
    {
        const auto [home, carried] = Columns<QString, QString>::fetch();
        const QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(u"data/KovFerrit"_s));
        QVERIFY(QFile::link(dir.filePath(u"data/KovFerrit"_s), dir.filePath(u"link"_s)));
        const auto at = [&dir](QString path) { return path.replace(u'@', dir.path()); };
        qputenv("XDG_DATA_HOME", dir.filePath(u"data"_s).toUtf8());
        if (home.isNull())
            qunsetenv("KOVFERRIT_HOME");
        else
            qputenv("KOVFERRIT_HOME", at(home).toUtf8());
        QCOMPARE(Autostart::customProgramFolder(), at(carried));
    }
};

QTEST_GUILESS_MAIN(TestAutostart)
#include "tst_autostart.moc"
