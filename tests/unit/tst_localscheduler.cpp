// The local recorder store: what createRecording answers, and that a read-only store neither
// creates nor changes the file.
#include "recorders/localscheduler.h"
#include "testsupport.h"

class TestLocalScheduler : public EnvironmentTest
{
    Q_OBJECT
    using Create = Columns<QString, int, int, int>; // end, channel, result, programs stored

private slots:
    void create_data()
    {
        Create::add();
        QTest::newRow("stored") << u"2026-12-10T21:00"_s << 999 << 0 << 1;
        QTest::newRow("end at start") << u"2026-12-10T20:15"_s << 7 << 1 << 0;
        QTest::newRow("channel 0") << u"2026-12-10T21:00"_s << 0 << 2 << 0;
        QTest::newRow("channel 1000") << u"2026-12-10T21:00"_s << 1000 << 2 << 0;
    }
    void create()
    {
        const auto [end, channel, result, stored] = Create::fetch();
        const QString path = env->file(u"KOVSched.db"_s);
        QVERIFY(LocalScheduler(path, true).recordingNames().isEmpty());
        QVERIFY(!QFile::exists(path)); // reading creates no store
        LocalScheduler store(path);
        const QDateTime start(QDate(2026, 12, 10), QTime(20, 15));
        QCOMPARE(store.createRecording({u"Film"_s,
                                        start,
                                        QDateTime::fromString(end, Qt::ISODate),
                                        channel,
                                        u"Film"_s,
                                        u"fs:1"_s,
                                        0,
                                        {}}),
                 result);
        QCOMPARE(store.recordingNames().size(), stored);
        QCOMPARE(store.hasRecording(u"Film"_s), stored == 1);
        LocalScheduler reader(path, true);
        QCOMPARE(reader.hasRecording(u"Film"_s), stored == 1);
        QCOMPARE(store.deleteRecording(u"Film"_s), stored == 1);
    }
};

QTEST_GUILESS_MAIN(TestLocalScheduler)
#include "tst_localscheduler.moc"
