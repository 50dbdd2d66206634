// Where the account password is kept: the desktop keyring when it answers (settings.db only
// marks it), the program folder under the cipher when there is none or the user chooses so,
// and what a read says when the keyring holds it back.
#include "settings/accountpassword.h"
#include "testsupport.h"

namespace {
using Outcome = SecretStore::Outcome;
// "pw" under the pass phrase of the programs (and so of the tests); "old" stands for any cipher.
const QString kCipherPw = u"BC42ADA9828A417313692498D489592700D65D59F7C2DA7FFCE7549A4DE60B63"_s;
const QString kCipherOld = u"9DBB4E60B368A9361BE6995E2E355DAC863C3D6FD999BA89F39C935E3AA07B7F"_s;
} // namespace

class TestAccountPassword : public EnvironmentTest
{
    Q_OBJECT
    void setUp() override { kov::setText(testSettings(), Setting::Account, u"demo"_s); }
    QString item() const
    {
        return env->keyring.items.value({kov::keyringItemName(u"demo"_s), u"demo"_s});
    }

private slots:
    void store_data()
    {
        // keyring state, stored before ("" nothing, "folder" the cipher, "keyring" an item),
        // place asked, password, then: marker, Protocol, item, why nothing was stored.
        Columns<Outcome, QString, PasswordPlace, QString, int, QString, QString, QString>::add();
        const auto K = PasswordPlace::Keyring;
        const auto F = PasswordPlace::ProgramFolder;
        const QString pw = u"pw"_s;
        QTest::newRow("no keyring")
            << Outcome::Unavailable << u""_s << K << pw << 0 << kCipherPw << u""_s << u""_s;
        QTest::newRow("folder chosen")
            << Outcome::Done << u"keyring"_s << F << pw << 0 << kCipherPw << u""_s << u""_s;
        // A locked keyring refuses: nothing changes, and the weaker store is not taken instead.
        QTest::newRow("locked")
            << Outcome::Locked << u"folder"_s << K << pw << 0 << kCipherOld << u""_s
            << u"The desktop keyring did not take the password: it gave no reason"_s;
        QTest::newRow("emptied") << Outcome::Done << u"keyring"_s << K << u""_s << 0 << u""_s
                                 << u""_s << u""_s;
    }
    void store()
    {
        const auto [state, before, place, password, marker, protocol, keyringItem, problem] =
            Columns<Outcome, QString, PasswordPlace, QString, int, QString, QString,
                    QString>::fetch();
        env->keyring.state = Outcome::Done;
        if (before == u"folder"_s)
            kov::setText(testSettings(), Setting::Protocol, kCipherOld);
        else if (before == u"keyring"_s)
            QVERIFY(kov::writePassword(testSettings(), u"old"_s).inKeyring);
        env->keyring.state = state;
        const PasswordStored result = kov::writePassword(testSettings(), password, place);
        QCOMPARE(result.stored, problem.isEmpty());
        QCOMPARE(result.noKeyring, state == Outcome::Unavailable);
        QCOMPARE(result.problem, problem);
        QCOMPARE(kov::rawNumber(testSettings(), Setting::PasswordInKeyring), marker);
        QCOMPARE(kov::rawText(testSettings(), Setting::Protocol), protocol);
        env->keyring.state = Outcome::Done;
        QCOMPARE(item(), keyringItem);
        if (result.stored)
            QCOMPARE(kov::readPassword(testSettings()).password, password);
    }

    void read_data()
    {
        Columns<Outcome, bool, PasswordRead::Problem, bool, QString>::add();
        using P = PasswordRead::Problem;
        QTest::newRow("found") << Outcome::Done << true << P::None << false << u""_s;
        QTest::newRow("locked") << Outcome::Locked << true << P::KeyringLocked << true
                                << u"The desktop keyring is locked, so the password cannot be "
                                   u"read until it is unlocked."_s;
        QTest::newRow("gone") << Outcome::Unavailable << true << P::KeyringUnreachable << true
                              << u"The desktop keyring cannot be reached, so the password cannot "
                                 u"be read: enter it again to keep it in the program folder."_s;
        QTest::newRow("removed by the user")
            << Outcome::Done << false << P::NotInKeyring << false
            << u"The desktop keyring holds no password for this account: enter it again."_s;
    }
    void read()
    {
        const auto [state, itemKept, problem, notReady, text] =
            Columns<Outcome, bool, PasswordRead::Problem, bool, QString>::fetch();
        env->keyring.state = Outcome::Done;
        QVERIFY(kov::writePassword(testSettings(), u"pw"_s).inKeyring);
        if (!itemKept)
            env->keyring.items.clear();
        env->keyring.state = state;
        const PasswordRead read = kov::readPassword(testSettings());
        QCOMPARE(read.problem, problem);
        QCOMPARE(read.password, problem == PasswordRead::Problem::None ? u"pw"_s : QString());
        QCOMPARE(read.keyringNotReady(), notReady);
        QCOMPARE(kov::passwordProblemText(read), text);
    }

    void renamedAccountKeepsItsPassword()
    {
        env->keyring.state = Outcome::Done;
        QVERIFY(kov::writePassword(testSettings(), u"pw"_s).inKeyring);
        kov::moveKeyringPassword(testSettings(), u"demo"_s, u"alice"_s);
        kov::setText(testSettings(), Setting::Account, u"alice"_s);
        QCOMPARE(kov::readPassword(testSettings()).password, u"pw"_s);
        QCOMPARE(env->keyring.items.size(), 1); // the old name's item went
    }
};

QTEST_GUILESS_MAIN(TestAccountPassword)
#include "tst_accountpassword.moc"
