#!/usr/bin/python3
"""Reference positions for the kav_scan table tests, made with ERFA.

Run:  /usr/bin/python3 tools/make_scan_reference.py > tests/data/scan_positions.txt
(needs python3-erfa, the Python binding of Debian's liberfa).

One row per day: the Julian day, its date in the Julian calendar (of the
day's integer part, a date running from noon to noon), then the geocentric
ecliptic longitudes in degrees, [0, 360), mean ecliptic and equinox of
J2000, in table order SUN MOON SATURN JUPITER MARS VENUS MERCURY URAN,
17 significant digits, and where the Moon came from.

- Sun and planets: eraPlan94 heliocentric positions (mean equator of J2000)
  rotated about x to the mean ecliptic of J2000 with the obliquity
  84381.448"; the Sun is the direction from the Earth-Moon barycentre
  (eraPlan94 body 3) to the Sun, a planet the direction from the
  barycentre to the planet, as the programs form them.
- Moon: 'lune3' = the level-3 value of SERIES85 listed in
  shared/data/README.md (only 2451545.0 is listed there); 'moon98' =
  eraMoon98 (GCRS) turned to the mean ecliptic of J2000 with eraEcm06 at
  J2000.

The tests print these values with F5.1 (degrees) and F5.2 (scale) and
compare whole lines, so every value must lie clear of the rounding
boundaries by more than ERFA can differ from the programs' ephemerides.
Tolerances used: planets and Sun 1e-5 degrees (the differences are about
1e-6), Moon from moon98 6" (README: at most 2.8" over 1900-2100), Moon
from the README table 1e-6 degrees (its 8 decimals). The check covers the
F5.1 boundaries of the degree value, the F5.2 boundaries of the scale value
(tolerance divided by the narrowest constellation, 19 degrees) and the start
of ARIES, where a degree value gains 360. The script stops with an error
when a day fails it (choose another day then).
"""
import math
import sys

import erfa

# Days of the table tests: the edge cases of the row count, and one day with
# a fraction for the first = last case.
DAYS = [2451545.0, 2451546.0, 2451547.0, 2451548.0, 2451550.0, 2440423.25]

README_MOON = {2451545.0: 223.31921674}

EPS = 84381.448 * math.pi / 648000.0
SE, CE = math.sin(EPS), math.cos(EPS)

TOL_PLANET = 1e-5
TOL_MOON98 = 6.0 / 3600.0
TOL_README = 1e-6

CS_OFFSET = 1.5555555820465088  # float 1.5555556 widened
WHOLE = [30, 55, 91, 117, 136, 171, 214, 238, 265, 295, 325, 348]
BOUNDARY = [w + CS_OFFSET for w in WHOLE]


def julian_calendar(jd):
    """Date of the integer part of jd in the proleptic Julian calendar
    (the conversion of a Julian day number without Gregorian correction)."""
    n = math.floor(jd)
    b = n + 1524
    c = math.floor((b - 122.1) / 365.25)
    d = math.floor(365.25 * c)
    e = math.floor((b - d) / 30.6001)
    day = b - d - math.floor(30.6001 * e)
    month = e - 1 if e < 14 else e - 13
    year = c - 4716 if month > 2 else c - 4715
    return year, month, day


def ecliptic_xy(p):
    x, y, z = (float(c) for c in p)
    return x, y * CE + z * SE


def degrees(y, x):
    return math.degrees(math.atan2(y, x)) % 360.0


def moon98(jd):
    rm = erfa.ecm06(2451545.0, 0.0)
    p = erfa.moon98(jd, 0.0)["p"]
    x, y = (sum(rm[r][k] * p[k] for k in range(3)) for r in range(2))
    return degrees(y, x)


def scale(lon):
    if lon >= BOUNDARY[11]:
        return (lon - BOUNDARY[11]) / (BOUNDARY[0] - BOUNDARY[11] + 360.0) + 11
    for k in range(11):
        if BOUNDARY[k] <= lon < BOUNDARY[k + 1]:
            return (lon - BOUNDARY[k]) / (BOUNDARY[k + 1] - BOUNDARY[k]) + k
    raise ValueError(lon)


def clearance(value, decimals):
    """Distance of value from the nearest rounding boundary of that many decimals."""
    unit = 10.0 ** -decimals
    frac = (value / unit) % 1.0
    return abs(frac - 0.5) * unit


def check(jd, name, lon, tol):
    shown = lon + 360.0 if lon < BOUNDARY[0] else lon
    problems = []
    if abs(lon - BOUNDARY[0]) <= tol:
        problems.append("start of ARIES")
    if clearance(shown, 1) <= tol:
        problems.append("F5.1 boundary")
    if clearance(scale(shown), 2) <= tol / 19.0:
        problems.append("F5.2 boundary")
    if problems:
        sys.exit(f"day {jd!r} {name} {lon:.6f}: within {tol} of {', '.join(problems)}")


def main():
    for line in __doc__.strip().splitlines():
        print('#' + (' ' + line if line else ''))
    print('# jd year month day SUN MOON SATURN JUPITER MARS VENUS MERCURY URAN moon_source')
    for jd in DAYS:
        xe, ye = ecliptic_xy(erfa.plan94(jd, 0.0, 3)[0])
        sun = degrees(-ye, -xe)
        planets = []
        for p in (6, 5, 4, 2, 1, 7):
            xp, yp = ecliptic_xy(erfa.plan94(jd, 0.0, p)[0])
            planets.append(degrees(yp - ye, xp - xe))
        if jd in README_MOON:
            moon, source, moon_tol = README_MOON[jd], 'lune3', TOL_README
        else:
            moon, source, moon_tol = moon98(jd), 'moon98', TOL_MOON98
        names = ['SUN', 'MOON', 'SATURN', 'JUPITER', 'MARS', 'VENUS', 'MERCURY', 'URAN']
        values = [sun, moon] + planets
        for name, value in zip(names, values):
            check(jd, name, value, moon_tol if name == 'MOON' else TOL_PLANET)
        year, month, day = julian_calendar(jd)
        print(repr(jd), year, month, day, ' '.join('%.17g' % v for v in values), source)


if __name__ == '__main__':
    main()
