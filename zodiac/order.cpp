#include "zodiac/order.h"

#include "io/list.h"
#include "io/stop.h"
#include "io/units.h"

namespace zodiac {

void planet_order(const SlotDoubles& positions, const SlotInts& iund, const std::int32_t& ipr,
                  const double& tolerance, SlotInts& ranks, std::int32_t& groups) {
  if (ipr < 1 || ipr > kSlots || iund[ipr - 1] != 0) {
    io::write_list(io::console, "ERROR!!! iund(ipr).NE.0) - ORDER");
    io::write_list(3, "ERROR!!! iund(ipr).NE.0) - ORDER");
    io::stop();
  }
  const int ref = ipr - 1;

  // Undetermined bodies count as placed from the start and are never ranked.
  bool placed[kSlots];
  for (int k = 0; k < kSlots; ++k) placed[k] = iund[k] != 0;

  // Forward distance from the reference body, [0, 360).
  double r[kSlots];
  for (int k = 0; k < kSlots; ++k) {
    double d = positions[k] - positions[ref];
    while (d < 0.0) d = d + 360.0;
    while (d >= 360.0) d = d - 360.0;
    r[k] = d;
  }
  r[ref] = 0.0;

  ranks[ref] = 1;
  placed[ref] = true;
  int current = ref;
  std::int32_t n = 1;
  for (;;) {
    int next = -1;
    double nearest = 370.0;
    for (int k = 0; k < kSlots; ++k) {
      if (!placed[k] && r[k] < nearest) {  // strictly: a tie keeps the lower slot
        nearest = r[k];
        next = k;
      }
    }
    if (next < 0) break;
    if (r[current] + tolerance < r[next]) n = n + 1;  // else it joins the current group
    ranks[next] = n;
    placed[next] = true;
    current = next;
  }
  groups = n;

  for (int k = 0; k < kSlots; ++k) {
    if (iund[k] != 0) ranks[k] = -99;
  }

  // The last group reaches the reference body from behind: merge it into
  // group 1. With a single group there is nothing to merge.
  if (n > 1 && r[current] + tolerance >= 360.0) {
    for (int k = 0; k < kSlots; ++k) {
      if (ranks[k] == n) ranks[k] = 1;
    }
    groups = n - 1;
  }
}

}  // namespace zodiac
