#include "quibsession.h"

#include "foundation/csvrow.h"
#include "foundation/datetext.h"
#include "foundation/filewriters.h"
#include "foundation/numbertext.h"
#include "foundation/passwordcipher.h"
#include "foundation/programfolder.h"
#include "foundation/programname.h"
#include "foundation/texttools.h"
#include "foundation/trace.h"
#include "foundation/translate.h"
#include "md5.h"
#include "platform/clock.h"
#include "platform/httptransfer.h"
#include "platform/userinterface.h"
#include "quibrequest.h"
#include "replyparser.h"
#include "settings/accountpassword.h"
#include "settings/settingscatalogue.h"

#include <QScopeGuard>
#include <QUrl>

#include <cmath>
#include <stdexcept>
#include <utility>

namespace {
// A reply file that cannot be written makes processReply fail.
void writeOrThrow(bool written, const QString& file)
{
    if (!written)
        throw std::runtime_error((QStringLiteral("Path/File access error: ") + file).toStdString());
}

} // namespace

bool kov::isValidReply(const QString& reply)
{
    const qsizetype lineEnd = reply.indexOf(kov::crLf());
    if (lineEnd < 0) // also the empty reply
        return false;
    // An empty first line leaves the row without fields, so its code counts as 0. A quote left
    // open before any separator leaves no field at all: that line cannot be read, which is a
    // failure of the exchange rather than a reply worth asking for again.
    const QString firstLine = reply.left(lineEnd);
    CsvRow row;
    if (!firstLine.isEmpty() && !row.setText(firstLine))
        throw std::runtime_error("Invalid procedure call or argument");
    // The code is judged as a number, not as a 32-bit one: 2^32 + 16 is no code.
    const double code = std::nearbyint(kov::leadingNumber(row.column(0)));
    return code >= 0 && code <= 16;
}

QuibSession::QuibSession()
{
    m_settings.setKey(kov::settingsKey());
}

QuibSession::~QuibSession()
{
    cancel();
    m_transfer = nullptr;
}

void QuibSession::classMessage(const QString& message, bool showBox)
{
    kov::traceFrom("CQuibSession", message, showBox);
}

bool QuibSession::isBusy() const
{
    return m_transfer && m_transfer->isBusy();
}

void QuibSession::cancel()
{
    if (!m_transfer)
        return;
    try {
        m_transfer->cancel();
    } catch (...) {
        // a transfer that fails to cancel is left as it is
    }
}

bool QuibSession::setTransfer(HttpTransfer* transfer)
{
    if (!transfer) {
        classMessage(QStringLiteral("Initialize requires InetControl"));
        return false;
    }
    try {
        m_transfer = transfer;
        m_handedOver = true;
        m_timeoutSeconds = kov::number(m_settings, Setting::TimeoutSeconds);
        m_transfer->setRequestTimeout(m_timeoutSeconds);
        return true;
    } catch (const std::exception& e) {
        classMessage(QStringLiteral("Initialize Error ") + QString::fromLocal8Bit(e.what()));
        return false;
    }
}

kov::TargetHost kov::splitTarget(const QString& target)
{
    // "http://" is taken off too, so a Target written with it still names its host once.
    for (const bool secure : {true, false}) {
        const QLatin1String scheme(secure ? "https://" : "http://");
        if (target.startsWith(scheme, Qt::CaseInsensitive))
            return {target.mid(scheme.size()), secure};
    }
    return {target, false};
}

bool QuibSession::usesHttps(const kov::TargetHost& chosen)
{
    // A server the service lists as https:// gets TLS also when the Target names it bare.
    return chosen.secure || kov::number(m_settings, Setting::UseHttps) == 1 ||
           kov::splitTarget(serverEntry(chosen.host)).secure;
}

QString QuibSession::targetAddress()
{
    const kov::TargetHost chosen = kov::splitTarget(target());
    return (usesHttps(chosen) ? QStringLiteral("https://") : QStringLiteral("http://")) +
           chosen.host;
}

qint32 QuibSession::port()
{
    // Port's default is HTTP's; over TLS that default means HTTPS's own.
    const qint32 port = kov::number(m_settings, Setting::Port);
    return port == 80 && usesHttps(kov::splitTarget(target())) ? 443 : port;
}

QString QuibSession::path()
{
    // A stored empty Path is used as it stands (the function name then follows the "/"
    // directly); only a missing one takes, and writes back, the default (SettingRead::StoredText).
    return kov::text(m_settings, Setting::Path);
}

QString QuibSession::target()
{
    const QString target = kov::text(m_settings, Setting::Target);
    if (isValidTarget(target))
        return target;
    kov::setText(m_settings, Setting::Target, kov::defaultHost());
    classMessage(QStringLiteral("Target Fixed In Database") + kov::crLf() + QLatin1Char('(') +
                 target + QStringLiteral(") Not Valid"));
    return kov::defaultHost();
}

bool QuibSession::isValidTarget(const QString& t)
{
    // Hosts are compared without their scheme: https:// asks for TLS, it names no other host.
    const QString bare = kov::splitTarget(t).host;
    if (bare.isEmpty())
        return false;
    return bare == kov::defaultHost() || !serverEntry(bare).isEmpty();
}

QString QuibSession::serverEntry(const QString& host)
{
    for (qint32 i = 1;; ++i) {
        const SettingKey server(Setting::Server, i);
        if (!kov::settingExists(m_settings, server))
            return QString();
        QString entry = kov::text(m_settings, server);
        const qsizetype comma = entry.indexOf(QLatin1Char(','));
        if (comma >= 0)
            entry = entry.left(comma);
        if (kov::splitTarget(entry).host.compare(host, Qt::CaseInsensitive) == 0)
            return entry;
    }
}

