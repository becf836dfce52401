#!/usr/bin/python3
"""Writes tests/numerics/data/if97_backward.csv: reference temperatures of the IAPWS-IF97
backward equations T(p, h) and T(p, s) of regions 1 and 2 (sub-regions 2a, 2b, 2c).

The reference is python3-iapws, an independent IF97 implementation; only its plain backward
equations are called (iapws.iapws97._Backward1_T_Ph, _Backward1_T_Ps, _Backward2_T_Ph,
_Backward2_T_Ps). The inputs are h and s of states on a (T, p) grid, taken from its region 1
and region 2 basic equations, so that every input lies inside the region it is used for.

Grid: region 1 at T = 275..615 K every 10 K and 620 K, p from 0.01 to 100 MPa, only
p >= 1.001 ps(T). Region 2 at T = 275..1065 K every 10 K and 1073 K, p from 0.001 MPa in
steps of 1/4 decade below 4 MPa, 3.99 and 4.01 MPa, then every 2.5 MPa from 5 to 100 MPa,
only p <= ps(T) / 1.001 below 623.15 K and p <= pB23(T) / 1.001 up to 863.15 K. Rows closer
than 1e-6 relative to a sub-region boundary (p = 4 MPa, p = pB2bc(h), s = 5.85 kJ/(kg K))
are left out: there the sub-region is a matter of the tie rule, not of the equations. Added
rows beside the boundaries: along the B2bc line p = pB2bc(h) (1 +- 1e-4) for h = 2800 to
3500 kJ/kg, and s = 5.85 +- 1e-4 at 6.6 to 100 MPa.

Columns: function (T1_PI, T1_PS, T2_PI, T2_PS), sub-region (1, 2a, 2b, 2c), p [MPa],
h [kJ/kg] or s [kJ/(kg K)], T [K]. 17 significant digits. Run with /usr/bin/python3 from any
directory; the output is reproducible byte for byte.
"""

import os

from iapws.iapws97 import (_Backward1_T_Ph, _Backward1_T_Ps, _Backward2_T_Ph,
                           _Backward2_T_Ps, _P23_T, _PSat_T, _Region1, _Region2)

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "numerics", "data",
                   "if97_backward.csv")

# IF97 Table 19, B2bc boundary: pi = n1 + n2 eta + n3 eta^2.
B2BC = (0.90584278514723e3, -0.67955786399241, 0.12809002730136e-3)


def p_b2bc(h):
    return B2BC[0] + B2BC[1] * h + B2BC[2] * h * h


def near(a, b):
    return abs(a - b) <= 1e-6 * abs(b)


def sub_ph(p, h):
    if near(p, 4.0) or (p >= 4.0 and near(p, p_b2bc(h))):
        return None
    if p < 4.0:
        return "2a"
    return "2c" if p >= p_b2bc(h) else "2b"


def sub_ps(p, s):
    if near(p, 4.0) or (p >= 4.0 and near(s, 5.85)):
        return None
    if p < 4.0:
        return "2a"
    return "2b" if s > 5.85 else "2c"


def region1_states():
    temperatures = list(range(275, 616, 10)) + [620]
    pressures = [0.01, 0.05, 0.1, 0.2, 0.5, 1, 2, 3, 5, 7, 10, 15, 20, 25, 30, 40, 50, 60, 70,
                 80, 90, 100]
    for t in temperatures:
        for p in pressures:
            if p >= 1.001 * _PSat_T(t):
                yield float(t), float(p)


def region2_states():
    temperatures = list(range(275, 1066, 10)) + [1073]
    pressures = [10.0 ** (-3 + k / 4) for k in range(0, 15) if 10.0 ** (-3 + k / 4) < 4.0]
    pressures += [3.99, 4.01] + [5.0 + 2.5 * k for k in range(0, 39)]
    for t in temperatures:
        for p in pressures:
            if t < 623.15:
                top = _PSat_T(t) / 1.001
            elif t <= 863.15:
                top = _P23_T(t) / 1.001
            else:
                top = 100.0
            if p <= top:
                yield float(t), float(p)


def fmt(x):
    return "%.17g" % x


def main():
    rows = ["function,subregion,p,x,T"]
    for t, p in region1_states():
        state = _Region1(t, p)
        rows.append(",".join(["T1_PI", "1", fmt(p), fmt(state["h"]),
                              fmt(_Backward1_T_Ph(p, state["h"]))]))
        rows.append(",".join(["T1_PS", "1", fmt(p), fmt(state["s"]),
                              fmt(_Backward1_T_Ps(p, state["s"]))]))
    for t, p in region2_states():
        state = _Region2(t, p)
        h, s = state["h"], state["s"]
        sub = sub_ph(p, h)
        if sub:
            rows.append(",".join(["T2_PI", sub, fmt(p), fmt(h), fmt(_Backward2_T_Ph(p, h))]))
        sub = sub_ps(p, s)
        if sub:
            rows.append(",".join(["T2_PS", sub, fmt(p), fmt(s), fmt(_Backward2_T_Ps(p, s))]))
    for h in range(2800, 3501, 50):
        for factor in (1 - 1e-4, 1 + 1e-4):
            p = p_b2bc(h) * factor
            if 4.0 < p <= 100.0:
                rows.append(",".join(["T2_PI", sub_ph(p, h), fmt(p), fmt(float(h)),
                                      fmt(_Backward2_T_Ph(p, float(h)))]))
    for p in [6.6, 8.0, 10.0, 15.0, 20.0, 30.0, 40.0, 60.0, 80.0, 100.0]:
        for s in (5.85 - 1e-4, 5.85 + 1e-4):
            rows.append(",".join(["T2_PS", sub_ps(p, s), fmt(p), fmt(s),
                                  fmt(_Backward2_T_Ps(p, s))]))
    with open(OUT, "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
