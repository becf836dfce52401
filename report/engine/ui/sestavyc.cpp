#include "report/engine/ui/sestavyc.h"

#include "platform/Printers.h"
#include "report/engine/run/sestavyt.h"
#include "report/engine/sest_lib.h"
#include "report/engine/template/TemplateSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace report {

TComboBoxPredloha::TComboBoxPredloha(QWidget* parent, const QString& exeDir)
    : QComboBox(parent), m_exeDir(exeDir) {
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { selectionChanged(); });
}

void TComboBoxPredloha::SetReportDir(const QString& folder) {
    m_reportDir = folder.isEmpty() ? QString() : AddTrailingBackslash(folder);
}

void TComboBoxPredloha::SetReportMask(const QString& mask) {
    const int slash = int(mask.lastIndexOf('/'));
    const int dot = int(mask.lastIndexOf('.'));
    m_reportMask = (dot > slash ? mask.left(dot) : mask) + QStringLiteral(".pts");
}

QString TComboBoxPredloha::TemplateTitle(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {};
    // Templates are small; a huge file is not one, and its title is not looked for.
    return ReadTemplateTitle(TPredloha::FromBytes(file.read(4 * 1024 * 1024)));
}

void TComboBoxPredloha::AddTemplate(const QString& fileName, const QString& title) {
    const QSignalBlocker quiet(this);
    addItem(title, fileName);
}

void TComboBoxPredloha::rebuild() {
    const QSignalBlocker quiet(this);
    clear();
    if (OnNactiSeznam) {
        OnNactiSeznam(this);
        return;
    }
    const QString exeDir = m_exeDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_exeDir;
    const QFileInfo mask((m_reportDirIgnore ? AddTrailingBackslash(exeDir) : m_reportDir) +
                         m_reportMask);
    QDir folder = mask.dir();
    folder.setNameFilters({mask.fileName()});
    folder.setFilter(QDir::Files);
    folder.setSorting(QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& found : folder.entryInfoList()) {
        const QString title = TemplateTitle(found.filePath());
        addItem(title.isEmpty() ? found.fileName() : title, found.filePath());
    }
}

void TComboBoxPredloha::Reload(const QString& fileName) {
    rebuild();
    int found = -1;
    for (int i = 0; i < count() && found < 0; ++i)
        if (itemData(i).toString().compare(fileName, Qt::CaseInsensitive) == 0 ||
            QFileInfo(itemData(i).toString()).fileName().compare(fileName, Qt::CaseInsensitive) ==
                0)
            found = i;
    {
        const QSignalBlocker quiet(this);
        setCurrentIndex(found);
    }
    selectionChanged();
}

QString TComboBoxPredloha::GetFileName() const {
    return currentIndex() >= 0 ? currentData().toString() : QString();
}

void TComboBoxPredloha::selectionChanged() {
    if (Report) Report->SetReportName(GetFileName());
}

void TComboBoxPredloha::showPopup() {
    const QString shown = currentText();
    rebuild();
    {
        const QSignalBlocker quiet(this);
        setCurrentIndex(findText(shown));
    }
    selectionChanged();
    QComboBox::showPopup();
}

TComboBoxPrinter::TComboBoxPrinter(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
}

void TComboBoxPrinter::SetPrinterIndex(int i) {
    const platform::PrinterSystem& printers = platform::PrinterSystem::instance();
    clear();
    addItems(printers.printerNames());
    const int current =
        printers.currentIndex() >= 0 ? printers.currentIndex() : printers.defaultIndex();
    setCurrentIndex(i == -1 ? current : (i >= 0 && i < count() ? i : -1));
}

int TComboBoxPrinter::GetPrinterIndex() const {
    if (currentIndex() < 0) return -1;
    return int(platform::PrinterSystem::instance().printerNames().indexOf(currentText()));
}

void TComboBoxPrinter::showPopup() {
    const QString shown = currentText();
    const QSignalBlocker quiet(this);
    clear();
    addItems(platform::PrinterSystem::instance().printerNames());
    setCurrentIndex(findText(shown));
    QComboBox::showPopup();
}

} // namespace report
