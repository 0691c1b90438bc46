#pragma once

class QWidget;

namespace qiravon {

class VolumeSlider;

//! Lets assistive technologies see `knob` as the slider `slider` drives: its value is the
//! volume, and setting the value sets the volume as the keyboard does. The slider must
//! outlive the knob's accessible interface, which goes with the knob.
void registerVolumeKnob(QWidget* knob, VolumeSlider* slider);

} // namespace qiravon
