#include "realhosted.h"

#include "gstmediaplayer.h"
#include "systemtray.h"
#include "webenginebrowser.h"

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
