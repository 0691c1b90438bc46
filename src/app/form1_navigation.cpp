// The main window's category bar and category actions.

#include "form1.h"

#include "categorybar.h"
#include "listcontrol.h"
#include "stationtables.h"

using namespace Qt::StringLiterals;

namespace qiravon {

std::optional<RuntimeError> Form1::buildCategoryBar()
{
    CategoryBarLinks links;
    links.Link = Link;
    links.Links = Links;
    links.LinkLabel1 = LinkLabel1;
    links.LinkLabel2 = LinkLabel2;
    links.LinkLabel3 = LinkLabel3;
    links.LinkLabel4 = LinkLabel4;
    links.LinkLabel5 = LinkLabel5;
    links.LinkMain = LinkMain;
    links.LinkBlog = LinkBlog;
    return BuildCategoryBar(links, m_tables->dataPath(u"map.cdb"_s));
}

std::optional<RuntimeError> Form1::showFeatured()
{
    ListView1->Clear();
    return m_tables->AppendCatalogueFile(u"fine.cdb"_s, u"精品"_s);
}

void Form1::wireNavigation() {}

} // namespace qiravon
