// The real program in the real notification area: a virtual X server with a tray host
// (trayer) and a window manager, driven by xdotool the way a user drives it; last, the same
// desktop without a notification area.

#include "support/realprogram.h"

#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace qiravon::test;

namespace {

QString xdotool(const QStringList& args)
{
    return runTool(u"xdotool"_s, args);
}

// "Normal", "Iconic" (in the task bar), or empty when the window manager has let it go.
QString wmState(const QString& window)
{
    const QString out = runTool(u"xprop"_s, {u"-id"_s, window, u"WM_STATE"_s});
    const qsizetype at = out.indexOf(u"window state: "_s);
    return at < 0 ? QString() : out.mid(at + 14).section(u'\n', 0, 0).trimmed();
}

enum class CloseRequest
{
    AltF4,        // the window manager's key
    TaskBarClose, // _NET_CLOSE_WINDOW, as a task bar or dock sends it
};

// Both reach the program as the window manager's WM_DELETE_WINDOW.
void requestClose(const QString& window, CloseRequest how)
{
    if (how == CloseRequest::AltF4) {
        xdotool({u"windowactivate"_s, u"--sync"_s, window});
        QTest::qWait(300);
        xdotool({u"key"_s, u"alt+F4"_s});
    } else {
        runTool(u"wmctrl"_s, {u"-i"_s, u"-c"_s, window});
    }
}

QStringList visibleWindowsOfClass(const QString& cls)
{
    return xdotool({u"search"_s, u"--onlyvisible"_s, u"--class"_s, cls})
        .split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

Q_DECLARE_METATYPE(CloseRequest)

class TrayXvfbTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display");
        for (const char* tool : {"trayer", "xdotool", "xwininfo", "xprop", "wmctrl"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(u"%1 is not installed"_s.arg(QString::fromLatin1(tool))));
        }
        QVERIFY2(QFileInfo::exists(QStringLiteral(QIRAVON_EXE)), QIRAVON_EXE);

        if (!QStandardPaths::findExecutable(u"openbox"_s).isEmpty()) {
            m_windowManager = std::make_unique<QProcess>();
            m_windowManager->start(u"openbox"_s, {});
            QTest::qWait(1000);
        }
        m_trayHost = std::make_unique<QProcess>();
        m_trayHost->start(u"trayer"_s,
                          {u"--edge"_s, u"top"_s, u"--align"_s, u"right"_s, u"--widthtype"_s,
                           u"request"_s, u"--height"_s, u"24"_s, u"--SetDockType"_s, u"true"_s,
                           u"--expand"_s, u"true"_s, u"--transparent"_s, u"false"_s});
        QVERIFY(m_trayHost->waitForStarted());
        QVERIFY2(waitUntil([this] { return !trayHostWindow().isEmpty(); }, kProgramStepTimeoutMs),
                 "trayer did not show its panel");
    }

