#pragma once

#include "hosted/hostedfactory.h"

namespace qiravon {

//! The real hosted components: GStreamer, Qt WebEngine and the desktop's tray.
class RealHosted final : public HostedFactory
{
public:
    IBrowser* createBrowser(QWidget* parent) override;
    IMediaPlayer* createMediaPlayer(QObject* parent) override;
    ITray* createTray(QObject* parent) override;
};

} // namespace qiravon
