#include "webenginebrowser.h"

#include <QWidget>

namespace qiravon {

WebEngineBrowser::WebEngineBrowser(QWidget* parent)
    : IBrowser(parent), m_container(new QWidget(parent))
{
}

WebEngineBrowser::~WebEngineBrowser() = default;

QWidget* WebEngineBrowser::widget()
{
    return m_container;
}

void WebEngineBrowser::Navigate(const QString& /*address*/) {}

void WebEngineBrowser::setVisible(bool visible)
{
    m_visible = visible;
    m_container->setVisible(visible);
}

} // namespace qiravon
