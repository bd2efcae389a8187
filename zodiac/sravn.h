// Module sravn: do two PlanetOrders of the same bodies contradict each other?
#pragma once

#include "zodiac/slots.h"

namespace zodiac {

// iund, ipr as for planet_order; a: the horoscope's order, b: the day's.
// Only slots ipr + 1 .. 7 take part. result: 0 no contradiction, 1 contradiction.
void compare_orders(const SlotInts& iund, const std::int32_t& ipr, const SlotInts& a,
                    const SlotInts& b, std::int32_t& result);

}  // namespace zodiac
