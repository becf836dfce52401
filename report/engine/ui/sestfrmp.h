#pragma once
// The print-fit dialog: when a report page is larger than the sheet in the printer, the user
// crops the page, shrinks the print scale to fit one sheet, or prints each page across several
// sheets; the sheet can be rotated. A picture shows the page over the sheets.
//
// All sizes are integers in 1/100 inch.

#include <QDialog>
#include <QPixmap>

class QCheckBox;
class QLabel;
class QRadioButton;

namespace report {

// What the dialog needs of the printer. The default one is the process's current printer.
class PrintFitPrinter {
public:
    virtual ~PrintFitPrinter() = default;
    // The sheet: physical page size * 100 / dpi in each direction (integer division).
    virtual QSize sheetSize() const = 0;
    // 0 portrait, 1 landscape.
    virtual int orientation() const = 0;
    virtual void setOrientation(int orientation) = 0;
    // The system's page setup for the printer; true when the user accepted it.
    virtual bool runPageSetup(QWidget* parent) = 0;
};

// The current printer of the printer model, with the system's page-setup dialog.
PrintFitPrinter& CurrentPrintFitPrinter();

class PrintFitPicture;

class TFormVoranReportZoom : public QDialog {
    Q_OBJECT
public:
    // Reads the sheet and orientation from `printer`, which must outlive the dialog.
    explicit TFormVoranReportZoom(PrintFitPrinter& printer = CurrentPrintFitPrinter(),
                                  QWidget* parent = nullptr);

    // The report page and its margins. A sheet smaller than the margins at the present zoom is
    // widened to just hold them, so that a page always advances across sheets.
    void SetSizes(int reportWidth, int reportHeight, int left, int top, int right, int bottom);

    // Results, read after "Tisknout".
    int Zoom() const { return m_zoom; }
    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }
    int Orientation() const { return m_orientation; }

    QSize sheet() const { return {m_sheetWidth, m_sheetHeight}; }
    // The 8 x 8 fill pattern of the margin strips.
    static QPixmap pattern();

private:
    friend class PrintFitPicture;
    enum Option { Crop, Reduce, MultipleSheets };

    void readSheet();
    void widenSheetToMargins();
    void applyOption();
    void rotate();
    void printerSetup();
    void print();
    void refreshLabels();
    int scaled(int value) const;
    Option option() const;

    PrintFitPrinter& m_printer;
    int m_reportWidth = 0;
    int m_reportHeight = 0;
    int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;
    int m_sheetWidth = 0;
    int m_sheetHeight = 0;
    int m_orientation = 0;
    int m_columns = 1;
    int m_rows = 1;
    int m_zoom = 100;

    QLabel* m_reportSize = nullptr;
    QLabel* m_sheetSize = nullptr;
    QLabel* m_zoomLabel = nullptr;
    QRadioButton* m_crop = nullptr;
    QRadioButton* m_reduce = nullptr;
    QRadioButton* m_multiple = nullptr;
    QCheckBox* m_rotate = nullptr;
    PrintFitPicture* m_picture = nullptr;
};

} // namespace report
