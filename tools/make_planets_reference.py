#!/usr/bin/python3
"""Reference table for the planets module, made with ERFA (eraPlan94).

Run:  /usr/bin/python3 tools/make_planets_reference.py > tests/data/planets_erfa.txt
(needs python3-erfa, the Python binding of Debian's liberfa).

eraPlan94 implements the same 1994 theory of mean elements with periodic
terms, independently written; it returns heliocentric position and velocity
(AU, AU/day) on the mean equator and equinox of J2000. Each row here is that
state rotated about the x axis back to the mean ecliptic of J2000 with the
obliquity ERFA uses, 84381.448 arc seconds:
    y_ecl =  y cos(eps) + z sin(eps)
    z_ecl = -y sin(eps) + z cos(eps)
Values are printed with 17 significant digits.

Expected differences from planet_position, which are not errors of either:
ERFA multiplies t by the double 0.3595362 for the base frequency of the
periodic terms where the module uses the single-precision 0.3595362 widened,
ERFA divides by 365250 where the module multiplies by its reciprocal, and
ERFA solves Kepler's equation from the mean anomaly instead of in the
eccentric longitude.

The status column is not ERFA's: it is the code planet_position must return,
3 outside Julian days 2086307.5 .. 2817151.5 (both included), else 0.
"""
import math

import erfa

WINDOW_FIRST, WINDOW_LAST = 2086307.5, 2817151.5

# Both window limits and their outer neighbours, J2000, 24 days spread over
# the window, and dates far outside it (the search starts near 625500).
DATES = ([WINDOW_FIRST, WINDOW_FIRST - 0.1, WINDOW_LAST, WINDOW_LAST + 0.1, 2451545.0]
         + [2086500.25 + k * 31700.375 for k in range(24)]
         + [625500.0, 1000000.0, 1538432.0, 2524607.0, 2900000.5])

EPS = 84381.448 * math.pi / 648000.0
SE, CE = math.sin(EPS), math.cos(EPS)


def ecliptic(v):
    x, y, z = (float(c) for c in v)
    return x, y * CE + z * SE, -y * SE + z * CE


def main():
    for line in __doc__.strip().splitlines():
        print('#' + (' ' + line if line else ''))
    print('# jd planet status x y z (AU) xdot ydot zdot (AU/day), mean ecliptic and equinox of J2000')
    for jd in DATES:
        status = 0 if WINDOW_FIRST <= jd <= WINDOW_LAST else 3
        for planet in range(1, 9):
            pv = erfa.plan94(jd, 0.0, planet)
            row = ecliptic(pv[0]) + ecliptic(pv[1])
            print(repr(jd), planet, status, ' '.join('%.17g' % c for c in row))


if __name__ == '__main__':
    main()
