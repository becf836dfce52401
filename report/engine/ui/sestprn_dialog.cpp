#include "report/engine/ui/sestprn_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace report {

namespace {

// A size field: a whole number of at least 0, else the value it had.
int sizeField(const QLineEdit* edit, int previous) {
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    return ok && value >= 0 ? value : previous;
}

QLineEdit* makeEdit(const QString& name, const QString& text, bool editable) {
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    edit->setEnabled(editable);
    return edit;
}

} // namespace

TDlgFormatPapiru::TDlgFormatPapiru(const TFormatPapiru& format, bool editable, QWidget* parent)
    : QDialog(parent), m_original(format) {
    setObjectName(QStringLiteral("DlgFormatPapiru"));
    setWindowTitle(QStringLiteral("Formát papíru"));
    m_name = makeEdit(QStringLiteral("EditName"), format.name, editable);
    m_name->setMaxLength(TListFormatu::maxNameLength);
    // Room for a whole name of the longest length.
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 34);
    m_width = makeEdit(QStringLiteral("EditWidth"), QString::number(format.width), editable);
    m_height = makeEdit(QStringLiteral("EditHeight"), QString::number(format.height), editable);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Název formátu:"), m_name);
    form->addRow(QStringLiteral("Šířka papíru:"), m_width);
    form->addRow(QStringLiteral("Výška papíru:"), m_height);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("Konec"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Zpět"), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("ButtonOk"));
    ok->setDefault(true);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

TFormatPapiru TDlgFormatPapiru::result() const {
    return {m_name->text().left(TListFormatu::maxNameLength), sizeField(m_width, m_original.width),
            sizeField(m_height, m_original.height)};
}

int EditPaperFormat(TFormatPapiru& format, bool editable, QWidget* parent) {
    TDlgFormatPapiru dialog(format, editable, parent);
    if (dialog.exec() != QDialog::Accepted) return mrCancel;
    format = dialog.result();
    return mrOk;
}

int EditFormat(TListFormatu& list, int i, bool editable, QWidget* parent) {
    TFormatPapiru* format = list.GetFormat(i);
    return format ? EditPaperFormat(*format, editable, parent) : mrCancel;
}

} // namespace report
