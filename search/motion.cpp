#include "search/motion.h"

namespace search {

// Largest change of the computed geocentric longitude between consecutive
// whole days, over every day from 625500 to 2451545 (measured once, with the
// routines as they are; the test MotionBounds measures it again).
// Degrees per day, by slot: Mercury, Venus, Sun, Mars, Jupiter, Saturn, Moon.
const double kMeasuredDailyMotionDeg[7] = {
    2.2020271978356192,   // Mercury
    1.2621364847524887,   // Venus
    1.0230781780572329,   // Sun
    0.791187350042037,    // Mars
    0.2424570831154802,   // Jupiter
    0.13288907975998399,  // Saturn
    15.404318120074763,   // Moon
};

namespace {
constexpr double kMargin = 1.05;  // 5 % above the measurement
constexpr double kDegToRad = 0.017453292519943295;
}  // namespace

double max_daily_motion(int slot) { return kMeasuredDailyMotionDeg[slot - 1] * kMargin * kDegToRad; }

}  // namespace search
