#pragma once
// One reply document of the service: its header recorded in the settings, its records handed
// one by one to a consumer while the reply is read.
#include "settings/quibfunction.h"
#include "settings/settingsstore.h"

#include <QString>

class ReplyRecordConsumer;

class ReplyParser
{
public:
    /// The consumer (not owned) may be nullptr: the records are then read and dropped.
    explicit ReplyParser(ReplyRecordConsumer* consumer = nullptr);
    ~ReplyParser();
    ReplyParser(const ReplyParser&) = delete;
    ReplyParser& operator=(const ReplyParser&) = delete;

    qint32 fieldCount() const { return m_noFields; }
    QString details() const { return m_details; }
    qint32 contentLines() const { return m_contentLines; }
    QString docType() const { return m_docType; }
    qint32 errorCode() const { return m_errorCode; }
    qint32 serial() const { return m_serial; }

    /// Parses one reply; true when its header was accepted. The reply is saved as
    /// "TempReply.tmp" and read back from there; a text moved in is released before the
    /// records are handled.
    bool parse(QString reply, QuibFunction function);

private:
    class Lines;

    bool readHeader(const QString& line, QuibFunction function);
    bool headerAccepted(QuibFunction function) const;
    bool tokenMatches(const QString& line, QuibFunction function);
    bool readFieldNames(const QString& line, QuibFunction function);
    void handOverRecords(Lines& lines, QuibFunction function);
    void addDetail(const QString& text);
    void classMessage(const QString& message, bool showBox = false);

    ReplyRecordConsumer* m_consumer = nullptr;
    qint32 m_noFields = 0;
    QString m_details;
    qint32 m_contentLines = 0;
    QString m_docType;
    qint32 m_errorCode = 0;
    qint32 m_serial = 0;
    SettingsStore m_settings;
};
