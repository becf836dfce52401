#pragma once
// The print dialog of the report library: TPrintDialogTyp keeps the settings between runs and
// runs the form TSestPrintDlg (printer, page range, copies, template, options).

#include <QDialog>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace report {

class TComboBoxPredloha;
class TComboBoxPrinter;

class TSestPrintDlg : public QDialog {
    Q_OBJECT

public:
    explicit TSestPrintDlg(QWidget* parent = nullptr, const QString& exeDir = {});

    QGroupBox* GroupPrinter;
    QLabel* LabelDevice;
    QLabel* LabelPort;
    TComboBoxPrinter* ComboPrinter;
    QPushButton* ButtonProperties;
    QCheckBox* CheckToFile;
    QGroupBox* GroupPages;
    QSpinBox* SpinFrom;
    QSpinBox* SpinTo;
    QSpinBox* SpinCopies;
    QCheckBox* CheckCurrentPage;
    QCheckBox* CheckOneRecord;
    QGroupBox* GroupTemplate;
    TComboBoxPredloha* ComboTemplate;
    QPushButton* ButtonEdit;
    QCheckBox* CheckSetDefault;
    QPushButton* ButtonPrint;
    QPushButton* ButtonPreview;
    QPushButton* ButtonCancel;
    QCheckBox* CheckBackground;

    // Stacks the visible groups from the top, the buttons 6 below them and the background
    // box under the buttons; the form takes the height it needs.
    void arrange();
    // Shows the device name and port of the selected printer.
    void showPrinterDevice();
    // Disables the printer controls when no printer is installed.
    void applyPrinterPresence();

    // The printer whose properties the user accepted in this run of the form (empty when
    // none): its orientation is the user's choice for the print.
    QString PropertiesPrinter;

private:
    void runProperties();
};

class TPrintDialogTyp {
public:
    enum Result { Cancelled = 0, Preview = 1, Print = 2, Edit = 3 };

    explicit TPrintDialogTyp(const QString& exeDir = {});

    // Runs the form: 0 cancelled, 1 preview, 2 print, 3 edit the template. The settings take
    // the form's values only on a non-zero result.
    int Execute(QWidget* parent = nullptr);

    QString Title = QStringLiteral("Nastavení tisku");
    QString ReportDir;
    QString ReportMask;
    bool ReportDirIgnore = true;
    QString FileName;
    int PrinterIndex;
    // The printer chosen, by name: its index is -1 when the queue went away meanwhile.
    QString PrinterName;
    int FromPage = 1;
    int ToPage = 9999;
    int Copies = 1;
    bool EnableProperties = true;
    bool EnableEdit = true;
    bool EnablePreview = true;
    bool EnablePrint = true;
    bool ShowPrinterGroup = true;
    bool ShowPageGroup = true;
    bool ShowTemplateGroup = true;
    bool ShowCurrentPage = true;
    bool ShowOneRecord = true;
    bool ShowToFile = true;
    bool ShowSetDefault = true;
    bool ShowBackground = true;
    bool ToFile = false;
    bool CurrentPageOnly = false;
    bool OneRecordOnly = false;
    bool SetAsDefault = false;
    bool PrintBackground = false;
    // The printer whose properties (orientation included) the user accepted in the last run.
    QString PropertiesPrinter;
    std::function<void(TComboBoxPredloha*)> OnNactiSeznam;

    // Tests answer the modal form here instead of the user: the hook gets the prepared form
    // and returns its result (a QDialog result code or one of the buttons' codes).
    using ModalHook = std::function<int(TSestPrintDlg&)>;
    static void setModalHook(ModalHook hook);

private:
    QString m_exeDir;
};

} // namespace report
