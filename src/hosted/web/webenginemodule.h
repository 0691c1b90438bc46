#pragma once

#include "hosted/web/webmodule.h"

#include <QObject>

namespace qiravon {

//! The entry point of the web engine module: makes views over WebEngineBrowser.
class WebEngineModule final : public QObject, public IWebEngineModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QIRAVON_WEB_ENGINE_MODULE_IID)
    Q_INTERFACES(qiravon::IWebEngineModule)
public:
    WebEngineModule();

    [[nodiscard]] std::unique_ptr<IWebView> createView(QWidget* parent,
                                                       IWebViewEvents& events) override;
};

} // namespace qiravon
