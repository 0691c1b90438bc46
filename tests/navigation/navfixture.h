#pragma once

// The controls the category actions work on, in a plain window over fake hosted parts, with
// a catalogue written to a temporary folder. The main window's own wiring has its own test.

#include "catalogue/stationrecord.h"
#include "catalogue/stationtables.h"
#include "hosted/list/listcontrol.h"
#include "navigation/categoryactions.h"
#include "navigation/categorybar.h"
#include "navigation/form3.h"
#include "support/fakehosted.h"
#include "support/testdata.h"
#include "widgets/linklabel.h"
#include "widgets/mouselabel.h"

#include <QTemporaryDir>
#include <QTimer>
#include <memory>

namespace qiravon::test {

inline constexpr int kRegionLinks = static_cast<int>(regions::kCount);

//! Region captions: the row starts carry the names of the links laid over them.
inline QStringList regionCaptions()
{
    using namespace Qt::StringLiterals;
    QStringList lines;
    for (int i = 0; i < kRegionLinks; ++i) {
        if (i == 0)
            lines << u"安徽"_s;
        else if (i == static_cast<int>(regions::kSecondRowStart))
            lines << u"吉林"_s;
        else
            lines << u"地区"_s + QString(i % 4 + 1, u'甲') + QString::number(i);
    }
    return lines;
}

//! Writes the catalogue every navigation test starts from.
inline void writeNavCatalogue(const QString& dir)
{
    using namespace Qt::StringLiterals;
    writeCatalogue(dir + u"map.cdb"_s, regionCaptions());
    writeCatalogue(dir + u"radiolist.cdb"_s,
                   {u"#安徽"_s, u"安徽之声|http://a/1|新闻"_s, u"安徽交通|http://a/2|路况"_s,
                    u"#吉林"_s, u"吉林音乐|http://j/1|音乐"_s, u"#"_s + regionCaptions()[3],
                    u"三台|http://r/3|三"_s});
    writeCatalogue(dir + u"fine.cdb"_s, {u"精选一|http://f/1|第一"_s, u"精选二|http://f/2|第二"_s});
    writeCatalogue(dir + u"NetRadio.cdb"_s, {u"网台|http://n/1|网"_s});
    writeCatalogue(dir + u"forin.cdb"_s, {u"BBC|http://b/1|英语"_s, u"NHK|http://k/1|日语"_s});
}

struct NavFixture
{
    QTemporaryDir dir;
    FakeHosted hosted;
    FakeReporter reporter;
    QWidget window;
    CategoryBarLinks links;
    ListControl* ListView1 = nullptr;
    ListControl* ListView2 = nullptr;
    FakeBrowser* web = nullptr;
    QTimer* Timer2 = nullptr;
    MouseLabel* Image2 = nullptr;
    MouseLabel* Label2 = nullptr;
    MouseLabel* btnnor = nullptr;
    MouseLabel* BtnDown = nullptr;
    std::unique_ptr<StationTables> tables;
    std::unique_ptr<CategoryActions> nav;

    NavFixture()
    {
        using namespace Qt::StringLiterals;
        writeNavCatalogue(path({}));
        window.resize(742, 439);
        ListView1 = new ListControl(&window);
        ListView1->setGeometry(11, 111, 721, 297);
        ListView2 = new ListControl(&window);
        ListView2->hide();
        web = static_cast<FakeBrowser*>(hosted.createBrowser(&window));
        web->setVisible(false);
        Timer2 = new QTimer(&window);
        Timer2->setInterval(100);
        Timer2->start();
        Image2 = picture(QColor(Qt::white), true);
        Image2->setGeometry(8, 72, 61, 38);
        Label2 = new MouseLabel(&window);
        Label2->setText(u"电台列表"_s);
        Label2->setGeometry(15, 87, 48, 12);
        btnnor = picture(QColor(Qt::white), false);
        btnnor->setPicture(Image2->picture()); // one picture, as in the window design
        BtnDown = picture(QColor(Qt::blue), false);
        for (LinkLabel*& link : links.regions)
            link = hiddenLink();
        for (LinkLabel** fixed :
             {&links.featured, &links.allStations, &links.netStations, &links.foreignStations,
              &links.rowOneStart, &links.rowTwoStart, &links.homePage, &links.blog})
            *fixed = new LinkLabel(&window);
        tables = std::make_unique<StationTables>(*ListView1, *ListView2, path({}));
    }

    [[nodiscard]] QString path(const QString& name) const { return dir.path() + u'/' + name; }

    //! The load steps that concern the actions; fails the test when one fails.
    bool load(RegionalPlayers players = {})
    {
        nav = std::make_unique<CategoryActions>(controls(), *tables, hosted, reporter, nullptr,
                                                std::move(players));
        tables->AddListViewColumn();
        for (const auto& error : {BuildCategoryBar(links, path(QStringLiteral("map.cdb"))),
                                  tables->LoadMasterCatalogue(), nav->showFeatured()}) {
            if (error) {
                qWarning("load failed: %s", qPrintable(error->message()));
                return false;
            }
        }
        return true;
    }

    [[nodiscard]] NavigationControls controls() const
    {
        NavigationControls c;
        c.links = links;
        c.stationList = ListView1;
        c.browser = web;
        c.statusPoll = Timer2;
        c.toggleCaption = Label2;
        c.toggleFace = Image2;
        c.toggleNormal = btnnor;
        c.togglePressed = BtnDown;
        return c;
    }

    //! The category column of every row of the visible list.
    [[nodiscard]] QStringList categories() const
    {
        return column(columnIndex(StationColumn::Category));
    }
    [[nodiscard]] QStringList names() const { return column(columnIndex(StationColumn::Name)); }
    [[nodiscard]] QStringList column(int c) const
    {
        QStringList out;
        for (int row = 0; row < ListView1->ItemCount(); ++row)
            out << ListView1->ItemText(row, c);
        return out;
    }

    [[nodiscard]] bool listShown() const { return !ListView1->isHidden(); }
    [[nodiscard]] bool pollRunning() const { return Timer2->isActive(); }

private:
    MouseLabel* picture(const QColor& colour, bool visible)
    {
        QPixmap pixmap(53, 38);
        pixmap.fill(colour);
        auto* label = new MouseLabel(&window);
        label->setPicture(pixmap);
        label->setVisible(visible);
        return label;
    }

    LinkLabel* hiddenLink()
    {
        auto* link = new LinkLabel(&window);
        link->hide();
        return link;
    }
};

} // namespace qiravon::test
