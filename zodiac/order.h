// Module order: rank bodies by the cyclic order of their longitudes.
#pragma once

#include "zodiac/slots.h"

namespace zodiac {

// positions: degrees by slot; iund: 1 for a body without best point;
// ipr: SlotIndex (1..7) of the reference body, whose iund must be 0;
// tolerance: degrees, >= 0. Out: ranks (the PlanetOrder: 1 for the reference
// body's group, 2, 3, ... forward, -99 for undetermined bodies) and groups.
// With iund(ipr) != 0 it writes "ERROR!!! iund(ipr).NE.0) - ORDER" to the
// console and to unit 3 and makes the plain stop.
void planet_order(const SlotDoubles& positions, const SlotInts& iund, const std::int32_t& ipr,
                  const double& tolerance, SlotInts& ranks, std::int32_t& groups);

}  // namespace zodiac
