// kovferrit-cli against the Quib simulator serving HTTPS. Certificates are made at test time: a
// CA trusted through SSL_CERT_FILE for the one kovferrit-cli process, a server certificate it
// signs, and a self-signed one. Only the trusted certificate lets the sync through; every other
// server fails it with its reason, and no request reaches a listener in plain text.
#include "clitest.h"

class TestHttps : public CliTest
{
    Q_OBJECT
    QTemporaryDir m_certs;

    QString file(const QString& name) const { return m_certs.filePath(name); }
    // `openssl req -x509` making `name`.key and `name`.pem; `extra` names the subject, and the
    // CA that signs it (-CA, -CAkey) where it is not self-signed.
    bool makeCertificate(const QString& name, const QStringList& extra)
    {
        QProcess openssl;
        openssl.start(u"openssl"_s,
                      QStringList{u"req"_s, u"-x509"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s,
                                  u"-days"_s, u"2"_s, u"-keyout"_s, file(name + u".key"_s),
                                  u"-out"_s, file(name + u".pem"_s)} +
                          extra);
        return openssl.waitForFinished(60000) && openssl.exitStatus() == QProcess::NormalExit &&
               openssl.exitCode() == 0;
    }

private slots:
    void initTestCase()
    {
        const QStringList server{u"-subj"_s, u"/CN=localhost"_s, u"-addext"_s,
                                 u"subjectAltName=DNS:localhost,IP:127.0.0.1"_s};
        QVERIFY(makeCertificate(u"ca"_s, {u"-subj"_s, u"/CN=KovFerrit Test CA"_s, u"-addext"_s,
                                          u"basicConstraints=critical,CA:TRUE"_s, u"-addext"_s,
                                          u"keyUsage=critical,keyCertSign,cRLSign"_s}));
        QVERIFY(makeCertificate(u"server"_s,
                                server + QStringList{u"-addext"_s, u"basicConstraints=CA:FALSE"_s,
                                                     u"-CA"_s, file(u"ca.pem"_s), u"-CAkey"_s,
                                                     file(u"ca.key"_s)}));
        QVERIFY(makeCertificate(u"self"_s, server));
    }
    void sync_data()
    {
        // The simulator's certificate (none: it serves plain HTTP), the Target, UseHttps,
        // whether the test CA is trusted, and why the sync fails (none: it succeeds).
        Columns<QString, QString, int, bool, QString>::add();
        const QString unverified = u"its certificate could not be verified: "_s;
        QTest::newRow("trusted CA")
            << u"server"_s << u"https://localhost"_s << 0 << true << QString();
        QTest::newRow("UseHttps, bare Target")
            << u"server"_s << u"localhost"_s << 1 << true << QString();
        QTest::newRow("CA not trusted")
            << u"server"_s << u"https://localhost"_s << 0 << false
            << unverified + u"The issuer certificate of a locally looked up certificate could not "
                            u"be found; No certificates could be verified."_s;
        QTest::newRow("self-signed")
            << u"self"_s << u"HTTPS://localhost"_s << 0 << true
            << unverified + u"The certificate is self-signed, and untrusted."_s;
        QTest::newRow("plain HTTP listener")
            << QString() << u"https://localhost"_s << 0 << true
            << u"the secure connection failed: SSL handshake failed: Error during SSL handshake: "
               u"error:0A00010B:SSL routines::wrong version number."_s;
    }
    void sync()
    {
        const auto [certificate, target, useHttps, trusted, why] =
            Columns<QString, QString, int, bool, QString>::fetch();
        Simulator sim;
        const QStringList tls = certificate.isEmpty()
                                    ? QStringList()
                                    : QStringList{u"--tls-cert"_s, file(certificate + u".pem"_s),
                                                  u"--tls-key"_s, file(certificate + u".key"_s)};
        QVERIFY(sim.start(standard({}), {{u"demo"_s, u"demo-password"_s}}, tls));
        setUp(sim, true);
        set(u"Target"_s, target, u"--text"_s);
        set(u"UseHttps"_s, QString::number(useHttps));
        const Run sync =
            run({u"sync"_s}, {}, {u"SSL_CERT_FILE="_s + (trusted ? file(u"ca.pem"_s) : QString())});
        if (why.isEmpty()) {
            QCOMPARE(sync.status, 0);
            QCOMPARE(sim.served(u"target"_s), QStringList{u"localhost"_s});
            return;
        }
        QCOMPARE(sync.status, 1);
        QCOMPARE(
            sync.lines(u"message"_s).value(1),
            u"message: The Quib service at localhost, port %1, cannot be used: "_s.arg(sim.port) +
                why);
        QCOMPARE(sim.served(u"function"_s), QStringList()); // nothing went out in plain text
    }
};

QTEST_GUILESS_MAIN(TestHttps)
#include "tst_https.moc"
