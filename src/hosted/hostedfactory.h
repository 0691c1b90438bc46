#pragma once

class QObject;
class QWidget;

namespace qiravon {

class IBrowser;
class IMediaPlayer;
class ITray;

//! Creates the components that live outside the program's own logic. The composition root
//! hands the real one to the windows; tests hand a fake.
class HostedFactory
{
public:
    virtual ~HostedFactory() = default;
    //! A browser whose widget is a child of `parent`.
    virtual IBrowser* createBrowser(QWidget* parent) = 0;
    virtual IMediaPlayer* createMediaPlayer(QObject* parent) = 0;
    virtual ITray* createTray(QObject* parent) = 0;
};

} // namespace qiravon
