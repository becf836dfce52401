#!/usr/bin/python3
"""Writes tests/numerics/data/if97_regions12.csv: reference values of IF97 regions 1 and 2 and of
the metastable-vapour equation on a fixed (t, p) grid.

Regions 1 and 2 come from python3-iapws (an independent implementation; run with
/usr/bin/python3, which has the module). It has no metastable-vapour equation, so those rows
come from this script's own evaluation of Eq. 18, a second transcription of Tables 10 and 16
checked against the release's verification values (Table 18) before anything is written.

Columns: region (1, 2 or 2m), t in °C (T = t + 273.15 K), p in MPa, v in m3/kg, h in kJ/kg,
s, cp, cv in kJ/(kg K), w in m/s; 17 significant digits. The output is deterministic.
"""

import math
import os

from iapws.iapws97 import _Region1, _Region2

R = 0.461526

# Saturation pressure, Eq. 30, Table 34; used only to keep grid points inside their region.
SAT_N = [0.11670521452767e4, -0.72421316703206e6, -0.17073846940092e2, 0.12020824702470e5,
         -0.32325550322333e7, 0.14915108613530e2, -0.48232657361591e4, 0.40511340542057e6,
         -0.23855557567849, 0.65017534844798e3]


def p_sat(T):
    n = SAT_N
    th = T + n[8] / (T - n[9])
    a = th * th + n[0] * th + n[1]
    b = n[2] * th * th + n[3] * th + n[4]
    c = n[5] * th * th + n[6] * th + n[7]
    return (2 * c / (-b + math.sqrt(b * b - 4 * a * c))) ** 4


def p_b23(T):
    """Boundary between regions 2 and 3, Eq. 5, Table 1."""
    return 0.34805185628969e3 - 0.11671859879975e1 * T + 0.10192970039326e-2 * T * T


# Metastable vapour: ideal-gas part (J0, n0), Table 10 with the changed n0_1 and n0_2.
META_IDEAL = [(0, -0.96937268393049e1), (1, 0.10087275970006e2), (-5, -0.56087911283020e-2),
              (-4, 0.71452738081455e-1), (-3, -0.40710498223928), (-2, 0.14240819171444e1),
              (-1, -0.43839511319450e1), (2, -0.28408632460772), (3, 0.21268463753307e-1)]
# Residual part (I, J, n), Table 16.
META_RESIDUAL = [(1, 0, -0.73362260186506e-2), (1, 2, -0.88223831943146e-1),
                 (1, 5, -0.72334555213245e-1), (1, 11, -0.40813178534455e-2),
                 (2, 1, 0.20097803380207e-2), (2, 7, -0.53045921898642e-1),
                 (2, 16, -0.76190409086970e-2), (3, 4, -0.63498037657313e-2),
                 (3, 16, -0.86043093028588e-1), (4, 7, 0.75321581522770e-2),
                 (4, 10, -0.79238375446139e-2), (5, 9, -0.22888160778447e-3),
                 (5, 10, -0.26456501482810e-2)]


def metastable(T, p):
    """v, h, s, cp, cv, w of Eq. 18 with the relations of IF97 Table 12."""
    pi, tau = p, 540.0 / T
    y = tau - 0.5
    g0 = math.log(pi) + math.fsum(n * tau**j for j, n in META_IDEAL)
    g0t = math.fsum(n * j * tau**(j - 1) for j, n in META_IDEAL)
    g0tt = math.fsum(n * j * (j - 1) * tau**(j - 2) for j, n in META_IDEAL)
    gr = math.fsum(n * pi**i * y**j for i, j, n in META_RESIDUAL)
    grp = math.fsum(n * i * pi**(i - 1) * y**j for i, j, n in META_RESIDUAL)
    grpp = math.fsum(n * i * (i - 1) * pi**(i - 2) * y**j for i, j, n in META_RESIDUAL)
    grt = math.fsum(n * j * pi**i * y**(j - 1) for i, j, n in META_RESIDUAL if j)
    grtt = math.fsum(n * j * (j - 1) * pi**i * y**(j - 2) for i, j, n in META_RESIDUAL if j > 1)
    grpt = math.fsum(n * i * j * pi**(i - 1) * y**(j - 1) for i, j, n in META_RESIDUAL if j)
    v = R * T / p * pi * (1 / pi + grp) / 1000
    h = R * T * tau * (g0t + grt)
    s = R * (tau * (g0t + grt) - (g0 + gr))
    cp = -R * tau**2 * (g0tt + grtt)
    a = 1 + pi * grp - tau * pi * grpt
    cv = cp - R * a * a / (1 - pi * pi * grpp)
    w2 = 1000 * R * T * (1 + 2 * pi * grp + pi * pi * grp * grp) / (
        1 - pi * pi * grpp + a * a / (tau * tau * (g0tt + grtt)))
    return v, h, s, cp, cv, math.sqrt(w2)


