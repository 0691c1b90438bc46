// The main window's station playback, status lines and volume slider.

#include "form1.h"

#include "mouselabel.h"
#include "stationplayback.h"
#include "volumeslider.h"

namespace qiravon {

int Form1::PlayingIndex() const
{
    return m_playback->PlayingIndex();
}

void Form1::wirePlayback()
{
    StationPlaybackControls playback;
    playback.list = ListView1;
    playback.nowPlaying = lblText;
    playback.status = lblStatus;
    playback.statusPoll = Timer2;
    playback.browser = web;
    m_playback = new StationPlayback(playback, *wmp, this);

    VolumeSliderControls slider;
    slider.knob = HsrlBtn2;
    slider.fill = HsrlBack4;
    slider.caption = vol;
    slider.dragTimer = Timer1;
    slider.window = this;
    m_volumeSlider = new VolumeSlider(slider, *wmp, this);
}

} // namespace qiravon
