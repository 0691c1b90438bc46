#include "app/realhosted.h"

#include "hosted/gst/gstmediaplayer.h"
#include "hosted/tray/systemtray.h"
#include "hosted/web/webenginebrowser.h"

namespace qiravon {

IBrowser* RealHosted::createBrowser(QWidget* parent)
{
    return new WebEngineBrowser(parent);
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