    void cleanupTestCase()
    {
        for (auto* p : {m_program.get(), m_trayHost.get(), m_windowManager.get()}) {
            if (p && p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    void cleanup()
    {
        if (m_program && m_program->state() != QProcess::NotRunning) {
            m_program->kill();
            m_program->waitForFinished(5000);
        }
    }

    void leftClickShowsTheHiddenWindow()
    {
        startProgram();
        const QString window = mainWindow();
        const QRect frame = windowGeometry(window);
        // The close button stands at the window's top-right (720, 0), 10 x 31 pixels.
        clickAt(frame.topLeft() + QPoint(725, 15), 1);
        QVERIFY2(waitUntil([&] { return !isViewable(window); }, kProgramStepTimeoutMs),
                 "the close button did not hide the window");
        QVERIFY(m_program->state() == QProcess::Running);

        clickAt(trayIconPoint(), 1);
        QVERIFY2(waitUntil([&] { return isViewable(window); }, kProgramStepTimeoutMs),
                 "the tray icon did not bring the window back");
    }

    void rightClickThenExitEndsTheProgram()
    {
        startProgram();
        const QStringList before = visibleWindowsOfClass(u"qiravon"_s);
        clickAt(trayIconPoint(), 3);
        QString menu;
        QVERIFY2(waitUntil(
                     [&] {
                         for (const QString& w : visibleWindowsOfClass(u"qiravon"_s)) {
                             if (!before.contains(w))
                                 menu = w;
                         }
                         return !menu.isEmpty();
                     },
                     kProgramStepTimeoutMs),
                 "the right button opened no menu");
        // "退出" is the menu's last item, at its bottom.
        const QRect area = windowGeometry(menu);
        clickAt(QPoint(area.center().x(), area.bottom() - 8), 1);
        QVERIFY2(m_program->waitForFinished(kProgramStepTimeoutMs), "the program did not end");
        QCOMPARE(m_program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_program->exitCode(), 0);
    }

    void aCloseFromTheWindowManagerHidesIntoTheTray()
    {
        startProgram();
        const QString window = mainWindow();
        requestClose(window, CloseRequest::AltF4);
        QVERIFY2(waitUntil([&] { return !isViewable(window); }, kProgramStepTimeoutMs),
                 "Alt+F4 did not hide the window");
        QVERIFY(m_program->state() == QProcess::Running);
        clickAt(trayIconPoint(), 1);
        QVERIFY2(waitUntil([&] { return isViewable(window); }, kProgramStepTimeoutMs),
                 "the tray icon did not bring the window back");
    }

    // The desktops without a notification area; these run last, as they end the tray host.
    void withoutATrayACloseFromTheWindowManagerMinimises_data()
    {
        QTest::addColumn<CloseRequest>("how");
        QTest::newRow("Alt+F4") << CloseRequest::AltF4;
        QTest::newRow("task bar's Close") << CloseRequest::TaskBarClose;
    }

    void withoutATrayACloseFromTheWindowManagerMinimises()
    {
        QFETCH(CloseRequest, how);
        if (!m_windowManager)
            QSKIP("needs openbox");
        stopTrayHost();
        startProgram(false);
        const QString window = mainWindow();
        QVERIFY(!window.isEmpty());
        requestClose(window, how);
        QVERIFY2(waitUntil([&] { return wmState(window) == u"Iconic"_s; }, kProgramStepTimeoutMs),
                 qPrintable(u"the window did not go to the task bar but is \"%1\""_s.arg(
                     wmState(window))));
        QVERIFY(m_program->state() == QProcess::Running);
        // What a task bar does on a click: the window comes back.
        xdotool({u"windowactivate"_s, window});
        QVERIFY2(waitUntil([&] { return isViewable(window); }, kProgramStepTimeoutMs),
                 "the minimised window did not come back");
    }

private:
    void stopTrayHost()
    {
        if (m_trayHost && m_trayHost->state() != QProcess::NotRunning) {
            m_trayHost->kill();
            m_trayHost->waitForFinished(5000);
        }
    }

    void startProgram(bool withTray = true)
    {
        m_program = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QIRAVON_XVFB"_s, u"1"_s);
        // With a session bus, Qt would offer the icon to a StatusNotifier host that this
        // display does not have; trayer is an XEmbed host. A runtime folder of its own keeps
        // the program from finding the user's bus there, or a player already running.
        env.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, m_runtime.path());
        env.remove(u"QT_QPA_PLATFORM"_s);
        m_program->setProcessEnvironment(env);
        m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program->start(QStringLiteral(QIRAVON_EXE), {});
        QVERIFY(m_program->waitForStarted());
        // The window is created once more when the browser first needs a GL surface; wait
        // until the same one has stood for a while.
        QString last;
        int steady = 0;
        QVERIFY2(waitUntil(
                     [&] {
                         const QString now = mainWindow();
                         steady = !now.isEmpty() && now == last ? steady + 1 : 0;
                         last = now;
                         return steady >= 15;
                     },
                     kProgramStartTimeoutMs),
                 "the main window did not appear");
        if (withTray) {
            QVERIFY2(waitUntil([this] { return windowGeometry(trayHostWindow()).width() >= 16; },
                               kProgramStepTimeoutMs),
                     "no icon came into the tray");
        }
        QTest::qWait(500);
    }

    // The main window is the one named like the program with the skin's width.
    static QString mainWindow()
    {
        const QStringList found =
            xdotool({u"search"_s, u"--onlyvisible"_s, u"--name"_s, u"^Qiravon$"_s})
                .split(u'\n', Qt::SkipEmptyParts);
        for (const QString& w : found) {
            if (windowGeometry(w).width() == 742)
                return w;
        }
        return {};
    }

    static QString trayHostWindow()
    {
        return xdotool({u"search"_s, u"--onlyvisible"_s, u"--class"_s, u"trayer"_s})
            .section(u'\n', 0, 0);
    }

    static QPoint trayIconPoint()
    {
        // The program's icon is the only one in the panel, which is sized to its icons.
        return windowGeometry(trayHostWindow()).center();
    }

    QTemporaryDir m_runtime;
    std::unique_ptr<QProcess> m_windowManager;
    std::unique_ptr<QProcess> m_trayHost;
    std::unique_ptr<QProcess> m_program;
};

QTEST_GUILESS_MAIN(TrayXvfbTest)
#include "tst_tray_xvfb.moc"
