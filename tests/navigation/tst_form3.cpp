// The web radio window: created on first use, held at its outer size, discarded on close.

#include "hosted/ibrowser.h"
#include "navigation/navfixture.h"
#include "navigation/weblinks.h"

#include <QWindow>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

const QSize kOuterSize(284, 478); // 4260 x 7170 twips

FakeBrowser* browserOf(const Form3* form3)
{
    return static_cast<FakeBrowser*>(form3->web);
}

} // namespace

class Form3Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondPlayerOpensItsOwnWindowAndBringsBackTheList()
    {
        NavFixture f;
        QVERIFY(f.load());
        const QStringList listed = f.names();
        Q_EMIT f.links.regions[regions::kPlayerInMainWindow]->Click(); // web view, poll stopped
        QVERIFY(!f.nav->form3());

        Q_EMIT f.links.regions[regions::kPlayerInOwnWindow]->Click();
        QPointer<Form3> form3 = f.nav->form3();
        QVERIFY(form3);
        QVERIFY(form3->isWindow());
        QVERIFY(!form3->parentWidget());
        QVERIFY(!form3->isModal());
        QVERIFY(form3->isVisible());
        QCOMPARE(form3->windowTitle(), u"贵州广播电台"_s);
        QCOMPARE(browserOf(form3)->navigated, QStringList{weblinks::kRegionalPlayerWindow});
        QCOMPARE(form3->web->widget()->geometry(), QRect(0, 0, 273, 441));
        QVERIFY(form3->web->isVisible());
        QTRY_COMPARE(form3->frameGeometry().size(), kOuterSize);

        // The main window is back in list view, polling, with its list as it was.
        QVERIFY(f.listShown());
        QVERIFY(!f.web->isVisible());
        QVERIFY(f.pollRunning());
        QCOMPARE(f.Label2->text(), u"电台列表"_s);
        QCOMPARE(f.names(), listed);

        // Used again while open: the same window loads the page again and shows itself.
        form3->showMinimized();
        Q_EMIT f.links.regions[regions::kPlayerInOwnWindow]->Click();
        QCOMPARE(f.nav->form3(), form3.data());
        QCOMPARE(browserOf(form3)->navigated.size(), 2);
        QVERIFY(form3->isVisible());
        QVERIFY(!(form3->windowState() & Qt::WindowMinimized));
        QTRY_COMPARE(form3->frameGeometry().size(), kOuterSize);
    }

    void aResizedWindowSpringsBack()
    {
        NavFixture f;
        QVERIFY(f.load());
        Q_EMIT f.links.regions[regions::kPlayerInOwnWindow]->Click();
        Form3* form3 = f.nav->form3();
        QTRY_COMPARE(form3->frameGeometry().size(), kOuterSize);
        form3->resize(400, 300);
        QTRY_COMPARE(form3->frameGeometry().size(), kOuterSize);
    }

    void theSizeIsHeldByConstraintsNotByResizing()
    {
        NavFixture f;
        QVERIFY(f.load());
        Q_EMIT f.links.regions[regions::kPlayerInOwnWindow]->Click();
        Form3* form3 = f.nav->form3();
        // Placed by the window system, the window learns its frame (the offscreen platform
        // draws one once it places a window) and fits its client to it, once.
        form3->move(60, 40);
        QTRY_COMPARE(form3->frameGeometry().size(), kOuterSize);
        // The window manager is told the one size the window takes.
        QCOMPARE(form3->minimumSize(), form3->size());
        QCOMPARE(form3->maximumSize(), form3->size());
        const QSize client = form3->size();

        // A tiling or size-constraining manager answers with a size of its own. Asking again
        // would start an endless exchange; the window takes what it got.
        form3->windowHandle()->resize(300, 500);
        QTRY_COMPARE(form3->size(), QSize(300, 500));
        QCoreApplication::processEvents();
        QCOMPARE(form3->size(), QSize(300, 500));
        QCOMPARE(form3->minimumSize(), client);
    }

    void closingDiscardsTheWindowAndTheNextUseCreatesAnother()
    {
        NavFixture f;
        QVERIFY(f.load());
        Q_EMIT f.links.regions[regions::kPlayerInOwnWindow]->Click();
        QPointer<Form3> first = f.nav->form3();
        QPointer<IBrowser> firstPage = first->web;
        QVERIFY(first->close());
        QTRY_VERIFY(!first);
        QVERIFY(!firstPage); // the page goes with its window
        QVERIFY(!f.nav->form3());

        Q_EMIT f.links.regions[regions::kPlayerInOwnWindow]->Click();
        Form3* second = f.nav->form3();
        QVERIFY(second);
        QVERIFY(second->isVisible());
        QCOMPARE(browserOf(second)->navigated, QStringList{weblinks::kRegionalPlayerWindow});
        QTRY_COMPARE(second->frameGeometry().size(), kOuterSize);
    }

    void shutdownClosesTheWindowOnlyIfItExists()
    {
        NavFixture f;
        QVERIFY(f.load());
        f.nav->closeForm3(); // never opened: nothing to do, nothing opened
        QVERIFY(!f.nav->form3());
        QCOMPARE(f.hosted.browsers.size(), 1);

        Q_EMIT f.links.regions[regions::kPlayerInOwnWindow]->Click();
        QPointer<Form3> form3 = f.nav->form3();
        f.nav->closeForm3();
        QTRY_VERIFY(!form3);
    }

    void anOpenWindowGoesWithTheActions()
    {
        NavFixture f;
        QVERIFY(f.load());
        Q_EMIT f.links.regions[regions::kPlayerInOwnWindow]->Click();
        QPointer<Form3> form3 = f.nav->form3();
        f.nav.reset();
        QVERIFY(!form3);
    }
};

QTEST_MAIN(Form3Test)
#include "tst_form3.moc"
