#include "terminalui.h"

#include "channels/channeldatabase.h"
#include "clifrontend.h"
#include "platform/userinterface.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

int TerminalUserInterface::askChannelNumber(const QString& channelName, qint32 suggested)
{
    // Quotes are left out of the stored names, so a name given with the quotes the service
    // sends matches too.
    const auto answer = m_answers.constFind(kov::storedChannelName(channelName));
    if (answer != m_answers.constEnd())
        return answer.value();
    if (!isatty(STDIN_FILENO))
        return 0; // nobody to ask: the prompt counts as cancelled
    // Enter alone takes the preset number, as in the desktop prompt.
    const int preset = suggested > 0 ? suggested : 2;
    kov::endProgressLine();
    // A mistyped answer is said to be one and asked again; only "c" or the end of input cancel.
    for (;;) {
        std::fprintf(stderr, "Channel number for %s (empty: %d, c: cancel): ",
                     channelName.toLocal8Bit().constData(), preset);
        std::fflush(stderr);
        std::string line;
        if (!std::getline(std::cin, line))
            return 0;
        const QString text = QString::fromLocal8Bit(line.c_str()).trimmed();
        if (text.isEmpty())
            return preset;
        if (text.compare(QLatin1String("c"), Qt::CaseInsensitive) == 0)
            return 0;
        QString why;
        if (const qint32 number = kov::readChannelNumber(text, false, &why))
            return number;
        std::fprintf(stderr, "%s\n", why.toLocal8Bit().constData());
    }
}

MessageAnswer TerminalUserInterface::messageBox(const QString& text, MessageStyle style,
                                                const QString& caption)
{
    kov::endProgressLine();
    return StderrUserInterface::messageBox(text, style, caption);
}

void TerminalUserInterface::showProgress(int done, int total)
{
    // On standard error, as git shows its progress: standard output stays for what scripts read.
    if (kov::quiet() || !isatty(STDERR_FILENO))
        return;
    kov::progressLine(QStringLiteral("progress: ") + kov::progressText(done, total));
    if (done >= total)
        kov::endProgressLine();
}
