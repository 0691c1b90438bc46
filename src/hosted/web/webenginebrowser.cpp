#include "hosted/web/webenginebrowser.h"

#include "hosted/web/browseraddress.h"
#include "hosted/web/browserpage.h"
#include "hosted/web/log.h"

#include <QEvent>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWidget>

namespace qiravon {

WebEngineBrowser::WebEngineBrowser(QWidget* parent)
    : IBrowser(parent), m_container(new QWidget(parent))
{
    auto* layout = new QVBoxLayout(m_container);
    layout->setContentsMargins(0, 0, 0, 0);
    // A holder may show the widget itself (a window that shows all its children) without ever
    // calling setVisible(); a visible browser must have its page.
    m_container->installEventFilter(this);
    // Takes its place in the window's Tab order now, though the page that gets the keyboard
    // comes only with the engine.
    m_container->setFocusPolicy(Qt::StrongFocus);
}

WebEngineBrowser::~WebEngineBrowser()
{
    if (m_container)
        m_container->removeEventFilter(this);
}

QWidget* WebEngineBrowser::widget()
{
    return m_container;
}

void WebEngineBrowser::Navigate(const QString& address)
{
    const QUrl url = browserUrl(address);
    qCDebug(lcWeb) << "navigate to" << url << (m_view ? "" : "(once the engine exists)");
    if (m_view)
        static_cast<QWebEngineView*>(m_view.data())->load(url);
    else
        m_pending = url;
}

void WebEngineBrowser::setVisible(bool visible)
{
    m_visible = visible;
    if (visible)
        createEngine();
    if (m_container)
        m_container->setVisible(visible);
}

void WebEngineBrowser::createEngine()
{
    if (m_view || !m_container)
        return;
    qCDebug(lcWeb) << "starting the web engine";
    auto* view = new QWebEngineView(m_container);
    m_view = view;
    auto* page = new BrowserPage(view);
    view->setPage(page);
    m_container->layout()->addWidget(view);
    m_container->setFocusProxy(view);

    // Before its first navigation the engine has no title at all, so nothing is reported for
    // the initial location.
    connect(page, &QWebEnginePage::titleChanged, this, &IBrowser::TitleChange);
    // Leaving a link reports the empty text. The engine also reports "no link" at every
    // navigation, when none was hovered; passing that on would blank the status line for
    // nothing.
    connect(page, &QWebEnginePage::linkHovered, this, [this](const QString& address) {
        if (address == m_hoveredLink)
            return;
        m_hoveredLink = address;
        Q_EMIT StatusTextChange(address);
    });
    connect(page, &BrowserPage::statusWritten, this, &IBrowser::StatusTextChange);

    if (m_pending) {
        view->load(*m_pending);
        m_pending.reset();
    }
}

bool WebEngineBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_container && event->type() == QEvent::Show && !m_view)
        createEngine();
    return IBrowser::eventFilter(watched, event);
}

} // namespace qiravon
