#include "support/fakehosted.h"

#include <QWidget>

namespace qiravon::test {

FakeBrowser::FakeBrowser(QWidget* parent) : IBrowser(parent), m_widget(new QWidget(parent))
{
    // As the real browser's does, the widget takes its place in the window's Tab order.
    m_widget->setFocusPolicy(Qt::StrongFocus);
}

void FakeBrowser::setVisible(bool visible)
{
    m_visible = visible;
    m_widget->setVisible(visible);
}

IBrowser* FakeHosted::createBrowser(QWidget* parent)
{
    auto* browser = new FakeBrowser(parent);
    browsers.append(browser);
    return browser;
}

IMediaPlayer* FakeHosted::createMediaPlayer(QObject* parent)
{
    player = new FakeMediaPlayer(parent);
    return player;
}

ITray* FakeHosted::createTray(QObject* parent)
{
    tray = new FakeTray(parent);
    return tray;
}

} // namespace qiravon::test
