#include "clifrontend.h"

#include "clicommands.h"
#include "recorders/recorderrunscope.h"

#include <QJsonDocument>

#include <cstdio>

namespace {
bool g_progressLineOpen = false;
bool g_reportOnStderr = false;
bool g_quiet = false;
} // namespace

void kov::setQuiet(bool quiet)
{
    g_quiet = quiet;
}

bool kov::quiet()
{
    return g_quiet;
}

void kov::reportOnStderr(bool onStderr)
{
    g_reportOnStderr = onStderr;
}

void kov::reportLine(const QString& line)
{
    if (!g_reportOnStderr) {
        kov::printLine(line);
        return;
    }
    kov::endProgressLine();
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

void kov::printLine(const QString& line)
{
    kov::endProgressLine();
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString kov::tableRow(const QStringList& fields)
{
    QStringList escaped;
    for (QString field : fields) {
        field.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
            .replace(QLatin1Char('\r'), QStringLiteral("\\r"))
            .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
            .replace(QLatin1Char('\t'), QStringLiteral("\\t"));
        escaped << field;
    }
    return escaped.join(QLatin1Char('\t'));
}

void kov::printJson(const QJsonObject& document)
{
    kov::endProgressLine();
    std::fputs(QJsonDocument(document).toJson(QJsonDocument::Indented).constData(), stdout);
    std::fflush(stdout);
}

void kov::progressLine(const QString& text)
{
    // Back to the start of the line and over the last text, which was never longer: the
    // numbers only grow.
    std::fputc('\r', stderr);
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    g_progressLineOpen = true;
}

void kov::endProgressLine()
{
    if (!g_progressLineOpen)
        return;
    std::fputc('\n', stderr);
    std::fflush(stderr);
    g_progressLineOpen = false;
}

void CliFrontEnd::showMessage(const QString& text)
{
    kov::reportLine(QStringLiteral("message: ") + text);
}

void CliFrontEnd::showProblem(const QString& text)
{
    showMessage(text);
    cli::complain(text, cli::kFailed);
}

void CliFrontEnd::showUpdateText(const QString& text)
{
    if (kov::quiet())
        return;
    kov::reportLine(QStringLiteral("update: ") + text);
}

void CliFrontEnd::showSummary(const QString& /*brief*/, const QString& full)
{
    showMessage(full);
    // Skipped jobs explain a sync's exit status 3: said even when quiet.
    if (!kov::quiet() || kov::jobTally().skipped() > 0)
        cli::complain(full, cli::kOk);
}
