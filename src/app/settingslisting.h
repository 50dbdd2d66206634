#pragma once
// The listing of every value under the settings key, shared by the log viewer and
// `kovferrit-cli settings list`.
#include <QJsonObject>
#include <QString>
#include <QVariant>

namespace kov {
/// Whether a listing shows the values that let someone log in as the account (the password's
/// cipher, the access string of the stored query URLs) or hides them.
enum class Secrets
{
    Hidden,
    Shown
};

/// What stands in a listing for a hidden value or access string.
QString hiddenMark();
/// The stored value `value` of `name` as a listing shows it: the Protocol value (the password's
/// cipher) whole as the mark, in a Last...QueryString URL the value of each `access=` parameter,
/// any other value as it is. The store itself is never changed.
QVariant shownValue(const QString& name, const QVariant& value, Secrets secrets);
/// One "name : value" line (CR LF ended) per value, in enumeration order.
QString settingsListing(Secrets secrets = Secrets::Hidden);
/// The same values by name, numbers as numbers.
QJsonObject settingsObject(Secrets secrets = Secrets::Hidden);
} // namespace kov
