// The category bar as map.cdb builds it: where the region links stand, what each link does
// when clicked, and files that are shorter, longer or emptier than the bar.

#include "navigation/navfixture.h"
#include "navigation/weblinks.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

constexpr BgrColor kBarColor = 15718293;

// Each link of a row starts 4 px (60 twips) after the right edge of the link before it.
void verifyRow(const CategoryBarLinks& form, int first, int last, int top)
{
    const LinkLabel* start = form.regions[static_cast<std::size_t>(first)];
    QCOMPARE(start->pos(), QPoint(72, top));
    for (int i = first; i <= last; ++i) {
        const LinkLabel* link = form.regions[static_cast<std::size_t>(i)];
        QVERIFY2(!link->isHidden(), qPrintable(link->objectName()));
        QCOMPARE(link->palette().color(QPalette::Window), toQColor(kBarColor));
        if (i == first) {
            // The row start stays in its initial mode: a click there does nothing itself.
            QVERIFY(link->shell());
            QVERIFY(link->url().isEmpty());
            continue;
        }
        const LinkLabel* before = form.regions[static_cast<std::size_t>(i - 1)];
        QCOMPARE(link->x(), before->x() + before->width() + 4);
        QCOMPARE(link->y(), top);
        QVERIFY(!link->shell());
    }
}

} // namespace

class CategoryBarTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placesTheRegionLinks_data()
    {
        QTest::addColumn<QStringList>("map");
        QTest::addColumn<QStringList>("captions");

        const QStringList full = regionCaptions();
        QTest::newRow("35 lines") << full << full;

        QStringList shortMap = full.mid(0, 10);
        QStringList shortCaptions = shortMap;
        while (shortCaptions.size() < 35)
            shortCaptions << u"LinkLabel"_s;
        QTest::newRow("fewer lines") << shortMap << shortCaptions;

        QStringList withBlanks = full;
        withBlanks[4].clear();
        withBlanks[20].clear();
        withBlanks[34].clear();
        QTest::newRow("empty lines") << withBlanks << withBlanks;

        // The bar has 35 places; what follows them is left out instead of ending the program.
        QStringList longMap = full;
        longMap << u"多余一"_s << u"多余二"_s;
        QTest::newRow("more than 35 lines") << longMap << full;
    }

    void placesTheRegionLinks()
    {
        QFETCH(QStringList, map);
        QFETCH(QStringList, captions);
        NavFixture f;
        writeCatalogue(f.path(u"map.cdb"_s), map);
        QVERIFY(f.load());
        const CategoryBarLinks& form = f.links;

        for (int i = 0; i < kRegionLinks; ++i)
            QCOMPARE(form.regions[static_cast<std::size_t>(i)]->GetCaption(), captions[i]);
        verifyRow(form, 0, 17, 72);
        verifyRow(form, 18, 34, 96);
    }

    void anEmptyMapStillShowsEveryPlace()
    {
        NavFixture f;
        writeFile(f.path(u"map.cdb"_s), {});
        QVERIFY(f.load());
        const CategoryBarLinks& form = f.links;
        QCOMPARE(form.regions[34]->GetCaption(), u"LinkLabel"_s);
        verifyRow(form, 0, 17, 72);
        verifyRow(form, 18, 34, 96);
    }

    void fixedLinksGetTheirCaptionsAndModes()
    {
        NavFixture f;
        QVERIFY(f.load());
        const CategoryBarLinks& form = f.links;
        struct Expect
        {
            LinkLabel* link;
            QString caption;
            bool shell;
            QString url;
        };
        const Expect expected[] = {
            {form.featured, u"精品电台"_s, false, {}},
            {form.allStations, u"全部电台"_s, false, {}},
            {form.netStations, u"网络电台"_s, false, {}},
            {form.foreignStations, u"外文电台"_s, false, {}},
            {form.rowOneStart, u"安徽"_s, false, {}},
            {form.rowTwoStart, u"吉林"_s, false, {}},
            {form.homePage, u"访问主页获取更新"_s, true, weblinks::kHomePage},
            {form.blog, u"访问博客获取技术"_s, true, weblinks::kBlog},
        };
        for (const Expect& e : expected) {
            QCOMPARE(e.link->GetCaption(), e.caption);
            QCOMPARE(e.link->shell(), e.shell);
            QCOMPARE(e.link->url(), e.url);
            QCOMPARE(e.link->palette().color(QPalette::Window), toQColor(kBarColor));
        }
        QVERIFY(QUrl(weblinks::kHomePage).path() == u"/"_s);
    }

    void aMissingMapStopsTheLoadBeforeAnyCaption()
    {
        NavFixture f;
        QFile::remove(f.path(u"map.cdb"_s));
        const auto error = BuildCategoryBar(f.links, f.path(u"map.cdb"_s));
        QVERIFY(error);
        QCOMPARE(error->number, 53);
        QCOMPARE(error->path, f.path(u"map.cdb"_s));
        QCOMPARE(f.links.regions[regions::kPlayerInMainWindow]->GetCaption(), u"LinkLabel"_s);
        QVERIFY(f.links.regions[regions::kPlayerInMainWindow]->isHidden());
    }
};

QTEST_MAIN(CategoryBarTest)
#include "tst_categorybar.moc"
