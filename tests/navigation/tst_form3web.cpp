// The web radio window over the browser the program gives it, the lazy one over the web engine
// module: a local page loads in it while it holds its outer size and keeps its native window,
// and a page that asks to stay when it is left does not keep the window open.

#include "hosted/ibrowser.h"
#include "hosted/web/lazybrowser.h"
#include "hosted/web/webengineenv.h"
#include "hosted/web/webmodule.h"
#include "hosted/web/webmoduleloader.h"
#include "navigation/navfixture.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

// A first start of Chromium on a loaded machine takes seconds.
constexpr int kLoadTimeoutMs = 30000;

class WebOnlyHosted final : public HostedFactory
{
public:
    IBrowser* createBrowser(QWidget* parent) override
    {
        return new LazyBrowser(parent,
                               [this](QWidget* place, IWebViewEvents& events,
                                      QString* error) -> std::unique_ptr<IWebView> {
                                   if (IWebEngineModule* module = m_loader.module(error))
                                       return module->createView(place, events);
                                   return nullptr;
                               });
    }
    IMediaPlayer* createMediaPlayer(QObject*) override { return nullptr; }
    ITray* createTray(QObject*) override { return nullptr; }

private:
    WebModuleLoader m_loader{{QStringLiteral(QIRAVON_WEB_MODULE_BUILD_DIR)},
                             QStringLiteral(QIRAVON_WEB_MODULE_FILE)};
};

} // namespace

class Form3WebTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aLocalPlayerPageLoadsInTheWindow()
    {
        NavFixture f;
        QVERIFY(f.load());
        const QString page = f.path(u"radio.htm"_s);
        QVERIFY(
            writeFile(page, u"<html><head><title>本地电台</title></head>"
                            u"<body style='background:#9fd7ef'>播放器</body></html>"_s.toUtf8()));

        CategoryActions actions(f.controls(), *f.tables, m_web, f.reporter, nullptr,
                                {weblinks::kRegionalPlayerMain, page});
        actions.regionClicked(regions::kPlayerInOwnWindow);
        Form3* form3 = actions.form3();
        QVERIFY(form3);
        QSignalSpy titles(form3->web, &IBrowser::TitleChange);
        QVERIFY(QTest::qWaitForWindowExposed(form3));
        const WId id = form3->winId();
        QTRY_VERIFY_WITH_TIMEOUT(titles.contains(QVariantList{u"本地电台"_s}), kLoadTimeoutMs);
        // The page came into a window that was already shown; it must not have been re-created.
        QCOMPARE(form3->winId(), id);
        QCOMPARE(form3->windowHandle()->surfaceType(), QSurface::RasterSurface);
        QTRY_COMPARE(form3->frameGeometry().size(), QSize(284, 478));
        QCOMPARE(form3->web->widget()->geometry(), QRect(0, 0, 273, 441));
        if (const QString shots = qEnvironmentVariable("QIRAVON_SHOT_DIR"); !shots.isEmpty())
            form3->grab().save(shots + u"/form3.png"_s);
        form3->close();
    }

    void aPageThatAsksToStayDoesNotKeepTheWindowOpen()
    {
        NavFixture f;
        QVERIFY(f.load());
        const QString page = f.path(u"stay.htm"_s);
        // beforeunload asks the user only once the page has had a gesture; the click gives it
        // one and says so in the title.
        QVERIFY(writeFile(page, uR"(<!DOCTYPE html><title>ready</title>
<style>html,body{margin:0;height:100%;background:#9fd7ef}</style>
<script>
addEventListener("beforeunload", function (e) { e.preventDefault(); e.returnValue = "stay"; });
addEventListener("click", function () { document.title = "clicked"; });
</script>)"_s.toUtf8()));

        CategoryActions actions(f.controls(), *f.tables, m_web, f.reporter, nullptr,
                                {weblinks::kRegionalPlayerMain, page});
        actions.regionClicked(regions::kPlayerInOwnWindow);
        QPointer<Form3> form3 = actions.form3();
        QVERIFY(form3);
        QSignalSpy titles(form3->web, &IBrowser::TitleChange);
        QVERIFY(QTest::qWaitForWindowExposed(form3));
        QTRY_VERIFY_WITH_TIMEOUT(titles.contains(QVariantList{u"ready"_s}), kLoadTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                QTest::mouseClick(form3->windowHandle(), Qt::LeftButton, {}, QPoint(130, 200));
                return titles.contains(QVariantList{u"clicked"_s});
            }(),
            kLoadTimeoutMs);

        form3->close();
        QTRY_VERIFY(form3.isNull());
        QVERIFY(!QApplication::activeModalWidget());
    }

private:
    WebOnlyHosted m_web;
};

int main(int argc, char* argv[])
{
    prepareWebEngineEnvironment();
    QApplication app(argc, argv);
    Form3WebTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form3web.moc"
