#include "cquibchannel.h"

#include "channel_lookup.h"
#include "foundation/numbertext.h"
#include "foundation/trace.h"

namespace {
void silent(const QString& message)
{
    kov_ClassMessage("CQuibChannel", message);
}
} // namespace

void CQuibChannel::setName(const QString& NV)
{
    if (NV.isEmpty()) {
        silent(QStringLiteral("Name missing NV"));
        return;
    }
    m_name = NV;
}

qint32 CQuibChannel::ChannelNumber()
{
    if (m_channelNumber == 0)
        return GetChannelByName(m_name, m_prompt);
    return m_channelNumber;
}

void CQuibChannel::setChannelNumber(qint32 NV)
{
    if (NV < 1 || NV > 999) {
        silent(QStringLiteral("ChannelNumber let value out of range : ") + QString::number(NV));
        return;
    }
    m_channelNumber = NV;
}

qint32 CQuibChannel::SetInfoByCSV(const QString& ThisData)
{
    if (!m_row.setRowData(ThisData))
        return 0;
    const qint32 count = m_row.NoColumns();
    if (count >= 6) {
        m_isoCode = m_row.Column(0);
        m_name = m_row.Column(1);
        m_id = kov_LeadingLong(m_row.Column(2));
        m_country = m_row.Column(3);
        m_category = m_row.Column(4);
    }
    return count;
}
