#pragma once
// One channel of the service's channel guide.
#include "foundation/csvrow.h"

#include <QString>

class GuideChannel
{
public:
    QString isoCode() const { return m_isoCode; }
    QString name() const { return m_name; }
    void setName(const QString& value);
    qint32 id() const { return m_id; }
    QString country() const { return m_country; }
    QString category() const { return m_category; }
    /// The stored number, or (when it is 0) the lookup's answer, which is not stored.
    qint32 channelNumber();
    void setChannelNumber(qint32 value);
    bool promptsForNumber() const { return m_prompt; }
    void setPromptsForNumber(bool on) { m_prompt = on; }
    /// Sets the fields from a record of 6 or more columns; returns the column count.
    qint32 readRecord(const CsvRow& record);

private:
    QString m_isoCode;
    QString m_name;
    qint32 m_id = 0;
    QString m_country;
    QString m_category;
    qint32 m_channelNumber = 0;
    bool m_prompt = true;
};
