// The designer window's side of its property panel: the panel's changes applied to the
// selection with their history steps, the typed text recorded, the z-order moves; the
// element dialog for one element, a bar code or the font of several; the user-function
// commands.

#include "platform/MessageSink.h"
#include "report/designer/DesignerPalette.h"
#include "report/designer/ElementTree.h"
#include "report/designer/PropertyPanel.h"
#include "report/designer/TDlgKonfPrvku.h"
#include "report/designer/TEditorSettings.h"
#include "report/designer/TFormSestE.h"
#include "report/designer/TFunkceDlg.h"
#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/run/Dataset.h"
#include "report/engine/sestzpr.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace designer {

namespace {

constexpr auto& kSides = PropertyPanel::kSides;

int fieldNumber(const QString& text, int fallback) {
    return PropertyPanel::fieldNumber(text, fallback);
}

// A size typed into a dialog: unchanged when not a number, and at least 3 (an element of no
// pixels cannot be reached with the mouse).
int fieldSize(const QString& text, int current) {
    const int value = fieldNumber(text, current);
    return value <= 0 ? 3 : value;
}

bool isTextKind(int kind) {
    return kind >= report::ekText && kind <= report::ekFunction;
}

// The font of a dialog into an element: the element keeps its own angle.
void takeFont(report::TVoranReportElement& element, const platform::TFont& font) {
    const int escapement = element.Font.escapement;
    element.Font = font;
    element.Font.height = 0;
    element.Font.escapement = escapement;
}

} // namespace

void TFormSestE::connectPropertyPanel() {
    connect(m_properties, &PropertyPanel::changeRequested, this, &TFormSestE::changeProperty);
    connect(m_properties, &PropertyPanel::textEntered, this, [this] { RecordChange(ckText); });
    connect(m_properties, &PropertyPanel::fontRequested, this, &TFormSestE::editSelectionFont);
    connect(m_properties, &PropertyPanel::zOrderRequested, this, &TFormSestE::moveInZOrder);
    connect(action(QStringLiteral("ActionFnInsert")), &QAction::triggered, this,
            &TFormSestE::insertFunction);
    connect(action(QStringLiteral("ActionFnEdit")), &QAction::triggered, this,
            &TFormSestE::editFunction);
    connect(action(QStringLiteral("ActionFnDelete")), &QAction::triggered, this,
            &TFormSestE::deleteFunction);
    connect(m_palette, &DesignerPalette::functionChosen, this,
            &TFormSestE::refreshFunctionActions);
    refreshFunctionActions();
}

// ---- showing

void TFormSestE::ShowProperties(TSesPrvek* element) {
    commitPendingText();
    m_properties->showElement(element);
    EnableSelectionControls(element != nullptr);
}

void TFormSestE::showSelectionState(bool enable) {
    if (!m_properties) return;
    const TSesPrvek* primary = primarySelection();
    m_properties->enableZOrder(enable && primary && !primary->multi());
    if (!enable) {
        commitPendingText();
        m_properties->clearElement();
    }
    if (m_tree) m_tree->showSelection();
}

// ---- changing

QList<TSesPrvek*> TFormSestE::propertyTargets(std::span<const report::ElementKind> kinds) const {
    TSesPrvek* const primary = primarySelection();
    if (!primary) return {};
    if (!primary->multi() || kinds.size() == 0) return {primary};
    QList<TSesPrvek*> targets;
    for (int i = 0; i < m_paper->PocetPrvku(); ++i) {
        TSesPrvek* element = m_paper->Prvek(i);
        if (element->multi() &&
            std::find(kinds.begin(), kinds.end(), element->Kind()) != kinds.end())
            targets << element;
    }
    return targets;
}

void TFormSestE::changeProperty(const PropertyChange& change) {
    if (m_properties->filling()) return;
    const QList<TSesPrvek*> targets = propertyTargets(change.kinds);
    if (targets.isEmpty()) return;
    for (TSesPrvek* element : targets) {
        change.apply(*element->element());
        element->SetZoom(m_paper->zoom());
    }
    // a picture's file is its text: the step holds it, no typing is left to record
    m_properties->textRecorded();
    RecordChange(change.step);
}

void TFormSestE::commitPendingText() {
    if (!m_properties) return;
    if (m_properties->takePendingText()) RecordChange(ckText);
}

void TFormSestE::moveInZOrder(bool front) {
    TSesPrvek* const primary = primarySelection();
    if (!primary) return;
    m_paper->ZOrder(primary, front);
    BuildElementTree();
    // no step of its own, but the change must reach the file
    m_document.rewriteCurrent(storedText(), true);
}

// ---- element dialogs

