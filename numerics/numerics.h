#pragma once
// The water and steam property library (IAPWS-IF97; transport properties after IAPS 1985).
// Units: t in °C, p in MPa, v in m3/kg, s in kJ/(kg K), h in kJ/kg, x dimensionless.
// The only exception thrown is NumericFault: the state or property was not computed.

#include "numerics/FaultScope.h"
