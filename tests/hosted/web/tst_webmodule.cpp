// The web engine as the program gets it: a module loaded on first need into a process that
// does not link Qt WebEngine. Nothing of the engine is mapped until a page is shown, the start
// page's title is there before that, and showing the page keeps the window's native window.

#include "hosted/web/lazybrowser.h"
#include "hosted/web/webengineenv.h"
#include "hosted/web/webmodule.h"
#include "hosted/web/webmoduleloader.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;

namespace {

// A first start of Chromium on a loaded machine takes seconds.
constexpr int kLoadTimeoutMs = 30000;

bool webEngineMapped()
{
    QFile maps(u"/proc/self/maps"_s);
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngine");
}

QStringList texts(const QSignalSpy& spy)
{
    QStringList result;
    for (const QList<QVariant>& args : spy)
        result.append(args.at(0).toString());
    return result;
}

LazyBrowser::ViewFactory viewsOf(WebModuleLoader& loader)
{
    return [&loader](QWidget* parent, IWebViewEvents& events,
                     QString* error) -> std::unique_ptr<IWebView> {
        if (IWebEngineModule* module = loader.module(error))
            return module->createView(parent, events);
        return nullptr;
    };
}

} // namespace

class TestWebModule : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aMissingModuleIsReportedOnce();
    void aFileThatIsNoModuleIsRefused();
    void theEngineComesWithTheFirstShownPage();
};

void TestWebModule::aMissingModuleIsReportedOnce()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WebModuleLoader loader({dir.path(), dir.filePath(u"other"_s)},
                           QStringLiteral(QIRAVON_WEB_MODULE_FILE));
    QString error;
    QVERIFY(!loader.module(&error));
    QVERIFY(error.contains(QStringLiteral(QIRAVON_WEB_MODULE_FILE)));
    QVERIFY(error.contains(dir.path()));
    QString again;
    QVERIFY(!loader.module(&again));
    QCOMPARE(again, error);
}

void TestWebModule::aFileThatIsNoModuleIsRefused()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile fake(dir.filePath(QStringLiteral(QIRAVON_WEB_MODULE_FILE)));
    QVERIFY(fake.open(QIODevice::WriteOnly));
    fake.write("not a library");
    fake.close();
    WebModuleLoader loader({dir.path()}, QStringLiteral(QIRAVON_WEB_MODULE_FILE));
    QString error;
    QVERIFY(!loader.module(&error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!webEngineMapped());
}

void TestWebModule::theEngineComesWithTheFirstShownPage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString page = dir.filePath(u"index.htm"_s);
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(u"<!DOCTYPE html><meta charset=utf-8><title>Qiravon 网络收音机</title>"
               u"<body style='background:#f0f8fc'>欢迎"
               u"<script>window.status = '正在连接 <b>电台</b>';</script>"_s.toUtf8());
    file.close();

    WebModuleLoader loader({QStringLiteral(QIRAVON_WEB_MODULE_BUILD_DIR)},
                           QStringLiteral(QIRAVON_WEB_MODULE_FILE));
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(742, 439);
    auto* browser = new LazyBrowser(&window, viewsOf(loader));
    browser->widget()->setGeometry(10, 112, 721, 297);
    browser->setVisible(false);
    QSignalSpy titles(browser, &IBrowser::TitleChange);
    QSignalSpy status(browser, &IBrowser::StatusTextChange);
    browser->Navigate(page);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // At rest: the title is known, and the engine is not in the process.
    QTRY_COMPARE(texts(titles), QStringList{u"Qiravon 网络收音机"_s});
    QVERIFY(!browser->started());
    QVERIFY(!webEngineMapped());
    const WId id = window.winId();
    const QWindow* handle = window.windowHandle();

    browser->setVisible(true);
    QVERIFY(!browser->failed());
    QVERIFY(webEngineMapped());
    // The engine reports the same title once it has loaded the page.
    QTRY_VERIFY_WITH_TIMEOUT(
        titles.size() >= 2 && texts(titles).constLast() == u"Qiravon 网络收音机"_s, kLoadTimeoutMs);
    // The page's status text crosses from the module too, as the page wrote it.
    QTRY_COMPARE(texts(status), QStringList{u"正在连接 <b>电台</b>"_s});
    // Qt re-creates a top-level whose surface type a new child needs changed; the page must
    // not cause that.
    QTest::qWait(300);
    QCOMPARE(window.windowHandle(), handle);
    QCOMPARE(window.winId(), id);
    QCOMPARE(window.windowHandle()->surfaceType(), QSurface::RasterSurface);
}

int main(int argc, char* argv[])
{
    prepareWebEngineEnvironment();
    QApplication app(argc, argv);
    TestWebModule test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webmodule.moc"
