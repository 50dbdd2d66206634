#include "replyparser.h"

#include "foundation/codepage.h"
#include "foundation/csvrow.h"
#include "foundation/filewriters.h"
#include "foundation/messagebox.h"
#include "foundation/numbertext.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "platform/userinterface.h"
#include "replyrecordconsumer.h"
#include "settings/settingscatalogue.h"

#include <QElapsedTimer>
#include <QFile>

#include <stdexcept>

// The lines of "TempReply.tmp", read the way the parser reads them: skipping empty lines,
// and a line only counts when something follows it in the file. Lines end at CR LF alone; they
// are read from the file one at a time, so a long reply is never held as a list of lines.
class ReplyParser::Lines
{
public:
    explicit Lines(QFile& file) : m_file(file) {}
    /// The next non-empty line, or false at the end of the file or right after that line.
    bool next(QString* line)
    {
        QByteArray bytes;
        bool ended = false;
        while (readLine(&bytes, &ended)) {
            if (bytes.isEmpty())
                continue; // an empty line ends with its CR LF: something follows it
            // The code page has one byte per character, so a line decodes on its own.
            *line = kov::fromCodePage(bytes);
            return ended && !m_file.atEnd();
        }
        return false;
    }

private:
    // The bytes up to the next CR LF, without it; `ended` tells whether a CR LF closed them.
    // False when nothing is left.
    bool readLine(QByteArray* bytes, bool* ended)
    {
        bytes->clear();
        *ended = false;
        while (!m_file.atEnd()) {
            const QByteArray part = m_file.readLine(); // up to and with the next LF
            if (part.isEmpty())
                break; // a read error ends the file here
            bytes->append(part);
            if (bytes->endsWith("\r\n")) {
                bytes->chop(2);
                *ended = true;
                return true;
            }
        }
        return !bytes->isEmpty();
    }

    QFile& m_file;
};

namespace {
// Writes the reply and a closing CR LF to the file in the code page, readable by its owner
// alone, whole or not at all. The text is encoded once, straight into the bytes written.
bool writeReplyFile(const QString& path, const QString& reply)
{
    QByteArray bytes = kov::toCodePage(reply);
    bytes.append("\r\n");
    return kov::writePrivateBytes(path, bytes);
}

CsvRow splitOrThrow(const QString& line)
{
    CsvRow row;
    if (!row.setText(line))
        throw std::runtime_error("Invalid procedure call or argument");
    return row;
}

// Reports the progress through a long job list to the user interface: at every hundredth of
// the jobs announced, at the last one, and at least every quarter of a second in between, so a
// window stays responsive without a call per job. Short lists report nothing.
class JobProgress
{
public:
    explicit JobProgress(qint32 total) : m_total(total >= kMinimum ? total : 0)
    {
        m_step = qMax<qint32>(1, m_total / 100);
        m_sinceReport.start();
    }
    void handled(qint32 done)
    {
        if (m_total == 0)
            return;
        if (done % m_step == 0 || done == m_total || m_sinceReport.elapsed() >= kIntervalMs) {
            kov::userInterface().showProgress(done, m_total);
            m_sinceReport.restart();
        }
    }

private:
    static constexpr qint32 kMinimum = 100;
    static constexpr qint64 kIntervalMs = 250;
    qint32 m_total;
    qint32 m_step = 1;
    QElapsedTimer m_sinceReport;
};

QString recordErrorPrefix(QuibFunction function)
{
    switch (function) {
    case QuibFunction::GetJobs:
        return QStringLiteral("Create Job Error, ");
    case QuibFunction::ChannelGuide:
        return QStringLiteral("Create Channel Error, ");
    case QuibFunction::GetTargetSystems:
        break;
    }
    return QStringLiteral("Server List Error, ");
}
} // namespace

ReplyParser::ReplyParser(ReplyRecordConsumer* consumer) : m_consumer(consumer)
{
    m_settings.setKey(kov::settingsKey());
}

ReplyParser::~ReplyParser() = default;

void ReplyParser::classMessage(const QString& message, bool showBox)
{
    kov::traceFrom("CQuibReply", message, showBox);
}

void ReplyParser::addDetail(const QString& text)
{
    m_details += text + kov::crLf();
}

bool ReplyParser::parse(QString reply, QuibFunction function)
{
    bool accepted = false;
    try {
        // The reply is read back from a file. Its lines end at CR LF alone: a stray CR or LF
        // inside a field stays in its record, which that record's own checks then judge, and
        // the records after it keep their places in the count of content lines.
        const QString temp = kov::programFile(QStringLiteral("TempReply.tmp"));
        if (!writeReplyFile(temp, reply)) // the account's jobs
            throw std::runtime_error("Path/File access error");
        // From here on the file is the reply: the text is let go before a long record list is
        // handled (a caller that moved it in holds no other copy).
        reply = QString();
        QFile file(temp);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("File not found");
        Lines lines(file);

        QString line;
        if (!lines.next(&line)) {
            addDetail(QStringLiteral("End of file while seaching for result."));
            return accepted;
        }
        if (!readHeader(line, function))
            return accepted;
        accepted = headerAccepted(function);
        if (!lines.next(&line)) {
            addDetail(QStringLiteral("End of file while seaching for data section."));
            return accepted;
        }
        // The records are read by the header and field count just stored: a sync that could
        // not store them stops here (kov::runSync reports the failed write).
        if (tokenMatches(line, function) && readFieldNames(line, function) && !kov::writeFailed())
            handOverRecords(lines, function);
        return accepted;
    } catch (const std::exception& e) {
        const QString description = QString::fromLocal8Bit(e.what());
        addDetail(QStringLiteral("Quib Reply Error, ") + description);
        kov::messageBoxSink().messageBox(QStringLiteral("CQuibReply::HandleReplyString ") +
                                             description,
                                         MessageIcon::Information, kov::appTitle());
        return accepted;
    }
}

