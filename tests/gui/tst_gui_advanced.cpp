// The advanced settings window: its fields and buttons store at once, the VDR's fields follow the
// recorder choice, the autostart entry its "Start at login" box writes, the server list it
// offers, and the sync its closing starts after a frequency change.
#include "advancedsettingswindow.h"
#include "app/resulttexts.h"
#include "apptestsupport.h"
#include "placement.h"

#include <QtWidgets>
class TestAdvancedWindow : public EnvironmentTest
{
    Q_OBJECT
    void setUp() override
    {
        kov::buildResultTexts();
        storeCredentials();
    }
    qint32 stored(Setting setting) { return kov::rawNumber(testSettings(), setting); }

private slots:
    void fieldsStoreAtOnce()
    {
        kov::setNumber(testSettings(), Setting::UpdateFrequency, 998);
        AdvancedSettingsWindow w(&transfer);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        w.move(120, 90); // where the main window places it
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::mouseClick(w.frequencyUpButton, Qt::LeftButton);
        QTest::mouseClick(w.frequencyUpButton, Qt::LeftButton);
        QCOMPARE(w.frequencyField->text(), u"999"_s);
        QCOMPARE(stored(Setting::UpdateFrequency), 999);
        w.timeoutField->setFocus();
        w.timeoutField->selectAll();
        QTest::keyClicks(w.timeoutField, u"12abc"_s);
        QCOMPARE(w.timeoutField->text(), u"12"_s);
        QCOMPARE(stored(Setting::TimeoutSeconds), 60); // stored when the field is left
        w.logRepliesBox->setFocus();
        QTRY_COMPARE(stored(Setting::TimeoutSeconds), 12);
        const QPoint indicator(6, w.logRepliesBox->height() / 2);
        QTest::mouseClick(w.logRepliesBox, Qt::LeftButton, {}, indicator);
        QTest::mouseClick(w.ignoreOffsetBox, Qt::LeftButton, {}, indicator);
        QCOMPARE(stored(Setting::LogReplies), 1);
        QCOMPARE(stored(Setting::IgnoreOffset), 0);
    }
    void vdrFields_data()
    {
        // the field, its setting, what it shows at first, what is typed into it (a click for the
        // box), then what the setting reads and the next window shows
        Columns<QString, Setting, QString, QString, QVariant>::add();
        const Setting before = Setting::VdrMarginBefore, after = Setting::VdrMarginAfter;
        QTest::newRow("margin at start")
            << u"vdrMarginBeforeField"_s << before << u"2"_s << u"15"_s << QVariant(15);
        QTest::newRow("margin off")
            << u"vdrMarginBeforeField"_s << before << u"2"_s << u"00"_s << QVariant(0);
        QTest::newRow("margin at stop")
            << u"vdrMarginAfterField"_s << after << u"10"_s << u"600"_s << QVariant(600);
        QTest::newRow("above 600")
            << u"vdrMarginAfterField"_s << after << u"10"_s << u"6x01"_s << QVariant(60);
        QTest::newRow("no VPS") << u"vdrUseVpsBox"_s << Setting::VdrUseVps << u"1"_s << QString()
                                << QVariant(0);
        QTest::newRow("sub-folder") << u"vdrFolderField"_s << Setting::VdrFolder << u"KovFerrit"_s
                                    << u" Series~Crime "_s << QVariant(u"Series~Crime"_s);
        QTest::newRow("no folder") << u"vdrFolderField"_s << Setting::VdrFolder << u"KovFerrit"_s
                                   << QString() << QVariant(u""_s);
        QTest::newRow("port above 65535")
            << u"vdrPortField"_s << Setting::VdrPort << u"6419"_s << u"70000"_s << QVariant(7000);
        QTest::newRow("port 0") << u"vdrPortField"_s << Setting::VdrPort << u"6419"_s << u"0"_s
                                << QVariant(6419);
    }
    void vdrFields()
    {
        const auto [name, setting, shownFirst, typed, stored] =
            Columns<QString, Setting, QString, QString, QVariant>::fetch();
        const auto shown = [name = name](const AdvancedSettingsWindow& w) {
            auto* box = w.findChild<QCheckBox*>(name);
            return box ? QString::number(box->isChecked()) : w.findChild<QLineEdit*>(name)->text();
        };
        AdvancedSettingsWindow w(&transfer);
        auto* field = w.findChild<QWidget*>(name);
        QCOMPARE(w.recorderList->currentText(), u"Local scheduler"_s);
        QVERIFY(!field->isEnabled());
        QTest::keyClick(w.recorderList, Qt::Key_Down);
        QVERIFY(field->isEnabled());
        QCOMPARE(shown(w), shownFirst);
        if (auto* box = qobject_cast<QCheckBox*>(field)) {
            box->click();
        } else {
            static_cast<QLineEdit*>(field)->selectAll();
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClicks(field, typed);
        }
        SettingsStore settings = kov::settings();
        QCOMPARE(kov::readSetting(settings, setting), stored);
        const AdvancedSettingsWindow next(&transfer); // opens with the stored recorder and value
        QVERIFY(next.findChild<QWidget*>(name)->isEnabled());
        QCOMPARE(shown(next), stored.toString());
    }
    void aClickPutsItBackWhereItLoaded()
    {
        kov::setFrameMarginsOverride(QMargins(1, 20, 1, 1)); // framed as by a window manager
        const auto reset = qScopeGuard([] { kov::setFrameMarginsOverride(std::nullopt); });
        AdvancedSettingsWindow w(&transfer);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        w.move(120, 90); // where the main window places it
        w.show();
        const QRect shown = w.geometry();
        QCOMPARE(shown.topLeft(), QPoint(121, 110));       // inside the frame at the place given
        QTest::mouseClick(w.timeoutLabel, Qt::LeftButton); // a label and the background: it stays
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
        AdvancedSettingsWindow w(&transfer);
        QVERIFY(!w.startAtLoginBox->isChecked());
        w.startAtLoginBox->click();
        // The test's own program folder is not the default one: the entry carries it.
        QVERIFY(
            readBytes(entry).contains("\nExec=" + QCoreApplication::applicationFilePath().toUtf8() +
                                      " --home " + env->folder().toUtf8() + '\n'));
        QVERIFY(AdvancedSettingsWindow(&transfer)
                    .startAtLoginBox->isChecked()); // the next window finds it
        w.startAtLoginBox->click();
        QVERIFY(!QFile::exists(entry) && !w.startAtLoginBox->isChecked());
        // A file where the autostart folder belongs: the user is told why, the box stays off.
        QVERIFY(QDir(config.path()).rmdir(u"autostart"_s));
        writeBytes(config.filePath(u"autostart"_s), "");
        w.startAtLoginBox->click();
        QVERIFY(!w.startAtLoginBox->isChecked());
        QCOMPARE(env->ui.boxes.size(), 1);
        QVERIFY2(env->ui.boxes[0].contains(u"autostart"_s), qPrintable(env->ui.boxes[0]));
    }
    void servers()
    {
        SettingsStore settings = kov::settings();
        settings.setText(u"1Server"_s, u"alpha,Some Name"_s);
        settings.setText(u"2Server"_s, u"beta"_s);
        settings.setText(u"4Server"_s, u"after,the gap"_s);
        kov::setText(settings, Setting::Target, u"beta"_s);
        AdvancedSettingsWindow w(&transfer);
        QCOMPARE(w.serverList->count(), 2);
        QCOMPARE(w.serverList->itemText(0) + w.serverList->currentText(), u"alphabeta"_s);
        w.serverList->setCurrentIndex(0);
        w.serverChosen();
        QCOMPARE(kov::rawText(settings, Setting::Target), u"alpha"_s);
    }
    void closingSyncsAfterAFrequencyChange_data()
    {
        Columns<bool, QString, QString>::add(); // frequency changed, the reply, the message shown
        QTest::newRow("unchanged") << false << u"1,3,csv,0\r\nchannel,x\r\n"_s << QString();
        QTest::newRow("failed") << true << u"10,3,csv,0\r\nchannel,x\r\n"_s
                                << u"GetJobs FAILED : Account Unknown"_s;
    }
    void closingSyncsAfterAFrequencyChange()
    {
        const auto [changed, reply, message] = Columns<bool, QString, QString>::fetch();
        transfer.queue(reply);
        AdvancedSettingsWindow w(&transfer);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        if (changed)
            QTest::mouseClick(w.frequencyUpButton, Qt::LeftButton);
        w.close();
        QCOMPARE(transfer.functions(), changed ? QStringList{u"getjobs"_s} : QStringList());
        QCOMPARE(transfer.cancels, 1); // a running request is cancelled on closing
        if (!message.isEmpty())
            QCOMPARE(w.messageLine->text(), message);
    }
};

QTEST_MAIN(TestAdvancedWindow)
#include "tst_gui_advanced.moc"
