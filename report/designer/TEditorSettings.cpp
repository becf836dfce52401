#include "report/designer/TEditorSettings.h"

#include "platform/IniFile.h"

#include <algorithm>

namespace designer {

namespace {

const QString kEditor = QStringLiteral("EditorSestav");
const QString kSections = QStringLiteral("Oddily");
constexpr int kFontNameLength = 32;
constexpr int kDefaultGrid = 8;

// One Boolean or integer field and its key, so that reading and writing share one table.
template <typename T> struct Key {
    const QString* section;
    const char* name;
    T TEditorSettings::*field;
};

const Key<bool> kBoolKeys[] = {
    {&kEditor, "RastrZobrazovat", &TEditorSettings::RastrZobrazovat},
    {&kEditor, "RastrZarovnavat", &TEditorSettings::RastrZarovnavat},
    {&kEditor, "MazaniJedne", &TEditorSettings::MazaniJedne},
    {&kEditor, "MazaniVice", &TEditorSettings::MazaniVice},
    {&kEditor, "PosunMimo", &TEditorSettings::PosunMimo},
    {&kEditor, "UndoSave", &TEditorSettings::UndoSave},
    {&kEditor, "ShowTree", &TEditorSettings::ShowTree},
    {&kEditor, "SledPodle", &TEditorSettings::SledPodle},
    {&kEditor, "PopisyPol", &TEditorSettings::PopisyPol},
    {&kEditor, "PismaAbec", &TEditorSettings::PismaAbec},
};

} // namespace

TEditorSettings& EditorSettings() {
    static TEditorSettings settings;
    return settings;
}

TEditorSettings ReadEditorSettings(const QString& iniPath) {
    const TEditorSettings d;
    TEditorSettings s;
    const platform::IniFile ini(iniPath);
    auto integer = [&](const QString& section, const char* key, int fallback) {
        return ini.readInteger(section, QString::fromLatin1(key), fallback);
    };
    s.ImplMeritko = integer(kEditor, "ImplMeritko", d.ImplMeritko);
    s.RastrX = integer(kEditor, "RastrX", d.RastrX);
    s.RastrY = integer(kEditor, "RastrY", d.RastrY);
    if (s.RastrX < 1) s.RastrX = kDefaultGrid;
    if (s.RastrY < 1) s.RastrY = kDefaultGrid;
    s.PocetUndo = std::max(integer(kEditor, "PocetUndo", d.PocetUndo), 1);
    for (const auto& key : kBoolKeys)
        s.*key.field = ini.readBool(*key.section, QString::fromLatin1(key.name), d.*key.field);
    s.ImplSirka = integer(kSections, "ImplSirka", d.ImplSirka);
    s.ImplVyska = integer(kSections, "ImplVyska", d.ImplVyska);
    s.ImplZarovnani = integer(kSections, "ImplZarovnani", d.ImplZarovnani);
    s.ImplZarovnaniCi = integer(kSections, "ImplZarovnaniCi", d.ImplZarovnaniCi);
    s.ImplBarvaFontu = integer(kSections, "ImplBarvaFontu", d.ImplBarvaFontu);
    s.ImplVyskaFontu = integer(kSections, "ImplVyskaFontu", d.ImplVyskaFontu);
    if (s.ImplVyskaFontu < 0) s.ImplVyskaFontu = int(-qint64(s.ImplVyskaFontu) * 72 / 100);
    // Cut to its length, the name ends as it reads back once written: without spaces.
    s.ImplNazevFontu =
        ini.readString(kSections, QStringLiteral("ImplNazevFontu"), d.ImplNazevFontu)
            .left(kFontNameLength)
            .trimmed();
    s.ImplStylFontu = integer(kSections, "ImplStylFontu", d.ImplStylFontu);
    s.ImplSkriptFontu = integer(kSections, "ImplSkriptFontu", d.ImplSkriptFontu) & 0xFF;
    return s;
}

bool WriteEditorSettings(const TEditorSettings& s, const QString& iniPath) {
    platform::IniFile ini(iniPath);
    auto integer = [&](const QString& section, const char* key, int value) {
        ini.writeInteger(section, QString::fromLatin1(key), value);
    };
    auto boolean = [&](const char* key, bool value) {
        ini.writeBool(kEditor, QString::fromLatin1(key), value);
    };
    integer(kEditor, "RastrX", s.RastrX);
    integer(kEditor, "RastrY", s.RastrY);
    boolean("RastrZobrazovat", s.RastrZobrazovat);
    boolean("RastrZarovnavat", s.RastrZarovnavat);
    boolean("MazaniJedne", s.MazaniJedne);
    boolean("MazaniVice", s.MazaniVice);
    boolean("PosunMimo", s.PosunMimo);
    integer(kEditor, "PocetUndo", s.PocetUndo);
    boolean("UndoSave", s.UndoSave);
    boolean("ShowTree", s.ShowTree);
    boolean("SledPodle", s.SledPodle);
    boolean("PopisyPol", s.PopisyPol);
    boolean("PismaAbec", s.PismaAbec);
    integer(kSections, "ImplSirka", s.ImplSirka);
    integer(kSections, "ImplVyska", s.ImplVyska);
    integer(kSections, "ImplZarovnani", s.ImplZarovnani);
    integer(kSections, "ImplZarovnaniCi", s.ImplZarovnaniCi);
    integer(kSections, "ImplBarvaFontu", s.ImplBarvaFontu);
    integer(kSections, "ImplVyskaFontu", s.ImplVyskaFontu);
    ini.writeString(kSections, QStringLiteral("ImplNazevFontu"),
                    s.ImplNazevFontu.left(kFontNameLength));
    integer(kSections, "ImplStylFontu", s.ImplStylFontu);
    integer(kSections, "ImplSkriptFontu", s.ImplSkriptFontu & 0xFF);
    return ini.save();
}

} // namespace designer
