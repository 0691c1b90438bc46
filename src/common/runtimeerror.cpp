#include "common/runtimeerror.h"

using namespace Qt::StringLiterals;

namespace qiravon {

RuntimeError RuntimeError::fileNotFound(const QString& path)
{
    return {53, u"File not found"_s, path};
}

RuntimeError RuntimeError::fileAccess(const QString& path, const QString& reason)
{
    // 75 is the number the catalogue's readers have always used for a file that is there but
    // cannot be opened; the system's reason follows so the user can act on it.
    return {75,
            u"Path/File access error"_s + (reason.isEmpty() ? QString() : u" ("_s + reason + u')'),
            path};
}

QString RuntimeError::message() const
{
    QString text = u"Run-time error '%1':\n\n%2"_s.arg(number).arg(description);
    if (!path.isEmpty())
        text += u"\n\n"_s + path;
    return text;
}

} // namespace qiravon
