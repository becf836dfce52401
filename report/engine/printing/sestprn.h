#pragma once
// The page setup shared by the whole report library and the list of paper formats. All sizes
// are in hundredths of an inch. The printer side (metrics of the selected printer, margin
// checks, printer selection) is in sestprn_printer.h; the paper-format dialog in
// sestprn_dialog.h.

#include "platform/TCanvas.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace report {

struct TPageSetup {
    bool printerPresent = false;
    int paperWidth = 826;   // portrait width
    int paperHeight = 1169; // portrait height
    int orientation = 0;    // 0 portrait, 1 landscape
    int leftMargin = 50;
    int rightMargin = 50;
    int topMargin = 70;
    int bottomMargin = 70;
    int outputOffsetX = 0; // added to positions by the output writers
    int outputOffsetY = 0;
    int further[3] = {0, 0, 0}; // read by the report run and the text-printer writer
    float scaleX = 1.0f;        // printer dpi / 100
    float scaleY = 1.0f;
};

// The library's one page setup, with the start values until changed.
TPageSetup& PageSetup();

// Restores the page setup when it goes out of scope (for tests and dialogs that try values).
class PageSetupGuard {
public:
    PageSetupGuard() : m_saved(PageSetup()) {}
    ~PageSetupGuard() { PageSetup() = m_saved; }
    PageSetupGuard(const PageSetupGuard&) = delete;
    PageSetupGuard& operator=(const PageSetupGuard&) = delete;

private:
    TPageSetup m_saved;
};

// Paper width and height after orientation (landscape swaps them).
int PageWidth();
int PageHeight();
// The page less its margins; may be zero or negative when the margins exceed the paper.
int PrintableWidth();
int PrintableHeight();
// (left margin, top margin, left + printable width, top + printable height).
platform::TRect GetPrintableRect();

// The fonts a template may name: the screen fonts, then the printer-resident "Roman 10cpi",
// "Roman 12cpi", "Roman 17cpi". Built on first use.
const QStringList& PrinterFontList();
// Clears `list` and fills it as above.
void FillPrinterFontList(QStringList& list);

struct TFormatPapiru {
    QString name;  // at most 31 characters
    int width = 0; // portrait
    int height = 0;
};

// The paper formats: 18 built in (indexes 0-17), then the user's own from the settings file.
class TListFormatu {
public:
    static constexpr int builtInCount = 18;
    static constexpr int maxNameLength = 31;
    // More user formats than this are not read from a settings file.
    static constexpr int maxUserFormats = 1000;

    // The built-in formats alone.
    TListFormatu();

    int count() const { return int(m_formats.size()); }
    QStringList names() const;
    // Entry i; nullptr out of range.
    TFormatPapiru* GetFormat(int i);
    const TFormatPapiru* GetFormat(int i) const;

    // The built-ins, then the user formats of section "FormatyPapiru" of the settings file:
    // "PocetFormatu" of them, but no further than the highest "Format<k>" key present and at
    // most maxUserFormats; a missing key in between gives a 0 x 0 placeholder. A missing or
    // unreadable file gives no user formats.
    void Load(const QString& iniFileName);
    // Writes the user formats into the settings file, keeping its other contents; false when
    // the file could not be written (the previous file is then unchanged).
    bool Save(const QString& iniFileName) const;
    // The first format within 1 % of the size in both directions; otherwise a new user format
    // "uživ. formát" of that size. Returns its index.
    int FindOrAddFormat(int width, int height);
    // Appends a user format (name cut to 31 characters); returns its index.
    int AddFormat(const TFormatPapiru& format);
    // Removes user format i; built-in formats stay. False when nothing was removed.
    bool DeleteFormat(int i);

private:
    std::vector<TFormatPapiru> m_formats;
};

// A user-format value of the settings file, "name,width,height", the name possibly quoted.
TFormatPapiru ParseFormatValue(const QString& value);

// A template font (SetTemplateFont of sest_lib) against the printer font list of the printer
// model.
void SetTemplateFont(platform::TFont& font, const QString& name, int size, int charset,
                     int styleBits, int colorIndex);

} // namespace report
