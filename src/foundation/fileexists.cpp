#include "fileexists.h"

#include <QFileInfo>

bool kov_FileExists(const QString& Path)
{
    if (Path.isEmpty())
        return false;
    const QFileInfo info(Path);
    return info.exists() && info.isFile() && info.size() > 0;
}
