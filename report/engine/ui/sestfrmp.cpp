#include "report/engine/ui/sestfrmp.h"

#include "platform/Printers.h"
#include "report/engine/printing/sestprn_printer.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace report {

namespace {

// The printer model's current printer (fixed answers without a printer).
class SystemPrintFitPrinter : public PrintFitPrinter {
public:
    QSize sheetSize() const override {
        const int dpiX = PrinterDpiX();
        const int dpiY = PrinterDpiY();
        if (dpiX <= 0 || dpiY <= 0) return {};
        return {int(1LL * PhysicalPageWidth() * 100 / dpiX),
                int(1LL * PhysicalPageHeight() * 100 / dpiY)};
    }
    int orientation() const override { return PrinterOrientation(); }
    void setOrientation(int orientation) override { SetPrinterOrientation(orientation); }
    bool runPageSetup(QWidget* parent) override {
        return platform::PrinterSystem::instance().showPageSetupDialog(parent);
    }
};

// Sheets needed along one direction: 1 + the number of steps of (sheet - margins) by which
// the part of the page beyond the first sheet must shrink until no more than 1 % of a sheet
// is left. Margins that fill the sheet leave a step of no more than that 1 % (a sheet widened
// to its margins leaves one hundredth of an inch): tiling would then take thousands of sheets
// for a page, or never end, so the page gets one sheet and is cropped.
int sheetsAlong(int report, int sheet, int margins) {
    const long long rest = 1LL * report - sheet;
    const long long tolerance = sheet / 100;
    const long long step = 1LL * sheet - margins;
    if (rest <= tolerance || step <= std::max(tolerance, 1LL)) return 1;
    return int(std::min<long long>(1 + (rest - tolerance + step - 1) / step, 1 << 30));
}

constexpr QRgb kShadow = 0x808080;
constexpr int kShadowOffset = 3;

} // namespace

PrintFitPrinter& CurrentPrintFitPrinter() {
    static SystemPrintFitPrinter printer;
    return printer;
}

// The picture: the report page over the sheets at the chosen scale.
class PrintFitPicture : public QWidget {
public:
    explicit PrintFitPicture(const TFormVoranReportZoom& form, QWidget* parent)
        : QWidget(parent), m_form(form) {
        setObjectName("PaintBox");
        setFixedSize(200, 200);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const TFormVoranReportZoom& f = m_form;
        const long long stepX = 1LL * f.m_sheetWidth - f.scaled(f.m_left + f.m_right);
        const long long stepY = 1LL * f.m_sheetHeight - f.scaled(f.m_top + f.m_bottom);
        const long long extentW =
            std::max(std::max(stepX, 0LL) * (f.m_columns - 1) + f.m_sheetWidth,
                     1LL * f.scaled(f.m_reportWidth));
        const long long extentH = std::max(std::max(stepY, 0LL) * (f.m_rows - 1) + f.m_sheetHeight,
                                           1LL * f.scaled(f.m_reportHeight));
        if (extentW <= 0 || extentH <= 0) return;
        const double scale = std::min(double(width() - kShadowOffset) / extentW,
                                      double(height() - kShadowOffset) / extentH);
        const double originX = std::lround((width() - extentW * scale - kShadowOffset) / 2);
        const double originY = std::lround((height() - extentH * scale - kShadowOffset) / 2);
        const auto area = [&](double x, double y, double w, double h) {
            return QRectF(originX + x * scale, originY + y * scale, w * scale, h * scale).toRect();
        };

        QPainter painter(this);
        const QRect report = area(0, 0, f.scaled(f.m_reportWidth), f.scaled(f.m_reportHeight));
        painter.fillRect(report.translated(kShadowOffset, kShadowOffset), QColor(kShadow));
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawRect(report.adjusted(0, 0, -1, -1));

        // Each sheet: its margin strips in the pattern, its outline in blue.
        painter.setPen(QColor(0, 0, 255));
        const QBrush pattern(TFormVoranReportZoom::pattern());
        // More sheets than pixels along a side would be finer than a pixel: draw what shows.
        const int columns = std::min(f.m_columns, width());
        const int rows = std::min(f.m_rows, height());
        const double left = f.scaled(f.m_left), right = f.scaled(f.m_right);
        const double top = f.scaled(f.m_top), bottom = f.scaled(f.m_bottom);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                const double x = double(std::max(stepX, 0LL)) * column;
                const double y = double(std::max(stepY, 0LL)) * row;
                const double w = f.m_sheetWidth, h = f.m_sheetHeight;
                painter.fillRect(area(x, y, left, h), pattern);
                painter.fillRect(area(x + w - right, y, right, h), pattern);
                painter.fillRect(area(x, y, w, top), pattern);
                painter.fillRect(area(x, y + h - bottom, w, bottom), pattern);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(area(x, y, w, h).adjusted(0, 0, -1, -1));
            }
        }
    }

