#pragma once
// Part 1.3: one reply document of the service, parsed, recorded and handed on.
#include "foundation/ckovreg.h"

#include <QString>

#include <memory>
#include <vector>

class CQuibJob;

class CQuibReply
{
public:
    CQuibReply();
    ~CQuibReply();
    CQuibReply(const CQuibReply&) = delete;
    CQuibReply& operator=(const CQuibReply&) = delete;

    qint32 NoFields() const { return m_noFields; }
    QString Details() const { return m_details; }
    qint32 ContentLines() const { return m_contentLines; }
    QString DocType() const { return m_docType; }
    qint32 ErrorCode() const { return m_errorCode; }
    qint32 Serial() const { return m_serial; }

    /// Parses one reply; true when its header was accepted.
    bool HandleReplyString(const QString& ThisReply, const QString& QueryType);
    /// One channel-guide record; always false (the parser does not look at it).
    bool CreateChannel(const QString& MyString);
    /// One job record; the job's own result.
    bool CreateJob(const QString& MyString);

    /// The jobs made from this reply's records, in record order.
    const std::vector<std::unique_ptr<CQuibJob>>& Jobs() const { return m_jobs; }

private:
    CQuibJob* AddJob();
    void AddDetail(const QString& text);
    void classMessage(const QString& message, bool showBox = false);

    qint32 m_noFields = 0;
    QString m_details;
    qint32 m_contentLines = 0;
    QString m_docType;
    qint32 m_errorCode = 0;
    qint32 m_serial = 0;
    std::vector<std::unique_ptr<CQuibJob>> m_jobs;
    CKovReg m_reg;
};
