// How far each body's computed geocentric longitude can move from one day to
// the next over the whole 50-century span, with a safety margin.
#pragma once

namespace search {

// slot: SlotIndex 1..7. Radians per day; a bound for consecutive whole days
// from 625500 to 2451545.
double max_daily_motion(int slot);

// The largest day-to-day motion measured over the span, degrees, by slot.
extern const double kMeasuredDailyMotionDeg[7];

}  // namespace search
