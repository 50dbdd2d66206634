// Part 3.3: the missing-channel prompt, driven through its real widgets.
#include "channels/channel_lookup.h"
#include "needchannelform.h"
#include "testsupport.h"
#include "widgetuserinterface.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {
/// Runs `action` on the modal prompt as soon as it is shown.
void onPrompt(std::function<void(NeedChannelForm*)> action)
{
    QTimer::singleShot(0, [action] {
        auto* form = qobject_cast<NeedChannelForm*>(QApplication::activeModalWidget());
        QVERIFY(form);
        action(form);
    });
}
} // namespace

class TestNeedChannelForm : public QObject
{
    Q_OBJECT
private slots:
    void opening();
    void plusMinus_data();
    void plusMinus();
    void okReadsWholeNumber_data();
    void okReadsWholeNumber();
    void twoPromptsInARow();
    void nullNameClosesAtOnce();
    void lookupAsksThroughThePrompt();
};

void TestNeedChannelForm::opening()
{
    TestEnvironment env;
    NeedChannelForm form(QStringLiteral("Gamma 1"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Lumo Scheduler"));
    QCOMPARE(form.txtChannel->text(), QStringLiteral("2"));
    QCOMPARE(form.Label1->text(), QStringLiteral("Please assign channel number to Gamma 1?"));
    QCOMPARE(form.cmdOK->text(), QStringLiteral("OK"));
    QCOMPARE(form.cmdCancel->text(), QStringLiteral("Cancel"));
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(form.isModal());
    QCOMPARE(form.chosenNumber(), 0);
}

void TestNeedChannelForm::plusMinus_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("plus");
    QTest::addColumn<QString>("expected");
    QTest::newRow("+ on 256 stays") << "256" << true << "256";
    QTest::newRow("+ on 255") << "255" << true << "256";
    QTest::newRow("- on 0 stays") << "0" << false << "0";
    QTest::newRow("- on 1") << "1" << false << "0";
    QTest::newRow("+ on 2") << "2" << true << "3";
}

void TestNeedChannelForm::plusMinus()
{
    TestEnvironment env;
    QFETCH(QString, start);
    QFETCH(bool, plus);
    QFETCH(QString, expected);
    NeedChannelForm form(QStringLiteral("X"));
    form.show();
    form.txtChannel->setText(start);
    QTest::mouseClick(plus ? form.cmdPlus : form.cmdMinus, Qt::LeftButton);
    QCOMPARE(form.txtChannel->text(), expected);
}

void TestNeedChannelForm::okReadsWholeNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("chosen");
    QTest::newRow("0 means cancelled") << "0" << 0;
    QTest::newRow("12.5 to 12") << "12.5" << 12;
    QTest::newRow("13.5 to 14") << "13.5" << 14;
    QTest::newRow("no range check") << "999" << 999;
    QTest::newRow("negative as it stands") << "-5" << -5;
    QTest::newRow("blanks allowed") << "  7 " << 7;
}

void TestNeedChannelForm::okReadsWholeNumber()
{
    TestEnvironment env;
    QFETCH(QString, typed);
    QFETCH(int, chosen);
    NeedChannelForm form(QStringLiteral("X"));
    form.show();
    form.txtChannel->clear();
    QTest::keyClicks(form.txtChannel, typed);
    QTest::mouseClick(form.cmdOK, Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.chosenNumber(), chosen);
}

void TestNeedChannelForm::twoPromptsInARow()
{
    TestEnvironment env;
    onPrompt([](NeedChannelForm* form) {
        form->txtChannel->setText(QStringLiteral("5"));
        QTest::mouseClick(form->cmdOK, Qt::LeftButton);
    });
    QCOMPARE(NeedChannelForm::ask(QStringLiteral("First")), 5);
    onPrompt([](NeedChannelForm* form) {
        QCOMPARE(form->txtChannel->text(), QStringLiteral("2")); // each question starts at 2
        form->close();                                           // the title-bar close box
    });
    QCOMPARE(NeedChannelForm::ask(QStringLiteral("Second")), 0);
}

void TestNeedChannelForm::nullNameClosesAtOnce()
{
    TestEnvironment env;
    QCOMPARE(NeedChannelForm::ask(QString()), 0);
    QCOMPARE(env.ui.boxes.size(), 1);
    QCOMPARE(env.ui.boxes[0].text, QStringLiteral("Requested channel is null"));
    QCOMPARE(env.ui.boxes[0].caption, QStringLiteral("Channel Translation"));
    QCOMPARE(env.ui.boxes[0].style, 64);
}

void TestNeedChannelForm::lookupAsksThroughThePrompt()
{
    TestEnvironment env;
    WidgetUserInterface widgets;
    kov_SetUserInterface(&widgets);
    onPrompt([](NeedChannelForm* form) {
        QVERIFY(form->Label1->text().contains(QLatin1String("Gamma 1")));
        form->txtChannel->setText(QStringLiteral("9"));
        QTest::mouseClick(form->cmdOK, Qt::LeftButton);
    });
    QCOMPARE(GetChannelByName(QStringLiteral("Gamma 1"), true), 9);
    QCOMPARE(readBytes(env.file(QStringLiteral("dbchannel.dat"))), QByteArray("9,Gamma 1\r\n"));
    onPrompt([](NeedChannelForm* form) { QTest::mouseClick(form->cmdCancel, Qt::LeftButton); });
    QCOMPARE(GetChannelByName(QStringLiteral("Delta"), true), 0);
    QCOMPARE(readBytes(env.file(QStringLiteral("dbchannel.dat"))), QByteArray("9,Gamma 1\r\n"));
    kov_SetUserInterface(&env.ui);
}

QTEST_MAIN(TestNeedChannelForm)
#include "tst_gui_needchannelform.moc"
