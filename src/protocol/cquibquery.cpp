#include "cquibquery.h"

#include "cquibsession.h"
#include "foundation/trace.h"

QString CQuibQuery::MakeQuery(CQuibSession* Session, QuibFunction Query) const
{
    if (!Session) {
        kov_ClassMessage("CQuibQuery", QStringLiteral("Get Query Session Is Nothing"));
        return QString();
    }
    // Nothing is encoded here: every value goes out exactly as held (only Access arrives
    // encoded), and the port is always written.
    return Session->TargetAddress() + QLatin1Char(':') + QString::number(Session->Port()) +
           QLatin1Char('/') + Session->Path() + kov_FunctionName(Query) +
           QStringLiteral("?product=") + m_product + QStringLiteral("&initiator=") +
           (m_initiator ? QLatin1Char('1') : QLatin1Char('0')) + QStringLiteral("&target=") +
           m_target + QStringLiteral("&serial=") + QString::number(m_serial) +
           QStringLiteral("&doctype=") + m_docType + QStringLiteral("&account=") + m_account +
           QStringLiteral("&access=") + m_access;
}
