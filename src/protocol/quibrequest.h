#pragma once
// The request query of one server function and its URL.
#include "settings/quibfunction.h"

#include <QString>

class QuibSession;

class QuibRequest
{
public:
    /// The complete URL for `function` sent through `session`; empty without a session.
    QString queryString(QuibSession* session, QuibFunction function) const;

    qint32 serial() const { return m_serial; }
    void setSerial(qint32 v) { m_serial = v; }
    bool initiator() const { return m_initiator; }
    void setInitiator(bool v) { m_initiator = v; }
    QString docType() const { return m_docType; }
    void setDocType(const QString& v) { m_docType = v; }
    QString target() const { return m_target; }
    void setTarget(const QString& v) { m_target = v; }
    QString product() const { return m_product; }
    void setProduct(const QString& v) { m_product = v; }
    QString account() const { return m_account; }
    void setAccount(const QString& v) { m_account = v; }
    QString access() const { return m_access; }
    void setAccess(const QString& v) { m_access = v; }

private:
    qint32 m_serial = 0;
    bool m_initiator = false;
    QString m_docType;
    QString m_target;
    QString m_product;
    QString m_account;
    QString m_access;
};
