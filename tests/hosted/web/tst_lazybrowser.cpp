// The browser the windows get: it starts no engine until a page must be shown, keeps what it
// was asked meanwhile, reports a local start page's title itself, and shows a plain message
// when no engine can be had.

#include "hosted/web/lazybrowser.h"

#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;
using qiravon::IWebView;
using qiravon::IWebViewEvents;
using qiravon::LazyBrowser;

namespace {

struct FakeEngine
{
    struct View final : IWebView
    {
        View(FakeEngine& owner, QWidget* parent, IWebViewEvents& sink)
            : engine(owner), page(new QWidget(parent)), events(sink)
        {
        }
        ~View() override { engine.view = nullptr; }
        QWidget* widget() override { return page; }
        void navigate(const QString& address) override { engine.navigated.append(address); }

        FakeEngine& engine;
        QWidget* page;
        IWebViewEvents& events;
    };

    LazyBrowser::ViewFactory factory()
    {
        return [this](QWidget* parent, IWebViewEvents& events,
                      QString* error) -> std::unique_ptr<IWebView> {
            ++created;
            if (!available) {
                *error = u"libQt6WebEngineCore.so.6: cannot open shared object file"_s;
                return nullptr;
            }
            auto made = std::make_unique<View>(*this, parent, events);
            view = made.get();
            return made;
        };
    }

    bool available = true;
    int created = 0;
    View* view = nullptr;
    QStringList navigated;
};

QStringList texts(const QSignalSpy& spy)
{
    QStringList result;
    for (const QList<QVariant>& args : spy)
        result.append(args.at(0).toString());
    return result;
}

} // namespace

class TestLazyBrowser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void nothingStartsWhileHidden();
    void showingStartsTheEngineWithTheLastAddress();
    void aHolderShowingTheWidgetStartsTheEngine();
    void theLocalStartPageTitleComesBeforeTheEngine();
    void onlyTheLatestLocalPageTitleIsReported();
    void noTitleIsMadeUpForOtherAddresses();
    void theEngineReportsOnceItRuns();
    void noEngineShowsAPlainMessage();

private:
    QString writePage(const QString& name, const QByteArray& html);

    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<FakeEngine> m_engine;
    LazyBrowser* m_browser = nullptr;
};

void TestLazyBrowser::init()
{
    QVERIFY(m_dir.isValid());
    m_engine = std::make_unique<FakeEngine>();
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 300);
    m_browser = new LazyBrowser(m_window.get(), m_engine->factory());
    m_browser->widget()->setGeometry(0, 0, 400, 300);
    m_browser->setVisible(false);
}

void TestLazyBrowser::cleanup()
{
    m_window.reset();
    m_browser = nullptr;
    QVERIFY(!m_engine->view); // the view went with its window
}

QString TestLazyBrowser::writePage(const QString& name, const QByteArray& html)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(html);
    return path;
}

void TestLazyBrowser::nothingStartsWhileHidden()
{
    m_browser->Navigate(u"http://radio.example.org/"_s);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTest::qWait(50);
    QCOMPARE(m_engine->created, 0);
    QVERIFY(!m_browser->started());
    QVERIFY(!m_browser->isVisible());
}

void TestLazyBrowser::showingStartsTheEngineWithTheLastAddress()
{
    m_browser->Navigate(u"http://radio.example.org/first"_s);
    m_browser->Navigate(u"http://radio.example.org/second"_s);
    m_window->show();
    m_browser->setVisible(true);

    QCOMPARE(m_engine->created, 1);
    QVERIFY(m_browser->isVisible());
    QVERIFY(m_engine->view->page->isVisible());
    QCOMPARE(m_engine->view->page->parentWidget(), m_browser->widget());
    QCOMPARE(m_engine->navigated, QStringList{u"http://radio.example.org/second"_s});

    // Once it runs, addresses go straight to it, and hiding keeps it.
    m_browser->Navigate(u"http://radio.example.org/third"_s);
    m_browser->setVisible(false);
    m_browser->setVisible(true);
    QCOMPARE(m_engine->created, 1);
    QCOMPARE(m_engine->navigated.constLast(), u"http://radio.example.org/third"_s);
}

