#include "support/realprogram.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace qiravon::test {

namespace {

constexpr int kMainWindowWidth = 742;

QString xdotool(const QStringList& args)
{
    return runTool(u"xdotool"_s, args);
}

} // namespace

QString runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(200);
    }
    return true;
}

QRect windowGeometry(const QString& window)
{
    // With --shell xdotool prints "X=..", "Y=..", "WIDTH=..", "HEIGHT=..".
    QRect rect;
    for (const QString& line :
         xdotool({u"getwindowgeometry"_s, u"--shell"_s, window}).split(u'\n')) {
        const QString key = line.section(u'=', 0, 0);
        const int value = line.section(u'=', 1).toInt();
        if (key == u"X"_s)
            rect.moveLeft(value);
        else if (key == u"Y"_s)
            rect.moveTop(value);
        else if (key == u"WIDTH"_s)
            rect.setWidth(value);
        else if (key == u"HEIGHT"_s)
            rect.setHeight(value);
    }
    return rect;
}

bool isViewable(const QString& window)
{
    return runTool(u"xwininfo"_s, {u"-id"_s, window}).contains(u"IsViewable"_s);
}

void clickAt(QPoint at, int button)
{
    xdotool({u"mousemove"_s, QString::number(at.x()), QString::number(at.y())});
    QTest::qWait(150);
    xdotool({u"click"_s, QString::number(button)});
}

QStringList qiravonMainWindows()
{
    QStringList found;
    for (const QString& w : xdotool({u"search"_s, u"--onlyvisible"_s, u"--name"_s, u"^Qiravon$"_s})
                                .split(u'\n', Qt::SkipEmptyParts)) {
        if (windowGeometry(w).width() == kMainWindowWidth)
            found.append(w);
    }
    return found;
}

QString missingDesktopTool()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return u"an X display"_s;
    for (const QString& tool :
         {u"xdotool"_s, u"xwininfo"_s, u"xprop"_s, u"openbox"_s, u"trayer"_s}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return tool;
    }
    return {};
}

std::vector<std::unique_ptr<QProcess>> startDesktop()
{
    std::vector<std::unique_ptr<QProcess>> desktop;
    const auto start = [&](const QString& program, const QStringList& args) {
        desktop.push_back(std::make_unique<QProcess>());
        desktop.back()->start(program, args);
        return desktop.back()->waitForStarted();
    };
    // The window manager is up once it names its check window on the root window, the tray
    // host once its panel shows.
    const bool up =
        start(u"openbox"_s, {}) &&
        waitUntil(
            [] {
                return runTool(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s})
                    .contains(u"window id"_s);
            },
            kProgramStepTimeoutMs) &&
        start(u"trayer"_s, {u"--edge"_s, u"top"_s, u"--align"_s, u"right"_s, u"--widthtype"_s,
                            u"request"_s, u"--height"_s, u"24"_s, u"--SetDockType"_s, u"true"_s,
                            u"--transparent"_s, u"false"_s}) &&
        waitUntil(
            [] {
                return !xdotool({u"search"_s, u"--onlyvisible"_s, u"--class"_s, u"trayer"_s})
                            .isEmpty();
            },
            kProgramStepTimeoutMs);
    if (!up) {
        for (auto& p : desktop)
            endProgram(p.get());
        desktop.clear();
    }
    return desktop;
}

QProcessEnvironment programEnvironment(const QString& runtimeFolder, const QString& busAddress)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QIRAVON_XVFB"_s, u"1"_s);
    env.remove(u"QT_QPA_PLATFORM"_s);
    env.insert(u"XDG_RUNTIME_DIR"_s, runtimeFolder);
    if (busAddress.isEmpty())
        env.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
    else
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, busAddress);
    return env;
}

std::unique_ptr<QProcess> startProgram(const QString& program,
                                       const QProcessEnvironment& environment,
                                       const QString& workingFolder)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!workingFolder.isEmpty())
        process->setWorkingDirectory(workingFolder);
    process->start(program, {});
    process->waitForStarted();
    return process;
}

QString waitForMainWindow()
{
    QString last;
    int steady = 0;
    waitUntil(
        [&] {
            const QStringList now = qiravonMainWindows();
            const QString window = now.size() == 1 ? now.constFirst() : QString();
            steady = !window.isEmpty() && window == last ? steady + 1 : 0;
            last = window;
            return steady >= 15;
        },
        kProgramStartTimeoutMs);
    return steady >= 15 ? last : QString();
}

void endProgram(QProcess* process)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->kill();
    process->waitForFinished(5000);
}

} // namespace qiravon::test
