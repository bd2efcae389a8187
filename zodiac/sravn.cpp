#include "zodiac/sravn.h"

namespace zodiac {
namespace {

// Does order `x` put body k in group 1 while order `y` ranks it strictly
// between bodies that `x` ranks after group 1? Slots first..kSlots-1.
bool splits_group_one(const SlotInts& iund, int first, const SlotInts& x, const SlotInts& y,
                      int k) {
  bool below = false;
  bool above = false;
  for (int m = first; m < kSlots; ++m) {
    if (iund[m] != 0 || x[m] == 1) continue;
    if (y[m] < y[k]) below = true;
    if (y[m] > y[k]) above = true;
  }
  return below && above;
}

}  // namespace

void compare_orders(const SlotInts& iund, const std::int32_t& ipr, const SlotInts& a,
                    const SlotInts& b, std::int32_t& result) {
  result = 0;
  // Slots ipr + 1 .. 7 as elements; an ipr below 1 would mean all slots.
  const int first = ipr < 0 ? 0 : ipr;

  // Pairs ranked after group 1 in both orders: opposite directions contradict.
  for (int i = first; i < kSlots; ++i) {
    if (iund[i] != 0 || a[i] == 1 || b[i] == 1) continue;
    for (int j = i + 1; j < kSlots; ++j) {
      if (iund[j] != 0 || a[j] == 1 || b[j] == 1) continue;
      const std::int32_t da = a[j] - a[i];
      const std::int32_t db = b[j] - b[i];
      if ((da > 0 && db < 0) || (da < 0 && db > 0)) {
        result = 1;
        return;
      }
    }
  }

  // A body of group 1 in one order may stand at either end of the circle in
  // the other, but not between bodies that the first ranks after group 1.
  for (int k = first; k < kSlots; ++k) {
    if (a[k] == 1 && splits_group_one(iund, first, a, b, k)) {
      result = 1;
      return;
    }
    if (b[k] == 1 && splits_group_one(iund, first, b, a, k)) {
      result = 1;
      return;
    }
  }
}

}  // namespace zodiac
