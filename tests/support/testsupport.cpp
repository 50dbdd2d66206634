#include "testsupport.h"

#include "app/kovferritsupport.h"
#include "foundation/kov_paths.h"
#include "foundation/kov_vb.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "recorders/recorderfactory.h"

#include "app/account.h"

#include <QCryptographicHash>
#include <QFile>

int ScriptedUserInterface::messageBox(const QString& text, int style, const QString& caption)
{
    boxes.append({text, style, caption});
    return boxAnswers.isEmpty() ? 1 : boxAnswers.takeFirst();
}

int ScriptedUserInterface::askChannelNumber(const QString& channelName, qint32 suggested)
{
    askedChannels << channelName;
    suggestions << suggested;
    return channelAnswers.isEmpty() ? 0 : channelAnswers.takeFirst();
}

TestEnvironment::TestEnvironment()
{
    kov_SetProgramFolder(m_dir.path());
    kov_SetUserInterface(&ui);
    kov_SetTraceObserver([this](const QString& line) { trace << line; });
    Translate_Reset();
    kov_ResetSupport();
}

TestEnvironment::~TestEnvironment()
{
    kov_ResetSupport();
    kov_SetTransferComponent(nullptr);
    kov_SetClock(nullptr);
    kov_SetSchedulerFactory({});
    kov_SetTraceObserver({});
    kov_SetUserInterface(nullptr);
    kov_SetProgramFolder(QString());
    Translate_Reset();
}

bool TestEnvironment::tracedPrefix(const QString& prefix) const
{
    for (const QString& line : trace) {
        if (line.startsWith(prefix))
            return true;
    }
    return false;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList strings(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list << QString::fromUtf8(item);
    return list;
}

void storeCredentials(const QString& account, const QString& password)
{
    kov_StoreAccount(account);
    kov_StorePassword(password);
}

QString expectedAccess(const QString& account, const QString& password)
{
    const QByteArray digest = QCryptographicHash::hash(
        (QStringLiteral("DTRLoop") + account + password).toLatin1(), QCryptographicHash::Md5);
    QString base64 = QString::fromLatin1(digest.toBase64());
    base64.replace(QLatin1Char('+'), QLatin1String("%2B"));
    base64.replace(QLatin1Char('/'), QLatin1String("%2F"));
    base64.replace(QLatin1Char('='), QLatin1String("%3D"));
    return base64;
}
