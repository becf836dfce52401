#pragma once
// The print-progress window ("Informace"): which record or page is being prepared, then that
// the pages go to the printer, and "Přerušit", which asks the run to stop. While it is shown it
// is the only window that takes input, though it does not block the run that shows it: the run
// keeps processing events so that the button can be pressed. Esc and closing the window ask to
// stop as the button does, until the pages go to the printer.

#include "report/engine/document/RunProgress.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace report {

class TFormInfo : public QDialog, public RunProgress {
    Q_OBJECT
public:
    explicit TFormInfo(QWidget* owner = nullptr);

    // "Připravuji tisk položky číslo: " and n; shows the window when hidden and repaints it.
    void ShowItem(int n) override;
    // "Odesílám data do tiskárny ..." with the button disabled: the job can no longer be
    // cancelled from here.
    void ShowSending() override;
    // "Čekám na odpověď tiskové služby ...", the button still enabled.
    void ShowWaiting() override;
    bool cancelRequested() const { return m_cancelRequested; }
    const bool* cancelFlag() const override { return &m_cancelRequested; }

    // Esc: a request to stop, never a hide that leaves the run going unseen.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Any other modal window opening (a message, a question, the print-fit dialog) hides this
    // one until the next item: its cancel could not be pressed beside that window anyway.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showNow();
    void requestCancel();
    QLabel* m_label;
    QPushButton* m_button;
    bool m_cancelRequested = false;
};

// Makes every report run, print and export of this program show the window (when the program
// has a QApplication): the model reaches it through InstallRunProgress.
void InstallProgressWindow();

} // namespace report
