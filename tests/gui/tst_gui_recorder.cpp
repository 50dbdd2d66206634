// The recorder choice in the advanced settings and the Match button of the channel list editor.
#include "foundation/kov_paths.h"
#include "frmadvanced.h"
#include "frmchannellist.h"
#include "recorders/recorderfactory.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {
// Numbers "Alpha TV" 5, "Beta One" 9 and two channels called "Gamma".
const QList<RecorderChannel> kRecorderChannels{{5, QStringLiteral("alpha tv")},
                                               {9, QStringLiteral("Beta One")},
                                               {11, QStringLiteral("Gamma")},
                                               {12, QStringLiteral("GAMMA")}};
struct ListingScheduler : RecordingScheduler
{
    using RecordingScheduler::RecordingScheduler;
    std::optional<QList<RecorderChannel>> Channels() override { return kRecorderChannels; }
};

QStringList gridNumbers(const frmChannelList& w)
{
    QStringList column;
    for (int r = 0; r < w.GRID->rowCount(); ++r)
        column << (w.GRID->item(r, 1) ? w.GRID->item(r, 1)->text() : QString());
    return column;
}
} // namespace

class TestRecorderInWindows : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;
    FakeTransfer m_transfer;
    RecordingScheduler::Log m_log;

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        writeBytes(m_env->file(QStringLiteral("kovquibcg.dat")),
                   "0,3,csv,4\r\nisocode,name,id,country,category,language\r\n"
                   "de,Alpha TV,1,DE,G,de\r\nde,Beta One,2,DE,N,de\r\nat,Gamma,3,AT,C,de\r\n"
                   "ch,Delta,4,CH,S,de\r\n");
        writeBytes(m_env->file(QStringLiteral("dbchannel.dat")), "7,Alpha TV\r\n");
    }
    void cleanup() { m_env.reset(); }

    void chooseVdr()
    {
        frmAdvanced w(&m_transfer);
        QCOMPARE(w.cmboRecorder->currentText(), QStringLiteral("Local scheduler"));
        QVERIFY(!w.txtVdrHost->isEnabled() && !w.txtVdrPort->isEnabled());
        QTest::keyClick(w.cmboRecorder, Qt::Key_Down);
        QCOMPARE(kov_Settings().Str(KovSetting::Recorder), QStringLiteral("vdr"));
        QVERIFY(w.txtVdrHost->isEnabled() && w.txtVdrPort->isEnabled());
        frmAdvanced again(&m_transfer); // opens with the stored choice
        QVERIFY(again.txtVdrPort->isEnabled());
    }

    void vdrPortStored_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("stored");
        QTest::newRow("port") << QStringLiteral("2001") << QStringLiteral("2001") << 2001;
        QTest::newRow("above 65535") << QStringLiteral("70000") << QStringLiteral("7000") << 7000;
        QTest::newRow("leading zero") << QStringLiteral("0") << QString() << 6419;
        QTest::newRow("letters") << QStringLiteral("x1") << QStringLiteral("1") << 1;
    }
    void vdrPortStored()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, stored);
        kov_Settings().setStr(KovSetting::Recorder, QStringLiteral("vdr"));
        frmAdvanced w(&m_transfer);
        QCOMPARE(w.txtVdrPort->text(), QStringLiteral("6419"));
        w.txtVdrPort->clear();
        QTest::keyClicks(w.txtVdrPort, typed);
        QCOMPARE(w.txtVdrPort->text(), shown);
        QCOMPARE(kov_Settings().Lng(KovSetting::VdrPort), stored);
    }

    void matchButton_data()
    {
        QTest::addColumn<int>("recorder"); // 0 unreachable, 1 the local store, 2 a listing one
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("told"); // what the information box names
        // Alpha TV keeps its 7; Gamma matches twice and Delta not at all, so both stay empty.
        QTest::newRow("channel list") << 2 << QStringList{u"7"_s, u"9"_s, u""_s, u""_s}
                                      << QStringList{u"Gamma"_s, u"Delta"_s};
        QTest::newRow("local store")
            << 1 << QStringList{u"7"_s, u""_s, u""_s, u""_s} << QStringList{u"no channel list"_s};
        QTest::newRow("unreachable")
            << 0 << QStringList{u"7"_s, u""_s, u""_s, u""_s} << QStringList{u"cannot be reached"_s};
    }
    void matchButton()
    {
        QFETCH(int, recorder);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, told);
        if (recorder != 1) // the local store is the configured recorder
            kov_SetSchedulerFactory([this, recorder](const QString&) {
                return recorder == 2 ? std::make_unique<ListingScheduler>(m_log) : nullptr;
            });
        frmChannelList w(nullptr);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        QTest::mouseClick(w.cmdMatch, Qt::LeftButton);
        QCOMPARE(gridNumbers(w), numbers);
        QCOMPARE(m_env->ui.boxes.size(), 1);
        for (const QString& word : told)
            QVERIFY2(m_env->ui.boxes[0].contains(word), qPrintable(word));
        QCOMPARE(m_env->ui.boxFrames[0], u"64 "_s + kov_AppTitle());
        m_env->ui.boxAnswers = {6}; // Yes to "Save Changes ?", asked only after a match
        w.close();
        QCOMPARE(readBytes(m_env->file(QStringLiteral("dbchannel.dat"))),
                 QByteArray(recorder == 2 ? "7,Alpha TV\r\n9,Beta One\r\n" : "7,Alpha TV\r\n"));
    }
};

QTEST_MAIN(TestRecorderInWindows)
#include "tst_gui_recorder.moc"
