#include "httptransfer.h"

#include "foundation/messagebox.h"
#include "foundation/translate.h"
#include "userinterface.h"

void kov::reportTransferFailure(const std::exception& failure)
{
    if (dynamic_cast<const ReplyTooLarge*>(&failure))
        // The same text as the exception's, written out so the string files can list it.
        kov::userInterface().messageBox(kov::translate(QStringLiteral("Reply larger than 16 MiB")),
                                        MessageIcon::Critical,
                                        kov::translate(QStringLiteral("ERROR")));
}

QString kov::transferProblemText(const std::exception* failure, int httpStatus)
{
    const auto* transfer = dynamic_cast<const TransferFailure*>(failure);
    if (!failure)
        return kov::translate(QStringLiteral("it answered with HTTP status %1.")).arg(httpStatus);
    QString reason = QString::fromLocal8Bit(failure->what());
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1); // the sentence gets its own full stop
    switch (transfer ? transfer->cause() : TransferFailure::Cause::Other) {
    case TransferFailure::Cause::Refused:
        return kov::translate(QStringLiteral("the connection was refused."));
    case TransferFailure::Cause::TimedOut:
        return kov::translate(QStringLiteral("it did not answer in time."));
    case TransferFailure::Cause::UnknownHost:
        return kov::translate(QStringLiteral("the host name is unknown."));
    case TransferFailure::Cause::TooLarge:
        return kov::translate(QStringLiteral("its reply is larger than 16 MiB."));
    case TransferFailure::Cause::CertificateUnverified:
        return kov::translate(QStringLiteral("its certificate could not be verified: %1."))
            .arg(reason);
    case TransferFailure::Cause::SecureConnectionFailed:
        return kov::translate(QStringLiteral("the secure connection failed: %1.")).arg(reason);
    case TransferFailure::Cause::Other:
        break;
    }
    return QString::fromLocal8Bit(failure->what());
}
