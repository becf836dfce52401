#include "report/engine/ui/sest_dlg.h"

#include "platform/Printers.h"
#include "report/engine/printing/sestprn_printer.h"
#include "report/engine/ui/sestavyc.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace report {

namespace {

TPrintDialogTyp::ModalHook& modalHook() {
    static TPrintDialogTyp::ModalHook hook;
    return hook;
}

QSpinBox* pageSpin(QWidget* parent, const char* name, int value) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(1, 9999);
    spin->setValue(value);
    return spin;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TSestPrintDlg::TSestPrintDlg(QWidget* parent, const QString& exeDir) : QDialog(parent) {
    setObjectName(QStringLiteral("SestPrintDlg"));

    GroupPrinter = new QGroupBox(QStringLiteral("Tiskárna"), this);
    GroupPrinter->setObjectName(QStringLiteral("GroupPrinter"));
    LabelDevice = new QLabel(GroupPrinter);
    LabelDevice->setObjectName(QStringLiteral("LabelDevice"));
    LabelPort = new QLabel(GroupPrinter);
    LabelPort->setObjectName(QStringLiteral("LabelPort"));
    ComboPrinter = new TComboBoxPrinter(GroupPrinter);
    ComboPrinter->setObjectName(QStringLiteral("ComboPrinter"));
    ButtonProperties = new QPushButton(QStringLiteral("&Vlastnosti..."), GroupPrinter);
    ButtonProperties->setObjectName(QStringLiteral("ButtonProperties"));
    CheckToFile = new QCheckBox(QStringLiteral("Tisknout do &souboru"), GroupPrinter);
    CheckToFile->setObjectName(QStringLiteral("CheckToFile"));
    auto* printerGrid = new QGridLayout(GroupPrinter);
    printerGrid->addWidget(buddyLabel(QStringLiteral("Ná&zev:"), ComboPrinter), 0, 0);
    printerGrid->addWidget(ComboPrinter, 0, 1);
    printerGrid->addWidget(ButtonProperties, 0, 2);
    printerGrid->addWidget(new QLabel(QStringLiteral("Typ:")), 1, 0);
    printerGrid->addWidget(LabelDevice, 1, 1, 1, 2);
    printerGrid->addWidget(new QLabel(QStringLiteral("Kde:")), 2, 0);
    printerGrid->addWidget(LabelPort, 2, 1);
    printerGrid->addWidget(CheckToFile, 2, 2);
    printerGrid->setColumnStretch(1, 1);

    GroupPages = new QGroupBox(QStringLiteral("Rozsah stránek:"), this);
    GroupPages->setObjectName(QStringLiteral("GroupPages"));
    SpinFrom = pageSpin(GroupPages, "SpinFrom", 1);
    SpinTo = pageSpin(GroupPages, "SpinTo", 9999);
    SpinCopies = pageSpin(GroupPages, "SpinCopies", 1);
    CheckCurrentPage = new QCheckBox(QStringLiteral("&Tisknout &aktuální stránku"), GroupPages);
    CheckCurrentPage->setObjectName(QStringLiteral("CheckCurrentPage"));
    CheckOneRecord = new QCheckBox(QStringLiteral("Tisknout pouze &jeden záznam"), GroupPages);
    CheckOneRecord->setObjectName(QStringLiteral("CheckOneRecord"));
    auto* pageGrid = new QGridLayout(GroupPages);
    pageGrid->addWidget(buddyLabel(QStringLiteral("&Od stránky:"), SpinFrom), 0, 0);
    pageGrid->addWidget(SpinFrom, 0, 1);
    pageGrid->addWidget(buddyLabel(QStringLiteral("&Do stránky:"), SpinTo), 0, 2);
    pageGrid->addWidget(SpinTo, 0, 3);
    pageGrid->addWidget(buddyLabel(QStringLiteral("&Počet kopií:"), SpinCopies), 1, 0);
    pageGrid->addWidget(SpinCopies, 1, 1);
    pageGrid->addWidget(CheckCurrentPage, 2, 0, 1, 4);
    pageGrid->addWidget(CheckOneRecord, 3, 0, 1, 4);

    GroupTemplate = new QGroupBox(QStringLiteral("Tiskový formulář:"), this);
    GroupTemplate->setObjectName(QStringLiteral("GroupTemplate"));
    ComboTemplate = new TComboBoxPredloha(GroupTemplate, exeDir);
    ComboTemplate->setObjectName(QStringLiteral("ComboTemplate"));
    ButtonEdit = new QPushButton(QStringLiteral("&Upravit..."), GroupTemplate);
    ButtonEdit->setObjectName(QStringLiteral("ButtonEdit"));
    CheckSetDefault =
        new QCheckBox(QStringLiteral("Nastavit jako výchozí &formulář"), GroupTemplate);
    CheckSetDefault->setObjectName(QStringLiteral("CheckSetDefault"));
    auto* templateGrid = new QGridLayout(GroupTemplate);
    templateGrid->addWidget(buddyLabel(QStringLiteral("Náz&ev:"), ComboTemplate), 0, 0);
    templateGrid->addWidget(ComboTemplate, 0, 1);
    templateGrid->addWidget(ButtonEdit, 0, 2);
    templateGrid->addWidget(CheckSetDefault, 1, 1, 1, 2);
    templateGrid->setColumnStretch(1, 1);

    ButtonPrint = new QPushButton(QStringLiteral("&Tisk"), this);
    ButtonPrint->setObjectName(QStringLiteral("ButtonPrint"));
    ButtonPrint->setDefault(true);
    ButtonPreview = new QPushButton(QStringLiteral("&Náhled"), this);
    ButtonPreview->setObjectName(QStringLiteral("ButtonPreview"));
    ButtonCancel = new QPushButton(QStringLiteral("Storno"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    CheckBackground = new QCheckBox(QStringLiteral("Tisknout pozadí"), this);
    CheckBackground->setObjectName(QStringLiteral("CheckBackground"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonPrint);
    buttons->addWidget(ButtonPreview);
    buttons->addWidget(ButtonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupPrinter);
    layout->addWidget(GroupPages);
    layout->addWidget(GroupTemplate);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->addSpacing(4);
    layout->addWidget(CheckBackground);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ButtonPreview, &QPushButton::clicked, this,
            [this] { done(TPrintDialogTyp::Preview); });
    connect(ButtonPrint, &QPushButton::clicked, this, [this] { done(TPrintDialogTyp::Print); });
    connect(ButtonEdit, &QPushButton::clicked, this, [this] { done(TPrintDialogTyp::Edit); });
    connect(ButtonCancel, &QPushButton::clicked, this,
            [this] { done(TPrintDialogTyp::Cancelled); });
    connect(CheckCurrentPage, &QCheckBox::toggled, this, [this](bool on) {
        SpinFrom->setEnabled(!on);
        SpinTo->setEnabled(!on);
    });
    connect(ComboPrinter, &QComboBox::currentIndexChanged, this, [this] { showPrinterDevice(); });
    connect(ButtonProperties, &QPushButton::clicked, this, [this] { runProperties(); });
}

void TSestPrintDlg::arrange() {
    // Hidden groups take no room: the layout closes up and the fixed-size form shrinks.
    layout()->activate();
    adjustSize();
}

void TSestPrintDlg::showPrinterDevice() {
    QString device, port;
    if (ComboPrinter->GetPrinterIndex() >= 0)
        GetPrinterDevice(ComboPrinter->GetPrinterIndex(), device, port);
    LabelDevice->setText(device);
    LabelPort->setText(port);
}

void TSestPrintDlg::applyPrinterPresence() {
    if (!platform::PrinterSystem::instance().printerNames().isEmpty()) return;
    ButtonProperties->setEnabled(false);
    ButtonPrint->setEnabled(false);
    ComboPrinter->setEnabled(false);
    CheckToFile->setEnabled(false);
}

void TSestPrintDlg::runProperties() {
    platform::PrinterSystem& printers = platform::PrinterSystem::instance();
    if (printers.printerNames().isEmpty()) return;
    SelectPrinter(ComboPrinter->GetPrinterIndex());
    if (printers.showPageSetupDialog(this)) PropertiesPrinter = printers.currentName();
    ComboPrinter->SetPrinterIndex(printers.currentIndex());
    showPrinterDevice();
}

// -1 selects the current printer when the form runs: the scheduler is not asked before (a
// silent one would hold up the window that owns the dialog).
TPrintDialogTyp::TPrintDialogTyp(const QString& exeDir) : PrinterIndex(-1), m_exeDir(exeDir) {}

void TPrintDialogTyp::setModalHook(ModalHook hook) {
    modalHook() = std::move(hook);
}

int TPrintDialogTyp::Execute(QWidget* parent) {
    TSestPrintDlg form(parent, m_exeDir);
    form.setWindowTitle(Title);
    form.ComboTemplate->SetReportDir(ReportDir);
    form.ComboTemplate->SetReportDirIgnore(ReportDirIgnore);
    form.ComboTemplate->SetReportMask(ReportMask.isEmpty() ? QStringLiteral("*.pts") : ReportMask);
    form.ComboTemplate->OnNactiSeznam = OnNactiSeznam;
    form.ComboTemplate->Reload(FileName);
    form.SpinFrom->setValue(FromPage);
    form.SpinTo->setValue(ToPage);
    form.SpinCopies->setValue(Copies);
    form.ComboPrinter->SetPrinterIndex(PrinterIndex);

    form.ButtonProperties->setEnabled(EnableProperties);
    form.ButtonEdit->setEnabled(EnableEdit);
    form.ButtonPreview->setEnabled(EnablePreview);
    form.ButtonPrint->setEnabled(EnablePrint);
    form.applyPrinterPresence();
    form.GroupPrinter->setVisible(ShowPrinterGroup);
    form.GroupPages->setVisible(ShowPageGroup);
    form.GroupTemplate->setVisible(ShowTemplateGroup);
    form.CheckCurrentPage->setVisible(ShowCurrentPage);
    form.CheckOneRecord->setVisible(ShowOneRecord);
    form.CheckToFile->setVisible(ShowToFile);
    form.CheckSetDefault->setVisible(ShowSetDefault);
    form.CheckBackground->setVisible(ShowBackground);

    form.CheckToFile->setChecked(ToFile);
    form.CheckCurrentPage->setChecked(CurrentPageOnly);
    form.CheckOneRecord->setChecked(OneRecordOnly);
    form.CheckSetDefault->setChecked(SetAsDefault);
    form.CheckBackground->setChecked(PrintBackground);
    form.showPrinterDevice();
    form.arrange();

    int result = modalHook() ? modalHook()(form) : form.exec();
    if (result < Cancelled || result > Edit) result = Cancelled;
    if (result != Cancelled) {
        FileName = form.ComboTemplate->GetFileName();
        FromPage = form.SpinFrom->value();
        ToPage = form.SpinTo->value();
        Copies = form.SpinCopies->value();
        PrinterIndex = form.ComboPrinter->GetPrinterIndex();
        PrinterName = form.ComboPrinter->currentText();
        ToFile = form.CheckToFile->isChecked();
        CurrentPageOnly = form.CheckCurrentPage->isChecked();
        OneRecordOnly = form.CheckOneRecord->isChecked();
        SetAsDefault = form.CheckSetDefault->isChecked();
        PrintBackground = form.CheckBackground->isChecked();
        PropertiesPrinter = form.PropertiesPrinter;
    }
    return result;
}

} // namespace report
