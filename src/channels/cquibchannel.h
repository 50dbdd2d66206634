#pragma once
// One channel of the service's channel guide, and one entry of the local database.
#include "foundation/ckovqzcsv.h"

#include <QString>

class CQuibChannel
{
public:
    QString IsoCode() const { return m_isoCode; }
    QString Name() const { return m_name; }
    void setName(const QString& NV);
    qint32 ID() const { return m_id; }
    QString Country() const { return m_country; }
    QString Category() const { return m_category; }
    /// The stored number, or (when it is 0) the lookup's answer, which is not stored.
    qint32 ChannelNumber();
    void setChannelNumber(qint32 NV);
    bool PromptMissingChannels() const { return m_prompt; }
    void setPromptMissingChannels(bool on) { m_prompt = on; }
    /// Sets the fields from a record of 6 or more columns; returns the column count.
    qint32 SetInfoByCSV(const QString& ThisData);

private:
    QString m_isoCode;
    QString m_name;
    qint32 m_id = 0;
    QString m_country;
    QString m_category;
    qint32 m_channelNumber = 0;
    bool m_prompt = true;
    CKovQzCSVrow m_row;
};

class CDatabaseChannel
{
public:
    qint32 Number = 0;
    QString Name;
};
