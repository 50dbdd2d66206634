#include "cquibreply.h"

#include "foundation/ckovqzcsv.h"
#include "foundation/codepage.h"
#include "foundation/filewriters.h"
#include "foundation/messagebox.h"
#include "foundation/numbertext.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "platform/userinterface.h"
#include "settings/settings_catalogue.h"

#include <QElapsedTimer>
#include <QFile>

#include <stdexcept>

// The lines of "TempReply.tmp", read the way the parser reads them: skipping empty lines,
// and a line only counts when something follows it in the file. Lines end at CR LF alone; they
// are read from the file one at a time, so a long reply is never held as a list of lines.
class CQuibReply::Lines
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
    return kov_WritePrivateBytes(path, bytes);
}

CKovQzCSVrow splitOrThrow(const QString& line)
{
    CKovQzCSVrow row;
    if (!row.setRowData(line))
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
            kov_UserInterface().showProgress(done, m_total);
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

CQuibReply::CQuibReply(ReplyRecordConsumer* consumer) : m_consumer(consumer)
{
    m_reg.SetInfo(kov_SettingsKey());
}

CQuibReply::~CQuibReply() = default;

void CQuibReply::classMessage(const QString& message, bool showBox)
{
    kov_ClassMessage("CQuibReply", message, showBox);
}

void CQuibReply::AddDetail(const QString& text)
{
    m_details += text + kov_CrLf();
}

bool CQuibReply::HandleReplyString(QString ThisReply, QuibFunction function)
{
    bool accepted = false;
    try {
        // The reply is read back from a file. Its lines end at CR LF alone: a stray CR or LF
        // inside a field stays in its record, which that record's own checks then judge, and
        // the records after it keep their places in the count of content lines.
        const QString temp = kov_ProgramFile(QStringLiteral("TempReply.tmp"));
        if (!writeReplyFile(temp, ThisReply)) // the account's jobs
            throw std::runtime_error("Path/File access error");
        // From here on the file is the reply: the text is let go before a long record list is
        // handled (a caller that moved it in holds no other copy).
        ThisReply = QString();
        QFile file(temp);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("File not found");
        Lines lines(file);

        QString line;
        if (!lines.next(&line)) {
            AddDetail(QStringLiteral("End of file while seaching for result."));
            return accepted;
        }
        if (!ReadHeader(line, function))
            return accepted;
        accepted = HeaderAccepted(function);
        if (!lines.next(&line)) {
            AddDetail(QStringLiteral("End of file while seaching for data section."));
            return accepted;
        }
        // The records are read by the header and field count just stored: a sync that could
        // not store them stops here (RunSync reports the failed write).
        if (TokenMatches(line, function) && ReadFieldNames(line, function) && !kov::writeFailed())
            HandOverRecords(lines, function);
        return accepted;
    } catch (const std::exception& e) {
        const QString description = QString::fromLocal8Bit(e.what());
        AddDetail(QStringLiteral("Quib Reply Error, ") + description);
        kov_MessageBoxSink().messageBox(QStringLiteral("CQuibReply::HandleReplyString ") +
                                            description,
                                        MessageIcon::Information, kov_AppTitle());
        return accepted;
    }
}

bool CQuibReply::ReadHeader(const QString& line, QuibFunction function)
{
    // gettargetsystems has no serial: its fields are ErrorCode, DocType, ContentLines.
    const bool targets = function == QuibFunction::GetTargetSystems;
    const CKovQzCSVrow header = splitOrThrow(line);
    if (header.NoColumns() != (targets ? 3 : 4)) {
        classMessage(QStringLiteral("HandleReplyString FAILED parsing header") + kov_CrLf() +
                     kov_CrLf() + line);
        AddDetail(QStringLiteral("Reply string not valid."));
        return false;
    }
    const int shift = targets ? 1 : 0;
    m_errorCode = kov_LeadingLongOrThrow(header.Column(0));
    if (!targets)
        m_serial = kov_LeadingLongOrThrow(header.Column(1));
    m_docType = header.Column(2 - shift);
    m_contentLines = kov_LeadingLongOrThrow(header.Column(3 - shift));
    m_reg.setStr(KovSetting::last(function, QStringLiteral("DocType")), m_docType);
    if (!targets)
        m_reg.setLng(KovSetting::last(function, QStringLiteral("Serial")), m_serial);
    m_reg.setLng(KovSetting::last(function, QStringLiteral("ErrorCode")), m_errorCode);
    m_reg.setLng(KovSetting::last(function, QStringLiteral("ContentLines")), m_contentLines);
    return true;
}

bool CQuibReply::HeaderAccepted(QuibFunction function) const
{
    // The code itself is not judged: a header is accepted by its document type and by its
    // serial (jobs, channel guide) or its line count (target systems).
    if (function == QuibFunction::GetTargetSystems)
        return !m_docType.isEmpty() && m_contentLines > 0;
    return !m_docType.isEmpty() && m_serial != 0;
}

bool CQuibReply::TokenMatches(const QString& line, QuibFunction function)
{
    if (kov_ReadNumber(m_reg, KovSetting::ValidateHeaders) != 1)
        return true;
    QString tokenName = KovSetting::TokenJobs;
    QString missing = QStringLiteral("TokenJobs not found");
    int width = 7;
    if (function == QuibFunction::GetJobs) {
        classMessage(QStringLiteral("Case getjobs"));
    } else if (function == QuibFunction::ChannelGuide) {
        tokenName = KovSetting::TokenChannel;
        missing = QStringLiteral("TokenChannel not found");
    } else {
        tokenName = KovSetting::TokenTarget;
        missing = QStringLiteral("TokenTarget not found");
        width = 6;
    }
    // A fixed number of characters is compared, whatever the token's length.
    if (line.left(width) == kov_ReadText(m_reg, tokenName))
        return true;
    AddDetail(missing);
    classMessage(missing);
    return false;
}

bool CQuibReply::ReadFieldNames(const QString& line, QuibFunction function)
{
    const CKovQzCSVrow names = splitOrThrow(line);
    m_noFields = names.NoColumns();
    if (m_noFields < 2) {
        AddDetail(QStringLiteral("Invalid Data Format.Number of fields = ") +
                  QString::number(m_noFields) + QStringLiteral("Data = ") + line);
        return false;
    }
    m_reg.setLng(KovSetting::noDataFields(function), m_noFields);
    return true;
}

void CQuibReply::HandOverRecords(Lines& lines, QuibFunction function)
{
    JobProgress progress(function == QuibFunction::GetJobs ? m_contentLines : 0);
    QString line;
    for (qint32 i = 1; i <= m_contentLines; ++i) {
        // Between two records is the one place a sync may stop: each record is handled whole.
        if (kov::writeFailed()) {
            AddDetail(QStringLiteral("Stopped before ") + kov_FunctionName(function) +
                      QStringLiteral(" #") + QString::number(i) +
                      QStringLiteral(": a file could not be written."));
            return;
        }
        if (kov_StopRequested()) {
            AddDetail(QStringLiteral("Stopped before ") + kov_FunctionName(function) +
                      QStringLiteral(" #") + QString::number(i) +
                      QStringLiteral(": the program is ending."));
            return;
        }
        if (!lines.next(&line)) {
            AddDetail(QStringLiteral("End of file while seaching for ") +
                      kov_FunctionName(function) + QStringLiteral(" #") + QString::number(i) +
                      QLatin1Char('.'));
            return;
        }
        try {
            if (m_consumer)
                m_consumer->Record(function, i, line);
        } catch (const std::exception& e) {
            const QString text = recordErrorPrefix(function) + QString::fromLocal8Bit(e.what());
            AddDetail(text);
            classMessage(text);
        }
        progress.handled(i);
    }
}
