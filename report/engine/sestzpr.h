#pragma once
// The texts the report engine and its designer show: messages, captions, list entries and
// file-dialog filters, in Czech, each under a symbolic name. Texts holding "%s" or "%d" are
// filled by FillText before they are shown.

#include <QString>
#include <QStringList>

namespace platform {
class MessageSink;
struct PrintFailure;
} // namespace platform

namespace report {

enum class ReportText {
    NoDataSource,
    NoTableAttached,
    TableNotActiveOpen,
    TableNotOpened,
    NoTemplatePath,
    TemplateMissingCreate,
    TemplateNotCreated,
    TemplateNotFound,
    TemplateNotSaved,
    OutputNotSaved,
    AliasPathError,
    UnknownAlias,
    AliasNeedsDataSet,
    FilterTemplates,
    FilterMetafiles,
    FilterText,
    FilterRtf,
    FilterHtml,
    SelectFileTitle,
    DefaultPrintJob,
    NoSystemResources,
    NoPrinterInstalled,
    PreviewPrintJob,
    PreparingItem,
    SendingToPrinter,
    PrintDialogTitle,
    MarginsTooSmall,
    PrinterFontName,
    KindItem,
    KindGroup,
    KindGroups,
    KindGroupNumbered,
    KindTableItem,
    KindItemLabel,
    KindParameter,
    KindVariable,
    KindFunction,
    KindGraphicText,
    SysVarPrintDate,
    SysVarPrintTime,
    SysVarRecordNumber,
    SysVarPageNumber,
    SysVarPageCount,
    SysVarGroupRecordNumber,
    SysVarGroupNumber,
    KindLine,
    KindFrame,
    KindRoundFrame,
    KindEllipse,
    KindPicture,
    KindBarcode,
    KindDrawingArea,
    KindUnknown,
    ShortPrintDate,
    ShortPrintTime,
    ShortRecordNumber,
    ShortPageNumber,
    ShortPageCount,
    ShortGroupRecordNumber,
    ShortGroupNumber,
    SectionReportHeader,
    SectionPageHeader,
    SectionBody,
    SectionReportFooter,
    SectionPageFooter,
    SectionGroupHeader,
    SectionGroupFooter,
    ExpressionError,
    ExpressionOk,
    WizardNoItems,
    WizardPageNumber,
    WizardTitle,
    WizardDate,
    EditorCaption,
    BaseVariant,
    UndoCommand,
    UndoChangesCommand,
    RedoCommand,
    RedoChangesCommand,
    DeleteElementQuestion,
    DeleteElementsQuestion,
    ClearTemplateQuestion,
    DeleteFunctionQuestion,
    SaveChangesQuestion,
    DetailTabTitle,
    EditorTemplateNotSaved,
    DeleteGroupQuestion,
    EditButton,
    ShowButton,
    CaptionConfirm,
    CaptionInformation,
    CaptionError,
    CaptionWarning,
    StepInsertElement,
    StepFont,
    StepDeleteElement,
    StepSections,
    StepSectionHeight,
    StepText,
    StepMoveElement,
    StepAlignment,
    StepEditFunction,
    StepAddFunction,
    StepDeleteFunction,
    StepCut,
    StepPaste,
    StepElementSettings,
    StepDetail,
    VersionText,
    VersionDated,
    PaperUserFormat,
    SettingsUserFormat,
    PaperUser,
    PaperFanfold,
    PaperLetter,
    PaperLegal,
    PaperExecutive,
    PaperEnvelope,
    PaperEnvelopeRotated,
    DeleteUserFormatQuestion,
    TemplateDamaged,
    RunStoppedAtEndPage,
    PrintJobRefused,
    PrintServiceSilent,
    PrintServiceDown,
    PrinterGone,
    PrinterStopped,
    PrinterRejecting,
    PrintSpoolNotWritten,
    PrintJobFailed,
    WaitingForPrintService,
};

// Number of texts in the table.
constexpr int kReportTextCount = static_cast<int>(ReportText::WaitingForPrintService) + 1;

// The text of one entry, exactly as the engine shows it (trailing blanks kept).
QString LoadText(ReportText id);

// `format` with its "%s" and "%d" filled in order from `args`; a specifier without an
// argument stays as it is, and "%" in an argument is never read as a specifier.
QString FillText(const QString& format, const QStringList& args);

// Message boxes with the engine's captions. A carriage return in a text is a line break.
// Question: "Potvrzení", Yes and No; true for Yes.
bool AskYesNo(platform::MessageSink& sink, const QString& text);
// "Chyba", OK, error icon.
void ShowError(platform::MessageSink& sink, const QString& text);
// "Varování", OK, warning icon.
void ShowWarning(platform::MessageSink& sink, const QString& text);
// "Informace", OK, information icon.
void ShowInformation(platform::MessageSink& sink, const QString& text);

// The words for why a print did not reach paper (empty for none or a cancel).
QString PrintFailureText(const platform::PrintFailure& failure);
// Tells it: no printer on the system as a warning, every other cause as an error; nothing for
// a cancel.
void ShowPrintFailure(platform::MessageSink& sink, const platform::PrintFailure& failure);

} // namespace report
