// Module check: is a longitude inside an arc widened by a tolerance?
#pragma once

#include <cstdint>

namespace zodiac {

// angle, lower, upper, tolerance: radians. The arc runs forward from lower to
// upper; equal limits (as passed) are the whole circle and return 1 at once
// with nothing changed. Otherwise angle is normalised IN PLACE and lower and
// upper are widened and normalised IN PLACE (2 pi from the single-precision pi).
// Returns i_OK: 1 inside, 0 outside.
// Stops: "CHECK--1" angle, "CHECK--2" lower, "CHECK--3" upper out of [0, 2 pi)
// after their single normalisation.
std::int32_t arc_contains(double& angle, double& lower, double& upper, const double& tolerance);

}  // namespace zodiac
