#include "categorybar.h"

#include "cataloguefile.h"
#include "linklabel.h"
#include "twips.h"
#include "weblinks.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

constexpr BgrColor kBarBackColor = 15718293; // RGB(149, 215, 239)
constexpr int kRowGap = 60;                  // twips between a link and the next
constexpr int kRow1Top = 1080;
constexpr int kRow2Top = 1440;
constexpr int kRowLeft = 1080;

int leftTwips(const QWidget* w) { return w->x() * kTwipsPerPixel; }
int widthTwips(const QWidget* w) { return w->width() * kTwipsPerPixel; }

void moveTwips(QWidget* w, int left, int top)
{
    w->move(twipsToPx(left), twipsToPx(top));
}

void layoutRow(const CategoryBarLinks& links, std::size_t first, std::size_t last)
{
    LinkLabel* start = links.Link[first];
    for (std::size_t i = first; i <= last; ++i) {
        LinkLabel* link = links.Link[i];
        link->SetBackColor(kBarBackColor);
        if (i != first) {
            const LinkLabel* before = links.Link[i - 1];
            moveTwips(link, widthTwips(before) + leftTwips(before) + kRowGap,
                      start->y() * kTwipsPerPixel);
            link->SetShell(false, QString());
        }
        link->setVisible(true);
    }
}

} // namespace

std::optional<RuntimeError> BuildCategoryBar(const CategoryBarLinks& links, const QString& mapPath)
{
    const CatalogueFile map = CatalogueFile::read(mapPath);
    if (map.error)
        return map.error;

    const auto places = static_cast<qsizetype>(links.Link.size());
    if (map.lines.size() > places) {
        // A longer file used to end the program; the bar has 35 places, so the rest is dropped.
        std::fprintf(stderr, "qiravon: %s has %lld lines; lines after line %lld are ignored\n",
                     qPrintable(mapPath), static_cast<long long>(map.lines.size()),
                     static_cast<long long>(places));
    }
    for (qsizetype i = 0; i < map.lines.size() && i < places; ++i)
        links.Link[static_cast<std::size_t>(i)]->SetCaption(map.lines[i]);

    moveTwips(links.Link[0], kRowLeft, kRow1Top);
    moveTwips(links.Link[18], kRowLeft, kRow2Top);
    layoutRow(links, 0, 17);
    layoutRow(links, 18, 34);

    links.Links->SetBackColor(kBarBackColor);
    links.Links->SetCaption(u"精品电台"_s);
    links.Links->SetShell(false, QString());
    links.LinkLabel1->SetShell(false, QString());
    links.LinkLabel1->SetBackColor(kBarBackColor);
    links.LinkLabel1->SetCaption(u"全部电台"_s);
    links.LinkMain->SetBackColor(kBarBackColor);
    links.LinkMain->SetCaption(u"访问主页获取更新"_s);
    links.LinkMain->SetShell(true, weblinks::kHomePage);
    links.LinkBlog->SetBackColor(kBarBackColor);
    links.LinkBlog->SetCaption(u"访问博客获取技术"_s);
    links.LinkBlog->SetShell(true, weblinks::kBlog);
    links.LinkLabel2->SetCaption(u"网络电台"_s);
    links.LinkLabel3->SetCaption(u"外文电台"_s);
    links.LinkLabel2->SetShell(false, QString());
    links.LinkLabel2->SetBackColor(kBarBackColor);
    links.LinkLabel3->SetShell(false, QString());
    links.LinkLabel3->SetBackColor(kBarBackColor);
    links.LinkLabel4->SetCaption(u"安徽"_s);
    links.LinkLabel5->SetCaption(u"吉林"_s);
    links.LinkLabel4->SetShell(false, QString());
    links.LinkLabel4->SetBackColor(kBarBackColor);
    links.LinkLabel5->SetShell(false, QString());
    links.LinkLabel5->SetBackColor(kBarBackColor);
    return std::nullopt;
}

} // namespace qiravon
