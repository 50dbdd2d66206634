#include "quibrequest.h"

#include "foundation/trace.h"
#include "quibsession.h"

QString QuibRequest::queryString(QuibSession* session, QuibFunction function) const
{
    if (!session) {
        kov::traceFrom("CQuibQuery", QStringLiteral("Get Query Session Is Nothing"));
        return QString();
    }
    // Nothing is encoded here: every value goes out exactly as held (only the access string
    // arrives encoded), and the port is always written.
    return session->targetAddress() + QLatin1Char(':') + QString::number(session->port()) +
           QLatin1Char('/') + session->path() + kov::functionName(function) +
           QStringLiteral("?product=") + m_product + QStringLiteral("&initiator=") +
           (m_initiator ? QLatin1Char('1') : QLatin1Char('0')) + QStringLiteral("&target=") +
           m_target + QStringLiteral("&serial=") + QString::number(m_serial) +
           QStringLiteral("&doctype=") + m_docType + QStringLiteral("&account=") + m_account +
           QStringLiteral("&access=") + m_access;
}
