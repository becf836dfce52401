#pragma once
// The main window's state for the whole run. Arrays are indexed 1..6 (element 0 is unused)
// by quantity (1 t, 2 p, 3 v, 4 s, 5 h, 6 x), by place or by derived row, as named.

#include <QChar>
#include <QPoint>
#include <QString>

#include <array>

// Rows of the Points table.
inline constexpr int kPointRows = 12;
// Decimals of t, p, v, s, h, x until kolv.cfg says otherwise (element 0 unused).
inline constexpr std::array<int, 7> kDefaultDecimals{0, 2, 3, 6, 4, 3, 4};

struct AppState {
    // Quantity shown in each place of the Calculation page: places 1, 2 are the inputs,
    // 3..6 the computed rows.
    std::array<int, 7> QuantityOrder{0, 1, 2, 3, 4, 5, 6};
    // t [°C], p [MPa], v [m3/kg], s [kJ/(kg K)], h [kJ/kg], x [1], by quantity.
    std::array<double, 7> StateValues{};
    // cp, cv [kJ/(kg K)], isentropic exponent, w [m/s], viscosity [µPa s],
    // conductivity [mW/(m K)], by derived row.
    std::array<double, 7> DerivedValues{};
    // Decimals shown per quantity; kept as read from kolv.cfg, even when outside 0..8.
    std::array<int, 7> DecimalPlaces = kDefaultDecimals;
    int CalcRegionCode = 0;
    // Whether StateValues hold a state the library computed (a region it computes in), or
    // only the given pair: nothing yet, unreadable input, a fault, a state out of range.
    bool StateComputed = false;
    // Which StateValues hold a value, by quantity: all of a computed state; else the inputs
    // given as numbers (at first the zeros the boxes show). The others hold nothing to show.
    std::array<bool, 7> StateKnown{false, true, true, false, false, false, false};
    bool BannerOpen = false;
    bool DiagramLoaded = false;
    bool PointsPageShown = false;
    bool MetastablePreferred = false;
    int PointsRow = 0;
    QString ExeDir; // with a trailing '/'
    QChar DecimalSeparator = '.';
    int CurrentPageTag = 1;
    bool HoverActive = false;
    int HoveredTag = 0;
    bool Dragging = false;
    QPoint DragStart; // in the background's coordinates
    int Language = 0; // 0 Czech, 1 English

    // The Points page's rows, column by column: PointsTable[0][row] is 1.0 for a computed row
    // and 0.0 otherwise; PointsTable[q][row] holds quantity q (1..6) of that row.
    std::array<std::array<double, kPointRows>, 7> PointsTable{};
    // The region each flagged row was computed in (out of range ones are flagged too).
    std::array<int, kPointRows> PointRegions{};
    // The two inputs as typed (trimmed) of each row that was given something and not computed
    // ("- - -" or "x x x" on the page); empty for every other row. A print shows these rows
    // with what they were given.
    std::array<std::array<QString, 2>, kPointRows> PointGivenInputs{};

    // The Print command's report run: the record shown (from 1) and how many there are.
    int CurrentRecord = 1;
    int RecordCount = 0;

    // The Functions page: 100 x group + item index of the chosen function, its name as listed,
    // how many inputs it takes (1..3), the decimals of its result and the parsed inputs.
    int FunctionCode = 100;
    QString FunctionName;
    int InputCount = 1;
    int ResultDecimals = 0;
    std::array<double, 3> FunctionInputs{};
};
