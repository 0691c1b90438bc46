#include "hosted/web/browseraddress.h"

#include <QDir>
#include <QFileInfo>

namespace qiravon {

QUrl browserUrl(const QString& address)
{
    // An address-bar reading would take '#' and '?' in a file name for a fragment or a query,
    // and the start page lives wherever the program was installed.
    const QFileInfo file(address);
    if (QDir::isAbsolutePath(address) && file.exists())
        return QUrl::fromLocalFile(file.absoluteFilePath());
    return QUrl::fromUserInput(address);
}

} // namespace qiravon
