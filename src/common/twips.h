#pragma once

namespace qiravon {

//! The layout's unit: 15 twips make one logical pixel.
inline constexpr int kTwipsPerPixel = 15;

//! Twips to logical pixels, rounded to the nearest pixel with ties to the even pixel.
//! Every conversion of a layout value goes through here, so controls that share an edge in
//! twips share it in pixels too.
[[nodiscard]] constexpr int twipsToPx(double twips)
{
    const double px = twips / kTwipsPerPixel;
    auto whole = static_cast<long long>(px);
    if (px < 0 && static_cast<double>(whole) != px)
        --whole;
    const double frac = px - static_cast<double>(whole);
    if (frac > 0.5 || (frac == 0.5 && whole % 2 != 0))
        ++whole;
    return static_cast<int>(whole);
}

[[nodiscard]] constexpr double pxToTwips(int px)
{
    return static_cast<double>(px) * kTwipsPerPixel;
}

static_assert(twipsToPx(160) == 11);
static_assert(twipsToPx(1660) == 111);
static_assert(twipsToPx(22.5) == 2);
static_assert(twipsToPx(37.5) == 2);
static_assert(twipsToPx(52.5) == 4);
static_assert(twipsToPx(11130) == 742);

} // namespace qiravon
