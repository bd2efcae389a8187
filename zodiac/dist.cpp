#include "zodiac/dist.h"

#include <cmath>

namespace zodiac {

double arc_distance(const double& a, const double& b) {
  double d = a - b;
  // Without this a difference whose ulp exceeds a turn would never shrink.
  if (std::fabs(d) >= 720.0) d = std::fmod(d, 360.0);
  do {
    if (d < 0.0) d = d + 360.0;
    if (d >= 360.0) d = d - 360.0;
    if (d > 180.0) d = 360.0 - d;
  } while (d < 0.0);
  return d;
}

}  // namespace zodiac
