#include "app/form1mediacontrols.h"

#include "app/form1.h"
#include "app/trayhandlers.h"
#include "hosted/imediaplayer.h"
#include "hosted/list/listcontrol.h"
#include "playback/stationplayback.h"
#include "playback/volumeslider.h"

#include <QAbstractItemModel>
#include <QTableView>

namespace qiravon {

Form1MediaControls::Form1MediaControls(Form1& form1, QObject* parent)
    : MediaControls(parent), m_form1(form1)
{
    const auto changed = [this] { Q_EMIT MediaControls::changed(); };
    IMediaPlayer* player = form1.wmp;
    connect(player, &IMediaPlayer::playbackStateChanged, this, changed);
    connect(player, &IMediaPlayer::streamTitleChanged, this, changed);
    connect(&form1.playback(), &StationPlayback::stationStarted, this,
            [this](int /*row*/, const StationRecord& station) { onStationStarted(station); });
    connect(&form1.volumeSlider(), &VolumeSlider::volumeChanged, this, changed);
    // The neighbours of the marked row come and go with the selection and the list's rows.
    ListControl* list = form1.ListView1;
    connect(list, &ListControl::SelectionChange, this, changed);
    const QAbstractItemModel* rows = list->view()->model();
    connect(rows, &QAbstractItemModel::rowsInserted, this, changed);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(rows, &QAbstractItemModel::modelReset, this, changed);
}

void Form1MediaControls::raise()
{
    m_form1.trayHandlers().showWindow();
}

void Form1MediaControls::quit()
{
    m_form1.trayHandlers().shutdown();
}

void Form1MediaControls::play()
{
    const int marked = m_form1.PlayingIndex();
    if (markedRowIsListed() || (m_now.serial == 0 && neighbour(0))) {
        m_form1.playback().activateRow(marked);
        return;
    }
    // The list was refilled since: the index names another station or none, so the one the
    // user heard comes back instead.
    if (m_now.serial > 0)
        m_form1.wmp->setURL(m_now.address);
}

void Form1MediaControls::stop()
{
    m_form1.wmp->setURL(QString());
}

void Form1MediaControls::next()
{
    if (const std::optional<int> row = neighbour(1))
        m_form1.playback().activateRow(*row);
}

void Form1MediaControls::previous()
{
    if (const std::optional<int> row = neighbour(-1))
        m_form1.playback().activateRow(*row);
}

bool Form1MediaControls::isPlaying() const
{
    const PlaybackState state = m_form1.wmp->playbackState();
    return state == PlaybackState::Opening || state == PlaybackState::Playing;
}

bool Form1MediaControls::canPlay() const
{
    return m_now.serial > 0 || neighbour(0).has_value();
}

bool Form1MediaControls::canGoNext() const
{
    return neighbour(1).has_value();
}

bool Form1MediaControls::canGoPrevious() const
{
    return neighbour(-1).has_value();
}

NowPlaying Form1MediaControls::nowPlaying() const
{
    NowPlaying now = m_now;
    if (now.serial > 0)
        now.streamTitle = m_form1.wmp->streamTitle();
    return now;
}

int Form1MediaControls::volume() const
{
    return m_form1.volumeSlider().volume();
}

void Form1MediaControls::setVolume(int volume)
{
    m_form1.volumeSlider().setVolume(volume);
}

void Form1MediaControls::onStationStarted(const StationRecord& station)
{
    ++m_now.serial;
    m_now.station = station.name;
    m_now.address = station.streamAddress;
    Q_EMIT changed();
}

std::optional<int> Form1MediaControls::neighbour(int step) const
{
    const int row = m_form1.PlayingIndex() + step;
    if (row < 0 || row >= m_form1.ListView1->ItemCount())
        return std::nullopt;
    return row;
}

bool Form1MediaControls::markedRowIsListed() const
{
    return m_form1.ListView1->ItemSelected(m_form1.PlayingIndex()) == 1;
}

} // namespace qiravon
