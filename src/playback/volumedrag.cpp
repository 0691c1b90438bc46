#include "playback/volumedrag.h"

#include "common/twips.h"

#include <algorithm>
#include <cmath>

namespace qiravon {

namespace {

// The knob's left edge at `x` twips, already clamped to the travel.
VolumeDrag placeKnob(double x)
{
    VolumeDrag step;
    step.knobLeft = static_cast<float>(x);
    step.volume = volumeAtKnob(x);
    step.caption = QString::number(step.volume);
    const double filled = x - kKnobTravelStart;
    step.fillWidth = filled > 0 ? filled : kMinFillWidth;
    return step;
}

} // namespace

int volumeAtKnob(double knobLeft)
{
    if (knobLeft >= kKnobTravelEnd)
        return 100;
    if (knobLeft <= kKnobTravelStart)
        return 0;
    // One pixel is about 2.08 units, so a drag skips some volumes (0, 2, 4 … 97, 100);
    // rounding instead of flooring would move every step and is not wanted.
    return static_cast<int>(std::floor((knobLeft - kKnobTravelStart) / kTwipsPerVolumeUnit));
}

VolumeDrag knobStep(double knobLeft)
{
    double x = knobLeft;
    if (x <= kKnobTravelStart)
        x = kKnobTravelStart;
    if (x >= kKnobTravelEnd)
        x = kKnobTravelEnd;
    return placeKnob(x);
}

VolumeDrag dragStep(int pointerPx, double windowLeftTwips)
{
    // 64-bit, so a pointer coordinate far beyond any screen clamps instead of overflowing.
    const auto pointerTwips = static_cast<qint64>(pointerPx) * kTwipsPerPixel;
    return knobStep(static_cast<double>(pointerTwips) - windowLeftTwips);
}

double knobLeftForVolume(int volume)
{
    if (volume <= 0)
        return kKnobTravelStart;
    if (volume >= 100)
        return kKnobTravelEnd;
    // Scaling back can land a hair off the boundary, where the volume floors one lower or
    // where a position further left would still do; settle on the boundary itself.
    double x = kKnobTravelStart + volume * kTwipsPerVolumeUnit;
    while (volumeAtKnob(x) < volume)
        x = std::nextafter(x, kKnobTravelEnd);
    while (volumeAtKnob(std::nextafter(x, kKnobTravelStart)) == volume)
        x = std::nextafter(x, kKnobTravelStart);
    return x;
}

VolumeDrag dragToVolume(int volume)
{
    return knobStep(knobLeftForVolume(volume));
}

} // namespace qiravon
