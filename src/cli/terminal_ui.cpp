#include "terminal_ui.h"

#include "cli_frontend.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

int TerminalUserInterface::askChannelNumber(const QString& channelName, qint32 suggested)
{
    const auto answer = m_answers.constFind(channelName);
    if (answer != m_answers.constEnd())
        return answer.value();
    if (!isatty(STDIN_FILENO))
        return 0; // nobody to ask: the prompt counts as cancelled
    // Enter alone takes the preset number, as in the desktop prompt.
    const int preset = suggested > 0 ? suggested : 2;
    cliEndProgressLine();
    std::fprintf(stderr, "Channel number for %s (empty: %d, c: cancel): ",
                 channelName.toLocal8Bit().constData(), preset);
    std::fflush(stderr);
    std::string line;
    if (!std::getline(std::cin, line))
        return 0;
    const QString text = QString::fromLocal8Bit(line.c_str()).trimmed();
    if (text.isEmpty())
        return preset;
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok && number >= 0 && number <= 256 ? number : 0;
}

int TerminalUserInterface::messageBox(const QString& text, int style, const QString& caption)
{
    cliEndProgressLine();
    return StderrUserInterface::messageBox(text, style, caption);
}

void TerminalUserInterface::showProgress(int done, int total)
{
    if (!isatty(STDOUT_FILENO))
        return;
    cliProgressLine(QStringLiteral("progress: ") + kov_ProgressText(done, total));
    if (done >= total)
        cliEndProgressLine();
}
