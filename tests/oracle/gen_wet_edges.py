#!/usr/bin/python3
"""Writes tests/numerics/data/wet_edges.csv: wet steam at the edges of the wet region, beside
the triple point, on either side of 350 degC and up to 373 degC, at dryness 0.001, 0.5 and
0.999, from python3-iapws (an independent IF97 implementation, used here only as an oracle).

The saturation pressure is the IF97 saturation equation of python3-iapws. Up to 350 degC the
saturated liquid and vapour are its region 1 and region 2 equations at (T, ps). Above 350 degC
they are the two densities of the region 3 equation whose pressure is ps: on each branch the
first change of sign of p3(rho, T) - ps met on a density scan from that branch's side (the
vapour from low densities up, the liquid from high densities down) brackets the root, which
bisection then narrows to the last bit. The wet values mix the saturated ones linearly in x.

Columns: t [degC], x, p [MPa], v [m3/kg], h [kJ/kg], s [kJ/(kg K)], all with 17 significant
digits. Run with /usr/bin/python3 from any directory; the output is reproducible byte for byte.
"""

import os

from iapws.iapws97 import _PSat_T, _Region1, _Region2, _Region3

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "numerics", "data",
                   "wet_edges.csv")
KELVIN = 273.15
TEMPERATURES = [0.01, 0.02, 0.1, 1.0,
                349.0, 349.9, 349.999, 350.0001, 350.001, 350.003, 350.01, 351.0,
                360.0, 370.0, 373.0]
DRYNESS = [0.001, 0.5, 0.999]


def bisect(f, a, b):
    fa = f(a)
    if fa == 0:
        return a
    assert (fa < 0) != (f(b) < 0), (a, b)
    while True:
        m = (a + b) / 2
        if m in (a, b):
            return m
        fm = f(m)
        if fm == 0:
            return m
        if (fm < 0) == (fa < 0):
            a, fa = m, fm
        else:
            b = m


def region3_density(T, ps, start, stop, step):
    """The root of p3(rho, T) = ps met first on the scan start, start + step, ... stop."""
    gap = lambda rho: _Region3(rho, T)["P"] - ps
    rho, g = start, gap(start)
    while (step > 0 and rho < stop) or (step < 0 and rho > stop):
        nxt = rho + step
        g_next = gap(nxt)
        if (g < 0) != (g_next < 0):
            return bisect(gap, rho, nxt)
        rho, g = nxt, g_next
    raise ValueError("no root on the scan at T %r" % T)


def saturated(t):
    """ps and (v, h, s) of the saturated liquid and vapour at t [degC]."""
    T = t + KELVIN
    ps = _PSat_T(T)
    if t <= 350:
        phases = [_Region1(T, ps), _Region2(T, ps)]
        return ps, [(st["v"], st["h"], st["s"]) for st in phases]
    liquid = region3_density(T, ps, 800.0, 322.0, -0.5)
    vapour = region3_density(T, ps, 50.0, 322.0, 0.5)
    values = []
    for rho in (liquid, vapour):
        st = _Region3(rho, T)
        values.append((1 / rho, st["h"], st["s"]))
    return ps, values


def main():
    rows = ["t,x,p,v,h,s"]
    for t in TEMPERATURES:
        ps, (liquid, vapour) = saturated(t)
        for x in DRYNESS:
            mixed = [(1 - x) * a + x * b for a, b in zip(liquid, vapour)]
            rows.append(",".join("%.17g" % value for value in [t, x, ps] + mixed))
    with open(OUT, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
