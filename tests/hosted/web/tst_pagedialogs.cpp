// Script dialogs of pages on a real engine: none of them holds up the window the page is in,
// a page that loops on alert() gets one plain-text window at a time and a few in all, and a
// page that asks to stay when it is left is left all the same.

#include "hosted/web/pagedialogs.h"
#include "hosted/web/webenginebrowser.h"
#include "hosted/web/webengineenv.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QWindow>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;
using qiravon::PageDialogs;
using qiravon::WebEngineBrowser;

namespace {

// A first start of Chromium on a loaded CI machine takes seconds.
constexpr int kLoadTimeoutMs = 30000;

QStringList g_log;
QtMessageHandler g_previous = nullptr;

void keepLog(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    g_log.append(message);
    g_previous(type, context, message);
}

QStringList texts(const QSignalSpy& spy)
{
    QStringList result;
    for (const QList<QVariant>& args : spy)
        result.append(args.at(0).toString());
    return result;
}

QList<QMessageBox*> pageMessages()
{
    QList<QMessageBox*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box && box->objectName() == u"pageMessage"_s && box->isVisible())
            shown.append(box);
    }
    return shown;
}

} // namespace

class TestPageDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void aLoopingAlertLeavesTheWindowUsable();
    void aDocumentShowsOnlyItsShareOfAlerts();
    void confirmAndPromptAreDeclinedUnseen();
    void leavingAPageThatAsksToStayIsNotHeldUp();

private:
    QString writePage(const QString& name, const QString& html);
    QWebEngineView* view() const { return m_browser->widget()->findChild<QWebEngineView*>(); }
    void loadAndWait(const QString& path, const QString& title);
    void clickIntoThePage();

    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_window;
    QPushButton* m_button = nullptr;
    WebEngineBrowser* m_browser = nullptr;
    std::unique_ptr<QSignalSpy> m_titles;
};

void TestPageDialogs::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QLoggingCategory::setFilterRules(u"qiravon.web.debug=true"_s);
    g_previous = qInstallMessageHandler(keepLog);
}

void TestPageDialogs::init()
{
    g_log.clear();
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 340);
    m_browser = new WebEngineBrowser(m_window.get());
    m_browser->widget()->setGeometry(0, 0, 400, 300);
    m_button = new QPushButton(u"other"_s, m_window.get());
    m_button->setGeometry(0, 300, 400, 40);
    m_titles = std::make_unique<QSignalSpy>(m_browser, &qiravon::IBrowser::TitleChange);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_browser->setVisible(true);
}

void TestPageDialogs::cleanup()
{
    m_titles.reset();
    m_window.reset();
    m_browser = nullptr;
    // The alert windows belong to the window the page was in.
    QVERIFY(pageMessages().isEmpty());
}

QString TestPageDialogs::writePage(const QString& name, const QString& html)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(html.toUtf8());
    return path;
}

void TestPageDialogs::loadAndWait(const QString& path, const QString& title)
{
    m_browser->Navigate(path);
    QTRY_VERIFY_WITH_TIMEOUT(texts(*m_titles).contains(title), kLoadTimeoutMs);
}

// Through the window system, as a user's click comes: the engine counts it as a gesture.
void TestPageDialogs::clickIntoThePage()
{
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, QPoint(200, 150));
            return texts(*m_titles).contains(u"clicked"_s);
        }(),
        kLoadTimeoutMs);
}

void TestPageDialogs::aLoopingAlertLeavesTheWindowUsable()
{
    // Each alert() waits for its answer; with a dialog that waits for the user the title
    // would never be reached.
    loadAndWait(writePage(u"loop.htm"_s, uR"(<!DOCTYPE html><meta charset=utf-8>
<script>
for (var i = 0; i < 300; ++i) alert("第" + i + "次 <b>注意</b>\n&amp;");
document.title = "done";
</script>)"_s),
                u"done"_s);

    const QList<QMessageBox*> shown = pageMessages();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0]->text(), u"第0次 <b>注意</b>\n&amp;"_s);
    QCOMPARE(shown[0]->textFormat(), Qt::PlainText);
    QCOMPARE(shown[0]->windowModality(), Qt::NonModal);
    QVERIFY(!QApplication::activeModalWidget());

    // Input reaches the window while the alert is up.
    QSignalSpy clicked(m_button, &QPushButton::clicked);
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, QPoint(200, 320));
    QCOMPARE(clicked.size(), 1);
}

void TestPageDialogs::aDocumentShowsOnlyItsShareOfAlerts()
{
    loadAndWait(writePage(u"share.htm"_s, u"<title>share</title>"_s), u"share"_s);
    const auto alertOnce = [&](const QString& text) {
        bool done = false;
        view()->page()->runJavaScript(u"alert('%1')"_s.arg(text),
                                      [&](const QVariant&) { done = true; });
        return QTest::qWaitFor([&] { return done; }, kLoadTimeoutMs);
    };

    // Out of sight, as in a window hidden in the tray: nothing shows, and nothing is used up.
    m_browser->setVisible(false);
    QVERIFY(alertOnce(u"hidden"_s));
    QVERIFY(pageMessages().isEmpty());
    m_browser->setVisible(true);

    for (int i = 0; i < PageDialogs::kShownPerDocument; ++i) {
        QVERIFY(alertOnce(QString::number(i)));
        QCOMPARE(pageMessages().size(), 1);
        QCOMPARE(pageMessages()[0]->text(), QString::number(i));
        pageMessages()[0]->close();
        QTRY_VERIFY(pageMessages().isEmpty());
    }
    QVERIFY(alertOnce(u"one too many"_s));
    QVERIFY(pageMessages().isEmpty());

    // A new document has a share of its own.
    loadAndWait(writePage(u"next.htm"_s, u"<title>next</title>"_s), u"next"_s);
    QVERIFY(alertOnce(u"again"_s));
    QCOMPARE(pageMessages().size(), 1);
}

void TestPageDialogs::confirmAndPromptAreDeclinedUnseen()
{
    loadAndWait(writePage(u"ask.htm"_s, uR"(<!DOCTYPE html><script>
document.title = "answers " + confirm("delete?") + " " + prompt("name?", "x");
</script>)"_s),
                u"answers false null"_s);
    QVERIFY(pageMessages().isEmpty());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestPageDialogs::leavingAPageThatAsksToStayIsNotHeldUp()
{
    loadAndWait(writePage(u"stay.htm"_s, uR"(<!DOCTYPE html><title>stay</title>
<style>html,body{margin:0;height:100%;background:#9fd7ef}</style>
<script>
addEventListener("beforeunload", function (e) { e.preventDefault(); e.returnValue = "stay"; });
addEventListener("click", function () { document.title = "clicked"; });
</script>)"_s),
                u"stay"_s);
    clickIntoThePage();

    loadAndWait(writePage(u"next.htm"_s, u"<title>next</title>"_s), u"next"_s);
    // The engine did ask, and was told to go on.
    QVERIFY2(!g_log.filter(u"although its beforeunload asks to stay"_s).isEmpty(),
             qPrintable(g_log.join(u'\n')));
    QVERIFY(pageMessages().isEmpty());
}

int main(int argc, char* argv[])
{
    qiravon::prepareWebEngineEnvironment();
    QApplication app(argc, argv);
    TestPageDialogs test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pagedialogs.moc"
