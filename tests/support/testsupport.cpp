#include "testsupport.h"

#include "app/translate.h"
#include "foundation/kov_paths.h"
#include "foundation/kov_vb.h"

#include <QFile>

int ScriptedUserInterface::messageBox(const QString& text, int style, const QString& caption)
{
    boxes.append({text, style, caption});
    return 1;
}

int ScriptedUserInterface::askChannelNumber(const QString& channelName)
{
    askedChannels << channelName;
    return channelAnswers.isEmpty() ? 0 : channelAnswers.takeFirst();
}

TestEnvironment::TestEnvironment()
{
    kov_SetProgramFolder(m_dir.path());
    kov_SetUserInterface(&ui);
    kov_SetTraceObserver([this](const QString& line) { trace << line; });
    Translate_Reset();
}

TestEnvironment::~TestEnvironment()
{
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
