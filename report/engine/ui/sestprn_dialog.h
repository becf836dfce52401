#pragma once
// The paper-format dialog ("Formát papíru"): name, width and height of one format.

#include "report/engine/printing/sestprn.h"

#include <QDialog>

class QLineEdit;

namespace report {

class TDlgFormatPapiru : public QDialog {
    Q_OBJECT
public:
    // Shows `format`; the three fields can be changed only when `editable`.
    TDlgFormatPapiru(const TFormatPapiru& format, bool editable, QWidget* parent = nullptr);

    // The format as the fields give it: the name as typed; a width or height that is not a
    // whole number of at least 0 keeps the value shown at the start.
    TFormatPapiru result() const;

private:
    TFormatPapiru m_original;
    QLineEdit* m_name;
    QLineEdit* m_width;
    QLineEdit* m_height;
};

// Modal results as the callers test them.
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

// Shows the dialog on `format` and, on OK, stores the fields into it; returns the modal result.
int EditPaperFormat(TFormatPapiru& format, bool editable, QWidget* parent = nullptr);

// `EditPaperFormat` on entry i of the list (mrCancel when there is no entry i).
int EditFormat(TListFormatu& list, int i, bool editable, QWidget* parent = nullptr);

} // namespace report
