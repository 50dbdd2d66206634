// The prompt for an unknown channel's number: its buttons, what OK reads from the field, and the
// lookup asking through it.
#include "channels/channel_lookup.h"
#include "needchannelform.h"
#include "testsupport.h"

#include "widgetuserinterface.h"
#include <QtWidgets>

class TestNeedChannelForm : public EnvironmentTest
{
    Q_OBJECT
private slots:
    void okReadsTheField_data()
    {
        Columns<QString, QString, int>::add(); // typed, buttons pressed before OK, chosen
        QTest::newRow("0 means cancelled") << u"0"_s << QString() << 0;
        QTest::newRow("halves to even") << u"12.5"_s << QString() << 12;
        QTest::newRow("blanks, no range check") << u" 999 "_s << QString() << 999;
        QTest::newRow("text") << u"abc"_s << QString() << 0;
        QTest::newRow("plus up to 256") << u"255"_s << u"++"_s << 256;
        QTest::newRow("minus down to 0") << u"1"_s << u"--"_s << 0;
    }
    void okReadsTheField()
    {
        const auto [typed, buttons, chosen] = Columns<QString, QString, int>::fetch();
        NeedChannelForm form(u"X"_s);
        form.show();
        form.txtChannel->clear();
        QTest::keyClicks(form.txtChannel, typed);
        for (const QChar button : buttons)
            QTest::mouseClick(button == u'+' ? form.cmdPlus : form.cmdMinus, Qt::LeftButton);
        QTest::mouseClick(form.cmdOK, Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.chosenNumber(), chosen);
    }
    void lookupAsksThroughThePrompt()
    {
        WidgetUserInterface widgets;
        kov_SetUserInterface(&widgets);
        const auto onPrompt = [](const std::function<void(NeedChannelForm*)>& action) {
            QTimer::singleShot(0, [action] {
                if (auto* form = qobject_cast<NeedChannelForm*>(QApplication::activeModalWidget()))
                    action(form);
            });
        };
        onPrompt([](NeedChannelForm* form) {
            QVERIFY(form->isModal() && (form->windowFlags() & Qt::WindowStaysOnTopHint));
            QCOMPARE(form->Label1->text(), u"Please assign channel number to Gamma 1?"_s);
            QCOMPARE(form->txtChannel->text(), u"2"_s);
            form->txtChannel->setText(u"9"_s);
            QTest::mouseClick(form->cmdOK, Qt::LeftButton);
        });
        QCOMPARE(GetChannelByName(u"Gamma 1"_s, true), 9);
        onPrompt([](NeedChannelForm* form) { form->close(); }); // the title bar's close box
        QCOMPARE(GetChannelByName(u"Delta"_s, true), 0);
        QCOMPARE(readBytes(env->file(u"dbchannel.dat"_s)), "9,Gamma 1\r\n");
        kov_SetUserInterface(&env->ui);
        QCOMPARE(NeedChannelForm::ask(QString()), 0);
        QCOMPARE(env->ui.boxes, QStringList{u"Requested channel is null"_s});
    }
};

QTEST_MAIN(TestNeedChannelForm)
#include "tst_gui_needchannelform.moc"
