#include "playback/volumedrag.h"

#include "common/twips.h"

#include <cmath>

namespace qiravon {

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

    VolumeDrag step;
    step.knobLeft = static_cast<float>(x);
    step.volume = volumeAtKnob(x);
    step.caption = QString::number(step.volume);
    const double filled = x - kKnobTravelStart;
    step.fillWidth = filled > 0 ? filled : kMinFillWidth;
    return step;
}

} // namespace qiravon
