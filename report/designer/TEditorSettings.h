#pragma once
// The designer's settings record, shared by every designer window, and its transfer to the
// sections "EditorSestav" and "Oddily" of the report's settings file. Field names are the
// file's keys.

#include <QString>

namespace designer {

struct TEditorSettings {
    int ImplMeritko = 6; // zoom index; read, never written
    int RastrX = 8;      // default grid steps, 1/100 inch, at least 1
    int RastrY = 8;
    bool RastrZobrazovat = true;
    bool RastrZarovnavat = true;
    bool MazaniJedne = false;
    bool MazaniVice = true;
    bool PosunMimo = false;
    int PocetUndo = 10; // history capacity
    bool UndoSave = false;
    bool ShowTree = false;
    bool SledPodle = false;
    bool PopisyPol = false;
    bool PismaAbec = false;
    int ImplSirka = 200; // default element size, 1/100 inch
    int ImplVyska = 20;
    int ImplZarovnani = 0;   // 0 left, 1 right, 2 centre
    int ImplZarovnaniCi = 1; // for numbers
    int ImplBarvaFontu = 0;  // palette index 0..15
    int ImplVyskaFontu = 10; // points
    QString ImplNazevFontu = QStringLiteral("Arial");
    int ImplStylFontu = 0;   // bold 1, italic 2, underline 4, strike-out 8
    int ImplSkriptFontu = 1; // charset, 0..255
    float zoom = 1.0f;       // the designer's current zoom; not stored
    float zoomCopy = 1.0f;

    bool operator==(const TEditorSettings&) const = default;
};

// The one record of the program.
TEditorSettings& EditorSettings();

// Every key read from the file at `iniPath` with its default: a negative font size is a
// height in 1/100 inch, turned into points; the font name cut to 32 characters; the charset's
// low 8 bits; grid steps below 1 become 8; an undo depth below 1 becomes 1. A missing or
// unreadable file gives the defaults.
TEditorSettings ReadEditorSettings(const QString& iniPath);
// Every key but ImplMeritko, in order, "EditorSestav" first; other sections and keys of the
// file stay as they are. False when the file could not be written (the old one is kept).
bool WriteEditorSettings(const TEditorSettings& settings, const QString& iniPath);

} // namespace designer
