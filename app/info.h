#pragma once
// The about box: one of three credit sections of the program, opened modally from the start
// page. Frameless, 214 x 249, light blue; Esc or the close button end it with result 1, and
// no other key does anything.

#include <QDialog>

class QLabel;

class TInfoForm : public QDialog {
    Q_OBJECT
public:
    explicit TInfoForm(QWidget* parent = nullptr);

    // The section shown at the next opening: 1 contractor, 2 calculation libraries, 3 user
    // program. Any other value keeps the texts of the previous opening.
    int TextSet = 0;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormActivate();

    QLabel* m_labels[5];
};
