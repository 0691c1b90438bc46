#include "app/datadir.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace qiravon {

QString locateDataDir(const QString& programDir, const QString& installedData)
{
    const QDir program(programDir);
    const QString beside = program.filePath(u"data"_s);
    if (QFileInfo(beside).isDir())
        return beside + u'/';
    const QString installed = QDir::cleanPath(program.filePath(installedData));
    if (!installedData.isEmpty() && QFileInfo(installed).isDir())
        return installed + u'/';
    return beside + u'/';
}

} // namespace qiravon
