#!/usr/bin/python3
"""Writes tests/numerics/data/critical_region.csv: states around the critical point of water.

(t, p) states at and beside 373.946 degC and 22.064 MPa, and wet states from 1 K below it on to
where the region 3 equation's two densities at the IF97 saturation pressure merge. Saturation
pressures from python3-iapws (an independent IF97 implementation, an oracle only); densities
are roots of the region 3 pressure in 60-digit decimals, each isolated between the roots of the
isotherm's derivatives, on the stable branch: the liquid the densest, the vapour the thinnest,
above 373.946 degC the root of least Gibbs energy. The transcription is checked first.

Columns: region (3, or 5 for wet steam), t [degC], p [MPa], v [m3/kg], s [kJ/(kg K)],
h [kJ/kg], x, stiffness rho (dp/drho)_T / p (of the lesser saturated phase for wet steam).
Run with /usr/bin/python3; the output is reproducible.
"""

import os
from decimal import Decimal as D, getcontext

from iapws.iapws97 import _PSat_T, _Region3

getcontext().prec = 60
R, TC, RHOC, KELVIN = D("0.461526"), D("647.096"), D(322), D("273.15")
# IF97 region 3 (I, J, n); the first n is the coefficient of ln delta.
TABLE = """0 0 0.10658070028513e1 0 0 -0.15732845290239e2 0 1 0.20944396974307e2
0 2 -0.76867707878716e1 0 7 0.26185947787954e1 0 10 -0.28080781148620e1 0 12 0.12053369696517e1
0 23 -0.84566812812502e-2 1 2 -0.12654315477714e1 1 6 -0.11524407806681e1 1 15 0.88521043984318
1 17 -0.64207765181607 2 0 0.38493460186671 2 2 -0.85214708824206 2 6 0.48972281541877e1
2 7 -0.30502617256965e1 2 22 0.39420536879154e-1 2 26 0.12558408424308 3 0 -0.27999329698710
3 2 0.13899799569460e1 3 4 -0.20189915023570e1 3 16 -0.82147637173963e-2 3 26 -0.47596035734923
4 0 0.43984074473500e-1 4 2 -0.44476435428739 4 4 0.90572070719733 4 26 0.70522450087967
5 1 0.10770512626332 5 3 -0.32913623258954 5 26 -0.50871062041158 6 0 -0.22175400873096e-1
6 2 0.94260751665092e-1 6 26 0.16436278447961 7 2 -0.13503372241348e-1 8 26 -0.14834345352472e-1
9 2 0.57922953628084e-3 9 26 0.32308904703711e-2 10 0 0.80964802996215e-4
10 1 -0.16557679795037e-3 11 26 -0.44923899061815e-4""".split()
N1 = D(TABLE[2])
TERMS = [(int(TABLE[k]), int(TABLE[k + 1]), D(TABLE[k + 2])) for k in range(3, len(TABLE), 3)]


class Isotherm:
    """phi = n1 ln delta + sum_I a_I delta^I at one temperature, and tau d(phi)/d(tau)."""

    def __init__(self, T):
        self.T, tau = T, TC / T
        self.a, self.b = [D(0)] * 12, [D(0)] * 12
        for i, j, n in TERMS:
            self.a[i] += n * tau ** j
            self.b[i] += j * n * tau ** j

    def state(self, rho):
        d, T, su = rho / RHOC, self.T, lambda c, f: sum(f(i) * c[i] * d ** i for i in range(12))
        dphi, d2phi = N1 + su(self.a, lambda i: i), su(self.a, lambda i: i * (i - 1)) - N1
        phi, tphi = N1 * d.ln() + su(self.a, lambda i: 1), su(self.b, lambda i: 1)
        p = rho * R * T * dphi / 1000
        return {"p": p, "s": R * (tphi - phi), "h": R * T * (tphi + dphi), "g": phi + dphi,
                "stiff": rho * R * T * (2 * dphi + d2phi) / 1000 / p}

    def roots(self, p, c=None, lo=D("0.3"), hi=D("2.5")):
        """Every delta in [lo, hi] of p3 = p (of the polynomial c), each isolated between the
        roots of the derivative."""
        if c is None:
            k = R * self.T * RHOC / 1000
            c = [-p, k * N1] + [k * i * self.a[i] for i in range(1, 12)]
        if len(c) < 2:
            return []
        value = lambda x: sum(ck * x ** k for k, ck in enumerate(c))
        cuts = [lo] + self.roots(p, [k * c[k] for k in range(1, len(c))], lo, hi) + [hi]
        out = []
        for a, b in zip(cuts, cuts[1:]):
            if (value(a) < 0) == (value(b) < 0):
                continue
            for _ in range(190):
                m = (a + b) / 2
                a, b = (m, b) if (value(m) < 0) == (value(a) < 0) else (a, m)
            out.append((a + b) / 2)
        return out


def density(iso, p, branch):
    """The stable root of p3 = p: branch +1 the densest, -1 the thinnest, 0 least Gibbs."""
    rhos = [d * RHOC for d in iso.roots(p)]
    if branch:
        return max(rhos) if branch > 0 else min(rhos)
    return min(rhos, key=lambda rho: iso.state(rho)["g"])


def row(region, t, p, rhos, x):
    states = [Isotherm(D(t) + KELVIN).state(rho) for rho in rhos]
    mix = lambda f: (1 - x) * f[0] + x * f[-1]
    v = mix([1 / rho for rho in rhos])
    cells = [t, p, v, mix([st["s"] for st in states]), mix([st["h"] for st in states]), x,
             min(st["stiff"] for st in states)]
    return "%d," % region + ",".join("%.17g" % float(c) for c in cells)


def main():
    for rho, T in ((300, 650), (322, 647.096), (500, 700)):
        st, ref = Isotherm(D(T)).state(D(rho)), _Region3(rho, T)
        for k in ("p", "s", "h"):
            assert abs(float(st[k]) / ref[k.upper() if k == "p" else k] - 1) < 1e-12, (k, T)
    rows, tc = ["region,t,p,v,s,h,x,stiffness"], 373.946
    for dt in (-1, -0.1, -1e-2, -1e-3, -1e-4, 0, 1e-4, 1e-3, 1e-2, 0.1, 1):
        for dp in (-0.1, -1e-2, -1e-3, -1e-4, 0, 1e-4, 1e-3, 1e-2, 0.1):
            t, p = tc + dt, 22.064 + dp
            T = D(t) + KELVIN
            branch = 0 if dt >= 0 else (1 if p > _PSat_T(float(T)) else -1)
            rows.append(row(3, t, p, [density(Isotherm(T), D(p), branch)], 1))
    for dt in (-1, -0.1, -1e-2, -1e-3, -1e-4, -5e-5, -3e-5, -2e-5, -1e-5):
        t = tc + dt
        iso = Isotherm(D(t) + KELVIN)
        ps = _PSat_T(float(iso.T))
        sat = [density(iso, D(ps), 1), density(iso, D(ps), -1)]
        if sat[0] == sat[1]:  # closer to the critical point the two equations part: no dome
            continue
        for x in (0, 0.001, 0.3, 0.5, 0.7, 0.999, 1):
            rows.append(row(5, t, ps, sat, D(x)))
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "numerics", "data",
                       "critical_region.csv")
    with open(out, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