void TestLazyBrowser::aHolderShowingTheWidgetStartsTheEngine()
{
    // A window that shows all its children, as a small window with only a browser does.
    LazyBrowser other(m_window.get(), m_engine->factory());
    other.Navigate(u"http://radio.example.org/player"_s);
    m_window->show();
    other.widget()->show();
    QVERIFY(other.started());
    QVERIFY(m_engine->view);
    QVERIFY(m_engine->view->page->isVisible());
    QCOMPARE(m_engine->navigated, QStringList{u"http://radio.example.org/player"_s});
}

void TestLazyBrowser::theLocalStartPageTitleComesBeforeTheEngine()
{
    QSignalSpy titles(m_browser, &qiravon::IBrowser::TitleChange);
    const QString page = writePage(
        u"index.htm"_s, u"<meta charset=utf-8><title>Qiravon 网络收音机</title>"_s.toUtf8());
    m_browser->Navigate(page);
    // Like the engine's report, it comes after Navigate has returned.
    QCOMPARE(titles.size(), 0);
    QTRY_COMPARE(texts(titles), QStringList{u"Qiravon 网络收音机"_s});
    QCOMPARE(m_engine->created, 0);

    // The engine then loads the very page it stood in for.
    m_browser->setVisible(true);
    QCOMPARE(m_engine->navigated, QStringList{page});
}

void TestLazyBrowser::onlyTheLatestLocalPageTitleIsReported()
{
    QSignalSpy titles(m_browser, &qiravon::IBrowser::TitleChange);
    m_browser->Navigate(writePage(u"one.htm"_s, "<title>one</title>"));
    m_browser->Navigate(writePage(u"two.htm"_s, "<title>two</title>"));
    QTRY_COMPARE(texts(titles), QStringList{u"two"_s});

    // A page asked for and then shown at once: the engine reports for it, not the file.
    m_browser->Navigate(writePage(u"three.htm"_s, "<title>three</title>"));
    m_browser->setVisible(true);
    QTest::qWait(20);
    QCOMPARE(texts(titles), QStringList{u"two"_s});
}

void TestLazyBrowser::noTitleIsMadeUpForOtherAddresses()
{
    QSignalSpy titles(m_browser, &qiravon::IBrowser::TitleChange);
    m_browser->Navigate(u"http://radio.example.org/index.htm"_s);
    m_browser->Navigate(m_dir.filePath(u"missing.htm"_s));
    m_browser->Navigate(writePage(u"untitled.htm"_s, "<p>no title"));
    QTest::qWait(20);
    QCOMPARE(titles.size(), 0);
}

void TestLazyBrowser::theEngineReportsOnceItRuns()
{
    QSignalSpy titles(m_browser, &qiravon::IBrowser::TitleChange);
    QSignalSpy status(m_browser, &qiravon::IBrowser::StatusTextChange);
    m_browser->setVisible(true);
    QVERIFY(m_engine->view);
    m_engine->view->events.titleChanged(u"电台"_s);
    m_engine->view->events.statusTextChanged(u"http://radio.example.org/live"_s);
    m_engine->view->events.statusTextChanged(QString());
    QCOMPARE(texts(titles), QStringList{u"电台"_s});
    QCOMPARE(texts(status), QStringList({u"http://radio.example.org/live"_s, QString()}));
}

void TestLazyBrowser::noEngineShowsAPlainMessage()
{
    m_engine->available = false;
    QSignalSpy titles(m_browser, &qiravon::IBrowser::TitleChange);
    m_browser->Navigate(u"http://radio.example.org/"_s);
    m_window->show();
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(u"web view is unavailable: .*cannot open"_s));
    m_browser->setVisible(true);

    QVERIFY(m_browser->failed());
    auto* message = m_browser->widget()->findChild<QLabel*>(u"webUnavailable"_s);
    QVERIFY(message);
    QVERIFY(message->isVisible());
    QCOMPARE(message->textFormat(), Qt::PlainText);
    QCOMPARE(message->text(), qiravon::webUnavailableText());

    // The program goes on: later calls neither retry nor fail.
    m_browser->Navigate(writePage(u"later.htm"_s, "<title>later</title>"));
    m_browser->setVisible(false);
    m_browser->setVisible(true);
    QTest::qWait(20);
    QCOMPARE(m_engine->created, 1);
    QCOMPARE(titles.size(), 0);
}

QTEST_MAIN(TestLazyBrowser)
#include "tst_lazybrowser.moc"
