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

// The unit of entropy, and of the heat capacities.
constexpr const char* kEntropyUnit = "kJ/kgK";

constexpr Row6 kQuantityUnits{"°C", "MPa", "m3/kg", kEntropyUnit, "kJ/kg", " "};

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

constexpr Row6 kDerivedUnits{kEntropyUnit, kEntropyUnit, " ", "m/s", "E-6 kg/m.s", "E-3 W/m.K"};

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

constexpr std::array<std::array<const char*, 5>, 2> kFunctionGroups{{
    {"Mez sytosti", "Mokrá pára", "Obecné funkce", "Metastabilní oblast", "Doplňkové funkce"},
    {"Saturation line", "Wet Steam", "Multi regional functions", "Metastable-steam region",
     "Supplementary functions"},
}};

// Item i of group g is function code 100 g + i.
constexpr std::array<const char*, 8> kSaturationFunctions{"Ts_P",  "Ps_T",  "V12_T", "V23_T",
                                                          "I12_T", "I23_T", "S12_T", "S23_T"};
constexpr std::array<const char*, 16> kWetSteamFunctions{
    "P_TX", "T_PX", "V_PX", "V_TX", "I_PX", "I_TX", "S_PX", "S_TX",
    "P_TI", "V_TI", "S_TI", "X_TI", "T_PV", "S_PV", "I_PV", "X_PV"};
constexpr std::array<const char*, 21> kGeneralFunctions{
    "T_PI", "T_PS", "T_VI", "T_VS", "P_TS", "P_TV", "P_VI", "P_VS", "V_PI", "V_PS", "V_TP",
    "V_TS", "S_PI", "S_TP", "S_TV", "S_VI", "I_PS", "I_TP", "I_TS", "I_TV", "I_VS"};
constexpr std::array<const char*, 8> kMetastableFunctions{"Ims_PS", "Ims_TP", "Sms_PI", "Sms_TP",
                                                          "Tms_PI", "Tms_PS", "Vms_PI", "Vms_TP"};

constexpr std::array<std::array<const char*, 10>, 2> kSupplementaryFunctions{{
    {"Suchost", "Vlhkost", "Dynamická viskozita", "Tepelná vodivost", "Měrné teplo Cp",
     "Měrné teplo Cv", "KAPA", "Rychlost zvuku", "HISO", "PumpISO"},
    {"Dryness", "Moisture", "Dynamic Viscosity", "Thermal Conductivity", "Isobaric Heat Capacity",
     "Isochoric Heat Capacity", "Isentropic Exponent", "Speed of Sound", "HISO", "PumpISO"},
}};

constexpr std::array<std::array<const char*, 10>, 2> kResultLabels{{
    {"Suchost = ", "Vlhkost = ", "Dynamická viskozita = ", "Tepelná vodivost = ",
     "Měrné teplo při konstantním tlaku = ", "Měrné teplo při konstantním objemu = ",
     "Isoentropický exponent = ", "Rychlost zvuku = ", "Isoentropický spád = ",
     "Isoentropická práce čerpadla = "},
    {"Dryness = ", "Moisture = ", "Dynamic Viscosity = ", "Thermal Conductivity = ",
     "Isobaric Heat Capacity = ", "Isochoric Heat Capacity = ", "Isentropic Exponent = ",
     "Speed of Sound = ", "Isentropic heat drop = ", "Isentropic heat increasing = "},
}};

constexpr std::array<const char*, 10> kResultUnits{
    " ", " ", "E-6 kg/m.s", "E-3 W/m.K", "kJ/kg.K", "kJ/kg.K", " ", "m/s", "kJ/kg", "kJ/kg"};

constexpr std::array<std::array<const char*, 6>, 2> kChainInputLabels{{
    {"Tlak poč. expanze = ", "Entalpie poč. expanze = ", "Tlak konce expanze = ",
     "Tlak poč.komprese = ", "Teplota poč. komprese = ", "Tlak konce komprese = "},
    {"Pressure-before expansion = ", "Enthalpy-before expansion = ", "Pressure-after expansion = ",
     "Pressure-before compression = ", "Temperature-before compression = ",
     "Pressure-after compression = "},
}};

// Characters set apart by blanks; the trailing and leading blanks line the centred rows up.
constexpr const char* kRangesText =
    "0   < =   T  [ ° C ]   < =   8 0 0\n"
    "0 , 0 0 0 6 1 1 2   < =   P  [ M P a ]   < =   1 0 0                    \n"
    "0 , 0 0 3 1   < =   V  [ m 3 / k g ]   < =   2 0 6 , 1 3 9 7\n"
    "            0   < =   S  [ k J / k g K ]   < =   9 , 1 5 5 7 6\n"
    "            0   < =   I  [ k J / k g ]   < =   4 1 6 0 , 6 6\n"
    "0   < =   X  [ 1 ]   < =   1       ";

