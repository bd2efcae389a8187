#!/usr/bin/python3
"""Bit-exact reference for planet_position: the same arithmetic, written again.

Run:  /usr/bin/python3 tools/make_planets_bits.py > tests/data/planets_bits.txt

A second, separately written implementation of the module's arithmetic in
Python, whose floats are IEEE doubles and whose math.sin, cos, atan2, asin,
fmod and pow are the C library's own. Every operation is written in the order
the module must use, so the results must agree with planet_position to the
last bit; a regrouped expression or a constant folded in a different way
shows up as a difference here long before it shows in a position.

The element and periodic-term tables are read from ephemeris/planets.cpp:
this checks the arithmetic, not the tables (tests/data/planets_erfa.txt
checks those). The tables must be the same libm as the tests run with: the
file was made on the Debian 12 machines the project builds on.

Values are printed with 17 significant digits, which give every double back.
"""
import math
import os
import re
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.join(HERE, '..', 'ephemeris', 'planets.cpp')

PI = 3.141592653589793
TWO_PI = 6.283185307179586
AS2R = PI / 648000.0
MU_FACTOR = struct.unpack('<f', struct.pack('<f', 0.3595362))[0]  # single precision, widened
assert MU_FACTOR == 0.35953620076179504
WINDOW_FIRST, WINDOW_LAST = 2086307.5, 2817151.5


def tables():
    text = re.sub(r'//[^\n]*', '', open(SOURCE).read())
    found = {}
    for name, body in re.findall(r'static const double (\w+)\[8\](?:\[\d+\])? = \{(.*?)\};',
                                 text, re.S):
        rows = re.findall(r'\{([^{}]*)\}', body)
        if rows:
            found[name] = [[float(v) for v in r.split(',') if v.strip()] for r in rows]
        else:
            found[name] = [float(v) for v in body.split(',') if v.strip()]
    return found


T = tables()


def reduce(x):
    """fmod by 2 pi (sign of the dividend), plus 2 pi when negative."""
    x = math.fmod(x, TWO_PI)
    if x < 0.0:
        x = x + TWO_PI
    return x


def kepler(lam, k, h, beta):
    l = math.fmod(lam, TWO_PI)
    e = math.sqrt(k * k + h * h)
    f = (l + e * (1.0 - e * e / 8.0) * math.sin(l)) + \
        e * e * (math.sin(2.0 * l) / 2.0 + 0.375 * e * math.sin(3.0 * l))
    n = 1
    while True:
        c = math.cos(f)
        s = math.sin(f)
        g = k * c + h * s
        hh = k * s - h * c
        res = (l - f) + hh
        rho = 1.0 - g
        if abs(res) < 1e-12:
            break
        if n == 11:
            return None
        f = f + res / rho
        n += 1
    return ((c - k) + h * beta * hh) / rho, ((s - h) - k * beta * hh) / rho, rho


