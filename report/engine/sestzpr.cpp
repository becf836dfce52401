#include "report/engine/sestzpr.h"

#include "platform/MessageSink.h"
#include "platform/PrintFailure.h"

namespace report {

namespace {

struct Entry {
    ReportText id;
    const char16_t* text;
};

// In the order of the enumeration; the check below keeps the two in step.
constexpr Entry kTexts[] = {
    {ReportText::NoDataSource, u"Není definován zdroj dat."},
    {ReportText::NoTableAttached, u"Ke zdroji dat není připojena žádná tabulka."},
    {ReportText::TableNotActiveOpen, u"Připojená tabulka není aktivní. Zkusit otevřít?"},
    {ReportText::TableNotOpened, u"Připojenou tabulku se nepodařilo otevřít."},
    {ReportText::NoTemplatePath, u"Není definována cesta a název souboru s předlohou."},
    {ReportText::TemplateMissingCreate,
     u"Nebyl nalezen soubor s předlohou tiskové sestavy \"%s\". Založit nový?"},
    {ReportText::TemplateNotCreated, u"Soubor s předlohou se nepodařilo vytvořit. \"%s\""},
    {ReportText::TemplateNotFound, u"Nebyl nalezen soubor s předlohou tiskové sestavy \"%s\""},
    {ReportText::TemplateNotSaved, u"Soubor s předlohou se nepodařilo uložit."},
    {ReportText::OutputNotSaved, u"Výstupní soubor se nepodařilo uložit."},
    {ReportText::AliasPathError, u"Function GetAliasPath error: %s"},
    {ReportText::UnknownAlias, u"Neznámý alias: %s\rBude použito stand. nastavení"},
    {ReportText::AliasNeedsDataSet,
     u"Nelze použít alias, protože není definován zdroj dat nebo není typu TDBDataSet"},
    {ReportText::FilterTemplates, u"Předlohy tiskových sestav (*.pts)|*.PTS"},
    {ReportText::FilterMetafiles,
     u"Enhanced meta file (*.emf)|*.EMF|Windows meta file (*.wmf)|*.WMF"},
    {ReportText::FilterText, u"Textový soubor (*.txt)|*.TXT|Všechny soubory (*.*)|*.*"},
    {ReportText::FilterRtf, u"Soubor RTF (*.rtf)|*.RTF|Všechny soubory (*.*)|*.*"},
    {ReportText::FilterHtml, u"Soubor HTML (*.html)|*.HTML|Všechny soubory (*.*)|*.*"},
    {ReportText::SelectFileTitle, u"Výběr souboru"},
    {ReportText::DefaultPrintJob, u"Tisková úloha VORAN"},
    {ReportText::NoSystemResources, u"Nedostatek systémových prostředků"},
    {ReportText::NoPrinterInstalled, u"V systému není nainstalovaná žádná tiskárna."},
    {ReportText::PreviewPrintJob, u"Tisková sestava"},
    {ReportText::PreparingItem, u"Připravuji tisk položky číslo: "},
    {ReportText::SendingToPrinter, u"Odesílám data do tiskárny ..."},
    {ReportText::PrintDialogTitle, u"Nastavení tisku"},
    {ReportText::MarginsTooSmall,
     u"Nastavené okraje tisku jsou menší, než umožňuje připojená tiskárna. Upravit "
     u"velikost okrajů podle možností tiskárny?"},
    {ReportText::PrinterFontName, u"Times New Roman CE"},
    {ReportText::KindItem, u"Položka"},
    {ReportText::KindGroup, u"Skupina"},
    {ReportText::KindGroups, u"Skupiny"},
    {ReportText::KindGroupNumbered, u"Skupina %d"},
    {ReportText::KindTableItem, u"Položka tabulky"},
    {ReportText::KindItemLabel, u"Popis položky"},
    {ReportText::KindParameter, u"Parametr"},
    {ReportText::KindVariable, u"Proměnná"},
    {ReportText::KindFunction, u"Funkce"},
    {ReportText::KindGraphicText, u"Grafický text"},
    {ReportText::SysVarPrintDate, u"Datum tisku"},
    {ReportText::SysVarPrintTime, u"Čas tisku"},
    {ReportText::SysVarRecordNumber, u"Pořadové číslo řádku"},
    {ReportText::SysVarPageNumber, u"Číslo strany"},
    {ReportText::SysVarPageCount, u"Celkový počet stran"},
    {ReportText::SysVarGroupRecordNumber, u"Číslo řádku ve skupině %d"},
    {ReportText::SysVarGroupNumber, u"Číslo skupiny %d"},
    {ReportText::KindLine, u"Úsečka"},
    {ReportText::KindFrame, u"Rámeček"},
    {ReportText::KindRoundFrame, u"Zaoblený rámeček"},
    {ReportText::KindEllipse, u"Elipsa"},
    {ReportText::KindPicture, u"Obrázek"},
    {ReportText::KindBarcode, u"Čárový kód"},
    {ReportText::KindDrawingArea, u"Kreslicí plocha"},
    {ReportText::KindUnknown, u"Neznámý"},
    {ReportText::ShortPrintDate, u"Datum tisku"},
    {ReportText::ShortPrintTime, u"Čas tisku"},
    {ReportText::ShortRecordNumber, u"Číslo řádku"},
    {ReportText::ShortPageNumber, u"Číslo stránky"},
    {ReportText::ShortPageCount, u"Počet stran"},
    {ReportText::ShortGroupRecordNumber, u"Číslo ř. ve sk."},
    {ReportText::ShortGroupNumber, u"Číslo skupiny"},
    {ReportText::SectionReportHeader, u"Začátek sestavy"},
    {ReportText::SectionPageHeader, u"Hlava stránky"},
    {ReportText::SectionBody, u"Tělo sestavy"},
    {ReportText::SectionReportFooter, u"Konec sestavy"},
    {ReportText::SectionPageFooter, u"Pata stránky"},
    {ReportText::SectionGroupHeader, u"Začátek skupiny"},
    {ReportText::SectionGroupFooter, u"Konec skupiny"},
    {ReportText::ExpressionError, u"Chyba : \"%s\" na pozici %d"},
    {ReportText::ExpressionOk, u"Výraz je v pořádku."},
    {ReportText::WizardNoItems, u"Nebyly vybrány žádné položky. Návrh nemůže být proveden!"},
    {ReportText::WizardPageNumber, u"Stránka číslo:"},
    {ReportText::WizardTitle, u"Nadpis sestavy"},
    {ReportText::WizardDate, u"Datum:"},
    {ReportText::EditorCaption, u"Oprava předlohy tiskové sestavy"},
    {ReportText::BaseVariant, u"Základní varianta"},
    {ReportText::UndoCommand, u"Zrušit"},
    {ReportText::UndoChangesCommand, u"Zrušit změny"},
    {ReportText::RedoCommand, u"Znovu"},
    {ReportText::RedoChangesCommand, u"Znovu změny"},
    {ReportText::DeleteElementQuestion, u"Smazat vybraný prvek?"},
    {ReportText::DeleteElementsQuestion, u"Smazat všechny vybrané prvky?"},
    {ReportText::ClearTemplateQuestion, u"Zrušit všechny prvky a začít s návrhem nové předlohy?"},
    {ReportText::DeleteFunctionQuestion, u"Smazat vybranou funkci?"},
    {ReportText::SaveChangesQuestion, u"V předloze sestavy byly provedeny změny. Uložit?"},
    {ReportText::DetailTabTitle, u"Detail %d: %s"},
    {ReportText::EditorTemplateNotSaved, u"Předlohu se nepodařilo uložit."},
    {ReportText::DeleteGroupQuestion,
     u"Opravdu smazat vybranou skupinu včetně případných vložených prvků sestavy?"},
    {ReportText::EditButton, u"Oprav"},
    {ReportText::ShowButton, u"Ukaž"},
    {ReportText::CaptionConfirm, u"Potvrzení"},
    {ReportText::CaptionInformation, u"Informace"},
    {ReportText::CaptionError, u"Chyba"},
    {ReportText::CaptionWarning, u"Varování"},
    {ReportText::StepInsertElement, u"vložení prvku"},
    {ReportText::StepFont, u"změna písma"},
    {ReportText::StepDeleteElement, u"zrušení prvku"},
    {ReportText::StepSections, u"nastavení oddílů a skupin"},
    {ReportText::StepSectionHeight, u"změna výšky oddílu"},
    {ReportText::StepText, u"změna textu"},
    {ReportText::StepMoveElement, u"posun prvku"},
    {ReportText::StepAlignment, u"změna zarovnávání"},
    {ReportText::StepEditFunction, u"oprava funkce"},
    {ReportText::StepAddFunction, u"přidání funkce"},
    {ReportText::StepDeleteFunction, u"zrušení funkce"},
    {ReportText::StepCut, u"vystřižení do úschovy"},
    {ReportText::StepPaste, u"vložení z úschovy"},
    {ReportText::StepElementSettings, u"nastavení prvku"},
    {ReportText::StepDetail, u"změna detailu"},
    {ReportText::VersionText, u"Verze"},
    {ReportText::VersionDated, u"ze dne"},
    {ReportText::PaperUserFormat, u"uživ. formát"},
    {ReportText::SettingsUserFormat, u"uživ. formát"},
    {ReportText::PaperUser, u"Uživat."},
    {ReportText::PaperFanfold, u"Skládaný"},
    {ReportText::PaperLetter, u"Letter"},
    {ReportText::PaperLegal, u"Legal"},
    {ReportText::PaperExecutive, u"Executive"},
    {ReportText::PaperEnvelope, u"Obálka"},
    {ReportText::PaperEnvelopeRotated, u"Obálka otoč."},
    {ReportText::DeleteUserFormatQuestion, u"Zrušit vybraný uživatelský formát?"},
    {ReportText::TemplateDamaged,
     u"Soubor s předlohou tiskové sestavy \"%s\" je poškozený, sestavu z něj nelze vytvořit."},
    {ReportText::RunStoppedAtEndPage,
     u"Sestava skončila na stránce %d, víc stránek mít nemůže. Zbývající záznamy v ní chybí."},
    {ReportText::PrintJobRefused, u"Tiskárna \"%s\" tiskovou úlohu nepřijala:\r%s"},
    {ReportText::PrintServiceSilent,
     u"Tisková služba systému (plánovač CUPS, %s) neodpovídá. Tisknout teď nelze, zkuste to "
     u"později."},
    {ReportText::PrintServiceDown,
     u"Tisková služba systému (plánovač CUPS, %s) neběží. Tisknout nelze."},
    {ReportText::PrinterGone, u"Tiskárna \"%s\" už v systému není."},
    {ReportText::PrinterStopped, u"Tiskárna \"%s\" je zastavená:\r%s"},
    {ReportText::PrinterRejecting, u"Tiskárna \"%s\" nepřijímá tiskové úlohy:\r%s"},
    {ReportText::PrintSpoolNotWritten,
     u"Tiskovou úlohu pro tiskárnu \"%s\" se nepodařilo zapsat do dočasné složky \"%s\" "
     u"(například je plný disk). Na tiskárnu nebylo nic odesláno."},
    {ReportText::PrintJobFailed,
     u"Tiskárna \"%s\" tiskovou úlohu nevytiskla:\r%s\rÚloha byla zrušena."},
    {ReportText::WaitingForPrintService, u"Čekám na odpověď tiskové služby ..."},
};

constexpr bool inOrder() {
    int i = 0;
    for (const Entry& e : kTexts)
        if (static_cast<int>(e.id) != i++) return false;
    return i == kReportTextCount;
}
static_assert(inOrder(), "the text table must follow the order of ReportText");

platform::MessageAnswer showBox(platform::MessageSink& sink, const QString& text,
                                ReportText caption, platform::MessageButtons buttons,
                                platform::MessageIcon icon) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    return sink.ShowBox(shown, LoadText(caption), buttons, icon);
}

} // namespace