// Messages of our own.
constexpr std::array<const char*, 2> kConfigWriteErrors{
    "Nastavení se nepodařilo uložit do konfiguračního souboru - ",
    "The settings could not be saved to the configuration file - "};
constexpr std::array<const char*, 2> kNothingToPrint{
    "Nic není spočteno, není co tisknout.",
    "Nothing has been computed, there is nothing to print."};
constexpr std::array<const char*, 2> kDecimalsRanges{"Počet desetinných míst může být %1 až %2.",
                                                     "The number of decimal places is %1 to %2."};

template <std::size_t N> QStringList listOf(const std::array<const char*, N>& items) {
    QStringList list;
    for (const char* item : items)
        list.append(QString::fromUtf8(item));
    return list;
}

template <std::size_t N>
QString pick(const std::array<std::array<const char*, N>, 2>& table, int language, int index) {
    if (language < 0 || language > 1 || index < 0 || index >= static_cast<int>(N)) return {};
    return QString::fromUtf8(
        table[static_cast<std::size_t>(language)][static_cast<std::size_t>(index)]);
}

QString pickOne(const std::array<const char*, 2>& texts, int language) {
    if (language < 0 || language > 1) return {};
    return QString::fromUtf8(texts[static_cast<std::size_t>(language)]);
}

QString pickBoth(const Row6& table, int oneBased) {
    if (oneBased < 1 || oneBased > 6) return {};
    return QString::fromUtf8(table[static_cast<std::size_t>(oneBased - 1)]);
}

} // namespace

QString menuCaption(int language, int tag) {
    return pick(kMenuCaptions, language, tag - 1);
}
QString inputLabel(int language, int q) {
    return pick(kInputLabels, language, q - 1);
}
QString rowName(int language, int q) {
    return pick(kRowNames, language, q - 1);
}
QString quantityUnit(int q) {
    return pickBoth(kQuantityUnits, q);
}
QString columnHead(int language, int q) {
    return pick(kColumnHeads, language, q - 1);
}
QString derivedName(int language, int row) {
    return pick(kDerivedNames, language, row - 1);
}
QString derivedUnit(int row) {
    return pickBoth(kDerivedUnits, row);
}
QString pageText(int language, int index) {
    return pick(kPageTexts, language, index);
}

QString regionName(int language, int regionCode) {
    return pick(kRegionNames, language, regionCode - 1);
}

QString metastableCaption(int language, bool preferred) {
    return pick(kMetastableCaptions, language, preferred ? 1 : 0);
}

QString functionGroup(int language, int group) {
    return pick(kFunctionGroups, language, group - 1);
}

QStringList functionNames(int language, int group) {
    switch (group) {
    case 1:
        return listOf(kSaturationFunctions);
    case 2:
        return listOf(kWetSteamFunctions);
    case 3:
        return listOf(kGeneralFunctions);
    case 4:
        return listOf(kMetastableFunctions);
    case 5:
        if (language == Czech || language == English)
            return listOf(kSupplementaryFunctions[static_cast<std::size_t>(language)]);
        return {};
    default:
        return {};
    }
}

QString resultLabel(int language, int index) {
    return pick(kResultLabels, language, index);
}

QString resultUnit(int index) {
    if (index < 0 || index >= static_cast<int>(kResultUnits.size())) return {};
    return QString::fromUtf8(kResultUnits[static_cast<std::size_t>(index)]);
}

QString chainInputLabel(int language, int index) {
    return pick(kChainInputLabels, language, index);
}

QString rangesText(QChar separator) {
    // Every comma of the text is a decimal one.
    return QString::fromUtf8(kRangesText).replace(',', separator);
}

QString decimalsRange(int language, int least, int most) {
    return pickOne(kDecimalsRanges, language).arg(least).arg(most);
}

QString configWriteError(int language) {
    return pickOne(kConfigWriteErrors, language);
}

QString nothingToPrint(int language) {
    return pickOne(kNothingToPrint, language);
}

int fixedDecimals(int index) {
    return index >= 0 && index < 10 ? kFixedDecimals[static_cast<std::size_t>(index)] : 0;
}

int derivedDecimals(int row) {
    return fixedDecimals(row <= 4 ? row + 3 : row - 3);
}

QString rotateHint() {
    return QStringLiteral("Klikem přesunout mezi vstupní veličiny");
}

QString configReadError() {
    return QStringLiteral("Chyba při otevírání konfiguračního souboru - ");
}

} // namespace texts
