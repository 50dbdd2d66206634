// The advanced settings window: its fields and buttons store at once, the autostart entry its
// "Start at login" box writes, the server list it offers, and the sync its closing starts after
// a frequency change.
#include "app/kovferritsupport.h"
#include "frmadvanced.h"
#include "placement.h"
#include "testsupport.h"

#include <QtWidgets>
class TestAdvancedWindow : public EnvironmentTest
{
    Q_OBJECT
    void setUp() override
    {
        BuildResultTexts();
        storeCredentials();
    }
    qint32 stored(const QString& name) { return kov_Settings().Lng(name); }

private slots:
    void fieldsStoreAtOnce()
    {
        kov_Settings().setLng(KovSetting::UpdateFrequency, 998);
        frmAdvanced w(&transfer);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        w.move(120, 90); // where the main window places it
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::mouseClick(w.cmdFreqUp, Qt::LeftButton);
        QTest::mouseClick(w.cmdFreqUp, Qt::LeftButton);
        QCOMPARE(w.txtFrequency->text(), u"999"_s);
        QCOMPARE(stored(KovSetting::UpdateFrequency), 999);
        w.txtTimeout->setFocus();
        w.txtTimeout->selectAll();
        QTest::keyClicks(w.txtTimeout, u"12abc"_s);
        QCOMPARE(w.txtTimeout->text(), u"12"_s);
        QCOMPARE(stored(KovSetting::TimeoutSeconds), 60); // stored when the field is left
        w.chkLogReplies->setFocus();
        QTRY_COMPARE(stored(KovSetting::TimeoutSeconds), 12);
        const QPoint indicator(6, w.chkLogReplies->height() / 2);
        QTest::mouseClick(w.chkLogReplies, Qt::LeftButton, {}, indicator);
        QTest::mouseClick(w.chkIgnoreOffset, Qt::LeftButton, {}, indicator);
        QCOMPARE(stored(KovSetting::LogReplies), 1);
        QCOMPARE(stored(KovSetting::IgnoreOffset), 0);
    }
    void aClickPutsItBackWhereItLoaded()
    {
        kov_SetFrameMarginsOverride(QMargins(1, 20, 1, 1)); // framed as by a window manager
        const auto reset = qScopeGuard([] { kov_SetFrameMarginsOverride(std::nullopt); });
        frmAdvanced w(&transfer);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        w.move(120, 90); // where the main window places it
        w.show();
        const QRect shown = w.geometry();
        QCOMPARE(shown.topLeft(), QPoint(121, 110));     // inside the frame at the place given
        QTest::mouseClick(w.lblTimeout, Qt::LeftButton); // a label and the background: it stays
        QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(w.geometry(), shown);
        w.setGeometry(shown.translated(40, 30)); // dragged away: a click brings it back
        QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(w.geometry(), shown);
    }
    void startAtLogin()
    {
        QTemporaryDir config;
        const QByteArray kept = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        const auto restore = qScopeGuard([&kept] { qputenv("XDG_CONFIG_HOME", kept); });
        const QString entry = config.filePath(u"autostart/kovferrit.desktop"_s);
        frmAdvanced w(&transfer);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(!w.chkStartAtLogin->isChecked());
        w.chkStartAtLogin->click();
        QVERIFY(readBytes(entry).contains(
            "\nExec=" + QCoreApplication::applicationFilePath().toUtf8() + '\n'));
        QVERIFY(frmAdvanced(&transfer).chkStartAtLogin->isChecked()); // the next window finds it
        w.chkStartAtLogin->click();
        QVERIFY(!QFile::exists(entry) && !w.chkStartAtLogin->isChecked());
        // A file where the autostart folder belongs: the user is told why, the box stays off.
        QVERIFY(QDir(config.path()).rmdir(u"autostart"_s));
        writeBytes(config.filePath(u"autostart"_s), "");
        w.chkStartAtLogin->click();
        QVERIFY(!w.chkStartAtLogin->isChecked());
        QCOMPARE(env->ui.boxes.size(), 1);
        QVERIFY2(env->ui.boxes[0].contains(u"autostart"_s), qPrintable(env->ui.boxes[0]));
    }
    void servers()
    {
        CKovReg reg = kov_Settings();
        reg.setStr(u"1Server"_s, u"alpha,Some Name"_s);
        reg.setStr(u"2Server"_s, u"beta"_s);
        reg.setStr(u"4Server"_s, u"after,the gap"_s);
        reg.setStr(KovSetting::Target, u"beta"_s);
        frmAdvanced w(&transfer);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(w.cmboServers->count(), 2);
        QCOMPARE(w.cmboServers->itemText(0) + w.cmboServers->currentText(), u"alphabeta"_s);
        w.cmboServers->setCurrentIndex(0);
        w.serverChosen();
        QCOMPARE(reg.Str(KovSetting::Target), u"alpha"_s);
    }
    void closingSyncsAfterAFrequencyChange_data()
    {
        Columns<bool, QString, QString>::add(); // frequency changed, the reply, the message shown
        QTest::newRow("unchanged") << false << u"1,3,csv,0\r\nchannel,x\r\n"_s << QString();
        QTest::newRow("changed") << true << u"1,3,csv,0\r\nchannel,x\r\n"_s << QString();
        QTest::newRow("failed") << true << u"10,3,csv,0\r\nchannel,x\r\n"_s
                                << u"GetJobs FAILED : Account Unknown"_s;
    }
    void closingSyncsAfterAFrequencyChange()
    {
        const auto [changed, reply, message] = Columns<bool, QString, QString>::fetch();
        transfer.queue(reply);
        frmAdvanced w(&transfer);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        if (changed)
            QTest::mouseClick(w.cmdFreqUp, Qt::LeftButton);
        w.close();
        QCOMPARE(transfer.functions(), changed ? QStringList{u"getjobs"_s} : QStringList());
        QCOMPARE(transfer.cancels, 1); // a running request is cancelled on closing
        if (!message.isEmpty())
            QCOMPARE(w.lblMessage->text(), message);
    }
};

QTEST_MAIN(TestAdvancedWindow)
#include "tst_gui_advanced.moc"
