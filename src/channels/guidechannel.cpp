#include "guidechannel.h"

#include "channellookup.h"
#include "foundation/numbertext.h"
#include "foundation/trace.h"

namespace {
void silent(const QString& message)
{
    kov::traceFrom("CQuibChannel", message);
}
} // namespace

void GuideChannel::setName(const QString& value)
{
    if (value.isEmpty()) {
        silent(QStringLiteral("Name missing NV"));
        return;
    }
    m_name = value;
}

qint32 GuideChannel::channelNumber()
{
    if (m_channelNumber == 0)
        return kov::channelByName(m_name, m_prompt);
    return m_channelNumber;
}

void GuideChannel::setChannelNumber(qint32 value)
{
    if (value < 1 || value > 999) {
        silent(QStringLiteral("ChannelNumber let value out of range : ") + QString::number(value));
        return;
    }
    m_channelNumber = value;
}

qint32 GuideChannel::readRecord(const CsvRow& record)
{
    const qint32 count = record.columnCount();
    if (count >= 6) {
        m_isoCode = record.column(0);
        m_name = record.column(1);
        m_id = kov::leadingLong(record.column(2));
        m_country = record.column(3);
        m_category = record.column(4);
    }
    return count;
}
