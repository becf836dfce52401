#pragma once
// Drop-down lists of the report library: the templates (*.pts) of a folder shown by their
// titles, and the installed printers.

#include <QComboBox>

#include <functional>

namespace report {

class TSestavaTyp;

class TComboBoxPredloha : public QComboBox {
    Q_OBJECT

public:
    // `exeDir` is the program's folder, searched while ReportDirIgnore is set.
    explicit TComboBoxPredloha(QWidget* parent = nullptr, const QString& exeDir = {});

    // The report whose ReportName follows the selection (not owned; may be null).
    TSestavaTyp* Report = nullptr;
    // Fills the list instead of the folder scan (AddTemplate adds an entry).
    std::function<void(TComboBoxPredloha*)> OnNactiSeznam;

    QString ReportDir() const { return m_reportDir; }
    void SetReportDir(const QString& folder); // stored with a trailing "/"
    QString ReportMask() const { return m_reportMask; }
    void SetReportMask(const QString& mask); // the extension always becomes ".pts"
    bool ReportDirIgnore() const { return m_reportDirIgnore; }
    void SetReportDirIgnore(bool ignore) { m_reportDirIgnore = ignore; }

    // Rebuilds the list and selects the entry of `fileName` (case ignored); the report's
    // ReportName follows.
    void Reload(const QString& fileName);
    // The full file name of the selected entry; empty when nothing is selected.
    QString GetFileName() const;
    void AddTemplate(const QString& fileName, const QString& title);

    // The title of a template file: the description of its first I,0 line; empty when the
    // file cannot be read or has none.
    static QString TemplateTitle(const QString& fileName);

    // Dropping down rebuilds the list and selects again the text shown before.
    void showPopup() override;

private:
    void rebuild();
    void selectionChanged();

    QString m_exeDir;
    QString m_reportDir;
    QString m_reportMask = QStringLiteral("*.pts");
    bool m_reportDirIgnore = true;
};

class TComboBoxPrinter : public QComboBox {
    Q_OBJECT

public:
    explicit TComboBoxPrinter(QWidget* parent = nullptr);
    // Fills the list with the installed printers and selects printer i; -1 selects the current
    // printer (nothing without printers); an index outside the list selects nothing.
    void SetPrinterIndex(int i);
    // The selected printer's index in the system list; -1 when nothing is selected.
    int GetPrinterIndex() const;
    // Dropping down lists the printers again.
    void showPopup() override;
};

} // namespace report
