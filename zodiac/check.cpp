#include "zodiac/check.h"

#include "io/stop.h"

namespace zodiac {
namespace {

constexpr double two_pi_single = 2.0 * static_cast<double>(3.1415927f);

// One turn added when negative, then one removed when a turn or more.
void normalise(double& a) {
  if (a < 0.0) a = a + two_pi_single;
  if (a >= two_pi_single) a = a - two_pi_single;
}

bool in_turn(double a) { return a >= 0.0 && a < two_pi_single; }  // false for NaN

}  // namespace

std::int32_t arc_contains(double& angle, double& lower, double& upper, const double& tolerance) {
  if (lower == upper) return 1;  // the whole circle

  normalise(angle);

  // Width of the gap from upper forward to lower. An arc that does not cross
  // 0 (g < 0) leaves the gap of a turn minus its length. Widening an arc whose
  // gap is no wider than twice the tolerance would make the limits pass each
  // other and leave only a sliver between them, so such an arc keeps its limits.
  const double g = lower - upper;
  const double gap = g < 0.0 ? two_pi_single + g : g;
  if (2.0 * tolerance < gap) {
    lower = lower - tolerance;
    upper = tolerance + upper;
  }
  normalise(lower);
  normalise(upper);

  if (!in_turn(angle)) io::stop("CHECK--1");
  if (!in_turn(lower)) io::stop("CHECK--2");
  if (!in_turn(upper)) io::stop("CHECK--3");

  bool inside;
  if (upper > lower) {
    inside = lower <= angle && angle <= upper;
  } else if (upper == lower) {
    inside = false;
  } else {  // across 0
    inside = angle >= lower || angle <= upper;
  }
  return inside ? 1 : 0;
}

}  // namespace zodiac
