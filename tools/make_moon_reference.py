#!/usr/bin/python3
"""Writes tests/data/moon_erfa.txt: the Moon from ERFA's moon98 (Meeus's
abridged lunar series) as geocentric ecliptic longitude and latitude on the
mean ecliptic and equinox of J2000, for 1000 dates from 1900 to 2100.

moon98 gives GCRS; ecm06 at J2000 turns GCRS into the mean ecliptic and
equinox of J2000 (frame bias included). The date is used as TT, as the
programs use the day number unchanged.

Run with the system python, which has python3-erfa:
    /usr/bin/python3 tools/make_moon_reference.py > tests/data/moon_erfa.txt
"""
import math

import erfa

J2000 = 2451545.0
FIRST = 2415020.5  # 1900 January 0, 0h (1899 December 31)
LAST = 2488069.5   # 2100 January 1, 0h
COUNT = 1000


def main():
    rm = erfa.ecm06(J2000, 0.0)
    print("# Moon from ERFA moon98, mean ecliptic and equinox of J2000 (ecm06 at J2000)")
    print("# made by tools/make_moon_reference.py; ERFA", erfa.__version__)
    print("# julian_day(TT)  longitude_deg  latitude_deg")
    step = (LAST - FIRST) / (COUNT - 1)
    for i in range(COUNT):
        # A quarter-day offset on odd lines spreads the times of day.
        jd = FIRST + i * step + (0.25 if i % 2 else 0.0)
        jd = round(jd, 4)
        p = erfa.moon98(jd, 0.0)["p"]  # GCRS position, AU
        x, y, z = (sum(rm[r][k] * p[k] for k in range(3)) for r in range(3))
        lon = math.degrees(math.atan2(y, x)) % 360.0
        lat = math.degrees(math.atan2(z, math.hypot(x, y)))
        print(f"{jd:.4f} {lon:.9f} {lat:.9f}")


if __name__ == "__main__":
    main()
