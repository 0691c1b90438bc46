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

VolumeDrag dragStep(int pointerPx, double windowLeftTwips)
{
    // 64-bit, so a pointer coordinate far beyond any screen clamps instead of overflowing.
    const auto pointerTwips = static_cast<qint64>(pointerPx) * kTwipsPerPixel;
    double x = static_cast<double>(pointerTwips) - windowLeftTwips;
    if (x <= kKnobTravelStart)
        x = kKnobTravelStart;
    if (x >= kKnobTravelEnd)
        x = kKnobTravelEnd;
    return placeKnob(x);
}

VolumeDrag dragToVolume(int volume)
{
    const int wanted = std::clamp(volume, 0, 100);
    double x = kKnobTravelStart + wanted * kTwipsPerVolumeUnit;
    // 7.2 has no exact binary form, so the position may stand a hair below the volume.
    while (volumeAtKnob(x) < wanted)
        x = std::nextafter(x, kKnobTravelEnd);
    return placeKnob(x);
}

} // namespace qiravon
