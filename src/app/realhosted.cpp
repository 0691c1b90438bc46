#include "app/realhosted.h"

#include "hosted/gst/gstmediaplayer.h"
#include "hosted/tray/systemtray.h"
#include "hosted/web/lazybrowser.h"
#include "hosted/web/webmodule.h"

#include <QCoreApplication>

namespace qiravon {

RealHosted::RealHosted()
    : m_webModule(webModuleFolders(QCoreApplication::applicationDirPath(),
                                   QStringLiteral(QIRAVON_WEB_MODULE_INSTALLED_RELDIR),
                                   QStringLiteral(QIRAVON_WEB_MODULE_BUILD_RELDIR)),
                  QStringLiteral(QIRAVON_WEB_MODULE_FILE))
{
}

IBrowser* RealHosted::createBrowser(QWidget* parent)
{
    return new LazyBrowser(parent,
                           [this](QWidget* place, IWebViewEvents& events,
                                  QString* error) -> std::unique_ptr<IWebView> {
                               if (IWebEngineModule* module = m_webModule.module(error))
                                   return module->createView(place, events);
                               return nullptr;
                           });
}

IMediaPlayer* RealHosted::createMediaPlayer(QObject* parent)
{
    return new GstMediaPlayer(parent);
}

ITray* RealHosted::createTray(QObject* parent)
{
    return new SystemTray(parent);
}

} // namespace qiravon
