#pragma once
// The template model of a report: the template text (TPredloha), its elements
// (TVoranReportElement), the sections they sit in, the groups and the registered detail reports.
// The template text format itself is read and written in sestavyt_text.cpp.

#include "platform/TCanvas.h"
#include "report/engine/expressions/sest_fn.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace report {

class TPicture;
class TSestavaTyp;
class TSestDetail;

// The template text, one line per entry.
class TPredloha : public QStringList {
public:
    using QStringList::QStringList;
    TPredloha(const QStringList& lines) : QStringList(lines) {}

    // The lines of a template file's bytes: a UTF-8 byte order mark is dropped, LF, CR LF and CR
    // all end a line, and bytes that are not valid UTF-8 are read as Windows-1250. The text ends
    // at an end-of-file byte (0x1A); other control bytes stay in the line that holds them.
    static TPredloha FromBytes(const QByteArray& bytes);
    // The file form: UTF-8, every line ended by CR LF.
    QByteArray ToBytes() const;
    // Replaces the lines by those of the file; false (lines unchanged) when it cannot be read.
    bool LoadFromFile(const QString& path);
};

// The version a template's I,1 line declares; templates without one count as current.
struct TemplateVersion {
    int major = 5;
    int minor = 40;
    int build = 17;

    bool operator==(const TemplateVersion&) const = default;
};

// Element kinds.
enum ElementKind : int {
    ekNone = 0,
    ekText = 1,
    ekItem = 2,
    ekItemLabel = 3,
    ekParameter = 4,
    ekVariable = 5,
    ekFunction = 6,
    ekLine = 7,
    ekFrame = 8,
    ekRoundFrame = 9,
    ekEllipse = 10,
    ekPicture = 11,
    ekBarcode = 12,
    ekDrawingArea = 13,
    ekDetail = 15,
};

// Text option bits (stored with the alignment in one template field).
enum TextOption : int {
    toRtf = 8,
    toMultiline = 16,
    toJustify = 32,
    toVarHeight = 64,
    toKept = 128
};
// Side and option bits: frame sides of text kinds and frames, and three bits (soOption5..7,
// GetOption5..7) whose meaning depends on the element kind, named below per kind.
enum SideOption : int {
    soLeft = 1,
    soTop = 2,
    soRight = 4,
    soBottom = 8,
    soOption5 = 16,
    soOption6 = 32,
    soOption7 = 64,
    // a line: its two diagonals and the ellipse in its rectangle
    soLineRising = soOption5,  // bottom left to top right
    soLineFalling = soOption6, // top left to bottom right
    soLineEllipse = soOption7,
    // a picture (and an item or drawing area that shows one)
    soPictureStretch = soOption5,    // fills the element's rectangle
    soPictureKeepAspect = soOption6, // while stretched, keeps its sides' ratio
    soPictureVariable = soOption7,   // may change per record: each output keeps its own copy
    // a bar code
    soBarcodeCheckDigit = soOption5,
    soBarcodeText = soOption6, // the code's text printed with the bars
};

// One element of a template section. Positions and sizes in 1/100 inch, relative to the
// section.
class TVoranReportElement {
public:
    explicit TVoranReportElement(TSestavaTyp* report);
    virtual ~TVoranReportElement();
    TVoranReportElement(const TVoranReportElement&) = delete;
    TVoranReportElement& operator=(const TVoranReportElement&) = delete;

    // Reads an element line. `version` is that of the template the line belongs to (the old
    // rule for system variables depends on it); bad fields take their defaults.
    void LoadFromLine(const QString& line, const TemplateVersion& version = {});
    // The element line with the section key `key`.
    QString SaveToLine(const QString& key) const;

    // The text the element shows now (for an item element also attaches the item's picture).
    QString GetText();
    QString GetSourceText() const { return Text; }
    void SetSourceText(const QString& text) { Text = text; }
    QString GetRefName() const { return RefName; }
    void SetRefName(const QString& name) { RefName = name.left(32); }

    bool GetRtf() const { return TextOptions & toRtf; }
    void SetRtf(bool on) { setBit(TextOptions, toRtf, on); }
    bool GetMultiline() const { return TextOptions & toMultiline; }
    void SetMultiline(bool on) { setBit(TextOptions, toMultiline, on); }
    bool GetJustify() const { return TextOptions & toJustify; }
    void SetJustify(bool on) { setBit(TextOptions, toJustify, on); }
    bool GetVarHeight() const { return TextOptions & toVarHeight; }
    void SetVarHeight(bool on) { setBit(TextOptions, toVarHeight, on); }
    bool GetFrameLeft() const { return Options & soLeft; }
    void SetFrameLeft(bool on) { setBit(Options, soLeft, on); }
    bool GetFrameTop() const { return Options & soTop; }
    void SetFrameTop(bool on) { setBit(Options, soTop, on); }
    bool GetFrameRight() const { return Options & soRight; }
    void SetFrameRight(bool on) { setBit(Options, soRight, on); }
    bool GetFrameBottom() const { return Options & soBottom; }
    void SetFrameBottom(bool on) { setBit(Options, soBottom, on); }
    bool GetOption5() const { return Options & soOption5; }
    void SetOption5(bool on) { setBit(Options, soOption5, on); }
    bool GetOption6() const { return Options & soOption6; }
    void SetOption6(bool on) { setBit(Options, soOption6, on); }
    bool GetOption7() const { return Options & soOption7; }
    void SetOption7(bool on) { setBit(Options, soOption7, on); }
    // 0 left, 1 right, 2 centre, 3 justified.
    int GetAlignment() const { return GetJustify() ? 3 : Alignment; }
    bool IsMultilineText() const;
    bool IsPicture() const;

