#pragma once
// The print-progress window ("Informace"): which record is being prepared, then that the
// pages go to the printer, and "Přerušit", which asks the run to stop. While it is shown it is
// the only window that takes input, though it does not block the run that shows it: the run
// keeps processing events so that the button can be pressed.

#include <QDialog>

class QLabel;
class QPushButton;

namespace report {

class TFormInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFormInfo(QWidget* owner = nullptr);

    // "Připravuji tisk položky číslo: " and n; shows the window when hidden and repaints it.
    void ShowItem(int n);
    // "Odesílám data do tiskárny ..." with the button disabled: the job can no longer be
    // cancelled from here.
    void ShowSending();
    bool cancelRequested() const { return m_cancelRequested; }

private:
    void showNow();
    QLabel* m_label;
    QPushButton* m_button;
    bool m_cancelRequested = false;
};

} // namespace report
