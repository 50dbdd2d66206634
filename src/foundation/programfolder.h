#pragma once
// The program folder, where settings, channel database, replies and logs live: which folder it
// is, the names of the files in it, and whether it can hold them.
#include <QString>

namespace kov {
/// The program folder, without a trailing separator. Made when missing.
QString programFolder();
/// Overrides the program folder for this process (`--home`, tests). Empty restores the rule.
void setProgramFolder(const QString& folder);
/// The folder used when neither `--home` nor KOVFERRIT_HOME names one: `exeDir`, the
/// executable's folder, when it is the build's output folder or holds a file named `portable`,
/// and is writable; else $XDG_DATA_HOME/KovFerrit (~/.local/share/KovFerrit). Not made here.
QString defaultProgramFolder(const QString& exeDir);
/// Program folder + "/" + name.
QString programFile(const QString& name);
/// Why the program folder cannot hold the program's files ("it is not a folder" ...), or
/// empty text when it can.
QString programFolderProblem();
} // namespace kov
