// The Match button of the channel list editor, which fills empty numbers from the recorder.
#include "apptestsupport.h"
#include "channellistwindow.h"

#include <QtWidgets>

namespace {
// Numbers "Alpha TV" 5, "Beta One" 9 and two channels called "Gamma".
const QList<RecorderChannel> kRecorderChannels{
    {5, u"alpha tv"_s}, {9, u"Beta One"_s}, {11, u"Gamma"_s}, {12, u"GAMMA"_s}};
struct ListingScheduler : RecordingScheduler
{
    using RecordingScheduler::RecordingScheduler;
    std::optional<QList<RecorderChannel>> channels() override { return kRecorderChannels; }
};
// Makes ListingSchedulers.
struct ListingRecorders : RecorderSource
{
    explicit ListingRecorders(RecordingScheduler::Log& log) : log(log) {}
    std::unique_ptr<RecorderScheduler> open(RecorderAccess, QString*) override
    {
        return std::make_unique<ListingScheduler>(log);
    }
    RecordingScheduler::Log& log;
};
} // namespace

class TestRecorderInWindows : public EnvironmentTest
{
    Q_OBJECT
    RecordingScheduler::Log m_log;
    quint16 m_closedPort = 0;

    void setUp() override
    {
        writeBytes(env->file(u"kovquibcg.dat"_s),
                   "0,3,csv,4\r\nisocode,name,id,country,category,language\r\n"
                   "de,Alpha TV,1,DE,G,de\r\nde,Beta One,2,DE,N,de\r\nat,Gamma,3,AT,C,de\r\n"
                   "ch,Delta,4,CH,S,de\r\n");
        writeBytes(env->file(u"dbchannel.dat"_s), "7,Alpha TV\r\n");
    }

private slots:
    void matchButton_data()
    {
        // the recorder (0 unreachable, 1 the local store, 2 a listing one, 3 a VDR on a port
        // nothing listens on), the numbers after the match and what the information box names
        Columns<int, QStringList, QStringList>::add();
        // Alpha TV keeps its 7; Gamma matches twice and Delta not at all, so both stay empty.
        QTest::newRow("channel list") << 2 << QStringList{u"7"_s, u"9"_s, u""_s, u""_s}
                                      << QStringList{u"Gamma"_s, u"Delta"_s};
        QTest::newRow("local store")
            << 1 << QStringList{u"7"_s, u""_s, u""_s, u""_s} << QStringList{u"no channel list"_s};
        QTest::newRow("unreachable")
            << 0 << QStringList{u"7"_s, u""_s, u""_s, u""_s} << QStringList{u"cannot be reached"_s};
        m_closedPort = refusingPort();
        QTest::newRow("VDR refuses")
            << 3 << QStringList{u"7"_s, u""_s, u""_s, u""_s}
            << QStringList{u"cannot be reached\r\nVDR at 127.0.0.1, port %1, cannot be used: the "
                           u"connection was refused"_s.arg(m_closedPort)};
    }
    void matchButton()
    {
        const auto [recorder, numbers, told] = Columns<int, QStringList, QStringList>::fetch();
        if (recorder == 3) {
            kov::setText(testSettings(), Setting::Recorder, u"vdr"_s);
            kov::setText(testSettings(), Setting::VdrHost, u"127.0.0.1"_s);
            kov::setNumber(testSettings(), Setting::VdrPort, m_closedPort);
        }
        ListingRecorders listing(m_log);
        FakeRecorders unreachable(m_log, true);
        ChannelListWindow w(nullptr);
        if (recorder == 0) // otherwise the configured recorder
            w.setRecorders(unreachable);
        if (recorder == 2)
            w.setRecorders(listing);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        QTest::mouseClick(w.matchButton, Qt::LeftButton);
        QStringList shown;
        for (int r = 0; r < w.grid->rowCount(); ++r)
            shown << (w.grid->item(r, 1) ? w.grid->item(r, 1)->text() : QString());
        QCOMPARE(shown, numbers);
        QCOMPARE(env->ui.boxes.size(), 1);
        for (const QString& word : told)
            QVERIFY2(env->ui.boxes[0].contains(word), qPrintable(word));
        QCOMPARE(env->ui.boxFrames[0], u"Information KovFerrit"_s);
        env->ui.boxAnswers = {MessageAnswer::Yes}; // "Save Changes ?" comes only after a match
        w.close();
        QCOMPARE(readBytes(env->file(u"dbchannel.dat"_s)),
                 QByteArray(recorder == 2 ? "7,Alpha TV\r\n9,Beta One\r\n" : "7,Alpha TV\r\n"));
    }
};

QTEST_MAIN(TestRecorderInWindows)
#include "tst_gui_recorder.moc"
