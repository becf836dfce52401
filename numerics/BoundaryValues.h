#pragma once
// Saturation and boundary values that a region test hands to the routines that run after it in
// the same state calculation. Units: t in °C, p in MPa, v in m3/kg, s in kJ/(kg K), h in kJ/kg.
// Every field is 0 unless a step of the current calculation wrote it.

namespace numerics {

struct BoundaryRecord {
    double Ts, TB23, TMeta, T100;
    double Ps, PB23, P800;
    double V100, V12, V23, VB23, VTr;
    double S0, S12, S23, SB23, S800, S100, S350, STr;
    double I0, I12, I23, IB23, I800, I170, I100, I350;
};

// One record per thread: the library's single-threaded contract holds on each thread.
extern thread_local constinit BoundaryRecord BoundaryValues;

void ClearBoundaryValues() noexcept;

} // namespace numerics
