#pragma once
// The preview's own toolbar pictures, drawn here (the style's standard set has no printer).

#include <QIcon>

namespace report {

// A printer with a sheet coming out of it, for the print action. Needs a QGuiApplication.
QIcon PrinterIcon();

} // namespace report
