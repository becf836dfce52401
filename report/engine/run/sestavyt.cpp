#include "report/engine/run/sestavyt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <climits>
#include <cmath>

#include "platform/MessageSink.h"
#include "platform/NumberText.h"
#include "platform/TVoranCanvas.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/sest_lib.h"
#include "report/engine/sestzpr.h"

namespace report {

namespace {

// Messages without a sink are dropped; questions are declined.
class DroppingSink : public platform::MessageSink {
public:
    void ShowMessage(const QString&) override {}
};

platform::MessageSink& droppedMessages() {
    static DroppingSink sink;
    return sink;
}

// The value as an int, the ends of the range for values beyond them (and 0 for NaN).
int saturatedInt(double v) {
    if (std::isnan(v)) return 0;
    return int(std::clamp(v, double(INT_MIN), double(INT_MAX)));
}

// The first entry of a value list (picture names, bar-code text).
QString firstValue(const QString& text) {
    QStringList parts;
    ParseValueList(text, parts);
    return parts.isEmpty() ? QString() : parts.first();
}

QString folderOf(const QString& fileName) {
    if (fileName.isEmpty()) return {};
    const qsizetype cut = fileName.lastIndexOf(u'/');
    return cut < 0 ? QString() : fileName.left(cut + 1);
}

} // namespace

TSestavaTyp::TSestavaTyp(QObject* owner, const QString& exeDir)
    : QObject(owner), Popis(LoadText(ReportText::DefaultPrintJob)),
      m_exeDir(exeDir.isEmpty() ? QCoreApplication::applicationDirPath() : exeDir) {
    m_formaty.Load(iniFilePath());
    connect(this, &TSestavaTyp::modelClearing, this, &TSestavaTyp::dropOutputPages);
}

TSestavaTyp::~TSestavaTyp() {
    ClearModel();
    for (TSestDetail* detail : m_detaily.items())
        static_cast<TSestavaTyp*>(detail)->m_master = nullptr;
}

QString TSestavaTyp::iniFilePath() const {
    return QDir(m_exeDir).filePath(IniFileName);
}

platform::MessageSink& TSestavaTyp::sink() const {
    if (m_messages) return *m_messages;
    return m_master ? m_master->sink() : droppedMessages();
}

void TSestavaTyp::showError(const QString& text) const {
    ShowError(sink(), text);
}

void TSestavaTyp::showWarning(const QString& text) const {
    ShowWarning(sink(), text);
}

bool TSestavaTyp::askYesNo(const QString& text) const {
    return AskYesNo(sink(), text);
}

// ---- items and parameters

void TSestavaTyp::SetItemNames(const QStringList& names) {
    m_itemNames = names;
    m_values.clear();
    for (qsizetype n = 1; n <= names.size(); ++n)
        m_values.append(LoadText(ReportText::KindItem) + u' ' + QString::number(n));
}

int TSestavaTyp::GetDataType(int) {
    return ftUnknown;
}

int TSestavaTyp::GetAlignment(int) {
    return taLeftJustify;
}

int TSestavaTyp::GetDisplayWidth(int) {
    return 10;
}

TCalcType TSestavaTyp::GetValue(int i) {
    TCalcType value;
    ClearCalcValue(value);
    value.text = GetItemText(i);
    value.number = GetFloat(i);
    if (GetDataType(i) == ftMemo) value.text = GetMemoText(i);
    return value;
}

QString TSestavaTyp::GetItemText(int i) {
    if (i >= 0 && i < m_values.size()) return m_values[i];
    return LoadText(ReportText::KindItem) + QStringLiteral(" ?");
}

QString TSestavaTyp::GetMemoText(int) {
    return {};
}

TPicture* TSestavaTyp::GetPicture(int) {
    return nullptr;
}

double TSestavaTyp::GetFloat(int i) {
    return i >= 0 && i < m_values.size() ? StrToFloatLoose(m_values[i]) : 0.0;
}

bool TSestavaTyp::IsNull(int) {
    return false;
}

QString TSestavaTyp::GetItemName(int i) const {
    return i >= 0 && i < m_itemNames.size() ? m_itemNames[i] : QString::number(i);
}

int TSestavaTyp::IndexOfItem(const QString& name) const {
    for (qsizetype i = 0; i < m_itemNames.size(); ++i)
        if (m_itemNames[i].compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

QString TSestavaTyp::GetItemDescription(int i) const {
    return i >= 0 && i < m_itemDescriptions.size() ? m_itemDescriptions[i] : QString();
}

QString TSestavaTyp::GetParameterTitle(int i) const {
    if (i >= 0 && i < m_parametry.size())
        return QString::number(i + 1) + QStringLiteral(": ") + m_parametry[i];
    return QString::number(i);
}

int TSestavaTyp::Step(int) {
    GetData();
    return srNoData;
}

int TSestavaTyp::UlozPredlohu() {
    return m_master ? m_master->UlozPredlohu() : seNothingDone;
}

int TSestavaTyp::UlozPredlohuJako() {
    return m_master ? m_master->UlozPredlohuJako() : seNothingDone;
}

// ---- pictures

void TSestavaTyp::NactiSeznamObrazu(QStringList& list) {
    if (m_master) {
        m_master->NactiSeznamObrazu(list);
        return;
    }
    const QDir folder(folderOf(GetPredlohaFileName()));
    const QStringList masks = TPicture::fileMasks().split(u';', Qt::SkipEmptyParts);
    list += folder.entryList(masks, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

bool TSestavaTyp::NactiObraz(const QString& name, TPicture& picture) {
    if (m_master) return m_master->NactiObraz(name, picture);
    // Older templates name folders with backslashes.
    const QString fileName = QString(name).replace(u'\\', u'/');
    const QString folder = folderOf(GetPredlohaFileName());
    if (!m_pictureFiles) m_pictureFiles = std::make_unique<PictureFiles>();
    for (const QString& candidate : {folder + fileName, fileName}) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isFile() &&
            m_pictureFiles->load(candidate, picture))
            return true;
    }
    picture.clear();
    return false;
}

void TSestavaTyp::LoadBackgroundPicture() {
    const QString name = m_background.own ? m_background.pictureName : Background;
    if (name.isEmpty()) {
        m_backgroundPicture.reset();
        return;
    }
    if (!m_backgroundPicture) m_backgroundPicture = std::make_unique<TPicture>();
    NactiObraz(name, *m_backgroundPicture);
}

// ---- the template model

TVoranReportElement* TSestavaTyp::CreateElement(TOddilSestavy* section, const QString& line) {
    auto element = std::make_unique<TVoranReportElement>(this);
    element->LoadFromLine(line, m_version);
    return section->Add(std::move(element));
}

TPolSkup* TSestavaTyp::AddGroup(int number, const QString& key, bool newPage, int footerHeight,
                                bool footerVisible, int headerHeight, bool headerVisible) {
    auto group = std::make_unique<TPolSkup>();
    group->Number = number;
    group->NewPage = newPage;
    if (!key.isEmpty() && !key[0].isDigit()) {
        group->KeyIndex = std::max(IndexOfItem(key), 0);
        group->KeyText = key;
    } else {
        QString digits = key;
        group->KeyIndex = NextFieldInt(digits, 0);
    }
    const int position = m_skupiny.Count();
    const auto addSection = [this](int sectionNumber, int height, bool visible) {
        auto section = std::make_unique<TOddilSestavy>(sectionNumber, 50);
        section->Height = height;
        section->Visible = visible;
        return m_oddily.Add(std::move(section));
    };
    group->Header = addSection(2 * position + 5, headerHeight, headerVisible);
    group->Footer = addSection(2 * position + 6, footerHeight, footerVisible);
    const QString name =
        LoadText(ReportText::KindGroup) + u' ' + QString::number(qint64(number) + 1);
    return m_skupiny.Add(name, std::move(group));
}

void TSestavaTyp::DeleteGroup(int i) {
    std::unique_ptr<TPolSkup> group = m_skupiny.Take(i);
    if (!group) return;
    m_oddily.Remove(group->Footer);
    m_oddily.Remove(group->Header);
}

void TSestavaTyp::dropOutputPages() {
    if (m_master)
        m_master->dropOutputPages();
    else if (m_vystup)
        m_vystup->Clear();
}

void TSestavaTyp::ClearModel() {
    emit modelClearing();
    m_oddily.ClearElements();
    for (int i = m_skupiny.Count() - 1; i >= 0; --i)
        DeleteGroup(i);
    m_predloha.clear();
}

void TSestavaTyp::resetTemplateSettings() {
    m_version = {};
    m_paper = {};
    m_columns = 1;
    m_columnGap = 0;
    m_designerValue = 0;
    m_grid = {};
    m_background = {};
    m_sectionFlags = {};
    for (int number = odZ; number <= odP; ++number) {
        TOddilSestavy* section = m_oddily.Oddil(number);
        section->Visible = true;
        section->Height = 0;
        section->Columns = 1;
        section->ColumnGap = 0;
    }
}

// ---- TSestavaD

TSestavaD::TSestavaD(QObject* owner, const QString& exeDir) : TSestavaTyp(owner, exeDir) {}

TSestavaD::~TSestavaD() = default;

void TSestavaD::GetData() {
    if (OnGetData) OnGetData(this);
}

void TSestavaD::TiskPrvku(TVoranReportElement* element, bool& print) {
    if (OnTiskPrvku) OnTiskPrvku(this, element, print);
}

void TSestavaD::PaintBox(int index, int width, int height, platform::TCanvas& canvas) {
    if (OnPaintBox && !m_designing) OnPaintBox(this, index, width, height, canvas);
}

bool TSestavaD::CheckDataSource() {
    if (eventsMode()) return true;
    if (!DataSource()) {
        showError(LoadText(ReportText::NoDataSource));
        return false;
    }
    if (!m_bridge.HasDataSet()) {
        showError(LoadText(ReportText::NoTableAttached));
        return false;
    }
    if (!m_bridge.Active()) {
        if (!askYesNo(LoadText(ReportText::TableNotActiveOpen))) return false;
        m_bridge.Open();
        if (!m_bridge.Active()) {
            showError(LoadText(ReportText::TableNotOpened));
            return false;
        }
        m_wasOpen = false;
    }
    for (TSestDetail* detail : m_detaily.items())
        if (!detail->CheckDataSource()) return false;
    return true;
}

void TSestavaD::closeIfOpenedByCheck() {
    if (!m_wasOpen) m_bridge.Close();
    m_wasOpen = true;
}

void TSestavaD::LoadItemNames() {
    if (DataSource() && m_bridge.HasDataSet()) {
        QStringList names;
        QStringList labels;
        m_bridge.ItemNames(names);
        m_bridge.ItemDescriptions(labels);
        SetItemNames(names);
        setItemDescriptions(labels);
    }
    for (TSestDetail* detail : m_detaily.items())
        detail->LoadItemNames();
}

bool TSestavaD::fieldInRange(int i) const {
    const Dataset* ds = m_bridge.DataSet();
    return !eventsMode() && ds && i >= 0 && i < ds->fieldCount();
}

int TSestavaD::GetDataType(int i) {
    int type = fieldInRange(i) ? m_bridge.FieldDataType(i) : TSestavaTyp::GetDataType(i);
    if (OnGetDataType) OnGetDataType(this, i, type);
    return type == ftFmtMemo ? ftMemo : type;
}

int TSestavaD::GetAlignment(int i) {
    int alignment = fieldInRange(i) ? m_bridge.FieldAlignment(i) : TSestavaTyp::GetAlignment(i);
    if (OnGetAlignment) OnGetAlignment(this, i, alignment);
    return alignment;
}

int TSestavaD::GetDisplayWidth(int i) {
    return fieldInRange(i) ? m_bridge.FieldDisplayWidth(i) : TSestavaTyp::GetDisplayWidth(i);
}

QString TSestavaD::GetItemText(int i) {
    return fieldInRange(i) ? m_bridge.FieldText(i) : TSestavaTyp::GetItemText(i);
}

QString TSestavaD::GetMemoText(int i) {
    return fieldInRange(i) ? m_bridge.MemoText(i) : TSestavaTyp::GetMemoText(i);
}

TPicture* TSestavaD::GetPicture(int i) {
    if (!fieldInRange(i)) return TSestavaTyp::GetPicture(i);
    if (!m_picture) m_picture = std::make_unique<TPicture>();
    if (!m_picture->LoadFromBytes(m_bridge.FieldBlob(i))) m_picture->clear();
    return m_picture.get();
}

double TSestavaD::GetFloat(int i) {
    if (!fieldInRange(i)) return TSestavaTyp::GetFloat(i);
    switch (m_bridge.FieldDataType(i)) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftDate:
    case ftTime:
    case ftDateTime:
        return m_bridge.FieldAsFloat(i);
    case ftBoolean:
        return m_bridge.FieldAsBoolean(i) ? 1.0 : 0.0;
    case ftString:
        return StrToFloatLoose(m_bridge.FieldText(i));
    default:
        return 0.0;
    }
}

bool TSestavaD::IsNull(int i) {
    return fieldInRange(i) ? m_bridge.FieldIsNull(i) : TSestavaTyp::IsNull(i);
}

int TSestavaD::Step(int dir) {
    int result = srNoData;
    if (OnStepData)
        result = OnStepData(this, dir);
    else if (DataSource())
        result = m_bridge.Step(dir);
    GetData();
    return result;
}

// ---- element operations that ask the report

TVoranReportElement::TVoranReportElement(TSestavaTyp* report) : Report(report) {
    ClearCalcValue(Value);
}

TVoranReportElement::~TVoranReportElement() = default;

bool TVoranReportElement::isItemOfType(std::initializer_list<int> types) const {
    if (Kind != ekItem || !Report) return false;
    const int type = Report->GetDataType(Index);
    return std::find(types.begin(), types.end(), type) != types.end();
}

bool TVoranReportElement::IsMultilineText() const {
    return GetMultiline() || isItemOfType({ftMemo});
}

bool TVoranReportElement::IsPicture() const {
    return Kind == ekPicture || isItemOfType({ftBlob, ftGraphic});
}

void TVoranReportElement::SetPenWidth(int width) {
    PenWidth = width;
    if (Kind == ekLine && width > 1) PenStyle = 0;
}

void TVoranReportElement::SetPenStyle(int style) {
    if (Kind != ekLine || PenWidth == 1) PenStyle = style;
}

QString TVoranReportElement::GetText() {
    // An element outside a report (the designer's clipboard, a lone test element) has only
    // what it holds itself.
    if (!Report && Kind >= ekItem && Kind <= ekFunction && Kind != ekVariable)
        return Kind == ekItem ? Value.text : Text;
    switch (Kind) {
    case ekText:
        return Text;
    case ekItem:
        if (IsPicture()) SetPicture(Report->GetPicture(Index));
        return Value.text;
    case ekItemLabel:
        return Report->GetItemDescription(Index);
    case ekParameter:
        return Index >= 0 && Index < Report->Parametry().size() ? Report->Parametry()[Index]
                                                                : QString();
    case ekVariable:
        if (Text.isEmpty()) return Value.text;
        if (Index == 0 || Index == 1) return platform::FormatDateTime(Text, Value.number);
        return platform::Format(Text, saturatedInt(Value.number));
    case ekFunction: {
        TRadekFunkce* function = Report->Funkce().GetFunkce(Index);
        return Index >= 0 && function ? function->GetResultText() : QString();
    }
    case ekBarcode:
        return firstValue(Text);
    default:
        return {};
    }
}

void TVoranReportElement::LoadPicture(const QString& names) {
    Text = names;
    // Templates separate picture names by ";"; value-list entries (quoted names, item
    // references) may each hold several.
    QStringList entries;
    ParseValueList(names, entries);
    QStringList list;
    for (const QString& entry : entries)
        list += entry.split(u';', Qt::SkipEmptyParts);
    m_picture = std::make_unique<TPicture>();
    m_loadedPictureName = list.isEmpty() ? QString() : list.first();
    const QString folder = folderOf(Report->GetPredlohaFileName());
    for (const QString& name : list) {
        if (Report->NactiObraz(name, *m_picture)) {
            // The name under which it was found: in the template's folder when it is there.
            const bool inFolder = !folder.isEmpty() && QFileInfo(folder + name).isFile();
            m_loadedPictureName = inFolder ? folder + name : name;
            return;
        }
        if (!folder.isEmpty() && Report->NactiObraz(folder + name, *m_picture)) {
            m_loadedPictureName = folder + name;
            return;
        }
    }
    m_picture.reset();
}

void TVoranReportElement::SetPicture(const TPicture* picture) {
    if (picture && !picture->isEmpty())
        m_picture = std::make_unique<TPicture>(*picture);
    else
        m_picture.reset();
    m_loadedPictureName.clear();
}

void TVoranReportElement::SetBarcodeText(const QString& text) {
    Text = text;
    Value.text = firstValue(text);
}

void TVoranReportElement::PreparePicture(TPicture* picture, int width, int height) const {
    if (Report) Report->PreparePicture(picture, width, height);
}

void TVoranReportElement::PaintDrawingArea() {
    const int zoom = std::clamp(BrushStyle, 1, 6);
    // Sizes from a template can be anything: scaled in 64 bits, kept within int.
    const auto scaled = [zoom](int size) {
        return int(std::clamp(qint64(zoom) * size, qint64(0), qint64(INT_MAX)));
    };
    const int width = scaled(Width);
    const int height = scaled(Height);
    platform::Metafile metafile(std::max(width - 1, 0), std::max(height - 1, 0), 100 * zoom);
    {
        platform::TVoranCanvas canvas(metafile, 100.0 * zoom);
        Report->PaintBox(Index, width, height, canvas);
    }
    m_picture = std::make_unique<TPicture>();
    m_picture->setMetafile(metafile);
    m_loadedPictureName.clear();
}

} // namespace report
