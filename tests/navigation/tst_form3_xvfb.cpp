// The web radio window under a real window manager, which frames it: the outer size, frame
// included, is held by the window's constraints, fitted once the frame is known.

#include "navigation/navfixture.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

const QSize kOuterSize(284, 478); // 4260 x 7170 twips

bool windowManagerRuns()
{
    QProcess xprop;
    xprop.start(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s});
    return xprop.waitForFinished(5000) && xprop.readAllStandardOutput().contains("window id");
}

// Counts the resizes a window receives.
struct ResizeCounter : QObject
{
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Resize;
        return false;
    }
};

} // namespace

class Form3XvfbTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != u"xcb"_s)
            QSKIP("needs an X server");
        for (const char* tool : {"openbox", "xprop"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(u"%1 is not installed"_s.arg(QString::fromLatin1(tool))));
        }
        m_windowManager.start(u"openbox"_s, {});
        QVERIFY(m_windowManager.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(windowManagerRuns(), 15000);
    }

    void cleanupTestCase()
    {
        if (m_windowManager.state() != QProcess::NotRunning) {
            m_windowManager.kill();
            m_windowManager.waitForFinished(5000);
        }
    }

    void theFramedWindowHoldsItsOuterSize()
    {
        NavFixture f;
        QVERIFY(f.load());
        Q_EMIT f.links.regions[regions::kPlayerInOwnWindow]->Click();
        Form3* form3 = f.nav->form3();
        QVERIFY(QTest::qWaitForWindowExposed(form3));
        ResizeCounter resizes;
        form3->installEventFilter(&resizes);
        QTRY_COMPARE_WITH_TIMEOUT(form3->frameGeometry().size(), kOuterSize, 15000);
        QVERIFY2(form3->frameGeometry().size() != form3->size(),
                 "the window manager drew no frame");
        QCOMPARE(form3->minimumSize(), form3->size());
        QCOMPARE(form3->maximumSize(), form3->size());

        // Settled: moving the window asks for nothing more.
        const int settled = resizes.count;
        const QPoint moved = form3->pos() + QPoint(30, 20);
        form3->move(moved);
        QTRY_COMPARE(form3->pos(), moved);
        QTest::qWait(300);
        QCOMPARE(resizes.count, settled);
        QCOMPARE(form3->frameGeometry().size(), kOuterSize);
    }

private:
    QProcess m_windowManager;
};

QTEST_MAIN(Form3XvfbTest)
#include "tst_form3_xvfb.moc"
