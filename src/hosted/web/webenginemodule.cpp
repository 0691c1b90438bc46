#include "hosted/web/webenginemodule.h"

#include "hosted/web/webenginebrowser.h"

#include <QPointer>
#include <QQuickWindow>
#include <array>

namespace QtWebEngineCore {
// What Qt WebEngine Core runs when the application object is constructed, if it is linked by
// then; exported for Qt's own modules. Loaded later, it only warns, and the engine then fails
// on the missing shared OpenGL context.
Q_DECL_IMPORT void initialize();
} // namespace QtWebEngineCore

namespace qiravon {

namespace {

class WebEngineView final : public IWebView
{
public:
    WebEngineView(QWidget* parent, IWebViewEvents& events) : m_browser(new WebEngineBrowser(parent))
    {
        m_connections = {
            QObject::connect(m_browser, &IBrowser::TitleChange,
                             [&events](const QString& title) { events.titleChanged(title); }),
            QObject::connect(m_browser, &IBrowser::StatusTextChange,
                             [&events](const QString& text) { events.statusTextChanged(text); }),
        };
        m_browser->setVisible(true);
    }

    ~WebEngineView() override
    {
        for (const QMetaObject::Connection& connection : m_connections)
            QObject::disconnect(connection);
    }

    QWidget* widget() override { return m_browser ? m_browser->widget() : nullptr; }

    void navigate(const QString& address) override
    {
        if (m_browser)
            m_browser->Navigate(address);
    }

private:
    // Owned by the parent widget through Qt; it may go first.
    QPointer<WebEngineBrowser> m_browser;
    std::array<QMetaObject::Connection, 2> m_connections;
};

} // namespace

WebEngineModule::WebEngineModule()
{
    // The loader creates this object on the UI thread, as the engine requires; no window has
    // an OpenGL context yet that would have had to share with the one made here.
    QtWebEngineCore::initialize();
    // The view draws through Qt Quick. Drawn with OpenGL it is a texture, and Qt then destroys
    // and re-creates the native window of the shown top-level that receives it, to give it an
    // OpenGL surface: the window flashes, and a window manager may place it anew. Drawn in
    // software it is an image like any widget's; Chromium then composites in software, as it
    // does without a GPU. Set after initialize(), which asks for OpenGL, and before any view
    // exists; a backend the user chose stays.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

std::unique_ptr<IWebView> WebEngineModule::createView(QWidget* parent, IWebViewEvents& events)
{
    return std::make_unique<WebEngineView>(parent, events);
}

} // namespace qiravon
