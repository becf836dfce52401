#pragma once
// The frame of the T-s chart: 1000 x 1700 units, entropy to the right and temperature upwards.
// The chart generator draws in it and the chart window places its markers by it, so both
// share this one definition. A bitmap of another size holds the same frame scaled.

namespace tschart {

inline constexpr double FrameWidth = 1000.0;
inline constexpr double FrameHeight = 1700.0;

// Horizontal frame position of entropy s [kJ/(kg K)]: s = -0.35 at 0, 9.65 at the right edge.
constexpr double X(double s) {
    return 100.0 * s + 35.0;
}

// Vertical frame position (downwards) of temperature t [°C]: 837 °C at 0, -13 °C at the bottom.
constexpr double Y(double t) {
    return 1674.0 - 2.0 * t;
}

} // namespace tschart
