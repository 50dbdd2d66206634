#include "cli_frontend.h"

#include <cstdio>

void cliPrint(const QString& line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void CliTextBox::setText(const QString& text)
{
    m_text = text;
    cliPrint(QStringLiteral("box: ") + text);
}

void CliFrontEnd::ShowMessage(const QString& text)
{
    cliPrint(QStringLiteral("message: ") + text);
}

void CliFrontEnd::ShowUpdateText(const QString& text)
{
    cliPrint(QStringLiteral("update: ") + text);
}
