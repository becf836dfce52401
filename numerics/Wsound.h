#pragma once
// Speed of sound w [m/s] of water and steam.
//
// Workers: t in °C, p in MPa, v in m3/kg. They check nothing and are meant for states inside
// their region: regions 1, 2 and metastable vapour at (t, p), region 3 at (t, v) with v > 0.
// The square root is unguarded: outside a region its argument may turn negative, which raises
// the invalid-operation flag.

namespace numerics {

double W1_TP(double t, double p);
double W2_TP(double t, double p);
double W2m_TP(double t, double p);
double W3_TV(double t, double v);

} // namespace numerics