def check_metastable():
    """The release's Table 18 values, to nine significant digits."""
    published = [(450, 1, 0.192516540, 2768.81115, 6.56660377, 2.76349265, 498.408101),
                 (440, 1, 0.186212297, 2740.15123, 6.50218759, 2.98166443, 489.363295),
                 (450, 1.5, 0.121685206, 2721.34539, 6.29170440, 3.62795578, 481.941819)]
    for T, p, *expected in published:
        v, h, s, cp, _, w = metastable(T, p)
        for got, want in zip((v, h, s, cp, w), expected):
            assert abs(got - want) <= 1e-8 * abs(want), (T, p, got, want)


def grid():
    # Region 1: compressed water up to 350 °C and 100 MPa, above the saturation pressure.
    for t in [0.0, 5.0, 25.0, 50.0, 75.0, 100.0, 125.0, 150.0, 175.0, 200.0, 225.0, 250.0,
              275.0, 300.0, 325.0, 340.0, 350.0]:
        T = t + 273.15
        for p in [0.001, 0.01, 0.1, 0.5, 1.0, 2.0, 5.0, 10.0, 16.53, 20.0, 30.0, 50.0, 70.0,
                  80.0, 100.0]:
            if p >= 1.02 * p_sat(T):
                yield '1', t, p, _Region1(T, p)
    # Region 2: steam up to 800 °C, below the saturation pressure up to 350 °C and below the
    # B23 line up to 590 °C.
    for t in [0.0, 10.0, 25.0, 50.0, 75.0, 100.0, 150.0, 200.0, 250.0, 300.0, 350.0, 375.0,
              400.0, 450.0, 500.0, 550.0, 590.0, 600.0, 650.0, 700.0, 750.0, 800.0]:
        T = t + 273.15
        limit = p_sat(T) / 1.02 if t <= 350 else p_b23(T) / 1.02 if t <= 590 else 100.0
        for p in [0.0001, 0.0005, 0.001, 0.0035, 0.01, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0,
                  10.0, 15.0, 20.0, 25.0, 30.0, 40.0, 50.0, 70.0, 100.0]:
            if p <= limit:
                yield '2', t, p, _Region2(T, p)
    # Metastable vapour: supercooled, at up to twice the saturation pressure, p <= 10 MPa.
    for t in [0.0, 10.0, 25.0, 50.0, 75.0, 100.0, 150.0, 200.0, 250.0, 300.0]:
        T = t + 273.15
        for factor in [1.0, 1.05, 1.1, 1.3, 1.6, 2.0]:
            p = factor * p_sat(T)
            if p <= 10.0:
                v, h, s, cp, cv, w = metastable(T, p)
                yield '2m', t, p, {'v': v, 'h': h, 's': s, 'cp': cp, 'cv': cv, 'w': w}


def main():
    check_metastable()
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, '..', 'numerics', 'data', 'if97_regions12.csv')
    with open(out, 'w', encoding='utf-8', newline='\n') as f:
        f.write('region,t,p,v,h,s,cp,cv,w\n')
        for region, t, p, r in grid():
            values = [t, p] + [r[k] for k in ('v', 'h', 's', 'cp', 'cv', 'w')]
            f.write(region + ',' + ','.join('%.17g' % x for x in values) + '\n')


if __name__ == '__main__':
    main()
