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

qint32 GuideChannel::readRecord(const QString& data)
{
    if (!m_row.setText(data))
        return 0;
    const qint32 count = m_row.columnCount();
    if (count >= 6) {
        m_isoCode = m_row.column(0);
        m_name = m_row.column(1);
        m_id = kov::leadingLong(m_row.column(2));
        m_country = m_row.column(3);
        m_category = m_row.column(4);
    }
    return count;
}