def position(jd, planet):
    i = planet - 1
    t = (jd - 2451545.0) * 2.737850787132101e-06

    def poly(c):
        return c[0] + c[1] * t + c[2] * (t * t)

    def angle(c):
        return (3600.0 * c[0] + c[1] * t + c[2] * (t * t)) * AS2R

    a = poly(T['kSemiMajorAxis'][i])
    lam = angle(T['kMeanLongitude'][i])
    e = poly(T['kEccentricity'][i])
    varpi = reduce(angle(T['kPerihelion'][i]))
    inc = angle(T['kInclination'][i])
    node = reduce(angle(T['kNode'][i]))

    mu = MU_FACTOR * t
    na, ac, as_ = T['kAMultiplier'][i], T['kACos'][i], T['kASin'][i]
    nl, lc, ls = T['kLMultiplier'][i], T['kLCos'][i], T['kLSin'][i]
    for k in range(8):
        a = a + (ac[k] * math.cos(na[k] * mu) + as_[k] * math.sin(na[k] * mu)) * 1e-7
        lam = lam + (lc[k] * math.cos(nl[k] * mu) + ls[k] * math.sin(nl[k] * mu)) * 1e-7
    a = a + t * (ac[8] * math.cos(na[8] * mu) + as_[8] * math.sin(na[8] * mu)) * 1e-7
    for k in (8, 9):
        lam = lam + t * (lc[k] * math.cos(nl[k] * mu) + ls[k] * math.sin(nl[k] * mu)) * 1e-7
    lam = reduce(lam)
    inv_mass = 1.0 / T['kMassRatio'][i]

    k = e * math.cos(varpi)
    h = e * math.sin(varpi)
    q = math.sin(inc / 2.0) * math.cos(node)
    p = math.sin(inc / 2.0) * math.sin(node)
    s = math.sqrt((1.0 - h * h) - k * k)
    c = math.sqrt((1.0 - p * p) - q * q)
    beta = 1.0 / (1.0 + s)
    solved = kepler(lam, k, h, beta)
    if solved is None:
        return 2, [0.0] * 9
    cos_l, sin_l, rho = solved
    m = p * cos_l - q * sin_l
    r = a * rho
    x = r * (cos_l - 2.0 * m * p)
    y = r * (sin_l + 2.0 * m * q)
    z = -2.0 * r * m * c
    u = a * (h + sin_l) / s
    v = a * (k + cos_l) / s
    n = math.pow((1.0 + inv_mass) / (a * a * a), 0.5) / 206264.80624709636 * 3548.1876069651
    vx = n * ((2.0 * p * p - 1.0) * u + 2.0 * p * q * v)
    vy = n * ((1.0 - 2.0 * q * q) * v - 2.0 * p * q * u)
    vz = 2.0 * n * c * (p * u + q * v)
    status = 3 if (jd > WINDOW_LAST or jd < WINDOW_FIRST) else 0
    dist = math.sqrt(x * x + y * y + z * z)
    return status, [math.atan2(y, x), math.asin(z / dist), dist, x, y, z, vx, vy, vz]


# The dates of the ERFA table, and 12 more across the span the search visits.
DATES = ([WINDOW_FIRST, WINDOW_FIRST - 0.1, WINDOW_LAST, WINDOW_LAST + 0.1, 2451545.0]
         + [2086500.25 + k * 31700.375 for k in range(24)]
         + [625500.0, 1000000.0, 1538432.0, 2524607.0, 2900000.5]
         + [625500.5 + k * 152170.125 for k in range(12)])


# Days on which a plausible other reading of the arithmetic gives other bits
# (found by running such variants over every day of 625500 .. 2817152):
# pow(x, 0.5) replaced by sqrt(x), for (planet, day) in the first list, and
# c2*t*t grouped as (c2*t)*t instead of c2*(t*t), in the second. (a*a*a
# against pow(a, 3) differs on a tenth of all days, so DATES covers it.)
POW_DAYS = [(1, 727466.0), (2, 727550.0), (3, 762164.0), (4, 729295.0),
            (5, 727016.0), (6, 725857.0), (7, 733560.0), (8, 737536.0)]
SQUARE_DAYS = [(1, 726139.0), (2, 725692.0), (3, 725633.0), (4, 725572.0),
               (5, 725514.0), (6, 725541.0), (7, 725552.0), (8, 729976.0)]


def main():
    for line in __doc__.strip().splitlines():
        print('#' + (' ' + line if line else ''))
    print('# jd planet status lon lat (rad) r x y z (AU) xdot ydot zdot (AU/day)')
    cases = [(jd, planet) for jd in DATES for planet in range(1, 9)]
    cases += [(jd, planet) for planet, jd in POW_DAYS + SQUARE_DAYS]
    for jd, planet in cases:
        status, values = position(jd, planet)
        print(repr(jd), planet, status, ' '.join('%.17g' % v for v in values))


if __name__ == '__main__':
    main()
