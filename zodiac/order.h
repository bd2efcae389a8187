// Module order: rank bodies by the cyclic order of their longitudes.
#pragma once

#include "zodiac/slots.h"

namespace zodiac {

// planet_order
// Given:
//   positions  longitudes by slot, degrees, normally [0, 360); read only.
//   iund       by slot: 1 for a body without best point (never ranked), 0
//              otherwise; read only.
//   ipr        SlotIndex (1..7) of the reference body; its iund must be 0.
//   tolerance  degrees, >= 0: a body within it of the body placed just
//              before it joins that body's group (chaining, so a group can
//              span more than the tolerance). 0: only equal longitudes share.
// Returned:
//   ranks      the PlanetOrder by slot: 1 for the reference body's group, then
//              2, 3, ... going forward from it, -99 for undetermined bodies.
//              Equal distances go to the lower slot first.
//   groups     the highest rank in use, >= 1.
// Notes:
//   1. When the last group lies within the tolerance behind the reference
//      body it closes the circle: it joins group 1 and groups drops by one.
//      A single group stays a single group (groups is never 0).
//   2. With ipr outside 1..7 or iund(ipr) != 0 the list-directed line
//      "ERROR!!! iund(ipr).NE.0) - ORDER" goes to the console, then to unit 3
//      (the report file, which must be open), and the program makes the
//      plain stop; ranks and groups are not written.
void planet_order(const SlotDoubles& positions, const SlotInts& iund, const std::int32_t& ipr,
                  const double& tolerance, SlotInts& ranks, std::int32_t& groups);

}  // namespace zodiac
