// The WebEngine browser on a real engine: pages load from local files, their titles and status
// texts come out as the window's captions expect them, and the deferred engine start loses
// nothing that was asked of it before.

#include "hosted/web/webenginebrowser.h"
#include "hosted/web/webengineenv.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;
using qiravon::WebEngineBrowser;

namespace {

// A first start of Chromium on a loaded CI machine takes seconds; a broken one never ends.
constexpr int kLoadTimeoutMs = 30000;

QStringList g_log;

void captureLog(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_log.append(message);
}

QStringList texts(const QSignalSpy& spy)
{
    QStringList result;
    for (const QList<QVariant>& args : spy)
        result.append(args.at(0).toString());
    return result;
}

} // namespace

class TestWebEngineBrowser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void reportsTheTitleOnlyOnceAPageHasOne();
    void reportsWindowStatusWritesAsPlainText();
    void reportsHoveredLinksAndLeavingThem();
    void navigateBeforeTheEngineIsReplayed();
    void showingStartsTheEngineAtOnce();
    void hidingAndShowingKeepsThePage();

private:
    //! Writes `name` into the test folder (a folder name with a space, '#' and Chinese, as an
    //! install folder may have) and returns its path.
    QString writePage(const QString& name, const QString& html);
    QWebEngineView* view() const;
    QVariant evaluate(const QString& script);

    QTemporaryDir m_dir;
    QString m_pages;
    std::unique_ptr<QWidget> m_window;
    WebEngineBrowser* m_browser = nullptr;
};

void TestWebEngineBrowser::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_pages = m_dir.path() + u"/收音 #站"_s;
    QVERIFY(QDir().mkpath(m_pages));

    // Fail once, clearly, when the engine cannot start here, instead of timing out in every test.
    QWebEnginePage probe;
    QSignalSpy loaded(&probe, &QWebEnginePage::loadFinished);
    probe.setHtml(u"<title>probe</title>"_s);
    if (!loaded.wait(kLoadTimeoutMs) || !loaded.at(0).at(0).toBool())
        QFAIL("Qt WebEngine did not load a page; see the Chromium messages above");
}

void TestWebEngineBrowser::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 300);
    m_browser = new WebEngineBrowser(m_window.get());
    m_browser->widget()->setGeometry(0, 0, 400, 300);
    m_browser->setVisible(false);
}

void TestWebEngineBrowser::cleanup()
{
    m_window.reset();
    m_browser = nullptr;
}

QString TestWebEngineBrowser::writePage(const QString& name, const QString& html)
{
    const QString path = m_pages + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(html.toUtf8());
    return path;
}

QWebEngineView* TestWebEngineBrowser::view() const
{
    return m_browser->widget()->findChild<QWebEngineView*>();
}

QVariant TestWebEngineBrowser::evaluate(const QString& script)
{
    QVariant result;
    bool done = false;
    view()->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, kLoadTimeoutMs))
        qWarning("script did not finish: %s", qPrintable(script));
    return result;
}

void TestWebEngineBrowser::reportsTheTitleOnlyOnceAPageHasOne()
{
    QSignalSpy titles(m_browser, &qiravon::IBrowser::TitleChange);
    m_browser->createEngine();
    QVERIFY(m_browser->hasEngine());
    // The engine's blank state has no title; the caller must not see a placeholder for it.
    QTest::qWait(300);
    QCOMPARE(titles.size(), 0);

    const QString title = u"Qiravon 网络收音机 <b>首页</b>"_s;
    m_browser->Navigate(writePage(u"index.htm"_s,
                                  u"<!DOCTYPE html><meta charset=utf-8><title>Qiravon 网络收音机 "
                                  u"&lt;b&gt;首页&lt;/b&gt;</title><p>欢迎"_s));
    QTRY_VERIFY_WITH_TIMEOUT(texts(titles).contains(title), kLoadTimeoutMs);
    QCOMPARE(texts(titles).constLast(), title);
}

