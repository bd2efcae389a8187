// Module sravn: do two PlanetOrders of the same bodies contradict each other?
#pragma once

#include "zodiac/slots.h"

namespace zodiac {

// compare_orders
// Given (all read only):
//   iund, ipr  as for planet_order, the same for both orders.
//   a          the horoscope's PlanetOrder (its best points).
//   b          the day's PlanetOrder (computed positions).
// Returned:
//   result     0: no contradiction; 1: the orders contradict.
// Notes:
//   1. Only slots ipr + 1 .. 7 take part (the reference body has rank 1 in
//      both, the slots before it are undetermined); undetermined bodies never
//      count.
//   2. Contradiction: two bodies outside group 1 in both orders whose ranks
//      differ in opposite directions (equal ranks never contradict); or a body
//      that one order puts in group 1 and the other ranks strictly between
//      bodies that the first order ranks after group 1.
void compare_orders(const SlotInts& iund, const std::int32_t& ipr, const SlotInts& a,
                    const SlotInts& b, std::int32_t& result);

}  // namespace zodiac
