#include "app/Texts.h"

#include <array>

namespace texts {

namespace {

using Row6 = std::array<const char*, 6>;

constexpr std::array<Row6, 2> kMenuCaptions{{
    {"Výpočet", "Body", "Funkce", "Rozsahy", "Diagram", "Tisk"},
    {"Calculation", "Points", "Functions", "Ranges", "T-S chart", "Print"},
}};

constexpr std::array<Row6, 2> kInputLabels{{
    {"Teplota  [°C] :", "Tlak  [MPa] :", "Měrný objem  [m3/kg] :", "Entropie  [kJ/kgK] :",
     "Entalpie  [kJ/kg] :", "Suchost pary  [1] :"},
    {"Temperature [°C] :", "Pressure [MPa] :", "Spec. volume [m3/kg] :",
     "Spec. entropy [kJ/kgK] :", "Spec. enthalpy [kJ/kg] :", "Dryness [1] :"},
}};

constexpr std::array<Row6, 2> kRowNames{{
    {"Teplota = ", "Tlak = ", "Měrný objem = ", "Entropie = ", "Entalpie = ", "Suchost pary = "},
    {"Temperature = ", "Pressure = ", "Specific volume = ", "Specific entropy = ",
     "Specific enthalpy = ", "Dryness = "},
}};

constexpr Row6 kQuantityUnits{"°C", "MPa", "m3/kg", "kJ/kgK", "kJ/kg", " "};

constexpr std::array<Row6, 2> kColumnHeads{{
    {"Teplota\n°C", "Tlak\nMPa", "Měr. objem\nm3/kg", "Entropie\nkJ/kgK", "Entalpie\nkJ/kg",
     "Suchost pary"},
    {"Temperat.\n°C", "Pressure\nMPa", "S.volume\nm3/kg", "S.entropy\nkJ/kgK", "S.enthalpy\nkJ/kg",
     "Dryness\n1"},
}};

constexpr std::array<Row6, 2> kDerivedNames{{
    {"Měrné teplo při konst. P = ", "Měrné teplo při konst. V = ", "Koef. izoentrop. expanze = ",
     "Rychlost zvuku = ", "Dynamická viskozita = ", "Tepelná vodivost = "},
    {"Isobaric heat capacity = ", "Isochoric heat capacity = ", "Isentropic coefficient = ",
     "Speed of sound = ", "Dynamic viscosity = ", "Thermal conductivity = "},
}};

constexpr Row6 kDerivedUnits{"kJ/kgK", "kJ/kgK", " ", "m/s", "E-6 kg/m.s", "E-3 W/m.K"};

constexpr std::array<std::array<const char*, 12>, 2> kPageTexts{{
    {"V s t u p n í  v e l i č i n y", "V y p o č t e n é  v e l i č i n y",
     "V ý b ě r   f u n k c e", "V y p o č t e n á  h o d n o t a", "Oblast",
     "Mezní hodnoty teploty tlaku, měrného objemu, entropie, entalpie a suchosti páry:",
     "Nastavení počtu desetinných míst pro jednotlivé veličiny:", "Minimální hodnoty:",
     "Maximální hodnoty:", "KOLV podle IAPWS IF97", "Výstupní tisková sestava spočtených veličin",
     "Bod číslo:"},
    {"I n p u t  p a r a m e t e r s", "C a l c u l a t e d  v a l u e s",
     "F u n c t i o n  s e l e c t i o n", "R e s u l t", "Region",
     "\nDefinition range:", "Setting of decimal points :", "Minimum:", "Maximum:",
     "KOLV software (IAPWS IF97) - calculated values", "(Report)", "Point number:"},
}};

constexpr std::array<std::array<const char*, 11>, 2> kRegionNames{{
    {"Oblast tlakové vody", "Oblast přehřáté páry", "Kritická oblast", "Mimo funkční oblast",
     "Mokrá pára - kritická oblast", "Mokrá pára - subkritická oblast", "Mez sytosti",
     "Metastabilní oblast", "Hodnoty mimo funkční oblast", "Kombinace proměnných není odladěna",
     "Chybná kombinace zadání proměnných"},
    {"Pressure water", "Superheated steam", "Critical region", "Out of range",
     "Wet steam - critical region", "Wet steam - subcritical region", "Saturation line",
     "Metastable-steam region", "Input parameters are out of range",
     "This combination of parameters is not tuned",
     "This combination of parameters is not available"},
}};

// Off, on.
constexpr std::array<std::array<const char*, 2>, 2> kMetastableCaptions{{
    {"Procedura neuvažuje s výpočtem v metastabilní oblasti",
     "Procedura preferuje výpočet metastabilní oblasti"},
    {"Metastable-steam region is not included", "Metastable-steam region is preferably selected"},
}};

constexpr std::array<int, 10> kFixedDecimals{5, 5, 3, 3, 3, 3, 5, 4, 3, 3};

template <std::size_t N>
QString pick(const std::array<std::array<const char*, N>, 2>& table, int language, int index) {
    if (language < 0 || language > 1 || index < 0 || index >= static_cast<int>(N)) return {};
    return QString::fromUtf8(
        table[static_cast<std::size_t>(language)][static_cast<std::size_t>(index)]);
}

QString pickBoth(const Row6& table, int oneBased) {
    if (oneBased < 1 || oneBased > 6) return {};
    return QString::fromUtf8(table[static_cast<std::size_t>(oneBased - 1)]);
}

} // namespace

QString MenuCaption(int language, int tag) {
    return pick(kMenuCaptions, language, tag - 1);
}
QString InputLabel(int language, int q) {
    return pick(kInputLabels, language, q - 1);
}
QString RowName(int language, int q) {
    return pick(kRowNames, language, q - 1);
}
QString QuantityUnit(int q) {
    return pickBoth(kQuantityUnits, q);
}
QString ColumnHead(int language, int q) {
    return pick(kColumnHeads, language, q - 1);
}
QString DerivedName(int language, int row) {
    return pick(kDerivedNames, language, row - 1);
}
QString DerivedUnit(int row) {
    return pickBoth(kDerivedUnits, row);
}
QString PageText(int language, int index) {
    return pick(kPageTexts, language, index);
}

QString RegionName(int language, int regionCode) {
    return pick(kRegionNames, language, regionCode - 1);
}

QString MetastableCaption(int language, bool preferred) {
    return pick(kMetastableCaptions, language, preferred ? 1 : 0);
}

int FixedDecimals(int index) {
    return index >= 0 && index < 10 ? kFixedDecimals[static_cast<std::size_t>(index)] : 0;
}

int DerivedDecimals(int row) {
    return FixedDecimals(row <= 4 ? row + 3 : row - 3);
}

QString RotateHint() {
    return QStringLiteral("Klikem přesunout mezi vstupní veličiny");
}

QString ConfigReadError() {
    return QStringLiteral("Chyba při otevírání konfiguračního souboru - ");
}

} // namespace texts
