#include "cquibreply.h"

#include "channels/cquibchannelmanager.h"
#include "foundation/ckovqzcsv.h"
#include "foundation/kov_paths.h"
#include "foundation/kov_vb.h"
#include "foundation/settings_catalogue.h"
#include "jobs/cquibjob.h"
#include "platform/userinterface.h"

#include <stdexcept>

namespace {
// The lines of "TempReply.tmp", read the way the parser reads them: skipping empty lines,
// and a line only counts when something follows it in the file.
class LineReader
{
public:
    explicit LineReader(QStringList lines) : m_lines(std::move(lines)) {}
    /// The next non-empty line, or false at the end of the file or right after that line.
    bool next(QString* line)
    {
        while (m_at < m_lines.size()) {
            const QString candidate = m_lines.at(m_at++);
            if (candidate.isEmpty())
                continue;
            *line = candidate;
            return m_at < m_lines.size();
        }
        return false;
    }

private:
    QStringList m_lines;
    qsizetype m_at = 0;
};

CKovQzCSVrow splitOrThrow(const QString& line)
{
    CKovQzCSVrow row;
    if (!row.setRowData(line))
        throw std::runtime_error("Invalid procedure call or argument");
    return row;
}

} // namespace

CQuibReply::CQuibReply()
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

bool CQuibReply::HandleReplyString(const QString& ThisReply, const QString& QueryType)
{
    bool result = false;
    const QString& T = QueryType;
    try {
        const QString temp = kov_ProgramFile(QStringLiteral("TempReply.tmp"));
        if (!kov_WriteTextFile(temp, ThisReply + kov_CrLf()))
            throw std::runtime_error("Path/File access error");
        bool opened = false;
        LineReader reader(kov_ReadLines(temp, &opened));
        if (!opened)
            throw std::runtime_error("File not found");

        QString line;
        if (!reader.next(&line)) {
            AddDetail(QStringLiteral("End of file while seaching for result."));
            return result;
        }
        const bool targets = T == QLatin1String("gettargetsystems");
        const bool known =
            targets || T == QLatin1String("getjobs") || T == QLatin1String("channelguide");
        const qint32 expected = targets ? 3 : known ? 4 : 99;
        const CKovQzCSVrow header = splitOrThrow(line);
        if (header.NoColumns() != expected) {
            classMessage(QStringLiteral("HandleReplyString FAILED parsing header") + kov_CrLf() +
                         kov_CrLf() + line);
            AddDetail(QStringLiteral("Reply string not valid."));
            return result;
        }
        // gettargetsystems has no serial: its fields are ErrorCode, DocType, ContentLines.
        const int shift = targets ? 1 : 0;
        m_errorCode = kov_LeadingLongOrThrow(header.Column(0));
        if (!targets)
            m_serial = kov_LeadingLongOrThrow(header.Column(1));
        m_docType = header.Column(2 - shift);
        m_contentLines = kov_LeadingLongOrThrow(header.Column(3 - shift));
        m_reg.setStr(KovSetting::last(T, QStringLiteral("DocType")), m_docType);
        if (!targets)
            m_reg.setLng(KovSetting::last(T, QStringLiteral("Serial")), m_serial);
        m_reg.setLng(KovSetting::last(T, QStringLiteral("ErrorCode")), m_errorCode);
        m_reg.setLng(KovSetting::last(T, QStringLiteral("ContentLines")), m_contentLines);
        // The code itself is not judged: a header is accepted by its document type and by its
        // serial (jobs, channel guide) or its line count (target systems).
        result = !m_docType.isEmpty() && (targets ? m_contentLines > 0 : m_serial != 0);

        if (!reader.next(&line)) {
            AddDetail(QStringLiteral("End of file while seaching for data section."));
            return result;
        }
        if (kov_ReadNumber(m_reg, KovSetting::ValidateHeaders) == 1) {
            QString tokenName;
            QString missing;
            int width = 7;
            if (T == QLatin1String("getjobs")) {
                classMessage(QStringLiteral("Case getjobs"));
                tokenName = KovSetting::TokenJobs;
                missing = QStringLiteral("TokenJobs not found");
            } else if (T == QLatin1String("channelguide")) {
                tokenName = KovSetting::TokenChannel;
                missing = QStringLiteral("TokenChannel not found");
            } else if (targets) {
                tokenName = KovSetting::TokenTarget;
                missing = QStringLiteral("TokenTarget not found");
                width = 6;
            }
            // A fixed number of characters is compared, whatever the token's length.
            if (!tokenName.isEmpty() && line.left(width) != kov_ReadText(m_reg, tokenName)) {
                AddDetail(missing);
                classMessage(missing);
                return result;
            }
        }
        const CKovQzCSVrow names = splitOrThrow(line);
        m_noFields = names.NoColumns();
        if (m_noFields < 2) {
            AddDetail(QStringLiteral("Invalid Data Format.Number of fields = ") +
                      QString::number(m_noFields) + QStringLiteral("Data = ") + line);
            return result;
        }
        m_reg.setLng(KovSetting::noDataFields(T), m_noFields);

        for (qint32 i = 1; i <= m_contentLines; ++i) {
            if (!reader.next(&line)) {
                AddDetail(QStringLiteral("End of file while seaching for ") + T +
                          QStringLiteral(" #") + QString::number(i) + QLatin1Char('.'));
                return result;
            }
            if (T == QLatin1String("getjobs")) {
                CreateJob(line);
            } else if (T == QLatin1String("channelguide")) {
                CreateChannel(line);
            } else if (targets) {
                m_reg.setStr(KovSetting::server(i), line);
                m_reg.setStr(KovSetting::server(i + 1), QString());
            }
        }
        return result;
    } catch (const std::exception& e) {
        const QString description = QString::fromLocal8Bit(e.what());
        AddDetail(QStringLiteral("Quib Reply Error, ") + description);
        kov_UserInterface().messageBox(QStringLiteral("CQuibReply::HandleReplyString ") +
                                           description,
                                       MsgStyle::Information, kov_AppTitle());
        return result;
    }
}

CQuibJob* CQuibReply::AddJob()
{
    m_jobs.push_back(std::make_unique<CQuibJob>());
    return m_jobs.back().get();
}

bool CQuibReply::CreateJob(const QString& MyString)
{
    try {
        CQuibJob* job = AddJob();
        if (!job) {
            AddDetail(QStringLiteral("Unable to create a new job."));
            return false;
        }
        return job->CreateJobFromString(MyString, &m_reg, true);
    } catch (const std::exception& e) {
        const QString text =
            QStringLiteral("Create Job Error, ") + QString::fromLocal8Bit(e.what());
        AddDetail(text);
        classMessage(text);
        return false;
    }
}

bool CQuibReply::CreateChannel(const QString& MyString)
{
    CQuibChannelManager* manager = GetChannelManager();
    if (!manager)
        return false;
    CKovQzCSVrow row;
    const qint32 count = row.setRowData(MyString) ? row.NoColumns() : 0;
    if (count != m_reg.Lng(KovSetting::noDataFields(QStringLiteral("channelguide")))) {
        classMessage(QStringLiteral("Channel format (") + QString::number(count) +
                     QStringLiteral(")not supported:") + kov_CrLf() + MyString);
        return false;
    }
    if (!manager->CreateNewChannel(MyString, 1))
        classMessage(QStringLiteral("CreateChannel FAILED"));
    return false;
}
