#include "playback/stationplayback.h"

#include "catalogue/stationrecord.h"
#include "hosted/ibrowser.h"
#include "hosted/imediaplayer.h"
#include "hosted/list/listcontrol.h"
#include "playback/log.h"

#include <QLabel>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

// The address the browser reports as its title before it has loaded anything.
const QString kBlankTitle = u"http:///"_s;

} // namespace

QString nowPlayingCaption(const QString& category, const QString& name, const QString& description)
{
    return category + u" - "_s + name + u" - "_s + description;
}

QString statusLine(const QString& playerStatus)
{
    return playerStatus.isEmpty() ? u"准备就绪!"_s : playerStatus;
}

StationPlayback::StationPlayback(const StationPlaybackControls& controls, IMediaPlayer& player,
                                 QObject* parent)
    : QObject(parent), m_controls(controls), m_player(&player)
{
    connect(m_controls.list, &ListControl::ItemDblClick, this, &StationPlayback::activateRow);
    connect(m_controls.list, &ListControl::SelectionChange, this,
            &StationPlayback::rememberSelection);
    connect(m_controls.statusPoll, &QTimer::timeout, this, &StationPlayback::pollStatus);
    connect(m_controls.browser, &IBrowser::StatusTextChange, this,
            &StationPlayback::showBrowserStatus);
    connect(m_controls.browser, &IBrowser::TitleChange, this, &StationPlayback::showBrowserTitle);
}

void StationPlayback::activateRow(int row)
{
    ListControl& list = *m_controls.list;
    // The remembered row may lie past the end after a refill; the list then refuses the
    // write, and that is all.
    list.SetItemSelected(m_playingIndex, 0);
    list.SetItemSelected(row, 1);
    m_playingIndex = row;

    // The address goes out even when empty or unchanged: the player opens it anew, and a
    // station that cannot play says so in the status line. A row the list cannot read plays
    // nothing and names nothing.
    const std::optional<StationRecord> station = readStation(list, row);
    if (!station) {
        qCDebug(lcPlayback) << "row" << row << "cannot be read; nothing plays";
        return;
    }
    qCDebug(lcPlayback) << "playing row" << row << station->name << station->streamAddress;
    if (m_player)
        m_player->setURL(station->streamAddress);
    m_controls.nowPlaying->setText(
        nowPlayingCaption(station->category, station->name, station->description));
    Q_EMIT stationStarted(row, *station);
}

void StationPlayback::rememberSelection()
{
    // The list selects one row at most; asking it is cheap where reading every row's flag
    // up to the selected one cost a pass over 100,000 rows for a click near the end.
    const int selected = m_controls.list->SelectedItem();
    if (selected >= 0)
        m_playingIndex = selected;
}

void StationPlayback::pollStatus()
{
    // Written on every tick, unchanged or not: a browser status shown meanwhile is replaced.
    m_controls.status->setText(statusLine(m_player ? m_player->status() : QString()));
}

void StationPlayback::showBrowserStatus(const QString& text)
{
    m_controls.status->setText(text);
}

void StationPlayback::showBrowserTitle(const QString& title)
{
    if (title != kBlankTitle)
        m_controls.nowPlaying->setText(title);
}

} // namespace qiravon
