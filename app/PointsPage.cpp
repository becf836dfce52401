#include "app/PointsPage.h"

#include "app/CalculationModel.h"
#include "app/PageStyle.h"
#include "app/Texts.h"

#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QWidget>

namespace {

constexpr int kCellWidth = 76;
constexpr int kCellHeight = 16;
constexpr int kHeadStride = 78; // heads of places 1..6 sit at (place - 1) x 78 + 25
constexpr int kHeadLeft = 25;
constexpr int kHeadTop = 44;
constexpr int kGridTop = 84;

const QString kNegative = QStringLiteral("x x x");
const QString kNotComputed = QStringLiteral("- - -");

QTableWidget* makeGrid(QWidget* page, const char* name, int columns, int x) {
    auto* grid = new QTableWidget(kPointRows, columns, page);
    grid->setObjectName(name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(kCellWidth);
    grid->horizontalHeader()->setDefaultSectionSize(kCellWidth);
    grid->verticalHeader()->setMinimumSectionSize(kCellHeight);
    grid->verticalHeader()->setDefaultSectionSize(kCellHeight);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setFrameShape(QFrame::NoFrame);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setGeometry(x, kGridTop, columns * kCellWidth, kPointRows * kCellHeight);
    return grid;
}

QString cellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

PointsPage::PointsPage(QWidget* page, CalculationModel& model) : QObject(page), m_model(model) {
    for (int q = 1; q <= numerics::kQuantityCount; ++q) {
        auto* head = new QLabel(page);
        head->setObjectName(QString("L%1").arg(q));
        head->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        head->setGeometry((q - 1) * kHeadStride + kHeadLeft, kHeadTop, kCellWidth, 36);
        pagestyle::setTextColour(head, pagestyle::kTitleColour);
        head->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_heads[static_cast<std::size_t>(q)] = head;
    }
    m_inputs = makeGrid(page, "SGBody1", 2, kHeadLeft);
    m_inputs->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_inputs->setTabKeyNavigation(true);
    m_inputs->setProperty("helpContext", 60);
    m_outputs = makeGrid(page, "SGBody2", 4, 2 * kHeadStride + kHeadLeft);
    m_outputs->setEnabled(false);
    // Results are read, not edited: the disabled grid keeps a readable text colour.
    QPalette palette = m_outputs->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    m_outputs->setPalette(palette);
    connect(m_inputs, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { SGBody1SelectCell(row); });
    connect(&m_model, &CalculationModel::pointChanged, this, &PointsPage::showRow);
    ApplyLanguage();
}

void PointsPage::ApplyLanguage() {
    for (int q = 1; q <= numerics::kQuantityCount; ++q)
        m_heads[static_cast<std::size_t>(q)]->setText(
            texts::columnHead(m_model.state().Language, q));
}

void PointsPage::enter() {
    for (int place = 1; place <= 6; ++place) {
        QLabel* head = m_heads[numerics::at(m_model.quantityAt(place))];
        head->move((place - 1) * kHeadStride + kHeadLeft, kHeadTop);
    }
    // Clearing and reselecting must not count as leaving the row edited before.
    const QSignalBlocker blocker(m_inputs);
    m_inputs->clearContents();
    m_model.clearPoints();
    AppState& s = m_model.state();
    s.PointsPageShown = true;
    m_inputs->setCurrentCell(0, 0);
    s.PointsRow = 0;
    m_inputs->setFocus();
}

void PointsPage::SGBody1SelectCell(int row) {
    AppState& s = m_model.state();
    if (row == s.PointsRow || row < 0) return;
    const int left = s.PointsRow;
    s.PointsRow = row;
    m_model.computePoint(left, cellText(m_inputs, left, 0), cellText(m_inputs, left, 1));
}

void PointsPage::showRow(int row) {
    using Status = CalculationModel::PointStatus;
    const Status status = m_model.pointStatus(row);
    for (int column = 0; column < 4; ++column) {
        QString text;
        Qt::Alignment alignment = Qt::AlignCenter;
        if (status == Status::Negative) text = kNegative;
        if (status == Status::NotComputed) text = kNotComputed;
        if (status == Status::Computed) {
            const numerics::Quantity q = m_model.quantityAt(column + 3);
            text = m_model.formatted(
                q, m_model.state().PointsTable[numerics::at(q)][static_cast<std::size_t>(row)]);
            alignment = Qt::AlignRight | Qt::AlignVCenter;
        }
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(alignment);
        m_outputs->setItem(row, column, item);
    }
}
