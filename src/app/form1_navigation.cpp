// The main window's category bar and category actions.

#include "form1.h"

#include "categoryactions.h"
#include "categorybar.h"
#include "form3.h"
#include "listcontrol.h"
#include "stationtables.h"

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

CategoryBarLinks barLinks(const Form1& form)
{
    CategoryBarLinks links;
    links.Link = form.Link;
    links.Links = form.Links;
    links.LinkLabel1 = form.LinkLabel1;
    links.LinkLabel2 = form.LinkLabel2;
    links.LinkLabel3 = form.LinkLabel3;
    links.LinkLabel4 = form.LinkLabel4;
    links.LinkLabel5 = form.LinkLabel5;
    links.LinkMain = form.LinkMain;
    links.LinkBlog = form.LinkBlog;
    return links;
}

} // namespace

std::optional<RuntimeError> Form1::buildCategoryBar()
{
    return BuildCategoryBar(barLinks(*this), m_tables->dataPath(u"map.cdb"_s));
}

std::optional<RuntimeError> Form1::showFeatured()
{
    return m_navigation->showFeatured();
}

Form3* Form1::form3() const
{
    return m_navigation->form3();
}

void Form1::closeForm3()
{
    m_navigation->closeForm3();
}

void Form1::wireNavigation()
{
    NavigationControls controls;
    controls.links = barLinks(*this);
    controls.ListView1 = ListView1;
    controls.web = web;
    controls.Timer2 = Timer2;
    controls.Label2 = Label2;
    controls.Image2 = Image2;
    controls.btnnor = btnnor;
    controls.BtnDown = BtnDown;
    m_navigation = new CategoryActions(controls, *m_tables, m_hosted, m_reporter, this);
}

} // namespace qiravon
