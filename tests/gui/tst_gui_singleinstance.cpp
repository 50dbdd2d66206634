// One desktop program per program folder: a second start hands over to the running copy, which
// shows its window; a crashed copy's socket, or a copy of another folder, does not stop a start.
#include "apptestsupport.h"
#include "foundation/programfolder.h"
#include "mainwindow.h"
#include "platform/singleinstance.h"

#include <QtWidgets>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
using Claim = SingleInstance::Claim;

// What a copy killed while it ran leaves under the name: a socket file nobody listens on.
void leaveDeadSocket(const QString& name)
{
    const QByteArray path = QFile::encodeName(QDir::temp().filePath(name));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}
} // namespace

class TestSingleInstance : public EnvironmentTest
{
    Q_OBJECT
private slots:
    void claims_data()
    {
        // What the program folder holds when a start claims it; that start's claim.
        Columns<QString, Claim>::add();
        QTest::newRow("running copy") << u"running"_s << Claim::HandedOver;
        QTest::newRow("copy of another folder") << u"other folder"_s << Claim::First;
        QTest::newRow("crashed copy's socket") << u"dead socket"_s << Claim::First;
        QTest::newRow("copy that does not answer") << u"silent"_s << Claim::NoAnswer;
        QTest::newRow("copy that ends while asked") << u"ending"_s << Claim::First;
    }
    void claims()
    {
        const auto [before, claim] = Columns<QString, Claim>::fetch();
        kov::setNumber(testSettings(), Setting::HaveChannelDatabase, 1); // starts hidden
        kov::setText(testSettings(), Setting::NextSync, kov::dateText(kTestNow.addSecs(3600)));
        MainWindow window(&transfer, {}, true);
        window.startUp();
        QVERIFY(!window.isVisible());
        QTemporaryDir other;
        auto running = std::make_unique<SingleInstance>();
        if (before == u"other folder"_s)
            kov::setProgramFolder(other.path());
        if (before == u"dead socket"_s) {
            leaveDeadSocket(SingleInstance::serverName());
        } else {
            QCOMPARE(running->claim(), Claim::First);
            if (before == u"ending"_s) // it ends once the start asks it
                QTimer::singleShot(0, &window, [&running] { running.reset(); });
            else if (before != u"silent"_s)
                running->listen();
            connect(running.get(), &SingleInstance::anotherStart, &window,
                    &MainWindow::onAnotherStart);
        }
        kov::setProgramFolder(env->folder());

        SingleInstance started;
        QCOMPARE(started.claim(claim == Claim::NoAnswer ? 0 : 5000), claim);
        QCOMPARE(window.isVisible(), claim == Claim::HandedOver);
        if (claim != Claim::First)
            return;
        // The start that went on answers the next one in its folder.
        started.listen();
        connect(&started, &SingleInstance::anotherStart, &window, &MainWindow::onAnotherStart);
        QCOMPARE(SingleInstance().claim(), Claim::HandedOver);
        QVERIFY(window.isVisible() && window.windowShownFlag());
    }
    void secondStartOfTheProgram()
    {
        // The real program twice in one folder (named by KOVFERRIT_HOME or --home): the second
        // start ends with status 0 and the first runs on. A killed copy leaves its socket behind
        // for the next start.
        const QString program = qEnvironmentVariable("KOVFERRIT_GUI");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"KOVFERRIT_HOME"_s, env->folder());
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"KOVFERRIT_TRACE"_s, u"1"_s);
        const auto launch = [&](QProcess& process, const QStringList& arguments = {}) {
            QProcessEnvironment own = environment;
            if (!arguments.isEmpty()) // the folder comes from --home alone
                own.remove(u"KOVFERRIT_HOME"_s);
            process.setProcessEnvironment(own);
            process.setProcessChannelMode(QProcess::MergedChannels);
            process.start(program, arguments);
            QVERIFY2(process.waitForStarted(), qPrintable(program));
        };
        // The second round starts where the first round's copy was killed.
        for (int round = 0; round < 2; ++round) {
            QProcess first;
            launch(first);
            QByteArray said; // its trace lines: it says when it answers later starts
            while (!said.contains("SingleInstance::answers later starts") &&
                   first.waitForReadyRead(20000))
                said += first.readAll();
            QVERIFY2(said.contains("answers later starts"), said.constData());
            QProcess second; // the second round names the folder with --home
            launch(second, round ? QStringList{u"--home"_s, env->folder()} : QStringList());
            QVERIFY(second.waitForFinished(20000));
            QCOMPARE(second.exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.exitCode(), 0);
            QCOMPARE(first.state(), QProcess::Running);
            first.kill();
            QVERIFY(first.waitForFinished());
            QVERIFY(QFile::exists(QDir::temp().filePath(SingleInstance::serverName())));
        }
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_gui_singleinstance.moc"
