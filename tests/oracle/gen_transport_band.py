#!/usr/bin/python3
"""Writes tests/numerics/data/transport_band.csv: reference viscosity and thermal conductivity
of compressed water and superheated steam for a sanity band around ViscosityTV and
ConductivityTV.

The reference comes from python3-iapws, which implements the newer IAPWS viscosity (2008) and
thermal conductivity (2011) formulations with densities from IAPWS-IF97, so the values are an
independent neighbour of the 1985 equations, not the same equations. Over this grid the 1985
viscosity stays within 2 % and the 1985 conductivity within 3.5 % of them.

Grid: t from 0 to 800 degC in steps of 20 K, leaving out 330 to 420 degC (near-critical
states, where the formulations part ways); p from 0.001 MPa in steps of 1/4 decade up to
20 MPa; only states in IF97 regions 1 and 2. Vapour colder than about 17 degC (only reachable
below 0.002 MPa) is outside the 2 % viscosity band: the dilute-gas terms of the two viscosity
formulations differ there by up to 2.5 %.

Columns: t [degC], v [m3/kg], viscosity [uPa s], thermal conductivity [mW/(m K)].
Run with /usr/bin/python3 from any directory; the output is reproducible byte for byte.
"""

import os

from iapws import IAPWS97

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "numerics", "data",
                   "transport_band.csv")


def grid():
    temperatures = [t for t in range(0, 801, 20) if not 330 <= t <= 420]
    pressures = [10.0 ** (-3 + k / 4) for k in range(0, 18) if 10.0 ** (-3 + k / 4) < 20.0]
    pressures.append(20.0)
    for t in temperatures:
        for p in pressures:
            yield t, p


def main():
    rows = ["t,v,mu,lambda"]
    for t, p in grid():
        state = IAPWS97(T=t + 273.15, P=p)
        if state.region not in (1, 2):
            continue
        rows.append("%d,%.12g,%.10g,%.10g" % (t, state.v, state.mu * 1e6, state.k * 1e3))
    with open(OUT, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
