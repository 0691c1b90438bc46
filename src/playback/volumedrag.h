#pragma once

#include <QString>

namespace qiravon {

//! The slider's geometry in twips from the window's left edge. The knob's left edge travels
//! between the two ends; the filled part starts where the travel starts.
inline constexpr double kKnobTravelStart = 360;
inline constexpr double kKnobTravelEnd = 1080;
inline constexpr double kTwipsPerVolumeUnit = 7.2;
inline constexpr double kMinFillWidth = 60;

//! Where one drag step puts the slider.
struct VolumeDrag
{
    float knobLeft = 0;   //!< twips
    int volume = 0;       //!< 0..100
    double fillWidth = 0; //!< twips
    QString caption;      //!< the number shown beside the slider
};

//! The volume a knob whose left edge stands at `knobLeft` twips stands for.
[[nodiscard]] int volumeAtKnob(double knobLeft);

//! The slider with the knob's left edge at `knobLeft` twips, clamped to the travel.
[[nodiscard]] VolumeDrag knobStep(double knobLeft);

//! One drag step for a pointer at screen x `pointerPx`, with the window's left edge at
//! `windowLeftTwips`. The factor is 15 twips per pixel whatever the display, so the knob
//! sits under the pointer only where pixels really are 15 twips.
[[nodiscard]] VolumeDrag dragStep(int pointerPx, double windowLeftTwips);

//! Where a drag leaves the knob for `volume` (clamped to 0..100): the leftmost knob position
//! that stands for it. Whole-pixel drags reach only some volumes; for those this lands on
//! the same pixel as the drag.
[[nodiscard]] double knobLeftForVolume(int volume);

//! Where a drag that stops at `volume` (clamped to 0..100) puts the slider: knobStep() at
//! knobLeftForVolume().
[[nodiscard]] VolumeDrag dragToVolume(int volume);

} // namespace qiravon
