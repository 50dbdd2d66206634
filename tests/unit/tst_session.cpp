// The server session: the request it builds, the replies it tries again, the targets it
// accepts, what it records, and the files a reply leaves.
#include "protocol/quibsession.h"
#include "protocol/replyrecordconsumer.h"
#include "testsupport.h"

class TestSession : public EnvironmentTest
{
    Q_OBJECT
    std::unique_ptr<QuibSession> m_session;

    void setUp() override
    {
        storeCredentials();
        m_session = std::make_unique<QuibSession>();
        m_session->setTransfer(&transfer);
    }
    bool call(const QString& function, bool manually = false, bool zeroSerial = false)
    {
        return m_session->runServerFunction(*kov::functionFromName(function), manually, zeroSerial);
    }

private slots:
    void query_data()
    {
        // Manual with serial 0, the account, settings stored, the URL.
        Columns<bool, QString, QVariantMap, QString>::add();
        const QString wa = u"http://localhost:80/cgi-bin/WebObjects/Zorvyn.woa/wa/getjobs"_s;
        const QString demo = u"&account=demo&access=1JJdzE1Wo9Dvmu1%2FEOEwtA%3D%3D"_s;
        QTest::newRow("timed") << false << u"demo"_s << QVariantMap()
                               << wa +
                                      u"?product=Velmora+Lumo&initiator=1&target=localhost"
                                      u"&serial=42&doctype=csv"_s +
                                      demo;
        QTest::newRow("manual, account as it is")
            << true << u"J Doe&x=y"_s << QVariantMap()
            << wa + u"?product=Velmora+Lumo&initiator=0&target=localhost&serial=0&doctype=csv"
                    u"&account=J Doe&x=y&access=mHqf3uKy9qmEzcR6KCQ1BA%3D%3D"_s;
        QTest::newRow("port and empty path")
            << false << u"demo"_s << QVariantMap{{u"Port"_s, 8080}, {u"Path"_s, u""_s}}
            << u"http://localhost:8080/getjobs?product=Velmora+Lumo&initiator=1&target=localhost"
               u"&serial=42&doctype=csv"_s +
                   demo;
        // Over TLS the default port is HTTPS's; the target parameter names the bare host.
        const QString jobs = u"/cgi-bin/WebObjects/Zorvyn.woa/wa/getjobs?product=Velmora+Lumo"
                             u"&initiator=1&target=localhost&serial=42&doctype=csv"_s +
                             demo;
        QTest::newRow("https in capitals, port kept")
            << false << u"demo"_s
            << QVariantMap{{u"Target"_s, u"HTTPS://localhost"_s}, {u"Port"_s, 8443}}
            << u"https://localhost:8443"_s + jobs;
        QTest::newRow("UseHttps, bare target")
            << false << u"demo"_s << QVariantMap{{u"UseHttps"_s, 1}}
            << u"https://localhost:443"_s + jobs;
        QTest::newRow("UseHttps over http://")
            << false << u"demo"_s
            << QVariantMap{{u"UseHttps"_s, 1}, {u"Target"_s, u"http://localhost"_s}}
            << u"https://localhost:443"_s + jobs;
        QTest::newRow("http:// taken off")
            << false << u"demo"_s << QVariantMap{{u"Target"_s, u"http://localhost"_s}}
            << u"http://localhost:80"_s + jobs;
    }
    void query()
    {
        const auto [manual, account, values, expected] =
            Columns<bool, QString, QVariantMap, QString>::fetch();
        SettingsStore settings = kov::settings();
        storeCredentials(account, u"pw"_s);
        kov::setNumber(settings, Setting::LastSerial, 42);
        for (auto it = values.begin(); it != values.end(); ++it)
            it->typeId() == QMetaType::Int ? settings.setNumber(it.key(), it->toInt())
                                           : settings.setText(it.key(), it->toString());
        call(u"getjobs"_s, manual, manual);
        QCOMPARE(transfer.urls.value(0), expected);
        QCOMPARE(settings.text(u"LastgetjobsQueryString"_s), expected);
        QCOMPARE(settings.text(u"LastgetjobsQueryTime"_s), kov::dateText(kTestNow));
    }
    void credentialsRequired_data()
    {
        Columns<QString, QString>::add();
        QTest::newRow("no account") << QString() << u"pw"_s;
        QTest::newRow("no password") << u"demo"_s << QString();
    }
    void credentialsRequired()
    {
        const auto [account, password] = Columns<QString, QString>::fetch();
        storeCredentials(account, password);
        QVERIFY(!call(u"getjobs"_s));
        QVERIFY(transfer.urls.isEmpty());
        QCOMPARE(env->ui.boxes, QStringList{u"You MUST set an Account and Password"_s});
        QVERIFY(!kov::settings().valueExists(u"LastgetjobsQueryString"_s));
    }
    void retries_data()
    {
        Columns<QStringList, int, int>::add(); // replies (the last repeats), attempts, requests
        const QString valid = u"16,5,csv,0\r\n"_s;
        QTest::newRow("valid at the third") << QStringList{u"17,1\r\n"_s, u"x"_s, valid} << 3 << 3;
        QTest::newRow("empty every time") << QStringList{QString()} << 2 << 2;
        QTest::newRow("no attempts") << QStringList{valid} << 0 << 0;
    }
    void retries()
    {
        const auto [replies, attempts, requests] = Columns<QStringList, int, int>::fetch();
        for (const QString& reply : replies)
            transfer.queue(reply);
        kov::setNumber(testSettings(), Setting::OpenUrlRetries, attempts);
        call(u"getjobs"_s);
        QCOMPARE(transfer.urls.size(), requests);
        const QString last = replies.value(qMin(requests, replies.size()) - 1);
        QCOMPARE(kov::settings().text(u"LastgetjobsReplyString"_s), last);
        QCOMPARE(bool(m_session->reply()), kov::isValidReply(last)); // only a valid reply is parsed
        QCOMPARE(env->ui.boxes, // an empty reply means no connection
                 last.isEmpty() ? QStringList{u"No internet connection available"_s}
                                : QStringList());
    }
    void firstLine_data()
    {
        // The reply, always the same ("!": the transfer fails); whether it is parsed at once,
        // asked for three times, or fails the exchange.
        Columns<QString, QString>::add();
        const QString parsed = u"parsed"_s, retried = u"retried"_s, failed = u"failed"_s;
        QTest::newRow("time-out") << u"!Timeout"_s << failed;
        QTest::newRow("empty reply") << QString() << retried;
        QTest::newRow("no CR LF") << u"0,5,csv,0"_s << retried;
        QTest::newRow("LF alone") << u"0,5,csv,0\nchannel,x\n"_s << retried;
        QTest::newRow("empty first line") << u"\r\n0,5,csv,0\r\n"_s << parsed;
        QTest::newRow("text first field") << u"<html>\r\n"_s << parsed;
        QTest::newRow("leading blanks") << u" \t16,5,csv,0\r\n"_s << parsed;
        QTest::newRow("17") << u"17,5,csv,0\r\n"_s << retried;
        QTest::newRow("-1") << u"-1,5,csv,0\r\n"_s << retried;
        QTest::newRow("-0.4 rounds to 0") << u"-0.4,5\r\n"_s << parsed;
        QTest::newRow("-0.6 rounds to -1") << u"-0.6,5\r\n"_s << retried;
        QTest::newRow("16.5 rounds to even 16") << u"16.5,5\r\n"_s << parsed;
        QTest::newRow("15.5 rounds to even 16") << u"15.5x,5\r\n"_s << parsed;
        QTest::newRow("16.6") << u"16.6,5\r\n"_s << retried;
        QTest::newRow("2^32 + 16") << u"4294967312,5\r\n"_s << retried;
        QTest::newRow("huge") << u"99999999999999999999999,5\r\n"_s << retried;
        QTest::newRow("open quote after a separator") << u"5,\"csv,0\r\n"_s << parsed;
        QTest::newRow("open quote first") << u"\"5,1,csv,0\r\n"_s << failed;
    }
    void firstLine()
    {
        const auto [reply, outcome] = Columns<QString, QString>::fetch();
        const bool retried = outcome == u"retried"_s, failed = outcome == u"failed"_s;
        reply.startsWith(u'!') ? transfer.queueFailure(reply.mid(1)) : transfer.queue(reply);
        call(u"getjobs"_s);
        QCOMPARE(bool(m_session->reply()), outcome == u"parsed"_s);
        QCOMPARE(transfer.urls.size(), retried ? 3 : 1);
        // A failed exchange records nothing and drops the component: the session asks nothing
        // more until it is initialised again.
        QCOMPARE(env->tracedPart(u"CQuibSession::GetJobs FAILED: "_s), failed);
        QCOMPARE(kov::settings().valueExists(u"LastgetjobsReplyString"_s), !failed);
        call(u"getjobs"_s);
        QCOMPARE(transfer.urls.size(), retried ? 6 : failed ? 1 : 2);
    }
    void noRequestWhileAReplyIsRead()
    {
        struct Nested : ReplyRecordConsumer // a record's prompt lets another exchange start
        {
            QuibSession* session = nullptr;
            void takeRecord(QuibFunction f, qint32, const QString&, const CsvRow&) override
            {
                QVERIFY(!session->runServerFunction(f));
            }
        } nested;
        nested.session = m_session.get();
        m_session->setRecordConsumer(&nested);
        transfer.queue(replyDocument({u"0,5,csv,1"_s, u"channel,title"_s, u"A,B"_s}));
        QVERIFY(call(u"getjobs"_s));
        QCOMPARE(transfer.urls.size(), 1);
    }
    void target_data()
    {
        Columns<QString, bool,
                QString>::add(); // the target, whether it is accepted, the URL's start
        QTest::newRow("second server, other case")
            << u"QUIB2.example"_s << true << u"http://QUIB2.example:80/"_s;
        QTest::newRow("the name after the comma")
            << u"Second"_s << false << u"http://localhost:80/"_s;
        QTest::newRow("after the list's end")
            << u"quib4.example"_s << false << u"http://localhost:80/"_s;
        QTest::newRow("default host") << u"localhost"_s << true << u"http://localhost:80/"_s;
        QTest::newRow("default host, other case")
            << u"LOCALHOST"_s << false << u"http://localhost:80/"_s;
        QTest::newRow("https, plain entry")
            << u"https://quib2.example"_s << true << u"https://quib2.example:443/"_s;
        QTest::newRow("plain, https entry")
            << u"quib1.example"_s << true << u"https://quib1.example:443/"_s;
        QTest::newRow("https, default host")
            << u"https://localhost"_s << true << u"https://localhost:443/"_s;
        QTest::newRow("scheme alone") << u"https://"_s << false << u"http://localhost:80/"_s;
    }
    void target()
    {
        const auto [target, accepted, address] = Columns<QString, bool, QString>::fetch();
        SettingsStore settings = kov::settings();
        settings.setText(u"1Server"_s, u"https://quib1.example,First"_s);
        settings.setText(u"2Server"_s, u"quib2.example,Second"_s);
        settings.setText(u"4Server"_s, u"quib4.example,Gap"_s); // the list ends at 3
        kov::setText(settings, Setting::Target, target);
        call(u"getjobs"_s);
        QVERIFY2(transfer.urls.value(0).startsWith(address), qPrintable(transfer.urls.value(0)));
        QCOMPARE(kov::rawText(settings, Setting::Target), accepted ? target : u"localhost"_s);
        QCOMPARE(env->tracedPart(u"CQuibSession::Target Fixed In Database"_s), !accepted);
    }
    // The failure names the port really asked, HTTPS's when Port is at its default.
    void problemNamesHttpsPort()
    {
        kov::setText(testSettings(), Setting::Target, u"https://localhost"_s);
        transfer.queueFailure(u"down"_s);
        QVERIFY(!call(u"getjobs"_s));
        QCOMPARE(m_session->transferProblem(),
                 u"The Quib service at localhost, port 443, cannot be used: down"_s);
    }
    void replyFiles_data()
    {
        Columns<QString, int, bool, QString>::add(); // function, code, logReplies, file left
        QTest::newRow("jobs logged") << u"getjobs"_s << 1 << true << u"ReplyLog.txt"_s;
        QTest::newRow("jobs not logged") << u"getjobs"_s << 1 << false << QString();
        QTest::newRow("only jobs logged")
            << u"channelguide"_s << 16 << true << u"ChannelDatabaseError.txt"_s;
        QTest::newRow("guide 0") << u"channelguide"_s << 0 << false << u"kovquibcg.dat"_s;
        QTest::newRow("guide 1") << u"channelguide"_s << 1 << false << u"kovquibcg.dat"_s;
    }
    void replyFiles()
    {
        const auto [function, code, logReplies, file] =
            Columns<QString, int, bool, QString>::fetch();
        const QString reply = replyDocument({u"%1,9,csv,0"_s.arg(code), u"channel,title"_s});
        transfer.queue(reply);
        kov::setNumber(testSettings(), Setting::HaveChannelDatabase, 1);
        m_session->setLogReplies(logReplies);
        call(function);
        QStringList files = {u"ReplyLog.txt"_s, u"kovquibcg.dat"_s, u"ChannelDatabaseError.txt"_s};
        files.removeIf([this](const QString& name) { return !QFile::exists(env->file(name)); });
        QCOMPARE(files, file.isEmpty() ? QStringList() : QStringList{file});
        const QString head =
            kov::dateText(kTestNow) + u"\r\n"_s + transfer.urls.value(0) + u"\r\n"_s;
        if (!file.isEmpty())
            QCOMPARE(QString::fromLatin1(readBytes(env->file(file))),
                     file == u"ReplyLog.txt"_s ? head + reply + u"\r\n\r\n\r\n"_s
                                               : reply + u"\r\n"_s);
        QCOMPARE(kov::number(testSettings(), Setting::HaveChannelDatabase), code == 16 ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
