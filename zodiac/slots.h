// Per-body arrays of the search and of the order comparison hold seven
// entries in slot order. A SlotIndex s (1..7) is element s - 1.
#pragma once

#include <array>
#include <cstdint>

namespace zodiac {

enum SlotIndex : std::int32_t { MERCURY = 1, VENUS, SUN, MARS, JUPITER, SATURN, MOON };
inline constexpr int kSlots = 7;

using SlotDoubles = std::array<double, kSlots>;
using SlotInts = std::array<std::int32_t, kSlots>;  // iund flags, PlanetOrder ranks

}  // namespace zodiac
