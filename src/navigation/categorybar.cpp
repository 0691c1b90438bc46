#include "navigation/categorybar.h"

#include "catalogue/cataloguefile.h"
#include "common/twips.h"
#include "navigation/log.h"
#include "navigation/weblinks.h"
#include "widgets/linklabel.h"

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

constexpr BgrColor kBarBackColor = 15718293; // RGB(149, 215, 239)
constexpr int kRowGap = 60;                  // twips between a link and the next
constexpr int kRow1Top = 1080;
constexpr int kRow2Top = 1440;
constexpr int kRowLeft = 1080;

int leftTwips(const QWidget* w)
{
    return w->x() * kTwipsPerPixel;
}
int widthTwips(const QWidget* w)
{
    return w->width() * kTwipsPerPixel;
}

void moveTwips(QWidget* w, int left, int top)
{
    w->move(twipsToPx(left), twipsToPx(top));
}

void layoutRow(const CategoryBarLinks& links, std::size_t first, std::size_t last)
{
    LinkLabel* start = links.regions[first];
    for (std::size_t i = first; i <= last; ++i) {
        LinkLabel* link = links.regions[i];
        link->SetBackColor(kBarBackColor);
        if (i != first) {
            const LinkLabel* before = links.regions[i - 1];
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

    const auto places = static_cast<qsizetype>(links.regions.size());
    if (map.lines.size() > places) {
        // A longer file used to end the program; the bar has its places, the rest is dropped.
        qCWarning(lcNavigation, "%ls has %lld lines; lines after line %lld are ignored",
                  qUtf16Printable(mapPath), static_cast<long long>(map.lines.size()),
                  static_cast<long long>(places));
    }
    for (qsizetype i = 0; i < map.lines.size() && i < places; ++i)
        links.regions[static_cast<std::size_t>(i)]->SetCaption(map.lines[i]);

    moveTwips(links.regions[0], kRowLeft, kRow1Top);
    moveTwips(links.regions[regions::kSecondRowStart], kRowLeft, kRow2Top);
    layoutRow(links, 0, regions::kSecondRowStart - 1);
    layoutRow(links, regions::kSecondRowStart, regions::kCount - 1);

    links.featured->SetBackColor(kBarBackColor);
    links.featured->SetCaption(u"精品电台"_s);
    links.featured->SetShell(false, QString());
    links.allStations->SetShell(false, QString());
    links.allStations->SetBackColor(kBarBackColor);
    links.allStations->SetCaption(u"全部电台"_s);
    links.homePage->SetBackColor(kBarBackColor);
    links.homePage->SetCaption(u"访问主页获取更新"_s);
    links.homePage->SetShell(true, weblinks::kHomePage);
    links.blog->SetBackColor(kBarBackColor);
    links.blog->SetCaption(u"访问博客获取技术"_s);
    links.blog->SetShell(true, weblinks::kBlog);
    links.netStations->SetCaption(u"网络电台"_s);
    links.foreignStations->SetCaption(u"外文电台"_s);
    links.netStations->SetShell(false, QString());
    links.netStations->SetBackColor(kBarBackColor);
    links.foreignStations->SetShell(false, QString());
    links.foreignStations->SetBackColor(kBarBackColor);
    links.rowOneStart->SetCaption(u"安徽"_s);
    links.rowTwoStart->SetCaption(u"吉林"_s);
    links.rowOneStart->SetShell(false, QString());
    links.rowOneStart->SetBackColor(kBarBackColor);
    links.rowTwoStart->SetShell(false, QString());
    links.rowTwoStart->SetBackColor(kBarBackColor);
    return std::nullopt;
}

} // namespace qiravon