private:
    const TFormVoranReportZoom& m_form;
};

TFormVoranReportZoom::TFormVoranReportZoom(PrintFitPrinter& printer, QWidget* parent)
    : QDialog(parent), m_printer(printer) {
    setObjectName("FormVoranReportZoom");
    setWindowTitle(QString::fromUtf8("Voran - možnosti tisku"));

    m_picture = new PrintFitPicture(*this, this);
    auto* reportCaption = new QLabel(QString::fromUtf8("Formát tiskové sestavy:"), this);
    auto* sheetCaption = new QLabel(QString::fromUtf8("Formát média v tiskárně:"), this);
    m_reportSize = new QLabel(this);
    m_reportSize->setObjectName("LabelReportSize");
    m_sheetSize = new QLabel(this);
    m_sheetSize->setObjectName("LabelSheetSize");

    auto* group = new QGroupBox(QString::fromUtf8("Možnosti tisku:"), this);
    group->setObjectName("GroupOptions");
    m_crop = new QRadioButton(QString::fromUtf8("Oříznout tiskovou sestavu"), group);
    m_crop->setObjectName("RadioCrop");
    m_crop->setChecked(true);
    m_reduce = new QRadioButton(QString::fromUtf8("Zmenšit měřítko tisku"), group);
    m_reduce->setObjectName("RadioReduce");
    m_multiple = new QRadioButton(QString::fromUtf8("Tisknout na více listů"), group);
    m_multiple->setObjectName("RadioMultipleSheets");
    m_zoomLabel = new QLabel(group);
    m_zoomLabel->setObjectName("LabelZoom");
    m_rotate = new QCheckBox(QString::fromUtf8("Otočit médium v tiskárně"), group);
    m_rotate->setObjectName("CheckRotate");
    auto* groupLayout = new QGridLayout(group);
    groupLayout->addWidget(m_crop, 0, 0);
    groupLayout->addWidget(m_reduce, 1, 0);
    groupLayout->addWidget(m_zoomLabel, 1, 1);
    groupLayout->addWidget(m_multiple, 2, 0);
    groupLayout->addWidget(m_rotate, 3, 0, 1, 2);

    auto* printerButton = new QPushButton(QString::fromUtf8("Tiskárna..."), this);
    printerButton->setObjectName("ButtonPrinter");
    auto* cancelButton = new QPushButton(QString::fromUtf8("Storno"), this);
    cancelButton->setObjectName("ButtonCancel");
    auto* printButton = new QPushButton(QString::fromUtf8("Tisknout"), this);
    printButton->setObjectName("ButtonPrint");
    printButton->setDefault(true);

    auto* sizes = new QGridLayout;
    sizes->addWidget(reportCaption, 0, 0);
    sizes->addWidget(m_reportSize, 0, 1);
    sizes->addWidget(sheetCaption, 1, 0);
    sizes->addWidget(m_sheetSize, 1, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(sizes);
    right->addWidget(group);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(m_picture);
    top->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(printerButton);
    buttons->addStretch();
    buttons->addWidget(cancelButton);
    buttons->addWidget(printButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(m_crop, &QRadioButton::clicked, this, &TFormVoranReportZoom::applyOption);
    connect(m_reduce, &QRadioButton::clicked, this, &TFormVoranReportZoom::applyOption);
    connect(m_multiple, &QRadioButton::clicked, this, &TFormVoranReportZoom::applyOption);
    connect(m_rotate, &QCheckBox::clicked, this, &TFormVoranReportZoom::rotate);
    connect(printerButton, &QPushButton::clicked, this, &TFormVoranReportZoom::printerSetup);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(printButton, &QPushButton::clicked, this, &TFormVoranReportZoom::print);

    readSheet();
    m_orientation = m_printer.orientation();
    refreshLabels();
}

void TFormVoranReportZoom::SetSizes(int reportWidth, int reportHeight, int left, int top,
                                    int right, int bottom) {
    m_reportWidth = std::max(reportWidth, 0);
    m_reportHeight = std::max(reportHeight, 0);
    m_left = std::max(left, 0);
    m_top = std::max(top, 0);
    m_right = std::max(right, 0);
    m_bottom = std::max(bottom, 0);
    widenSheetToMargins();
    applyOption();
}

QPixmap TFormVoranReportZoom::pattern() {
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, x % 2 == y % 2 ? qRgb(0, 255, 255) : qRgb(255, 255, 255));
    return QPixmap::fromImage(image);
}

void TFormVoranReportZoom::readSheet() {
    const QSize sheet = m_printer.sheetSize();
    m_sheetWidth = std::max(sheet.width(), 0);
    m_sheetHeight = std::max(sheet.height(), 0);
}

void TFormVoranReportZoom::widenSheetToMargins() {
    const int horizontal = scaled(m_left + m_right);
    const int vertical = scaled(m_top + m_bottom);
    if (m_sheetWidth < horizontal) m_sheetWidth = horizontal + 1;
    if (m_sheetHeight < vertical) m_sheetHeight = vertical + 1;
}

int TFormVoranReportZoom::scaled(int value) const {
    return int(1LL * m_zoom * value / 100);
}

TFormVoranReportZoom::Option TFormVoranReportZoom::option() const {
    if (m_reduce->isChecked()) return Reduce;
    if (m_multiple->isChecked()) return MultipleSheets;
    return Crop;
}

void TFormVoranReportZoom::applyOption() {
    m_columns = m_rows = 1;
    m_zoom = 100;
    switch (option()) {
    case Crop:
        break;
    case Reduce: {
        // The whole sheet against the whole page; a page of no size needs no reduction.
        long long zoom = 100;
        if (m_reportWidth > 0) zoom = 1LL * m_sheetWidth * 100 / m_reportWidth;
        if (m_reportHeight > 0) zoom = std::min(zoom, 1LL * m_sheetHeight * 100 / m_reportHeight);
        m_zoom = int(std::clamp<long long>(zoom, 1, 1 << 20));
        break;
    }
    case MultipleSheets:
        m_columns = sheetsAlong(m_reportWidth, m_sheetWidth, m_left + m_right);
        m_rows = sheetsAlong(m_reportHeight, m_sheetHeight, m_top + m_bottom);
        break;
    }
    refreshLabels();
    m_picture->update();
}

void TFormVoranReportZoom::rotate() {
    std::swap(m_sheetWidth, m_sheetHeight);
    m_orientation = m_orientation == 0 ? 1 : 0;
    applyOption();
}

void TFormVoranReportZoom::printerSetup() {
    m_printer.setOrientation(m_orientation);
    if (!m_printer.runPageSetup(this)) return;
    readSheet();
    m_orientation = m_printer.orientation();
    applyOption();
}

void TFormVoranReportZoom::print() {
    if (m_rotate->isChecked()) m_printer.setOrientation(m_orientation);
    accept();
}

void TFormVoranReportZoom::refreshLabels() {
    m_reportSize->setText(QStringLiteral("%1 x %2").arg(m_reportWidth).arg(m_reportHeight));
    m_sheetSize->setText(QStringLiteral("%1 x %2").arg(m_sheetWidth).arg(m_sheetHeight));
    m_zoomLabel->setText(QStringLiteral("%1 %").arg(m_zoom));
}

} // namespace report
