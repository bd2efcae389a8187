#include "zodiac/csn.h"

#include "io/stop.h"

namespace zodiac {
namespace {

// Common offset of the boundaries: 1.5555556 as a float, widened.
constexpr double cs_offset = static_cast<double>(1.5555556f);

}  // namespace

// clang-format off
constinit const std::array<double, 12> cs_boundary = {
    30.0 + cs_offset,   // ARIES
    55.0 + cs_offset,   // TAURUS
    91.0 + cs_offset,   // GEMINI
    117.0 + cs_offset,  // CANCER
    136.0 + cs_offset,  // LEO
    171.0 + cs_offset,  // VIRGO
    214.0 + cs_offset,  // LIBRA
    238.0 + cs_offset,  // SCORPIO
    265.0 + cs_offset,  // SAGITTARIUS
    295.0 + cs_offset,  // CAPRICORN
    325.0 + cs_offset,  // AQUARIUS
    348.0 + cs_offset,  // PISCES, on to cs_boundary[0] + 360
};
// clang-format on

double cs_of_longitude(double& lon) {
  const auto& b = cs_boundary;
  // One step each way, not repeated: that fixes the accepted range.
  if (lon > 360.0) lon = lon - 360.0;
  if (lon < b[0]) lon = lon + 360.0;
  // Negated so that a NaN stops here instead of matching no constellation.
  if (!(lon < b[0] + 360.0)) io::stop("CS-----1");
  if (lon < b[0]) io::stop("CS-----2");

  double cs;
  if (lon >= b[11]) {
    cs = (lon - b[11]) / (b[0] - b[11] + 360.0) + 11.0;
  } else {
    int k = 0;
    while (!(lon < b[k + 1])) ++k;  // b[k] <= lon < b[k + 1], k <= 10
    cs = (lon - b[k]) / (b[k + 1] - b[k]) + k;
  }
  if (cs >= 12.0) cs = cs - 12.0;  // rounding at the very end of PISCES
  return cs;
}

}  // namespace zodiac
