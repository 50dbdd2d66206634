#include "testsupport.h"

#include "foundation/filewriters.h"
#include "foundation/passwordcipher.h"
#include "foundation/programfolder.h"
#include "foundation/trace.h"
#include "foundation/translate.h"

#include <QFile>
#include <QTcpServer>

#include <vector>

namespace {
std::vector<TestEnvironment::LayerReset>& layerResets()
{
    static std::vector<TestEnvironment::LayerReset> resets;
    return resets;
}
} // namespace

bool TestEnvironment::addLayerReset(LayerReset reset)
{
    layerResets().push_back(reset);
    return true;
}

void TestEnvironment::resetLayers(HttpTransfer* transfer)
{
    for (LayerReset reset : layerResets())
        reset(transfer);
}

TestEnvironment::TestEnvironment()
{
    kov::setProgramFolder(m_dir.path());
    kov::setUserInterface(&ui);
    kov::setSecretStore(&keyring);
    kov::setTraceObserver([this](const QString& line) { trace << line; });
    kov::resetTranslations();
    kov::clearStopRequest();
    kov::takeWriteFailure();
    resetLayers(nullptr);
}

TestEnvironment::~TestEnvironment()
{
    resetLayers(nullptr);
    kov::setClock(nullptr);
    kov::setTraceObserver({});
    kov::setUserInterface(nullptr);
    kov::setSecretStore(nullptr);
    kov::setProgramFolder(QString());
    kov::resetTranslations();
}

SecretStore::Result MemorySecretStore::read(const QString& service, const QString& key)
{
    if (state != Outcome::Done)
        return {state, QString(), QString()};
    const auto item = items.constFind({service, key});
    return item == items.cend() ? Result{Outcome::NotFound, QString(), QString()}
                                : Result{Outcome::Done, *item, QString()};
}

SecretStore::Result MemorySecretStore::write(const QString& service, const QString& key,
                                             const QString& secret)
{
    if (state == Outcome::Done)
        items.insert({service, key}, secret);
    return {state, QString(), QString()};
}

SecretStore::Result MemorySecretStore::remove(const QString& service, const QString& key)
{
    if (state == Outcome::Done)
        items.remove({service, key});
    return {state, QString(), QString()};
}

void EnvironmentTest::init()
{
    env = std::make_unique<TestEnvironment>();
    clock.time = kTestNow;
    kov::setClock(&clock);
    transfer = FakeTransfer();
    TestEnvironment::resetLayers(&transfer);
    setUp();
}

QString messageStyleText(MessageStyle style)
{
    QString text;
    switch (style.icon) {
    case MessageIcon::None:
        text = u"None"_s;
        break;
    case MessageIcon::Information:
        text = u"Information"_s;
        break;
    case MessageIcon::Critical:
        text = u"Critical"_s;
        break;
    case MessageIcon::Question:
        text = u"Question"_s;
        break;
    }
    if (style.buttons == MessageButtons::YesNo)
        text += u" YesNo"_s;
    return text;
}

void storeCredentials(const QString& account, const QString& password)
{
    kov::setText(testSettings(), Setting::Account, account);
    kov::setText(testSettings(), Setting::Protocol,
                 PasswordCipher::encryptText(password, kov::processPassPhrase()));
}

QString FakeTransfer::openUrl(const QString& url)
{
    urls << url;
    if (during)
        during();
    if (answers.isEmpty())
        return QString();
    const Answer answer = answers.size() > 1 ? answers.takeFirst() : answers.first();
    if (answer.fails)
        throw TransferFailure(answer.body.toStdString());
    return answer.body;
}

QStringList FakeTransfer::functions() const
{
    QStringList names;
    for (const QString& url : urls)
        names << url.section(u'/', -1).section(u'?', 0, 0);
    return names;
}

quint16 refusingPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}