bool ReplyParser::readHeader(const QString& line, QuibFunction function)
{
    // gettargetsystems has no serial: its fields are errorCode, docType, contentLines.
    const bool targets = function == QuibFunction::GetTargetSystems;
    const CsvRow header = splitOrThrow(line);
    if (header.columnCount() != (targets ? 3 : 4)) {
        classMessage(QStringLiteral("HandleReplyString FAILED parsing header") + kov::crLf() +
                     kov::crLf() + line);
        addDetail(QStringLiteral("Reply string not valid."));
        return false;
    }
    const int shift = targets ? 1 : 0;
    m_errorCode = kov::leadingLongOrThrow(header.column(0));
    if (!targets)
        m_serial = kov::leadingLongOrThrow(header.column(1));
    m_docType = header.column(2 - shift);
    m_contentLines = kov::leadingLongOrThrow(header.column(3 - shift));
    kov::setText(m_settings, {Setting::LastDocType, function}, m_docType);
    if (!targets)
        kov::setNumber(m_settings, {Setting::LastReplySerial, function}, m_serial);
    kov::setNumber(m_settings, {Setting::LastErrorCode, function}, m_errorCode);
    kov::setNumber(m_settings, {Setting::LastContentLines, function}, m_contentLines);
    return true;
}

bool ReplyParser::headerAccepted(QuibFunction function) const
{
    // The code itself is not judged: a header is accepted by its document type and by its
    // serial (jobs, channel guide) or its line count (target systems).
    if (function == QuibFunction::GetTargetSystems)
        return !m_docType.isEmpty() && m_contentLines > 0;
    return !m_docType.isEmpty() && m_serial != 0;
}

bool ReplyParser::tokenMatches(const QString& line, QuibFunction function)
{
    if (kov::number(m_settings, Setting::ValidateHeaders) != 1)
        return true;
    Setting tokenName = Setting::TokenJobs;
    QString missing = QStringLiteral("TokenJobs not found");
    int width = 7;
    if (function == QuibFunction::GetJobs) {
        classMessage(QStringLiteral("Case getjobs"));
    } else if (function == QuibFunction::ChannelGuide) {
        tokenName = Setting::TokenChannel;
        missing = QStringLiteral("TokenChannel not found");
    } else {
        tokenName = Setting::TokenTarget;
        missing = QStringLiteral("TokenTarget not found");
        width = 6;
    }
    // A fixed number of characters is compared, whatever the token's length.
    if (line.left(width) == kov::text(m_settings, tokenName))
        return true;
    addDetail(missing);
    classMessage(missing);
    return false;
}

bool ReplyParser::readFieldNames(const QString& line, QuibFunction function)
{
    const CsvRow names = splitOrThrow(line);
    m_noFields = names.columnCount();
    if (m_noFields < 2) {
        addDetail(QStringLiteral("Invalid Data Format.Number of fields = ") +
                  QString::number(m_noFields) + QStringLiteral("Data = ") + line);
        return false;
    }
    kov::setNumber(m_settings, {Setting::FieldCount, function}, m_noFields);
    return true;
}

void ReplyParser::handOverRecords(Lines& lines, QuibFunction function)
{
    JobProgress progress(function == QuibFunction::GetJobs ? m_contentLines : 0);
    QString line;
    for (qint32 i = 1; i <= m_contentLines; ++i) {
        // Between two records is the one place a sync may stop: each record is handled whole.
        if (kov::writeFailed()) {
            addDetail(QStringLiteral("Stopped before ") + kov::functionName(function) +
                      QStringLiteral(" #") + QString::number(i) +
                      QStringLiteral(": a file could not be written."));
            return;
        }
        if (kov::stopRequested()) {
            addDetail(QStringLiteral("Stopped before ") + kov::functionName(function) +
                      QStringLiteral(" #") + QString::number(i) +
                      QStringLiteral(": the program is ending."));
            return;
        }
        if (!lines.next(&line)) {
            addDetail(QStringLiteral("End of file while seaching for ") +
                      kov::functionName(function) + QStringLiteral(" #") + QString::number(i) +
                      QLatin1Char('.'));
            return;
        }
        try {
            if (m_consumer) {
                CsvRow fields;
                if (function != QuibFunction::GetTargetSystems && !line.isEmpty())
                    fields.setText(line);
                m_consumer->takeRecord(function, i, line, fields);
            }
        } catch (const std::exception& e) {
            const QString text = recordErrorPrefix(function) + QString::fromLocal8Bit(e.what());
            addDetail(text);
            classMessage(text);
        }
        progress.handled(i);
    }
}
