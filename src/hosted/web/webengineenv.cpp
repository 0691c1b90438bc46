#include "hosted/web/webengineenv.h"

#include <QFile>
#include <QRegularExpression>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

void setDefaultEnv(const char* name, const char* value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}

QByteArray readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(64).trimmed();
}

// A launcher that knows it started a virtual server can say so; "0" says it did not.
bool launcherSaysVirtual()
{
    const QByteArray hint = qgetenv("QIRAVON_XVFB");
    return !hint.isEmpty() && hint != "0";
}

} // namespace

bool isVirtualXServer(const QString& display, const QString& lockDir, const QString& procDir)
{
    // Only a server on this machine keeps its lock file here; "localhost:10" is usually an SSH
    // forward whose number may clash with an unrelated local server.
    static const QRegularExpression localDisplay(u"^(?:unix)?:(\\d+)(?:\\.\\d+)?$"_s);
    const QRegularExpressionMatch match = localDisplay.match(display);
    if (!match.hasMatch())
        return false;
    bool ok = false;
    const qint64 pid =
        readSmallFile(lockDir + u"/.X"_s + match.captured(1) + u"-lock"_s).toLongLong(&ok);
    if (!ok || pid <= 0)
        return false;
    return readSmallFile(procDir + u'/' + QString::number(pid) + u"/comm"_s) == "Xvfb";
}

void prepareWebEngineEnvironment()
{
    // Chromium will not start its sandbox as root; desktop users are not root, so this changes
    // nothing for them. A bare --no-sandbox argument is ignored by Qt 6.
    if (::geteuid() == 0)
        setDefaultEnv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // A virtual X server has no GPU; Chromium's GPU process only fails and retries there.
    // QT_XCB_GL_INTEGRATION=none would look like the lighter fix, but the web view then crashes.
    const QString display = qEnvironmentVariable("DISPLAY");
    if (!display.isEmpty() && (launcherSaysVirtual() || isVirtualXServer(display)))
        setDefaultEnv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    // Qt::AA_ShareOpenGLContexts is left unset on purpose: set before the application object,
    // it makes Qt GUI create an OpenGL context at once, tens of megabytes and a noticeable
    // while for a window that may never show a page. The web engine module makes the shared
    // context itself when it is loaded (see webenginemodule.cpp).
}

} // namespace qiravon
