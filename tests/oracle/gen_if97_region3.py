#!/usr/bin/python3
"""Writes tests/numerics/data/if97_region3.csv: reference values of the IF97 region 3 basic
equation over a dense (T, v) grid, from python3-iapws (an independent IF97 implementation,
used here only as an oracle through its region 3 function of density and temperature).

Grid: T from 623.15 K to 863.15 K in steps of 10 K, plus 640, 645, 646, 647, 648, 650 and
655 K near the critical point; density from 110 to 760 kg/m3 in steps of 10 kg/m3. A point is
kept when its pressure lies between the B23 boundary pressure of T (at least 16.5 MPa) and
100 MPa, and, below the critical temperature, when it is mechanically stable and lies on the
single-phase side of the saturation pressure (liquid above it at densities over 322 kg/m3,
vapour below it at lower densities). That is the region 3 of the formulation, with the
near-critical states included.

Columns: T [K], v [m3/kg], p [MPa], h [kJ/kg], s [kJ/(kg K)], cv, cp [kJ/(kg K)], w [m/s],
all with 17 significant digits. Run with /usr/bin/python3 from any directory; the output is
reproducible byte for byte.
"""

import os

from iapws.iapws97 import _P23_T, _PSat_T, _Region3

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "numerics", "data",
                   "if97_region3.csv")
TC = 647.096
RHOC = 322.0


def temperatures():
    grid = [623.15 + 10 * k for k in range(25)]
    grid += [640.0, 645.0, 646.0, 647.0, 648.0, 650.0, 655.0]
    return sorted(set(grid))


def stable(T, rho, p):
    if T >= TC:
        return True
    # Stable: the pressure rises with density, and the state is on its phase's side of ps.
    drho = rho * 1e-6
    rising = _Region3(rho + drho, T)["P"] > _Region3(rho - drho, T)["P"]
    ps = _PSat_T(T)
    return rising and (p > ps if rho > RHOC else p < ps)


def main():
    rows = ["T,v,p,h,s,cv,cp,w"]
    for T in temperatures():
        p_low = max(_P23_T(T), 16.5)
        for rho in range(110, 761, 10):
            state = _Region3(float(rho), T)
            p = state["P"]
            if not p_low <= p <= 100.0 or not stable(T, float(rho), p):
                continue
            values = [T, 1.0 / rho, p, state["h"], state["s"], state["cv"], state["cp"],
                      state["w"]]
            rows.append(",".join("%.17g" % x for x in values))
    with open(OUT, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
