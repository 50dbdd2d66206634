#include "fileexists.h"

#include <QFileInfo>

bool kov::fileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile() && info.size() > 0;
}
