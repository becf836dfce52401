#pragma once
// Isentropic exponent kappa = -(v / p) (dp/dv)_s = w^2 / (p v) of water and steam,
// dimensionless (p in Pa, v in m3/kg, w in m/s).
//
// Workers: t in °C, p in MPa, v in m3/kg. They check nothing and are meant for states inside
// their region: region 2 and metastable vapour at (t, p), region 3 at (t, v) with v > 0.

namespace numerics {

double Kapa2_TP(double t, double p);
double Kapa2m_TP(double t, double p);
double Kapa3_TV(double t, double v);

} // namespace numerics