QString LoadText(ReportText id) {
    const int i = static_cast<int>(id);
    if (i < 0 || i >= kReportTextCount) return {};
    return QString::fromUtf16(kTexts[i].text);
}

QString FillText(const QString& format, const QStringList& args) {
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'%' && i + 1 < format.size() && next < args.size() &&
            (format.at(i + 1) == u's' || format.at(i + 1) == u'd')) {
            out += args.at(next++);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

bool AskYesNo(platform::MessageSink& sink, const QString& text) {
    return showBox(sink, text, ReportText::CaptionConfirm, platform::MessageButtons::YesNo,
                   platform::MessageIcon::Question) == platform::MessageAnswer::Yes;
}

void ShowError(platform::MessageSink& sink, const QString& text) {
    showBox(sink, text, ReportText::CaptionError, platform::MessageButtons::Ok,
            platform::MessageIcon::Critical);
}

void ShowWarning(platform::MessageSink& sink, const QString& text) {
    showBox(sink, text, ReportText::CaptionWarning, platform::MessageButtons::Ok,
            platform::MessageIcon::Warning);
}

void ShowInformation(platform::MessageSink& sink, const QString& text) {
    showBox(sink, text, ReportText::CaptionInformation, platform::MessageButtons::Ok,
            platform::MessageIcon::Information);
}

QString PrintFailureText(const platform::PrintFailure& failure) {
    using Cause = platform::PrintFailure::Cause;
    const auto text = [&](ReportText id) {
        return FillText(LoadText(id), {failure.printer, failure.detail});
    };
    switch (failure.cause) {
    case Cause::None:
    case Cause::Cancelled:
        return {};
    case Cause::NoPrinter:
        return LoadText(ReportText::NoPrinterInstalled);
    case Cause::ServiceSilent:
        return text(ReportText::PrintServiceSilent);
    case Cause::ServiceDown:
        return text(ReportText::PrintServiceDown);
    case Cause::PrinterGone:
        return text(ReportText::PrinterGone);
    case Cause::PrinterStopped:
        return text(ReportText::PrinterStopped);
    case Cause::PrinterRejecting:
        return text(ReportText::PrinterRejecting);
    case Cause::SpoolNotWritten:
        return text(ReportText::PrintSpoolNotWritten);
    case Cause::Refused:
        return text(ReportText::PrintJobRefused);
    case Cause::JobFailed:
        return text(ReportText::PrintJobFailed);
    }
    return {};
}

void ShowPrintFailure(platform::MessageSink& sink, const platform::PrintFailure& failure) {
    if (!failure.failed()) return;
    if (failure.cause == platform::PrintFailure::NoPrinter)
        ShowWarning(sink, PrintFailureText(failure));
    else
        ShowError(sink, PrintFailureText(failure));
}

} // namespace report
