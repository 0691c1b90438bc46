// The main window's navigation wiring: its links, toggle and web radio window reach the
// category actions, and a failing catalogue file at run time leaves the program running.

#include "app/form1.h"
#include "catalogue/stationrecord.h"
#include "navigation/navfixture.h"
#include "support/fakehosted.h"

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

    void aFileMissingAtRunTimeLeavesThePlayerPlaying()
    {
        MainWindow w;
        Form1& form = *w.form;
        QVERIFY(!form.load());
        form.wmp->setURL(u"http://playing/now"_s);
        QVERIFY(QFile::remove(w.dir.path() + u"/NetRadio.cdb"_s));

        Q_EMIT form.LinkLabel2->Click();
        QCOMPARE(w.reporter.reports.size(), 1);
        QCOMPARE(w.reporter.reports.first().number, 53);
        QCOMPARE(form.ListView1->ItemCount(), 0);
        QCOMPARE(w.hosted.player->urls, QStringList{u"http://playing/now"_s});
        QVERIFY(form.Timer2->isActive());
    }
};

QTEST_MAIN(Form1NavigationTest)
#include "tst_form1navigation.moc"
