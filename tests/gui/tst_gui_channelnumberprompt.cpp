// The prompt for an unknown channel's number: its buttons, what OK reads from the field, and the
// lookup asking through it.
#include "apptestsupport.h"
#include "channelnumberprompt.h"
#include "channels/channellookup.h"
#include "widgetuserinterface.h"

#include <QtWidgets>

class TestNeedChannelForm : public EnvironmentTest
{
    Q_OBJECT
private slots:
    void okReadsTheField_data()
    {
        // typed, buttons pressed before OK; chosen (0: cancelled), else why the window stays
        Columns<QString, QString, int, QString>::add();
        QTest::newRow("halves to even") << u"12.5"_s << QString() << 12 << QString();
        QTest::newRow("blanks") << u" 999 "_s << QString() << 999 << QString();
        QTest::newRow("plus up to 256") << u"255"_s << u"++"_s << 256 << QString();
        QTest::newRow("empty cancels") << u" "_s << QString() << 0 << QString();
        const QString range = u"%1 is out of range: channel numbers are 1 to 999."_s;
        for (const QString& typed : {u"0"_s, u"1000"_s, u"1e20"_s, u"-5"_s})
            QTest::newRow(qPrintable(typed)) << typed << QString() << 0 << range.arg(typed);
        QTest::newRow("minus down to 0") << u"1"_s << u"--"_s << 0 << range.arg(u"0"_s);
        for (const QString& typed : {u"1,5"_s, u"abc"_s})
            QTest::newRow(qPrintable(typed))
                << typed << QString() << 0 << typed + u" is not a whole number."_s;
    }
    void okReadsTheField()
    {
        const auto [typed, buttons, chosen, why] = Columns<QString, QString, int, QString>::fetch();
        ChannelNumberPrompt form(u"X"_s);
        form.show();
        form.numberField->clear();
        QTest::keyClicks(form.numberField, typed);
        for (const QChar button : buttons)
            QTest::mouseClick(button == u'+' ? form.plusButton : form.minusButton, Qt::LeftButton);
        QTest::mouseClick(form.okButton, Qt::LeftButton);
        QCOMPARE(form.chosenNumber(), chosen);
        if (why.isEmpty()) {
            QCOMPARE(form.result(), int(chosen ? QDialog::Accepted : QDialog::Rejected));
            QVERIFY(!form.isVisible());
            return;
        }
        // Still asking, with the reason above the question; a valid answer then closes it.
        QVERIFY(form.isVisible());
        QCOMPARE(form.questionLabel->text(), why + u"\nPlease assign channel number to X?"_s);
        QTest::keyClicks(form.numberField, u"7"_s); // replaces the selected answer
        QTest::mouseClick(form.okButton, Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.chosenNumber(), 7);
    }
    void lookupAsksThroughThePrompt()
    {
        WidgetUserInterface widgets;
        kov::setUserInterface(&widgets);
        const auto onPrompt = [](const std::function<void(ChannelNumberPrompt*)>& action) {
            QTimer::singleShot(0, [action] {
                if (auto* form =
                        qobject_cast<ChannelNumberPrompt*>(QApplication::activeModalWidget()))
                    action(form);
            });
        };
        onPrompt([](ChannelNumberPrompt* form) {
            QCOMPARE(form->questionLabel->text(), u"Please assign channel number to Gamma 1?"_s);
            QCOMPARE(form->numberField->text(), u"2"_s);
            form->numberField->setText(u"9"_s);
            QTest::mouseClick(form->okButton, Qt::LeftButton);
        });
        QCOMPARE(kov::channelByName(u"Gamma 1"_s, true), 9);
        onPrompt([](ChannelNumberPrompt* form) { form->close(); }); // the title bar's close box
        QCOMPARE(kov::channelByName(u"Delta"_s, true), 0);
        kov::setUserInterface(&env->ui);
        QCOMPARE(ChannelNumberPrompt::ask(QString()), 0);
        QCOMPARE(env->ui.boxes, QStringList{u"Requested channel is null"_s});
    }
};

QTEST_MAIN(TestNeedChannelForm)
#include "tst_gui_channelnumberprompt.moc"