void TestWebEngineBrowser::reportsWindowStatusWritesAsPlainText()
{
    QSignalSpy status(m_browser, &qiravon::IBrowser::StatusTextChange);
    QSignalSpy titles(m_browser, &qiravon::IBrowser::TitleChange);
    m_browser->createEngine();
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    g_log.clear();
    // The page replaces console functions before writing, as some pages silence their logs;
    // the bare global assignment is how old pages scroll their status texts.
    m_browser->Navigate(writePage(u"status.htm"_s, uR"(<!DOCTYPE html><meta charset=utf-8>
<script>
console.error("ordinary page message");
console.debug = console.log = function () {};
window.status = "正在连接 <b>电台</b> & 缓冲";
status = "";
status = "第二条";
document.title = "read back: " + window.status;
</script>)"_s));
    QTRY_VERIFY_WITH_TIMEOUT(texts(titles).contains(u"read back: 第二条"_s), kLoadTimeoutMs);
    qInstallMessageHandler(previous);

    QCOMPARE(texts(status),
             QStringList({u"正在连接 <b>电台</b> & 缓冲"_s, QString(), u"第二条"_s}));
    // The forwarding stays out of the log; the page's own messages do not.
    QVERIFY(g_log.filter(u"qiravon-status"_s).isEmpty());
    QVERIFY(g_log.filter(u"第二条"_s).isEmpty());
    QVERIFY(!g_log.filter(u"ordinary page message"_s).isEmpty());
}

void TestWebEngineBrowser::reportsHoveredLinksAndLeavingThem()
{
    QSignalSpy status(m_browser, &qiravon::IBrowser::StatusTextChange);
    QSignalSpy titles(m_browser, &qiravon::IBrowser::TitleChange);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_browser->setVisible(true);
    m_browser->Navigate(writePage(u"links.htm"_s, uR"(<!DOCTYPE html><title>links</title>
<style>body{margin:0} a{display:block;height:150px;background:#cde}</style>
<a href="http://radio.example.org/live?ch=1">live</a><div style="height:150px"></div>)"_s));
    QTRY_VERIFY_WITH_TIMEOUT(texts(titles).contains(u"links"_s), kLoadTimeoutMs);

    // Chromium takes mouse events on the widget that draws the page, not on the view.
    QWidget* target = view()->focusProxy() ? view()->focusProxy() : view();
    const QString address = u"http://radio.example.org/live?ch=1"_s;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            QTest::mouseMove(target, QPoint(200, 75));
            return texts(status).contains(address);
        }(),
        kLoadTimeoutMs);
    status.clear();
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            QTest::mouseMove(target, QPoint(200, 240));
            return texts(status).contains(QString());
        }(),
        kLoadTimeoutMs);
}

void TestWebEngineBrowser::navigateBeforeTheEngineIsReplayed()
{
    QSignalSpy titles(m_browser, &qiravon::IBrowser::TitleChange);
    m_browser->Navigate(writePage(u"first.htm"_s, u"<title>first</title>"_s));
    m_browser->Navigate(writePage(u"second.htm"_s, u"<title>second</title>"_s));
    QVERIFY(!m_browser->hasEngine());
    QVERIFY(view() == nullptr);

    m_browser->createEngine();
    QTRY_VERIFY_WITH_TIMEOUT(texts(titles).contains(u"second"_s), kLoadTimeoutMs);
    // Only the last address asked for is loaded, as a second Navigate replaces a first.
    QVERIFY(!texts(titles).contains(u"first"_s));
    QVERIFY(!m_browser->isVisible());
}

void TestWebEngineBrowser::showingStartsTheEngineAtOnce()
{
    m_browser->Navigate(writePage(u"shown.htm"_s, u"<title>shown</title>"_s));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(!m_browser->hasEngine());

    m_browser->setVisible(true);
    QVERIFY(m_browser->hasEngine());
    QVERIFY(m_browser->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(view()->title(), u"shown"_s, kLoadTimeoutMs);

    // A holder that shows the widget itself, as a window showing all its children does.
    WebEngineBrowser other(m_window.get());
    QVERIFY(!other.hasEngine());
    other.widget()->show();
    QVERIFY(other.hasEngine());
}

void TestWebEngineBrowser::hidingAndShowingKeepsThePage()
{
    QSignalSpy titles(m_browser, &qiravon::IBrowser::TitleChange);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_browser->Navigate(writePage(u"keep.htm"_s, u"<title>keep</title><p>page"_s));
    m_browser->setVisible(true);
    QTRY_VERIFY_WITH_TIMEOUT(texts(titles).contains(u"keep"_s), kLoadTimeoutMs);
    QCOMPARE(evaluate(u"window.marker = 42"_s).toInt(), 42);
    QSignalSpy loads(view()->page(), &QWebEnginePage::loadStarted);

    m_browser->setVisible(false);
    QVERIFY(!m_browser->isVisible());
    QVERIFY(!m_browser->widget()->isVisible());
    QTest::qWait(100);
    m_browser->setVisible(true);
    QVERIFY(m_browser->isVisible());
    QVERIFY(m_browser->widget()->isVisible());

    // The same document, not a reload of it.
    QCOMPARE(evaluate(u"window.marker"_s).toInt(), 42);
    QCOMPARE(loads.size(), 0);
}

int main(int argc, char* argv[])
{
    qiravon::prepareWebEngineEnvironment();
    QApplication app(argc, argv);
    TestWebEngineBrowser test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webenginebrowser.moc"