void TFormSestE::editSelectionFont() {
    const TSesPrvek* primary = primarySelection();
    if (!primary) return;
    TDlgKonfPrvku dialog(this);
    dialog.HideBasicPages();
    dialog.LoadFont(primary->element()->Font);
    if (dialog.exec() != QDialog::Accepted) return;
    const platform::TFont font = dialog.WorkingFont();
    changeProperty({ckFont, PropertyPanel::kTextKinds,
                    [&font](report::TVoranReportElement& e) { takeFont(e, font); }});
}

void TFormSestE::EditDataElement(TSesPrvek* element) {
    if (!element || !m_report) return;
    report::TVoranReportElement& e = *element->element();
    const int kind = e.Kind;
    if (!isTextKind(kind)) return;
    QStringList choices;
    const bool descriptions = EditorSettings().PopisyPol;
    switch (kind) {
    case report::ekItem:
    case report::ekItemLabel:
        for (int i = 0; i < m_report->GetItemCount(); ++i)
            choices << u'#' + QString::number(i + 1).leftJustified(3) +
                           (descriptions ? m_report->GetItemDescription(i)
                                         : m_report->GetItemName(i));
        break;
    case report::ekParameter:
        for (int i = 0; i < m_report->Parametry().size(); ++i)
            choices << ElementName(report::ekParameter, i);
        break;
    case report::ekVariable:
        for (const char* fixed :
             {"Datum tisku", "Čas tisku", "Číslo řádku", "Číslo stránky", "Počet stran"})
            choices << QString::fromUtf8(fixed);
        for (int k = 1; k <= m_groups.Count(); ++k)
            choices << QString::fromUtf8("Číslo ř. ve sk.") + QString::number(k)
                    << QString::fromUtf8("Číslo skupiny ") + QString::number(k);
        break;
    case report::ekFunction:
        for (int i = 0; i < m_report->Funkce().Count(); ++i)
            choices << m_report->Funkce().GetReference(i);
        break;
    default:
        break;
    }
    const bool followsList =
        kind == report::ekItem || kind == report::ekItemLabel || kind == report::ekFunction;
    if (followsList && (e.Index < 0 || e.Index >= choices.size())) return;
    commitPendingText();

    TDlgKonfPrvku dialog(this);
    dialog.setReport(m_report, &m_report->Funkce(), EditorSettings().SledPodle, m_groups.Count());
    dialog.HideBarcodePage();
    dialog.LoadFont(e.Font);
    const auto edit = [&dialog](const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    const auto box = [&dialog](const QString& name) { return dialog.findChild<QCheckBox*>(name); };
    edit("EdL")->setText(QString::number(e.Left));
    edit("EdH")->setText(QString::number(e.Top));
    edit("EdS")->setText(QString::number(e.Width));
    edit("EdV")->setText(QString::number(e.Height));
    edit("ERoztec")->setText(QString::number(e.Spacing));
    edit("EAngleT")->setText(QString::number(e.Angle));
    edit("EdTyp")->setText(TSesPrvek::KindName(kind));
    dialog.findChild<QComboBox*>(QStringLiteral("CBZarovnani"))
        ->setCurrentIndex(std::clamp(e.Alignment, 0, 2));
    for (int i = 0; i < 4; ++i)
        dialog.findChild<QToolButton*>(QStringLiteral("SBCarT%1").arg(i + 1))
            ->setChecked(e.Options & kSides[i]);

    dialog.ShowKindPanel(TDlgKonfPrvku::PanelText);
    auto* index = dialog.findChild<QComboBox*>(QStringLiteral("CbIndex"));
    auto* follow = dialog.findChild<QWidget*>(QStringLiteral("RGPodle"));
    if (kind == report::ekText) {
        index->hide();
        follow->hide();
        edit("EditText")->setText(e.Text);
        edit("EditText")->show();
    } else {
        index->addItems(choices);
        index->setCurrentIndex(e.Index >= 0 && e.Index < choices.size() ? e.Index : -1);
        follow->setVisible(followsList);
        dialog
            .findChild<QRadioButton*>(e.GetRefName().isEmpty() ? QStringLiteral("RBPodleCisla")
                                                               : QStringLiteral("RBPodleNazvu"))
            ->setChecked(true);
    }
    const auto check = [&box](const char* panel, int n, bool on) {
        box(QStringLiteral("%1_%2").arg(QLatin1String(panel)).arg(n))->setChecked(on);
    };
    int panel = TDlgKonfPrvku::PanelText;
    if (kind == report::ekItem) {
        const int type = m_report->GetDataType(e.Index);
        if (type == report::ftBlob || type == report::ftGraphic)
            panel = TDlgKonfPrvku::PanelPicture;
        else if (type == report::ftMemo)
            panel = TDlgKonfPrvku::PanelMemo;
    } else if (kind == report::ekVariable) {
        panel = TDlgKonfPrvku::PanelFunction;
    }
    dialog.ShowKindPanel(panel);
    if (kind != report::ekFunction) {
        check("PaDvText", 1, e.GetMultiline());
        check("PaDvText", 2, e.GetVarHeight());
        check("PaDvText", 3, e.GetJustify());
        check("PaDvMemo", 1, e.GetJustify());
        check("PaDvMemo", 2, e.GetVarHeight());
        check("PaDvMemo", 3, e.GetRtf());
        check("PaDvGraphic", 1, e.GetOption5());
        check("PaDvGraphic", 2, e.GetOption6());
        check("PaDvFunkce", 1, e.GetMultiline());
        check("PaDvFunkce", 2, e.GetVarHeight());
        check("PaDvFunkce", 3, e.GetJustify());
    }
    if (dialog.exec() != QDialog::Accepted) return;
    takeDataDialog(dialog, element);
}

void TFormSestE::takeDataDialog(TDlgKonfPrvku& dialog, TSesPrvek* element) {
    report::TVoranReportElement& e = *element->element();
    const int kind = e.Kind;
    const auto text = [&dialog](const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    };
    const auto checked = [&dialog](const char* panel, int n) {
        return dialog
            .findChild<QCheckBox*>(QStringLiteral("%1_%2").arg(QLatin1String(panel)).arg(n))
            ->isChecked();
    };
    e.Alignment =
        std::max(dialog.findChild<QComboBox*>(QStringLiteral("CBZarovnani"))->currentIndex(), 0);
    if (kind == report::ekText) {
        e.Text = text("EditText");
    } else {
        const int index = dialog.findChild<QComboBox*>(QStringLiteral("CbIndex"))->currentIndex();
        if (index >= 0 && index != e.Index) {
            e.Index = index;
            element->setToolTip(ElementName(kind, index));
            if (kind == report::ekItem) {
                e.Value = m_report->GetValue(index);
                e.SetPicture(m_report->GetDataType(index) == report::ftGraphic
                                 ? m_report->GetPicture(index)
                                 : nullptr);
            }
        }
        const bool byName =
            dialog.findChild<QRadioButton*>(QStringLiteral("RBPodleNazvu"))->isChecked();
        QString reference;
        if (byName && (kind == report::ekItem || kind == report::ekItemLabel))
            reference = m_report->GetItemName(e.Index);
        else if (byName && kind == report::ekFunction && m_report->Funkce().GetFunkce(e.Index))
            reference = m_report->Funkce().GetFunkce(e.Index)->Name();
        e.SetRefName(reference);
    }
    if (kind != report::ekFunction) {
        switch (dialog.shownPanel()) {
        case TDlgKonfPrvku::PanelText:
            e.SetMultiline(checked("PaDvText", 1));
            e.SetVarHeight(checked("PaDvText", 2));
            e.SetJustify(checked("PaDvText", 3));
            break;
        case TDlgKonfPrvku::PanelMemo:
            e.SetJustify(checked("PaDvMemo", 1));
            e.SetVarHeight(checked("PaDvMemo", 2));
            e.SetRtf(checked("PaDvMemo", 3));
            break;
        case TDlgKonfPrvku::PanelPicture:
            e.SetOption5(checked("PaDvGraphic", 1));
            e.SetOption6(checked("PaDvGraphic", 2));
            break;
        case TDlgKonfPrvku::PanelFunction:
            e.SetMultiline(checked("PaDvFunkce", 1));
            e.SetVarHeight(checked("PaDvFunkce", 2));
            e.SetJustify(checked("PaDvFunkce", 3));
            break;
        default:
            break;
        }
    }
    if (kind == report::ekItem && m_report->GetDataType(e.Index) == report::ftMemo)
        e.SetMultiline(true);
    for (int i = 0; i < 4; ++i)
        PropertyPanel::setBit(
            e.Options, kSides[i],
            dialog.findChild<QToolButton*>(QStringLiteral("SBCarT%1").arg(i + 1))->isChecked());
    e.Left = fieldNumber(text("EdL"), e.Left);
    e.Top = fieldNumber(text("EdH"), e.Top);
    e.Width = fieldSize(text("EdS"), e.Width);
    e.Height = fieldSize(text("EdV"), e.Height);
    e.Spacing = fieldNumber(text("ERoztec"), 0);
    e.Angle = fieldNumber(text("EAngleT"), 0);
    // the font tab is part of what OK confirms
    takeFont(e, dialog.WorkingFont());
    element->SetZoom(m_paper->zoom());
    // the text now in the element is the dialog's, no typing of the strip
    m_properties->forgetText();
    ClearSelection();
    SelectElement(element);
    RecordChange(ckElementSettings);
}

void TFormSestE::EditGraphicElement(TSesPrvek* element) {
    if (!element || element->Kind() != report::ekBarcode) return;
    report::TVoranReportElement& e = *element->element();
    commitPendingText();
    TDlgKonfPrvku dialog(this);
    dialog.HideFontPages();
    const auto edit = [&dialog](const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    const auto combo = [&dialog](const char* name) {
        return dialog.findChild<QComboBox*>(QString::fromLatin1(name));
    };
    const auto box = [&dialog](const char* name) {
        return dialog.findChild<QCheckBox*>(QString::fromLatin1(name));
    };
    edit("EdBcL")->setText(QString::number(e.Left));
    edit("EdBcH")->setText(QString::number(e.Top));
    edit("EdBcS")->setText(QString::number(e.Width));
    edit("EdBcV")->setText(QString::number(e.Height));
    edit("EditBcBarText")->setText(e.Text);
    edit("EBcAngleT")->setText(QString::number(e.Angle));
    combo("CBBcTypBarCode")->setCurrentIndex(PropertyPanel::barcodeTypeEntry(e.PenStyle));
    combo("CBBcSirkaBarCary")->setCurrentIndex(PropertyPanel::barcodeModuleEntry(e.PenWidth));
    box("CBBcCheckSum")->setChecked(e.GetOption5());
    box("CBBcBarText")->setChecked(e.GetOption6());
    if (dialog.exec() != QDialog::Accepted) return;

    e.Left = fieldNumber(edit("EdBcL")->text(), e.Left);
    e.Top = fieldNumber(edit("EdBcH")->text(), e.Top);
    e.Width = fieldSize(edit("EdBcS")->text(), e.Width);
    e.Height = fieldSize(edit("EdBcV")->text(), e.Height);
    e.Angle = fieldNumber(edit("EBcAngleT")->text(), 0);
    e.PenStyle = combo("CBBcTypBarCode")->currentIndex();
    e.PenWidth = combo("CBBcSirkaBarCary")->currentIndex() + 4;
    e.SetOption5(box("CBBcCheckSum")->isChecked());
    e.SetOption6(box("CBBcBarText")->isChecked());
    e.SetBarcodeText(edit("EditBcBarText")->text());
    element->SetZoom(m_paper->zoom());
    m_properties->forgetText();
    ClearSelection();
    SelectElement(element);
    RecordChange(ckElementSettings);
}

// ---- user functions

void TFormSestE::refreshFunctionActions() {
    const int chosen = m_palette->function();
    const int count = m_report ? m_report->Funkce().Count() : 0;
    action(QStringLiteral("ActionFnInsert"))->setEnabled(true);
    action(QStringLiteral("ActionFnEdit"))->setEnabled(chosen >= 0 && chosen < count);
    action(QStringLiteral("ActionFnDelete"))->setEnabled(count > 0 && chosen == count - 1);
}

void TFormSestE::insertFunction() {
    if (!m_report) return;
    action(QStringLiteral("ActionNoSelect"))->trigger();
    report::TListFunkci& functions = m_report->Funkce();
    report::TRadekFunkce& function = functions.AddFunction();
    if (TFunkceDlg::EditFunkce(this, m_report, &functions, EditorSettings().SledPodle,
                               m_groups.Count(), function) != 1) {
        functions.DeleteLast();
        return;
    }
    fillFunctionCombo();
    RecordChange(ckAddFunction);
}

void TFormSestE::editFunction() {
    if (!m_report) return;
    action(QStringLiteral("ActionNoSelect"))->trigger();
    const int chosen = m_palette->function();
    report::TListFunkci& functions = m_report->Funkce();
    report::TRadekFunkce* function = functions.GetFunkce(chosen);
    if (!function || TFunkceDlg::EditFunkce(this, m_report, &functions, EditorSettings().SledPodle,
                                            m_groups.Count(), *function) != 1)
        return;
    // a new title renames the elements that show the function
    for (int i = 0; i < m_paper->PocetPrvku(); ++i) {
        TSesPrvek* element = m_paper->Prvek(i);
        if (element->Kind() == report::ekFunction)
            element->setToolTip(ElementName(report::ekFunction, element->Index()));
    }
    fillFunctionCombo();
    m_palette->chooseFunction(chosen);
    RecordChange(ckEditFunction);
    BuildElementTree();
}

void TFormSestE::deleteFunction() {
    if (!m_report || m_report->Funkce().Count() == 0) return;
    if (sink().ShowBox(report::LoadText(report::ReportText::DeleteFunctionQuestion),
                       report::LoadText(report::ReportText::CaptionConfirm),
                       platform::MessageButtons::YesNo,
                       platform::MessageIcon::Question) != platform::MessageAnswer::Yes)
        return;
    action(QStringLiteral("ActionNoSelect"))->trigger();
    m_report->Funkce().DeleteLast();
    fillFunctionCombo();
    RecordChange(ckDeleteFunction);
}

} // namespace designer
