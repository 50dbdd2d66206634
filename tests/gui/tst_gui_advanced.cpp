// Part 4.6: the advanced settings window (and the Part 5.5 defaults it creates).
#include "app/kovferritsupport.h"
#include "fakes.h"
#include "frmadvanced.h"
#include "frmchannellist.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestAdvancedWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void freshSystem();
    void frequencyBounds();
    void timeoutField();
    void serverList();
    void checkBoxes();
    void getServers();
    void closingSyncsOnlyAfterFrequencyChange();
    void closingReportsFailure();
    void channelListButton();
    void backgroundClickRestoresPosition();

private:
    std::unique_ptr<TestEnvironment> m_env;
    FakeTransfer m_transfer;
};

void TestAdvancedWindow::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_transfer = FakeTransfer();
    kov_SetTransferComponent(&m_transfer);
    BuildResultTexts();
}

void TestAdvancedWindow::cleanup()
{
    m_env.reset();
}

void TestAdvancedWindow::freshSystem()
{
    auto* w = new frmAdvanced(&m_transfer);
    QCOMPARE(w->txtTimeout->text(), QStringLiteral("60"));
    QVERIFY(!w->chkLogReplies->isChecked());
    QVERIFY(w->chkIgnoreOffset->isChecked());
    QCOMPARE(w->txtFrequency->text(), QStringLiteral("1"));
    QCOMPARE(w->cmboServers->count(), 0);
    QCOMPARE(w->lblMessage->text(), QStringLiteral("Welcome to KOV Ferrit"));
    QCOMPARE(w->cmdGetServers->text(), QStringLiteral("Servers"));
    QCOMPARE(w->cmdChannels->text(), QStringLiteral("Channel List"));
    QCOMPARE(w->lblTimeout->text(), QStringLiteral("Timeout Seconds"));
    QCOMPARE(w->Text2->text(), QStringLiteral("Target Database"));
    CKovReg reg = kov_Settings();
    QCOMPARE(reg.Lng(KovSetting::TimeoutSeconds), 60);
    QCOMPARE(reg.Lng(KovSetting::LogReplies), 0);
    QCOMPARE(reg.Lng(KovSetting::IgnoreOffset), 1);
    QCOMPARE(reg.Lng(KovSetting::UpdateFrequency), 1);
    QVERIFY(!reg.ValueExists(KovSetting::Account)); // stays absent until entered
    QVERIFY(!reg.ValueExists(KovSetting::Protocol));
    w->close();
}

void TestAdvancedWindow::frequencyBounds()
{
    kov_Settings().setLng(KovSetting::UpdateFrequency, 998);
    auto* w = new frmAdvanced(&m_transfer);
    QTest::mouseClick(w->cmdFreqUp, Qt::LeftButton);
    QTest::mouseClick(w->cmdFreqUp, Qt::LeftButton);
    QCOMPARE(w->txtFrequency->text(), QStringLiteral("999"));
    QCOMPARE(kov_Settings().Lng(KovSetting::UpdateFrequency), 999);
    kov_Settings().setLng(KovSetting::UpdateFrequency, 2);
    auto* low = new frmAdvanced(&m_transfer);
    QTest::mouseClick(low->cmdFreqDown, Qt::LeftButton);
    kov_Settings().DeleteValue(KovSetting::UpdateFrequency);
    QTest::mouseClick(low->cmdFreqDown, Qt::LeftButton); // at 1: stays, and stores 1
    QCOMPARE(low->txtFrequency->text(), QStringLiteral("1"));
    QCOMPARE(kov_Settings().Lng(KovSetting::UpdateFrequency), 1);
    low->txtFrequency->setText(QStringLiteral("50")); // typed text is never read
    QTest::mouseClick(low->cmdFreqUp, Qt::LeftButton);
    QCOMPARE(kov_Settings().Lng(KovSetting::UpdateFrequency), 2);
    m_transfer.queue(replyDocument(strings({"1,3,csv,0", "channel,x"})));
    w->close();
    low->close();
}

void TestAdvancedWindow::timeoutField()
{
    auto* w = new frmAdvanced(&m_transfer);
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->txtTimeout->setFocus();
    w->txtTimeout->selectAll();
    QTest::keyClicks(w->txtTimeout, QStringLiteral("abc"));
    QCOMPARE(w->txtTimeout->text(), QStringLiteral("0"));
    w->txtTimeout->selectAll();
    QTest::keyClicks(w->txtTimeout, QStringLiteral("12abc"));
    QCOMPARE(w->txtTimeout->text(), QStringLiteral("12"));
    w->txtTimeout->selectAll();
    QTest::keyClicks(w->txtTimeout, QStringLiteral("45"));
    QCOMPARE(kov_Settings().Lng(KovSetting::TimeoutSeconds), 60); // stored when the field is left
    w->chkLogReplies->setFocus();
    QTRY_COMPARE(kov_Settings().Lng(KovSetting::TimeoutSeconds), 45);
    w->close();
}

