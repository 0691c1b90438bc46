// The main window's navigation wiring: its links, toggle and web radio window reach the
// category actions, and a failing catalogue file at run time leaves the program running.

#include "app/form1.h"
#include "app/form2.h"
#include "app/trayhandlers.h"
#include "catalogue/stationrecord.h"
#include "navigation/navfixture.h"
#include "support/fakehosted.h"
#include "support/testdata.h"
#include "widgets/linklabel.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

struct MainWindow
{
    QTemporaryDir dir;
    FakeHosted hosted;
    FakeReporter reporter;
    std::unique_ptr<Form1> form;

    MainWindow()
    {
        writeNavCatalogue(dir.path() + u'/');
        form = std::make_unique<Form1>(hosted, reporter, dir.path() + u'/');
    }
    QStringList categories() const
    {
        QStringList out;
        for (int row = 0; row < form->ListView1->ItemCount(); ++row)
            out << form->ListView1->ItemText(row, columnIndex(StationColumn::Category));
        return out;
    }
};

} // namespace

class Form1NavigationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linksOfTheWindowRunTheirActions()
    {
        MainWindow w;
        Form1& form = *w.form;
        QVERIFY(!form.load());
        QCOMPARE(w.categories(), (QStringList{u"精品"_s, u"精品"_s}));

        QLabel* text = form.LinkLabel2->lbllink();
        QTest::mouseClick(text, Qt::LeftButton, {}, text->rect().center());
        QCOMPARE(w.categories(), QStringList{u"网络电台"_s});

        Q_EMIT form.Link[regions::kPlayerInMainWindow]->Click();
        QVERIFY(form.web->isVisible());
        QVERIFY(!form.Timer2->isActive());
        QTest::mouseClick(form.Image2, Qt::LeftButton, {}, form.Image2->rect().center());
        QVERIFY(!form.ListView1->isHidden());
        QCOMPARE(form.Label2->text(), u"电台列表"_s);

        Q_EMIT form.Link[regions::kPlayerInOwnWindow]->Click();
        QPointer<Form3> form3 = form.form3();
        QVERIFY(form3);
        form.closeForm3();
        QTRY_VERIFY(!form3);
    }

    void rowStartsAreCoveredByTheFixedRegionLinks()
    {
        MainWindow w;
        Form1& form = *w.form;
        QVERIFY(!form.load());
        for (const auto& [start, cover] :
             {std::pair{form.Link[0], form.LinkLabel4},
              std::pair{form.Link[regions::kSecondRowStart], form.LinkLabel5}}) {
            QCOMPARE(start->geometry(), cover->geometry());
            QWidget* hit = form.childAt(start->geometry().center());
            QVERIFY(hit == cover || hit->parentWidget() == cover);
        }
    }

    void linksNeitherCoverOneAnotherNorTheList()
    {
        FakeHosted hosted;
        FakeReporter reporter;
        Form1 form(hosted, reporter, shippedDataDir());
        QVERIFY(!form.load());
        QList<LinkLabel*> links{form.Links,      form.LinkLabel1, form.LinkLabel2, form.LinkLabel3,
                                form.LinkLabel4, form.LinkLabel5, form.LinkMain,   form.LinkBlog};
        // The row starts lie under LinkLabel4 and LinkLabel5 on purpose.
        for (std::size_t i = 0; i < form.Link.size(); ++i) {
            if (i != 0 && i != regions::kSecondRowStart)
                links << form.Link[i];
        }
        for (const LinkLabel* link : links) {
            const QString name = link->objectName();
            // A click anywhere on the text reaches the link: its middle and its top row.
            const QRect text(link->mapTo(&form, QPoint(0, 0)), link->lbllink()->size());
            for (const QPoint at : {text.center(), QPoint(text.center().x(), text.top()),
                                    text.topLeft(), text.topRight()}) {
                const QWidget* hit = form.childAt(at);
                QVERIFY2(
                    hit == link || (hit && hit->parentWidget() == link),
                    qPrintable(u"%1 at %2,%3 reaches %4"_s.arg(name).arg(at.x()).arg(at.y()).arg(
                        hit ? hit->objectName() : u"nothing"_s)));
            }
            QVERIFY2(!link->geometry().intersects(form.ListView1->geometry()),
                     qPrintable(name + u" reaches under the list"_s));
            for (const LinkLabel* other : links) {
                QVERIFY2(other == link || !link->geometry().intersects(other->geometry()),
                         qPrintable(name + u" covers "_s + other->objectName()));
            }
        }
    }

    void aFileMissingAtRunTimeLeavesThePlayerPlaying()
    {
        MainWindow w;
        Form1& form = *w.form;
        QVERIFY(!form.load());
        // A station plays, started as the user starts one.
        Q_EMIT form.ListView1->ItemDblClick(1);
        QCOMPARE(w.hosted.player->urls, QStringList{u"http://f/2"_s});
        const QString nowPlaying = form.lblText->text();
        QCOMPARE(nowPlaying, u"精品 - 精选二 - 第二"_s);
        QVERIFY(QFile::remove(w.dir.path() + u"/NetRadio.cdb"_s));

        Q_EMIT form.LinkLabel2->Click();
        QCOMPARE(w.reporter.reports.size(), 1);
        QCOMPARE(w.reporter.reports.first().number, 53);
        QCOMPARE(form.ListView1->ItemCount(), 0);

        // Nothing stopped or replaced the stream, the now-playing line still names it, and
        // the status line still follows the player.
        QCOMPARE(w.hosted.player->urls, QStringList{u"http://f/2"_s});
        QCOMPARE(form.lblText->text(), nowPlaying);
        QVERIFY(form.Timer2->isActive());
        w.hosted.player->setStatus(u"正在播放 - 128K/s"_s);
        QTRY_COMPARE(form.lblStatus->text(), u"正在播放 - 128K/s"_s);
    }

    void quittingStopsAnAllStationsCopy()
    {
        MainWindow w;
        Form1& form = *w.form;
        QVERIFY(!form.load());
        for (int i = 0; i < 200; ++i)
            form.addlist2(u"批量"_s, u"台%1"_s.arg(i), {}, {});
        // The copy breathes after a fixed number of rows, whatever the machine's speed.
        form.tables().setCopyClock([now = qint64(0)]() mutable { return ++now; });

        int rowsAtQuit = -1;
        QTimer::singleShot(0, &form, [&] {
            rowsAtQuit = form.ListView1->ItemCount();
            form.trayHandlers().shutdown(); // "退出" in the tray menu
        });
        Q_EMIT form.LinkLabel1->Click();
        QVERIFY2(rowsAtQuit > 0, "the program was not ended during the copy");
        QCOMPARE(form.ListView1->ItemCount(), rowsAtQuit);
    }
};

QTEST_MAIN(Form1NavigationTest)
#include "tst_form1navigation.moc"
