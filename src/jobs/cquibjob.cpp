#include "cquibjob.h"

#include "foundation/ckovqzcsv.h"
#include "foundation/filewriters.h"
#include "foundation/kov_date.h"
#include "foundation/numbertext.h"
#include "foundation/programfolder.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "platform/registrystore.h"
#include "settings/ckovreg.h"
#include "settings/settings_catalogue.h"

#include <stdexcept>

CQuibJob::CQuibJob() : m_startTime(kov_ZeroDate()), m_endTime(kov_ZeroDate()), m_vps(kov_ZeroDate())
{
}

void CQuibJob::ClassMessage(const QString& message, bool showBox)
{
    kov_ClassMessage("CQuibJob", message, showBox);
}

QDateTime CQuibJob::HandleTime(const QString& text, bool ignoreOffset)
{
    if (text.isEmpty()) {
        ClassMessage(QStringLiteral("HandleTime Param is missing"));
        return kov_ZeroDate();
    }
    if (text.size() < 5) {
        ClassMessage(QStringLiteral("HandleTime ERROR Invalid procedure call or argument"));
        return kov_ZeroDate();
    }
    // The sign position (fifth from the end) is not read: the offset is always added.
    const QString offset = text.right(4);
    const qint32 hours = kov_LeadingLong(offset.left(2));
    const qint32 minutes = kov_LeadingLong(offset.right(2));
    bool ok = false;
    QDateTime value = kov_ParseDate(text.left(text.size() - 5), &ok);
    if (!ok) {
        ClassMessage(QStringLiteral("HandleTime ERROR Type mismatch"));
        return kov_ZeroDate();
    }
    if (!ignoreOffset)
        value = value.addSecs(60LL * minutes).addSecs(3600LL * hours);
    return value;
}

bool CQuibJob::CreateJobFromString(const QString& MyString, CKovReg* MyReg, bool bScheduleIt)
{
    if (!MyReg) {
        ClassMessage(QStringLiteral("MyReg is nothing"));
        return false;
    }
    if (MyString.isEmpty()) {
        ClassMessage(QStringLiteral("MyString is empty"));
        return false;
    }
    {
        // The record's settings (its field count, the offset rule) are read under one look
        // at what other processes have committed, not one look per value.
        const RegistryRead read;
        CKovQzCSVrow row;
        const qint32 columns = row.setRowData(MyString) ? row.NoColumns() : 0;
        if (columns != MyReg->Lng(KovSetting::noDataFields(QuibFunction::GetJobs))) {
            ClassMessage(QStringLiteral("Job format (") + QString::number(columns) +
                         QStringLiteral(")not supported:") + kov_CrLf() + MyString);
            return false;
        }
        m_channel = row.Column(0);
        m_channelID = kov_LeadingLongOrThrow(row.Column(1));
        m_uID = kov_LeadingLongOrThrow(row.Column(2));
        // Read once for the job's two or three times.
        const bool ignoreOffset = kov_ReadNumber(*MyReg, KovSetting::IgnoreOffset) == 1;
        m_startTime = HandleTime(row.Column(3), ignoreOffset);
        m_endTime = HandleTime(row.Column(4), ignoreOffset);
        m_action = row.Column(5);
        m_title = row.Column(6);
        m_pg = kov_LeadingLongOrThrow(row.Column(7));
        m_quality = kov_LeadingLongOrThrow(row.Column(8));
        m_sequence = kov_LeadingLongOrThrow(row.Column(9));
        m_priority = kov_LeadingLongOrThrow(row.Column(10));
        m_protection = row.Column(11) != QLatin1String("0");
        m_nature = row.Column(12);
        m_format = row.Column(13);
        if (!row.Column(14).isEmpty())
            m_vps = HandleTime(row.Column(14), ignoreOffset);
        m_description = row.Column(15);
        m_persons = row.Column(16);
    }

    // A record without a channel name is dropped without a message.
    if (m_channel.isEmpty())
        return false;
    m_raw = MyString;
    if (bScheduleIt) {
        if (m_action == QLatin1String("rec") || m_action == QLatin1String("delete")) {
            HandleAction(m_action);
        } else {
            ClassMessage(
                Translate(QStringLiteral("Action Not Supported")) + QStringLiteral(" (") +
                    m_action + QStringLiteral(") ") +
                    Translate(QStringLiteral("or corrupt data from Server.")) + kov_CrLf() +
                    Translate(QStringLiteral(
                        "A copy of this data has been saved to file for troubleshooting.")) +
                    kov_CrLf() + kov_ProgramFile(ErrorFileName()),
                true);
            WriteErrorFile(MyString);
        }
    }
    return true;
}

QString CQuibJob::ErrorFileName() const
{
    return QStringLiteral("ERROR_") +
           kov_SafeFileName(kov_DateText(kov_Now()), QStringLiteral("txt"), true, false, true);
}

void CQuibJob::WriteErrorFile(const QString& data)
{
    const QString crlf = kov_CrLf();
    m_lastErrorFile = ErrorFileName();
    const QString text =
        QStringLiteral(
            "We apologize for the trouble you are having. Most likely this is due to a") +
        crlf +
        QStringLiteral(
            "corrupt data stream. This file contains the data for the unscheduled program.") +
        crlf + crlf + crlf + data + crlf + crlf + crlf +
        QStringLiteral("Thank you for your purchase of a Velmora Lumo Product. ") + crlf;
    kov_WriteTextFile(kov_ProgramFile(m_lastErrorFile), text); // failures are passed over
}