    // A line of width above 1 is always solid; its style changes only while the width is 1.
    void SetPenWidth(int width);
    void SetPenStyle(int style);

    // Text ← names; loads the first of the ";"-separated picture names that the report can
    // load, by itself or in the template's folder; no picture when none can be loaded.
    void LoadPicture(const QString& names);
    // Takes a copy of `picture` (none frees it) and forgets the loaded name.
    void SetPicture(const TPicture* picture);
    TPicture* GetPicture() const { return m_picture.get(); }
    QString LoadedPictureName() const { return m_loadedPictureName; }
    // Text and value ← text, then the value's string ← the first part of the text.
    void SetBarcodeText(const QString& text);
    // Has the report paint drawing area `Index` into a metafile of zoom × the element's size
    // and keeps it as the element's picture.
    virtual void PaintDrawingArea();
    // Lets the report prepare `picture` before it is drawn at `width` × `height` (1/100 inch).
    void PreparePicture(TPicture* picture, int width, int height) const;

    TSestavaTyp* Report;
    QString Text;
    QString RefName;
    int Alignment = 0;
    int TextOptions = 0;
    int Options = 0;
    platform::TColor PenColor = 0;
    int PenStyle = 0;
    int PenWidth = 1;
    platform::TColor BrushColor = 0xFFFFFF;
    int BrushStyle = 0;
    int Angle = 0;
    int Further = 0;
    int Kind = ekNone;
    int Index = 0;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    platform::TFont Font;
    int Spacing = 0;
    TCalcType Value;

private:
    static void setBit(int& bits, int bit, bool on) { bits = on ? bits | bit : bits & ~bit; }
    bool isItemOfType(std::initializer_list<int> types) const;

    std::unique_ptr<TPicture> m_picture;
    QString m_loadedPictureName;
};

// Section numbers.
enum SectionNumber : int { odZ = 0, odH = 1, odT = 2, odK = 3, odP = 4 };

// One section: its elements (owned, in drawing order) and its layout.
class TOddilSestavy {
public:
    TOddilSestavy(int number, int further) : Number(number), Further(further) {}
    ~TOddilSestavy();
    TOddilSestavy(const TOddilSestavy&) = delete;
    TOddilSestavy& operator=(const TOddilSestavy&) = delete;

    TVoranReportElement* Add(std::unique_ptr<TVoranReportElement> element);
    int Count() const { return int(m_elements.size()); }
    TVoranReportElement* Prvek(int i) const;
    // Frees all elements, the last first.
    void Clear();
    // The height the section takes: 0 when hidden.
    int VisibleHeight() const { return Visible ? Height : 0; }

    int Number;
    int Height = 0;
    int Further;
    bool Visible = true;
    int Columns = 1;
    int ColumnGap = 0;

private:
    std::vector<std::unique_ptr<TVoranReportElement>> m_elements;
};

// The sections of a report: the five fixed ones first, then two per group.
class TListOddilu {
public:
    TListOddilu();
    int Count() const { return int(m_sections.size()); }
    // The section at position i; null out of range.
    TOddilSestavy* Oddil(int i) const;
    // The section with the section number, null when none.
    TOddilSestavy* ByNumber(int number) const;
    TOddilSestavy* Add(std::unique_ptr<TOddilSestavy> section);
    void Remove(TOddilSestavy* section);
    // Empties every section.
    void ClearElements();

private:
    std::vector<std::unique_ptr<TOddilSestavy>> m_sections;
};

// One group: a key item whose change breaks the group, with a header and a footer section.
struct TPolSkup {
    int Number = 0;
    int KeyIndex = 0;
    QString KeyText; // the item name as written, empty when the key is given by number
    bool NewPage = false;
    QString StoredKey;
    bool Break = false;
    TOddilSestavy* Header = nullptr; // owned by the report's section list
    TOddilSestavy* Footer = nullptr;
    int RowCounter = 1;
    int NumberCounter = 1;
};

// The groups of a report, outermost first, each under the name "Skupina n".
class TListSkupin {
public:
    int Count() const { return int(m_groups.size()); }
    TPolSkup* Skupina(int i) const;
    QString Name(int i) const { return i >= 0 && i < m_names.size() ? m_names[i] : QString(); }
    TPolSkup* Add(const QString& name, std::unique_ptr<TPolSkup> group);
    // Removes group i and returns it (its sections stay with the caller).
    std::unique_ptr<TPolSkup> Take(int i);
    // After a printed record: rows count on; a broken group restarts its rows and counts
    // one more group, and restarts its group count when the group outside it broke too.
    void Advance();
    // Counters as a run starts them: every group at its first row and its first group.
    void ResetCounters();

private:
    QStringList m_names;
    std::vector<std::unique_ptr<TPolSkup>> m_groups;
};

// The detail reports registered with a report (not owned).
class TListDetailu {
public:
    int Count() const { return int(m_details.size()); }
    TSestDetail* Detail(int i) const { return i >= 0 && i < Count() ? m_details[i] : nullptr; }
    void Add(TSestDetail* detail);
    void Remove(TSestDetail* detail) { m_details.removeAll(detail); }
    const QList<TSestDetail*>& items() const { return m_details; }

private:
    QList<TSestDetail*> m_details;
};

// Section flags of a report (bit 0 and bit 1 of a section's I,3 flags).
struct SectionFlags {
    bool reportHeaderOwnPage = false;     // Z bit 0
    bool noPageHeaderOnFirstPage = false; // H bit 0
    bool bodyEachRecordNewPage = false;   // T bit 0
    bool reportFooterNewPage = false;     // K bit 0
    bool reportFooterAtBottom = false;    // K bit 1
    bool noPageFooterOnLastPage = false;  // P bit 0

    void set(int section, int bits);
    int bits(int section) const;
};

} // namespace report
