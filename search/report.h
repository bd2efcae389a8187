// Every line that a search run writes, from its start banner to the closing.
// Destinations: the console and the report file otvet.txt (unit 3).
#pragma once

#include <cstdint>
#include <string_view>

#include "search/span.h"
#include "zodiac/slots.h"

namespace search {

void write_start_banner();
// slot: SlotIndex 1..7 of a body without a best point.
void write_not_determined(int slot);
void write_iund_error();
// lower_rad, upper_rad: the widened-before limits in radians, by slot.
void write_preamble(const SearchSpan& span, const zodiac::SlotDoubles& lower_rad,
                    const zodiac::SlotDoubles& upper_rad);
// The report of a day on which every body fits: day (Julian day, fraction .0),
// pos_deg: geocentric longitudes in degrees by slot, irdX: the order verdict,
// average: the mean distance from the best points, degrees.
void write_day_report(double day, const zodiac::SlotDoubles& pos_deg, std::int32_t irdX,
                      double average);
void write_progress(const SearchSpan& span, std::int32_t n);
// "ERROR!!! ird= " or "ERROR!!! irdD= " with the value, report file only.
void write_order_error(std::string_view label, std::int32_t value);
// The two closing lines; then the files are closed.
void write_closing();

}  // namespace search
