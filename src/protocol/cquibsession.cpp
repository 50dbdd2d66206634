#include "cquibsession.h"

#include "cquibquery.h"
#include "cquibreply.h"
#include "foundation/aes.h"
#include "foundation/ckovqzcsv.h"
#include "foundation/filewriters.h"
#include "foundation/kov_date.h"
#include "foundation/numbertext.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "md5.h"
#include "platform/clock.h"
#include "platform/httptransfer.h"
#include "platform/userinterface.h"
#include "settings/settings_catalogue.h"

#include <QScopeGuard>
#include <QUrl>

#include <cmath>
#include <stdexcept>
#include <utility>

namespace {
// A reply file that cannot be written makes ProcessReply fail.
void writeOrThrow(bool written, const QString& file)
{
    if (!written)
        throw std::runtime_error((QStringLiteral("Path/File access error: ") + file).toStdString());
}

} // namespace

bool IsValidReply(const QString& reply)
{
    const qsizetype lineEnd = reply.indexOf(kov_CrLf());
    if (lineEnd < 0) // also the empty reply
        return false;
    // An empty first line leaves the row without fields, so its code counts as 0. A quote left
    // open before any separator leaves no field at all: that line cannot be read, which is a
    // failure of the exchange rather than a reply worth asking for again.
    const QString firstLine = reply.left(lineEnd);
    CKovQzCSVrow row;
    if (!firstLine.isEmpty() && !row.setRowData(firstLine))
        throw std::runtime_error("Invalid procedure call or argument");
    // The code is judged as a number, not as a 32-bit one: 2^32 + 16 is no code.
    const double code = std::nearbyint(kov_LeadingNumber(row.Column(0)));
    return code >= 0 && code <= 16;
}

CQuibSession::CQuibSession()
{
    m_reg.SetInfo(kov_SettingsKey());
}

CQuibSession::~CQuibSession()
{
    Cancel();
    m_inet = nullptr;
}

void CQuibSession::classMessage(const QString& message, bool showBox)
{
    kov_ClassMessage("CQuibSession", message, showBox);
}

bool CQuibSession::StillExecuting() const
{
    return m_inet && m_inet->StillExecuting();
}

void CQuibSession::Cancel()
{
    if (!m_inet)
        return;
    try {
        m_inet->Cancel();
    } catch (...) {
        // a failing Cancel is ignored
    }
}

bool CQuibSession::Initialize(HttpTransfer* InetControl)
{
    if (!InetControl) {
        classMessage(QStringLiteral("Initialize requires InetControl"));
        return false;
    }
    try {
        m_inet = InetControl;
        m_handedOver = true;
        m_timeoutSeconds = kov_ReadNumber(m_reg, KovSetting::TimeoutSeconds);
        m_inet->setRequestTimeout(m_timeoutSeconds);
        return true;
    } catch (const std::exception& e) {
        classMessage(QStringLiteral("Initialize Error ") + QString::fromLocal8Bit(e.what()));
        return false;
    }
}

QString CQuibSession::TargetAddress()
{
    return QStringLiteral("http://") + GetTarget();
}

qint32 CQuibSession::Port()
{
    return kov_ReadNumber(m_reg, KovSetting::Port);
}

QString CQuibSession::Path()
{
    // A stored empty Path is used as it stands (the function name then follows the "/"
    // directly); only a missing one takes, and writes back, the default.
    if (m_reg.ValueExists(KovSetting::Path))
        return m_reg.Str(KovSetting::Path);
    return kov_ReadText(m_reg, KovSetting::Path);
}

QString CQuibSession::GetTarget()
{
    const QString target = kov_ReadText(m_reg, KovSetting::Target);
    if (IsValidTarget(target))
        return target;
    m_reg.setStr(KovSetting::Target, kov_DefaultHost());
    classMessage(QStringLiteral("Target Fixed In Database") + kov_CrLf() + QLatin1Char('(') +
                 target + QStringLiteral(") Not Valid"));
    return kov_DefaultHost();
}

bool CQuibSession::IsValidTarget(const QString& t)
{
    if (t.isEmpty())
        return false;
    if (t == kov_DefaultHost())
        return true;
    for (qint32 i = 1;; ++i) {
        const QString name = KovSetting::server(i);
        if (!m_reg.ValueExists(name))
            return false;
        QString host = m_reg.Str(name);
        const qsizetype comma = host.indexOf(QLatin1Char(','));
        if (comma >= 0)
            host = host.left(comma);
        if (host.compare(t, Qt::CaseInsensitive) == 0)
            return true;
    }
}

QString CQuibSession::GetAccessString()
{
    const QString account = m_reg.Str(KovSetting::Account);
    const QString password =
        AES::DecryptText(m_reg.Str(KovSetting::Protocol), kov_ProcessPassPhrase());
    if (account.isEmpty() || password.isEmpty()) {
        kov_UserInterface().messageBox(
            Translate(QStringLiteral("You MUST set an Account and Password")), MessageIcon::None,
            kov_AppTitle());
        classMessage(QStringLiteral("GetAccessString Account or Password not set"));
        return QString();
    }
    return kov_URLEncode(MD5::DigestStrBase64(QStringLiteral("DTRLoop") + account + password));
}

qint32 CQuibSession::GetLastSerial(bool ZeroSerial)
{
    return ZeroSerial ? 0 : kov_ReadNumber(m_reg, KovSetting::LastSerial);
}

