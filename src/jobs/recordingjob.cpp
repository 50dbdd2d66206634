#include "recordingjob.h"

#include "foundation/csvrow.h"
#include "foundation/datetext.h"
#include "foundation/filewriters.h"
#include "foundation/numbertext.h"
#include "foundation/programfolder.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "platform/clock.h"
#include "platform/settingsdatabase.h"
#include "settings/settingscatalogue.h"
#include "settings/settingsstore.h"

#include <stdexcept>

RecordingJob::RecordingJob()
    : m_startTime(kov::zeroDate()), m_endTime(kov::zeroDate()), m_vps(kov::zeroDate())
{
}

void RecordingJob::trace(const QString& message, bool showBox)
{
    kov::traceFrom("CQuibJob", message, showBox);
}

QDateTime RecordingJob::parseTime(const QString& text, bool ignoreOffset)
{
    if (text.isEmpty()) {
        trace(QStringLiteral("HandleTime Param is missing"));
        return kov::zeroDate();
    }
    if (text.size() < 5) {
        trace(QStringLiteral("HandleTime ERROR Invalid procedure call or argument"));
        return kov::zeroDate();
    }
    // The sign position (fifth from the end) is not read: the offset is always added.
    const QString offset = text.right(4);
    const qint32 hours = kov::leadingLong(offset.left(2));
    const qint32 minutes = kov::leadingLong(offset.right(2));
    bool ok = false;
    QDateTime value = kov::parseDate(text.left(text.size() - 5), &ok);
    if (!ok) {
        trace(QStringLiteral("HandleTime ERROR Type mismatch"));
        return kov::zeroDate();
    }
    if (!ignoreOffset)
        value = value.addSecs(60LL * minutes).addSecs(3600LL * hours);
    return value;
}

bool RecordingJob::readJob(const QString& text, SettingsStore* settings)
{
    CsvRow fields;
    if (settings && !text.isEmpty())
        fields.setText(text);
    return readJob(text, fields, settings);
}

bool RecordingJob::readJob(const QString& record, const CsvRow& row, SettingsStore* settings)
{
    if (!settings) {
        trace(QStringLiteral("MyReg is nothing"));
        return false;
    }
    if (record.isEmpty()) {
        trace(QStringLiteral("MyString is empty"));
        return false;
    }
    {
        // The record's settings (its field count, the offset rule) are read under one look
        // at what other processes have committed, not one look per value.
        const SettingsReadScope read;
        const qint32 columns = row.columnCount();
        if (columns != kov::number(*settings, {Setting::FieldCount, QuibFunction::GetJobs})) {
            trace(QStringLiteral("Job format (") + QString::number(columns) +
                  QStringLiteral(")not supported:") + kov::crLf() + record);
            return false;
        }
        m_channel = row.column(0);
        m_channelId = kov::leadingLongOrThrow(row.column(1));
        m_uid = kov::leadingLongOrThrow(row.column(2));
        // Read once for the job's two or three times.
        const bool ignoreOffset = kov::number(*settings, Setting::IgnoreOffset) == 1;
        m_startTime = parseTime(row.column(3), ignoreOffset);
        m_endTime = parseTime(row.column(4), ignoreOffset);
        m_action = row.column(5);
        m_title = row.column(6);
        m_pg = kov::leadingLongOrThrow(row.column(7));
        m_quality = kov::leadingLongOrThrow(row.column(8));
        m_sequence = kov::leadingLongOrThrow(row.column(9));
        m_priority = kov::leadingLongOrThrow(row.column(10));
        m_protection = row.column(11) != QLatin1String("0");
        m_nature = row.column(12);
        m_format = row.column(13);
        if (!row.column(14).isEmpty())
            m_vps = parseTime(row.column(14), ignoreOffset);
        m_description = row.column(15);
        m_persons = row.column(16);
    }

    // A record without a channel name is dropped without a message.
    if (m_channel.isEmpty())
        return false;
    m_raw = record;
    return true;
}

void RecordingJob::schedule(RecorderSource& recorders)
{
    if (m_action == QLatin1String("rec") || m_action == QLatin1String("delete")) {
        acceptAction(m_action, recorders);
        return;
    }
    trace(kov::translate(QStringLiteral("Action Not Supported")) + QStringLiteral(" (") + m_action +
              QStringLiteral(") ") +
              kov::translate(QStringLiteral("or corrupt data from Server.")) + kov::crLf() +
              kov::translate(QStringLiteral(
                  "A copy of this data has been saved to file for troubleshooting.")) +
              kov::crLf() + kov::programFile(errorFileName()),
          true);
    writeErrorFile(m_raw);
}

QString RecordingJob::errorFileName() const
{
    return QStringLiteral("ERROR_") + kov::safeFileName(kov::dateText(kov::now()),
                                                        QStringLiteral("txt"), kov::Blanks::Keep,
                                                        kov::NamePart::AfterLastBackslash);
}

void RecordingJob::writeErrorFile(const QString& data)
{
    const QString crlf = kov::crLf();
    m_lastErrorFile = errorFileName();
    const QString text =
        QStringLiteral(
            "We apologize for the trouble you are having. Most likely this is due to a") +
        crlf +
        QStringLiteral(
            "corrupt data stream. This file contains the data for the unscheduled program.") +
        crlf + crlf + crlf + data + crlf + crlf + crlf +
        QStringLiteral("Thank you for your purchase of a Velmora Lumo Product. ") + crlf;
    kov::writeTextFile(kov::programFile(m_lastErrorFile), text); // failures are passed over
}
