// The least a straightforward search must do: the Sun's geocentric longitude
// on every day of the span, here with ERFA's eraPlan94 (heliocentric Earth,
// equatorial J2000; the longitude is only summed, so the frame does not
// matter for the timing).
#include <erfa.h>

#include <cmath>
#include <cstdio>

#include "search/span.h"

int main() {
  double sum = 0;
  for (double day = search::kSearchSpan.first_day; day <= search::kSearchSpan.last_day; day += 1.0) {
    double pv[2][3];
    eraPlan94(day, 0.0, 3, pv);
    sum += std::atan2(-pv[0][1], -pv[0][0]);
  }
  std::printf("%.6f\n", sum);
  return 0;
}
