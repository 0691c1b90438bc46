// The web radio window over the real WebEngine browser: a local page loads in it while it
// holds its outer size.

#include "hosted/ibrowser.h"
#include "hosted/web/webenginebrowser.h"
#include "hosted/web/webengineenv.h"
#include "navigation/navfixture.h"

#include <QApplication>
#include <QSignalSpy>
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
    IBrowser* createBrowser(QWidget* parent) override { return new WebEngineBrowser(parent); }
    IMediaPlayer* createMediaPlayer(QObject*) override { return nullptr; }
    ITray* createTray(QObject*) override { return nullptr; }
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

        WebOnlyHosted web;
        CategoryActions actions(f.controls(), *f.tables, web, f.reporter, nullptr,
                                {weblinks::kRegionalPlayerMain, page});
        actions.regionClicked(regions::kPlayerInOwnWindow);
        Form3* form3 = actions.form3();
        QVERIFY(form3);
        QSignalSpy titles(form3->web, &IBrowser::TitleChange);
        QVERIFY(QTest::qWaitForWindowExposed(form3));
        QTRY_VERIFY_WITH_TIMEOUT(titles.contains(QVariantList{u"本地电台"_s}), kLoadTimeoutMs);
        QTRY_COMPARE(form3->frameGeometry().size(), QSize(284, 478));
        QCOMPARE(form3->web->widget()->geometry(), QRect(0, 0, 273, 441));
        if (const QString shots = qEnvironmentVariable("QIRAVON_SHOT_DIR"); !shots.isEmpty())
            form3->grab().save(shots + u"/form3.png"_s);
    }
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
