// What each link of the bar puts into the list, which view it leaves in front, and whether
// the status poll runs afterwards; failures of catalogue files at run time.

#include "navigation/navfixture.h"
#include "navigation/weblinks.h"

#include <QTableView>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

enum class Action
{
    Featured,
    All,
    Net,
    Foreign,
    Fixed4,
    Fixed5,
    Region3,
    Region34
};

void run(NavFixture& form, Action action)
{
    switch (action) {
    case Action::Featured:
        Q_EMIT form.links.featured->Click();
        break;
    case Action::All:
        Q_EMIT form.links.allStations->Click();
        break;
    case Action::Net:
        Q_EMIT form.links.netStations->Click();
        break;
    case Action::Foreign:
        Q_EMIT form.links.foreignStations->Click();
        break;
    case Action::Fixed4:
        Q_EMIT form.links.rowOneStart->Click();
        break;
    case Action::Fixed5:
        Q_EMIT form.links.rowTwoStart->Click();
        break;
    case Action::Region3:
        Q_EMIT form.links.regions[3]->Click();
        break;
    case Action::Region34:
        Q_EMIT form.links.regions[34]->Click();
        break;
    }
}

// Master rows for a copy that lets events run several times. The copy's clock moves a
// millisecond each time it is read, so where the copy breathes depends on the rows alone,
// never on the machine's speed.
void fillMasterForALongCopy(NavFixture& form)
{
    for (int i = 0; i < 200; ++i)
        form.tables->addlist2(u"批量"_s, u"台%1"_s.arg(i), {}, {});
    form.tables->setCopyClock([now = qint64(0)]() mutable { return ++now; });
}

} // namespace

Q_DECLARE_METATYPE(Action)

class CategoryActionsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachActionFillsTheListAndSetsTheView_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<QStringList>("categories");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("listView"); // after starting from the web view with no poll

        const QString region3 = regionCaptions()[3];
        QTest::newRow("featured") << Action::Featured << QStringList{u"精品"_s, u"精品"_s}
                                  << QStringList{u"精选一"_s, u"精选二"_s} << false;
        QTest::newRow("all") << Action::All << QStringList{u"安徽"_s, u"安徽"_s,     u"吉林"_s,
                                                           region3,   u"外文电台"_s, u"外文电台"_s}
                             << QStringList{u"安徽之声"_s, u"安徽交通"_s, u"吉林音乐"_s,
                                            u"三台"_s,     u"BBC"_s,      u"NHK"_s}
                             << false;
        QTest::newRow("net") << Action::Net << QStringList{u"网络电台"_s} << QStringList{u"网台"_s}
                             << false;
        QTest::newRow("foreign") << Action::Foreign << QStringList{u"外文电台"_s, u"外文电台"_s}
                                 << QStringList{u"BBC"_s, u"NHK"_s} << false;
        QTest::newRow("fixed region 1") << Action::Fixed4 << QStringList{u"安徽"_s, u"安徽"_s}
                                        << QStringList{u"安徽之声"_s, u"安徽交通"_s} << true;
        QTest::newRow("fixed region 2")
            << Action::Fixed5 << QStringList{u"吉林"_s} << QStringList{u"吉林音乐"_s} << true;
        QTest::newRow("region link")
            << Action::Region3 << QStringList{region3} << QStringList{u"三台"_s} << true;
        QTest::newRow("region without stations")
            << Action::Region34 << QStringList{} << QStringList{} << true;
    }

    void eachActionFillsTheListAndSetsTheView()
    {
        QFETCH(Action, action);
        QFETCH(QStringList, categories);
        QFETCH(QStringList, names);
        QFETCH(bool, listView);
        NavFixture f;
        QVERIFY(f.load());
        NavFixture& form = f;
        Q_EMIT form.links.regions[regions::kPlayerInMainWindow]->Click(); // web view, poll stopped
        QVERIFY(!f.listShown());

        run(form, action);
        QCOMPARE(f.categories(), categories);
        QCOMPARE(f.names(), names);
        for (int row = 0; row < form.ListView1->ItemCount(); ++row)
            QCOMPARE(form.ListView1->ItemText(row, columnIndex(StationColumn::Number)),
                     QString::number(row + 1));
        QCOMPARE(f.listShown(), listView);
        QCOMPARE(f.web->isVisible(), !listView);
        QCOMPARE(f.pollRunning(), listView);
        QCOMPARE(form.Label2->text(), listView ? u"电台列表"_s : u"网络电台"_s);
        QVERIFY(f.reporter.reports.isEmpty());
    }

    void aRealClickOnALinkRunsItsAction()
    {
        NavFixture f;
        QVERIFY(f.load());
        NavFixture& form = f;
        QLabel* text = form.links.netStations->lbllink();
        QTest::mouseClick(text, Qt::LeftButton, {}, text->rect().center());
        QCOMPARE(f.categories(), QStringList{u"网络电台"_s});
    }

    void firstWebPlayerOpensInTheMainWindow()
    {
        NavFixture f;
        QVERIFY(f.load());
        NavFixture& form = f;
        const QStringList before = f.names();
        Q_EMIT form.links.regions[regions::kPlayerInMainWindow]->Click();
        QCOMPARE(f.web->navigated.last(), weblinks::kRegionalPlayerMain);
        QVERIFY(f.web->isVisible());
        QVERIFY(!f.listShown());
        QVERIFY(!f.pollRunning());
        QCOMPARE(form.Label2->text(), u"网络电台"_s);
        QCOMPARE(f.names(), before);
        QCOMPARE(QUrl(weblinks::kRegionalPlayerMain).fragment(), u"1"_s);
    }

    void toggleRoundTripKeepsThePoll_data()
    {
        QTest::addColumn<bool>("onCaption");
        QTest::addColumn<bool>("startInWebView");
        QTest::newRow("image, from list") << false << false;
        QTest::newRow("caption, from list") << true << false;
        QTest::newRow("image, after first web player") << false << true;
    }

    void toggleRoundTripKeepsThePoll()
    {
        QFETCH(bool, onCaption);
        QFETCH(bool, startInWebView);
        NavFixture f;
        QVERIFY(f.load());
        NavFixture& form = f;
        if (startInWebView)
            Q_EMIT form.links.regions[regions::kPlayerInMainWindow]->Click();
        const bool poll = f.pollRunning();
        const bool list = f.listShown();
        MouseLabel* target = onCaption ? form.Label2 : form.Image2;
        const QPoint inside = target->rect().center();

        for (int click = 1; click <= 2; ++click) {
            QTest::mousePress(target, Qt::LeftButton, {}, inside);
            QCOMPARE(form.Image2->pictureHandle(), form.BtnDown->pictureHandle());
            QTest::mouseRelease(target, Qt::LeftButton, {}, inside);
            QCOMPARE(form.Image2->pictureHandle(), form.btnnor->pictureHandle());

            const bool nowList = click == 1 ? !list : list;
            QCOMPARE(f.listShown(), nowList);
            QCOMPARE(f.web->isVisible(), !nowList);
            QCOMPARE(form.Label2->text(), nowList ? u"电台列表"_s : u"网络电台"_s);
            QCOMPARE(f.pollRunning(), poll);
        }
    }

    void togglePictureIsNotAssignedAgainWhenAlreadyShown()
    {
        NavFixture f;
        QVERIFY(f.load());
        NavFixture& form = f;
        form.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form.window));
        QCoreApplication::processEvents();

        int paints = 0;
        struct PaintCounter : QObject
        {
            int& count;
            explicit PaintCounter(int& c) : count(c) {}
            bool eventFilter(QObject*, QEvent* e) override
            {
                count += e->type() == QEvent::Paint;
                return false;
            }
        } counter(paints);
        form.Image2->installEventFilter(&counter);

        // Releasing over the normal face, or pressing again over the pressed one, changes
        // nothing, so nothing is redrawn.
        Q_EMIT form.Image2->mouseUp(Qt::RightButton);
        QTest::qWait(50);
        QCOMPARE(paints, 0);
        Q_EMIT form.Image2->mouseDown(Qt::RightButton);
        QTRY_VERIFY(paints > 0);
        paints = 0;
        Q_EMIT form.Label2->mouseDown(Qt::MiddleButton);
        QTest::qWait(50);
        QCOMPARE(paints, 0);
        form.Image2->removeEventFilter(&counter);
    }

    void theFocusStaysInThePlaceTheListAndTheBrowserShare_data()
    {
        QTest::addColumn<bool>("byToggle"); // else by the region whose player is a page
        QTest::newRow("the view toggle") << true;
        QTest::newRow("a region with a web player") << false;
    }
    void theFocusStaysInThePlaceTheListAndTheBrowserShare()
    {
        QFETCH(bool, byToggle);
        NavFixture f;
        QVERIFY(f.load());
        auto* other = new QWidget(&f.window); // what the tab chain would hand the focus to
        other->setFocusPolicy(Qt::StrongFocus);
        f.window.show();
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.ListView1->view()->setFocus();
        QVERIFY(f.ListView1->isAncestorOf(QApplication::focusWidget()));

        if (byToggle)
            f.nav->toggleView();
        else
            Q_EMIT f.links.regions[regions::kPlayerInMainWindow]->Click();
        QVERIFY(!f.listShown());
        QCOMPARE(QApplication::focusWidget(), f.web->widget());

        f.nav->toggleView();
        QVERIFY(f.listShown());
        QVERIFY(f.ListView1->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == f.ListView1);

        // A view that had no focus takes none.
        other->setFocus();
        f.nav->toggleView();
        QCOMPARE(QApplication::focusWidget(), other);
    }

    void regionActionRestartsThePollAfterToggleBack()
    {
        NavFixture f;
        QVERIFY(f.load());
        NavFixture& form = f;
        Q_EMIT form.links.regions[regions::kPlayerInMainWindow]->Click();
        f.nav->toggleView();
        QVERIFY(f.listShown());
        QVERIFY(!f.pollRunning());
        Q_EMIT form.links.regions[3]->Click();
        QVERIFY(f.pollRunning());
    }

    void aNewerActionStopsTheAllStationsCopy()
    {
        NavFixture f;
        QVERIFY(f.load());
        NavFixture& form = f;
        fillMasterForALongCopy(form);
        const int master = form.ListView2->ItemCount();

        int rowsWhenInterrupted = -1;
        QTimer::singleShot(0, &form.window, [&] {
            rowsWhenInterrupted = form.ListView1->ItemCount();
            Q_EMIT form.links.netStations->Click();
        });
        Q_EMIT form.links.allStations->Click();

        QVERIFY2(rowsWhenInterrupted > 0 && rowsWhenInterrupted < master,
                 "the newer action did not run during the copy");
        QCOMPARE(f.categories(), QStringList{u"网络电台"_s});
    }

    void switchingTheViewDoesNotStopTheCopy()
    {
        NavFixture f;
        QVERIFY(f.load());
        NavFixture& form = f;
        fillMasterForALongCopy(form);
        const int master = form.ListView2->ItemCount();
        int rowsWhenSwitched = -1;
        QTimer::singleShot(0, &form.window, [&] {
            rowsWhenSwitched = form.ListView1->ItemCount();
            f.nav->toggleView();
        });
        Q_EMIT form.links.allStations->Click();
        QVERIFY2(rowsWhenSwitched > 0 && rowsWhenSwitched < master,
                 "the view was not switched during the copy");
        QVERIFY(f.web->isVisible());
        QCOMPARE(form.ListView1->ItemCount(), master + 2);
    }

    void anotherAllStationsClickStartsTheCopyOverWithoutNesting_data()
    {
        QTest::addColumn<bool>("thenNet");
        QTest::newRow("all stations again") << false;
        QTest::newRow("all stations again, then net stations") << true;
    }

    void anotherAllStationsClickStartsTheCopyOverWithoutNesting()
    {
        QFETCH(bool, thenNet);
        NavFixture f;
        QVERIFY(f.load());
        NavFixture& form = f;
        fillMasterForALongCopy(form);
        const int master = form.ListView2->ItemCount();

        int rowsAfterTheSecondClick = -1;
        QTimer::singleShot(0, &form.window, [&] {
            Q_EMIT form.links.allStations->Click();
            // The click only empties the list: a copy of its own here would run whole inside
            // the first one, and the first would be left to finish after it.
            rowsAfterTheSecondClick = form.ListView1->ItemCount();
            if (thenNet)
                Q_EMIT form.links.netStations->Click();
        });
        Q_EMIT form.links.allStations->Click();

        QCOMPARE(rowsAfterTheSecondClick, 0);
        if (thenNet) {
            QCOMPARE(f.categories(), QStringList{u"网络电台"_s});
            return;
        }
        // One whole copy, the foreign stations once, numbered from 1.
        QCOMPARE(form.ListView1->ItemCount(), master + 2);
        const QStringList names = f.names();
        QCOMPARE(names.first(), u"安徽之声"_s);
        QCOMPARE(names.at(master - 1), u"台199"_s);
        QCOMPARE(names.mid(master), (QStringList{u"BBC"_s, u"NHK"_s}));
        QCOMPARE(form.ListView1->ItemText(master + 1, columnIndex(StationColumn::Number)),
                 QString::number(master + 2));
    }

    void showingTheListLeavesARunningPollAlone()
    {
        NavFixture f;
        QVERIFY(f.load());
        NavFixture& form = f;
        // A long, exact interval, and half a second of it gone: a restart would show as a
        // full one.
        f.Timer2->setTimerType(Qt::PreciseTimer);
        f.Timer2->start(60000);
        QTRY_VERIFY(f.Timer2->remainingTime() <= 59500);
        for (LinkLabel* link : {form.links.regions[3], form.links.rowOneStart,
                                form.links.regions[regions::kPlayerInOwnWindow]}) {
            Q_EMIT link->Click();
            QVERIFY(f.pollRunning());
            QVERIFY2(f.Timer2->remainingTime() <= 59500,
                     qPrintable(QString::number(f.Timer2->remainingTime())));
        }
        // A stopped poll starts again.
        Q_EMIT form.links.regions[regions::kPlayerInMainWindow]->Click();
        QVERIFY(!f.pollRunning());
        Q_EMIT form.links.regions[3]->Click();
        QVERIFY(f.pollRunning());
    }

    void aCatalogueFileMissingAtRunTimeIsReported_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("rowsLeft");
        QTest::newRow("net") << Action::Net << u"NetRadio.cdb"_s << 0;
        QTest::newRow("featured") << Action::Featured << u"fine.cdb"_s << 0;
        // The master rows were copied before the foreign file was to be read; they stay.
        QTest::newRow("all") << Action::All << u"forin.cdb"_s << 4;
    }

    void aCatalogueFileMissingAtRunTimeIsReported()
    {
        QFETCH(Action, action);
        QFETCH(QString, file);
        QFETCH(int, rowsLeft);
        NavFixture f;
        QVERIFY(f.load());
        NavFixture& form = f;
        QVERIFY(QFile::remove(f.path(file)));

        run(form, action);
        QCOMPARE(f.reporter.reports.size(), 1);
        const RuntimeError& error = f.reporter.reports.first();
        QCOMPARE(error.number, 53);
        QVERIFY(!error.description.isEmpty());
        QCOMPARE(error.path, f.path(file));
        QCOMPARE(form.ListView1->ItemCount(), rowsLeft);

        // The program goes on: the next action works as before.
        Q_EMIT form.links.rowOneStart->Click();
        QCOMPARE(f.categories(), (QStringList{u"安徽"_s, u"安徽"_s}));
    }
};

QTEST_MAIN(CategoryActionsTest)
#include "tst_categoryactions.moc"
