#include "hosted/web/lazybrowser.h"

#include "hosted/web/browseraddress.h"
#include "hosted/web/log.h"
#include "hosted/web/pagetitle.h"

#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace qiravon {

QString webUnavailableText()
{
    return u"网页无法显示：浏览器组件未能启动。"_s;
}

LazyBrowser::LazyBrowser(QWidget* parent, ViewFactory factory)
    : IBrowser(parent), m_container(new QWidget(parent)), m_factory(std::move(factory))
{
    auto* layout = new QVBoxLayout(m_container);
    layout->setContentsMargins(0, 0, 0, 0);
    // A holder may show the widget itself (a window that shows all its children) without ever
    // calling setVisible(); a visible browser must have its page.
    m_container->installEventFilter(this);
}

LazyBrowser::~LazyBrowser()
{
    // The view reports to this object until it is gone.
    m_view.reset();
    if (m_container)
        m_container->removeEventFilter(this);
}

QWidget* LazyBrowser::widget()
{
    return m_container;
}

void LazyBrowser::Navigate(const QString& address)
{
    if (m_view) {
        m_view->navigate(address);
        return;
    }
    if (m_started)
        return; // no engine to be had; the message stays
    qCDebug(lcWeb) << "navigate to" << address << "(once the engine runs)";
    m_pending = address;
    const quint64 navigation = ++m_navigations;
    // The engine would report the title of the page it loads; until it runs, a local page's
    // title is read here. Later, as the engine's own report would come.
    const QUrl url = browserUrl(address);
    if (url.isLocalFile()) {
        QTimer::singleShot(0, this, [this, navigation, path = url.toLocalFile()] {
            reportLocalTitle(navigation, path);
        });
    }
}

void LazyBrowser::reportLocalTitle(quint64 navigation, const QString& path)
{
    // A later address, or an engine that now reports for itself, makes this one stale.
    if (navigation != m_navigations || m_started)
        return;
    if (const std::optional<QString> title = readLocalPageTitle(path))
        Q_EMIT TitleChange(*title);
}

void LazyBrowser::setVisible(bool visible)
{
    m_visible = visible;
    if (visible)
        start();
    if (m_container)
        m_container->setVisible(visible);
}

void LazyBrowser::start()
{
    if (m_started || !m_container)
        return;
    m_started = true;
    QString error;
    if (m_factory)
        m_view = m_factory(m_container, *this, &error);
    if (!m_view) {
        qCWarning(lcWeb).noquote() << "The web view is unavailable:" << error;
        auto* message = new QLabel(webUnavailableText(), m_container);
        message->setObjectName(u"webUnavailable"_s);
        // The reason may quote a file name; it goes to the log, not the window.
        message->setTextFormat(Qt::PlainText);
        message->setAlignment(Qt::AlignCenter);
        message->setWordWrap(true);
        m_container->layout()->addWidget(message);
        // Made during a Show, after the children were shown; it must be shown by name.
        message->show();
        m_pending.reset();
        return;
    }
    m_container->layout()->addWidget(m_view->widget());
    m_view->widget()->show();
    if (m_pending) {
        m_view->navigate(*m_pending);
        m_pending.reset();
    }
}

bool LazyBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_container && event->type() == QEvent::Show && !m_started)
        start();
    return IBrowser::eventFilter(watched, event);
}

void LazyBrowser::titleChanged(const QString& title)
{
    Q_EMIT TitleChange(title);
}

void LazyBrowser::statusTextChanged(const QString& text)
{
    Q_EMIT StatusTextChange(text);
}

} // namespace qiravon
