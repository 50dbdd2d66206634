#pragma once
// The XDG autostart entry that starts the tray program when the user logs in to a desktop:
// $XDG_CONFIG_HOME/autostart/kovferrit.desktop, ~/.config/autostart when that variable is unset
// or not an absolute path. Its presence is the setting; there is nothing else to store.
#include <QString>

namespace Autostart {
/// Where the entry lives for the current user.
QString entryPath();
/// True when the entry exists, i.e. the program starts at login.
bool isEnabled();
/// The entry's text for the program at `executable` (an absolute path). A `programFolder` that
/// is not empty goes into the command as --home, so the program started at login uses the
/// folder it uses now.
QString entryText(const QString& executable, const QString& programFolder = QString());
/// The program folder in use when it is not the one the program finds by itself
/// (kov::defaultProgramFolder for this executable), else empty text.
QString customProgramFolder();
/// Writes the entry, with customProgramFolder(), through a temporary file renamed into place,
/// so a desktop never reads half an entry. False with the reason in `error` when the folder or
/// the file cannot be written.
bool enable(const QString& executable, QString* error);
/// Removes the entry; an entry already gone is no failure.
bool disable(QString* error);
} // namespace Autostart
