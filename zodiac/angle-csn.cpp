#include "zodiac/angle-csn.h"

#include "io/stop.h"
#include "zodiac/csn.h"

namespace zodiac {
namespace {

constexpr double pi_single = static_cast<double>(3.1415927f);

}  // namespace

double longitude_of_cs(double& x) {
  const auto& b = cs_boundary;
  if (x > 12.0) x = x - 12.0;  // once; the caller keeps the reduced value
  if (x < 0.0) io::stop("ANGLE ----1");

  double deg;
  if (x >= 11.0 && x <= 12.0) {
    deg = b[11] + (b[0] - b[11] + 360.0) * (x - 11.0);  // PISCES, 42 degrees a unit
  } else if (x < 11.0) {
    const int k = static_cast<int>(x);  // k <= x < k + 1, x >= 0 here
    deg = b[k] + (b[k + 1] - b[k]) * (x - k);
  } else {
    io::stop("ANGLE ----2");  // above 24 before the reduction, or NaN
  }
  if (deg >= 360.0) deg = deg - 360.0;
  return (pi_single * deg) * 0.005555555555555556;
}

}  // namespace zodiac