bool CQuibSession::ServerFunction(QuibFunction Function, bool Manually, bool ZeroSerial)
{
    // A reply being read can show a prompt or its progress, and the event loop they run may
    // start another request: it is refused like one made while a transfer runs, so the reply
    // in hand is not replaced under its parser.
    if (StillExecuting() || m_inProgress) {
        classMessage(QStringLiteral(" MSINET.StillExecuting !!!"));
        return false;
    }
    m_inProgress = true;
    const auto done = qScopeGuard([this] { m_inProgress = false; });
    QString url;
    try {
        if (!m_inet) {
            classMessage(m_handedOver
                             ? QStringLiteral("ServerFunction Internet Control DISAPPEARED !")
                             : QStringLiteral("ServerFunction Internet Control is not Available."));
            return false;
        }
        m_transferProblem.clear();
        {
            CQuibQuery query;
            query.setAccess(GetAccessString());
            if (query.Access().isEmpty())
                return false;
            query.setAccount(m_reg.value(KovSetting::Account, QString()).toString());
            query.setDocType(kov_ReadText(m_reg, KovSetting::DocType));
            query.setInitiator(!Manually);
            query.setProduct(kov_ReadText(m_reg, KovSetting::Product));
            query.setSerial(GetLastSerial(ZeroSerial));
            query.setTarget(GetTarget());
            url = query.MakeQuery(this, Function);
        }
        const qint32 attempts = kov_ReadNumber(m_reg, KovSetting::OpenURLRetries);
        QString reply;
        for (qint32 count = 0; !IsValidReply(reply) && count < attempts; ++count)
            reply = m_inet->OpenURL(url);

        m_reg.setStr(KovSetting::last(Function, QStringLiteral("QueryTime")),
                     kov_DateText(kov_Now()));
        m_reg.setStr(KovSetting::last(Function, QStringLiteral("QueryString")), url);
        m_reg.setStr(KovSetting::last(Function, QStringLiteral("ReplyString")), reply);

        if (IsValidReply(reply))
            return ProcessReply(std::move(reply), Function); // the parser lets it go early
        if (const int status = m_inet->lastHttpStatus(); status != 0 && status / 100 != 2)
            setTransferProblem(url, kov_TransferProblemText(nullptr, status));
        if (reply.isEmpty()) {
            kov_UserInterface().messageBox(
                Translate(QStringLiteral("No internet connection available")),
                MessageIcon::Critical, Translate(QStringLiteral("ERROR")));
        }
        return false;
    } catch (const std::exception& e) {
        // The exchange failed: the component is dropped, so the rest of this sync run asks the
        // server nothing more; the next run hands it over again (Initialize).
        classMessage(QStringLiteral("GetJobs FAILED: ") + QString::fromLocal8Bit(e.what()));
        if (dynamic_cast<const TransferFailure*>(&e))
            setTransferProblem(url, kov_TransferProblemText(&e));
        kov_ReportTransferFailure(e);
        m_inet = nullptr;
        return false;
    }
}

void CQuibSession::setTransferProblem(const QString& url, const QString& reason)
{
    const QUrl target(url, QUrl::TolerantMode);
    m_transferProblem = Translate(QStringLiteral("The Quib service at %1, port %2, cannot be "
                                                 "used:"))
                            .arg(target.host())
                            .arg(target.port(80)) +
                        QLatin1Char(' ') + reason;
}

bool CQuibSession::ProcessReply(QString reply, QuibFunction Function)
{
    try {
        const QString crlf = kov_CrLf();
        if (Function == QuibFunction::GetJobs && m_logReplies) {
            const QString log = kov_ProgramFile(QStringLiteral("ReplyLog.txt"));
            const QString entry =
                m_reg.Str(KovSetting::last(Function, QStringLiteral("QueryTime"))) + crlf +
                m_reg.Str(KovSetting::last(Function, QStringLiteral("QueryString"))) + crlf +
                reply + crlf + crlf + crlf;
            writeOrThrow(kov_AppendPrivateFile(log, entry), log); // it holds the access string
        } else if (Function == QuibFunction::ChannelGuide) {
            const qint32 code = kov_LeadingLong(reply.left(2));
            if (code == 0 || code == 1) {
                const QString guide = kov_ProgramFile(QStringLiteral("kovquibcg.dat"));
                writeOrThrow(kov_WriteTextFile(guide, reply + crlf), guide);
            } else {
                m_reg.setLng(KovSetting::HaveChannelDatabase, 0);
                const QString error = kov_ProgramFile(QStringLiteral("ChannelDatabaseError.txt"));
                writeOrThrow(kov_WriteTextFile(error, reply + crlf), error);
            }
        }
        m_reply = std::make_unique<CQuibReply>(m_consumer);
        return m_reply->HandleReplyString(std::move(reply), Function);
    } catch (const std::exception& e) {
        classMessage(QStringLiteral("HandleReplyString (") + kov_FunctionName(Function) +
                     QStringLiteral(") FAILED") + kov_CrLf() + QStringLiteral("Error : ") +
                     QString::fromLocal8Bit(e.what()) + kov_CrLf() + kov_CrLf() +
                     QStringLiteral("Reply String : ") + kov_CrLf() + reply);
        return false;
    }
}