void TestAdvancedWindow::serverList()
{
    CKovReg reg = kov_Settings();
    reg.setStr(QStringLiteral("1Server"), QStringLiteral("alpha,Some Name"));
    reg.setStr(QStringLiteral("2Server"), QStringLiteral("beta"));
    reg.setStr(QStringLiteral("4Server"), QStringLiteral("after,the gap"));
    reg.setStr(KovSetting::Target, QStringLiteral("beta"));
    auto* w = new frmAdvanced(&m_transfer);
    QCOMPARE(w->cmboServers->count(), 2);
    QCOMPARE(w->cmboServers->itemText(0), QStringLiteral("alpha"));
    QCOMPARE(w->cmboServers->itemText(1), QStringLiteral("beta"));
    QCOMPARE(w->cmboServers->currentText(), QStringLiteral("beta"));
    w->cmboServers->setCurrentIndex(0);
    w->serverChosen();
    QCOMPARE(reg.Str(KovSetting::Target), QStringLiteral("alpha"));
    w->close();
}

void TestAdvancedWindow::checkBoxes()
{
    auto* w = new frmAdvanced(&m_transfer);
    w->show();
    // Click on the indicator, at the left of the (caption-less) check box.
    const QPoint indicator(6, w->chkLogReplies->height() / 2);
    QTest::mouseClick(w->chkLogReplies, Qt::LeftButton, {}, indicator);
    QCOMPARE(kov_Settings().Lng(KovSetting::LogReplies), 1);
    QTest::mouseClick(w->chkIgnoreOffset, Qt::LeftButton, {}, indicator);
    QCOMPARE(kov_Settings().Lng(KovSetting::IgnoreOffset), 0);
    w->close();
}

void TestAdvancedWindow::getServers()
{
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    m_transfer.queue(replyDocument(strings({"0,csv,1", "target,description", "gamma,Third"})));
    auto* w = new frmAdvanced(&m_transfer);
    QTest::mouseClick(w->cmdGetServers, Qt::LeftButton);
    QCOMPARE(w->lblMessage->text(), QStringLiteral("Database Download OK"));
    QCOMPARE(kov_Settings().Lng(KovSetting::HaveServers), 1);
    QCOMPARE(kov_Settings().Str(QStringLiteral("1Server")), QStringLiteral("gamma,Third"));
    QCOMPARE(w->cmboServers->count(), 0); // shown the next time the window opens
    w->close();
}

void TestAdvancedWindow::closingSyncsOnlyAfterFrequencyChange()
{
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    m_transfer.queue(replyDocument(strings({"1,3,csv,0", "channel,x"})));
    auto* quiet = new frmAdvanced(&m_transfer);
    quiet->close();
    QVERIFY(m_transfer.urls.isEmpty());
    QCOMPARE(m_transfer.cancels, 1); // a running transfer is cancelled on closing
    auto* w = new frmAdvanced(&m_transfer);
    QTest::mouseClick(w->cmdFreqUp, Qt::LeftButton);
    w->close();
    QCOMPARE(m_transfer.urls.size(), 1);
    QVERIFY(m_transfer.urls[0].contains(QLatin1String("/getjobs?")));
    QVERIFY(m_env->traced(QStringLiteral("--- uPdaTinG FreQuEncY --- ?"
                                         "?/// *&^%$#$")));
}

void TestAdvancedWindow::closingReportsFailure()
{
    storeCredentials(QStringLiteral("demo"), QStringLiteral("pw"));
    m_transfer.queue(replyDocument(strings({"10,3,csv,0", "channel,x"})));
    frmAdvanced w(&m_transfer);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    QTest::mouseClick(w.cmdFreqUp, Qt::LeftButton);
    w.close();
    QCOMPARE(w.lblMessage->text(), QStringLiteral("GetJobs FAILED : Account Unknown"));
    m_transfer.answers.clear();
    m_transfer.queueFailure(QStringLiteral("Timeout"));
    frmAdvanced again(&m_transfer);
    again.setAttribute(Qt::WA_DeleteOnClose, false);
    QTest::mouseClick(again.cmdFreqDown, Qt::LeftButton);
    again.close();
    QCOMPARE(again.lblMessage->text(), QStringLiteral("GetJobs FAILED -1"));
}

void TestAdvancedWindow::channelListButton()
{
    writeBytes(m_env->file(QStringLiteral("kovquibcg.dat")),
               "0,3,csv,1\r\nisocode,name,id,country,category,language\r\nde,Alpha,1,DE,G,de\r\n");
    auto* w = new frmAdvanced(&m_transfer);
    QTest::mouseClick(w->cmdChannels, Qt::LeftButton);
    QVERIFY(frmChannelList::openInstance());
    QVERIFY(frmChannelList::openInstance()->isVisible());
    QVERIFY(!frmChannelList::openInstance()->isModal());
    frmChannelList::openInstance()->close();
    w->close();
}

void TestAdvancedWindow::backgroundClickRestoresPosition()
{
    frmAdvanced w(&m_transfer);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.move(120, 90); // where the main window places it
    w.show();
    const QPoint loaded = w.pos();
    w.move(loaded + QPoint(40, 30));
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(w.pos(), loaded);
    w.close();
}

QTEST_MAIN(TestAdvancedWindow)
#include "tst_gui_advanced.moc"