QString QuibSession::accessString()
{
    const QString account = kov::text(m_settings, Setting::Account);
    const QString password = kov::readPassword(m_settings).password;
    if (account.isEmpty() || password.isEmpty()) {
        kov::userInterface().messageBox(
            kov::translate(QStringLiteral("You MUST set an Account and Password")),
            MessageIcon::None, kov::appTitle());
        classMessage(QStringLiteral("GetAccessString Account or Password not set"));
        return QString();
    }
    return kov::urlEncode(Md5::digestBase64(QStringLiteral("DTRLoop") + account + password));
}

qint32 QuibSession::lastSerial(bool zeroSerial)
{
    return zeroSerial ? 0 : kov::number(m_settings, Setting::LastSerial);
}

bool QuibSession::runServerFunction(QuibFunction function, bool manually, bool zeroSerial)
{
    // A reply being read can show a prompt or its progress, and the event loop they run may
    // start another request: it is refused like one made while a transfer runs, so the reply
    // in hand is not replaced under its parser.
    if (isBusy() || m_inProgress) {
        classMessage(QStringLiteral(" MSINET.StillExecuting !!!"));
        return false;
    }
    m_inProgress = true;
    const auto done = qScopeGuard([this] { m_inProgress = false; });
    QString url;
    try {
        if (!m_transfer) {
            classMessage(m_handedOver
                             ? QStringLiteral("ServerFunction Internet Control DISAPPEARED !")
                             : QStringLiteral("ServerFunction Internet Control is not Available."));
            return false;
        }
        m_transferProblem.clear();
        {
            QuibRequest query;
            query.setAccess(accessString());
            if (query.access().isEmpty())
                return false;
            query.setAccount(kov::text(m_settings, Setting::Account));
            query.setDocType(kov::text(m_settings, Setting::DocType));
            query.setInitiator(!manually);
            query.setProduct(kov::text(m_settings, Setting::Product));
            query.setSerial(lastSerial(zeroSerial));
            query.setTarget(kov::splitTarget(target()).host);
            url = query.queryString(this, function);
        }
        const qint32 attempts = kov::number(m_settings, Setting::OpenUrlRetries);
        QString reply;
        for (qint32 count = 0; !kov::isValidReply(reply) && count < attempts; ++count)
            reply = m_transfer->openUrl(url);

        kov::setText(m_settings, {Setting::LastQueryTime, function}, kov::dateText(kov::now()));
        kov::setText(m_settings, {Setting::LastQueryString, function}, url);
        kov::setText(m_settings, {Setting::LastReplyString, function}, reply);

        if (kov::isValidReply(reply))
            return processReply(std::move(reply), function); // the parser lets it go early
        if (const int status = m_transfer->lastHttpStatus(); status != 0 && status / 100 != 2)
            setTransferProblem(url, kov::transferProblemText(nullptr, status));
        if (reply.isEmpty()) {
            kov::userInterface().messageBox(
                kov::translate(QStringLiteral("No internet connection available")),
                MessageIcon::Critical, kov::translate(QStringLiteral("ERROR")));
        }
        return false;
    } catch (const std::exception& e) {
        // The exchange failed: the transfer is dropped, so the rest of this sync run asks the
        // server nothing more; the next run hands it over again (setTransfer).
        classMessage(QStringLiteral("GetJobs FAILED: ") + QString::fromLocal8Bit(e.what()));
        if (dynamic_cast<const TransferFailure*>(&e))
            setTransferProblem(url, kov::transferProblemText(&e));
        kov::reportTransferFailure(e);
        m_transfer = nullptr;
        return false;
    }
}

void QuibSession::setTransferProblem(const QString& url, const QString& reason)
{
    const QUrl target(url, QUrl::TolerantMode);
    m_transferProblem = kov::translate(QStringLiteral("The Quib service at %1, port %2, cannot be "
                                                      "used:"))
                            .arg(target.host())
                            .arg(target.port(80)) +
                        QLatin1Char(' ') + reason;
}

bool QuibSession::processReply(QString reply, QuibFunction function)
{
    try {
        const QString crlf = kov::crLf();
        if (function == QuibFunction::GetJobs && m_logReplies) {
            const QString log = kov::programFile(QStringLiteral("ReplyLog.txt"));
            const QString entry = kov::text(m_settings, {Setting::LastQueryTime, function}) + crlf +
                                  kov::text(m_settings, {Setting::LastQueryString, function}) +
                                  crlf + reply + crlf + crlf + crlf;
            writeOrThrow(kov::appendPrivateFile(log, entry), log); // it holds the access string
        } else if (function == QuibFunction::ChannelGuide) {
            const qint32 code = kov::leadingLong(reply.left(2));
            if (code == 0 || code == 1) {
                const QString guide = kov::programFile(QStringLiteral("kovquibcg.dat"));
                writeOrThrow(kov::writeTextFile(guide, reply + crlf), guide);
            } else {
                kov::setNumber(m_settings, Setting::HaveChannelDatabase, 0);
                const QString error = kov::programFile(QStringLiteral("ChannelDatabaseError.txt"));
                writeOrThrow(kov::writeTextFile(error, reply + crlf), error);
            }
        }
        m_reply = std::make_unique<ReplyParser>(m_consumer);
        return m_reply->parse(std::move(reply), function);
    } catch (const std::exception& e) {
        classMessage(QStringLiteral("HandleReplyString (") + kov::functionName(function) +
                     QStringLiteral(") FAILED") + kov::crLf() + QStringLiteral("Error : ") +
                     QString::fromLocal8Bit(e.what()) + kov::crLf() + kov::crLf() +
                     QStringLiteral("Reply String : ") + kov::crLf() + reply);
        return false;
    }
}
