#pragma once

#include "hosted/hostedfactory.h"
#include "hosted/web/webmoduleloader.h"

namespace qiravon {

//! The real hosted components: GStreamer, Qt WebEngine and the desktop's tray. The web
//! engine is a module that the browsers load when they first show a page.
class RealHosted final : public HostedFactory
{
public:
    RealHosted();

    IBrowser* createBrowser(QWidget* parent) override;
    IMediaPlayer* createMediaPlayer(QObject* parent) override;
    ITray* createTray(QObject* parent) override;

private:
    WebModuleLoader m_webModule;
};

} // namespace qiravon
