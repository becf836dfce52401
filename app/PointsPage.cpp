#include "app/PointsPage.h"

#include "app/CalculationPage.h"
#include "app/Texts.h"
#include "numerics/FaultScope.h"
#include "platform/NumberText.h"

#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QWidget>

namespace {

constexpr int kRows = 12;
constexpr int kCellWidth = 76;
constexpr int kCellHeight = 16;
constexpr int kHeadStride = 78; // heads of places 1..6 sit at (place - 1) x 78 + 25
constexpr int kHeadLeft = 25;
constexpr int kHeadTop = 44;
constexpr int kGridTop = 84;

const QString kNegative = QStringLiteral("x x x");
const QString kNotComputed = QStringLiteral("- - -");

QTableWidget* makeGrid(QWidget* page, const char* name, int columns, int x) {
    auto* grid = new QTableWidget(kRows, columns, page);
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
    grid->setGeometry(x, kGridTop, columns * kCellWidth, kRows * kCellHeight);
    return grid;
}

QString cellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

PointsPage::PointsPage(QWidget* page, AppState& state, const CalculationPage& calculation,
                       const PropertyLibrary& library)
    : QObject(page), m_state(state), m_calculation(calculation), m_library(library) {
    for (int q = 1; q <= 6; ++q) {
        auto* head = new QLabel(page);
        head->setObjectName(QString("L%1").arg(q));
        head->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        head->setGeometry((q - 1) * kHeadStride + kHeadLeft, kHeadTop, kCellWidth, 36);
        QPalette palette = head->palette();
        palette.setColor(QPalette::WindowText, QColor(255, 226, 120));
        head->setPalette(palette);
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
    ApplyLanguage();
}

void PointsPage::ApplyLanguage() {
    for (int q = 1; q <= 6; ++q)
        m_heads[static_cast<std::size_t>(q)]->setText(texts::ColumnHead(m_state.Language, q));
}

void PointsPage::Enter() {
    for (int place = 1; place <= 6; ++place) {
        QLabel* head = m_heads[static_cast<std::size_t>(m_state.QuantityOrder[place])];
        head->move((place - 1) * kHeadStride + kHeadLeft, kHeadTop);
    }
    // Clearing and reselecting must not count as leaving the row edited before.
    const QSignalBlocker blocker(m_inputs);
    m_inputs->clearContents();
    m_outputs->clearContents();
    for (auto& column : m_state.PointsTable)
        column.fill(0.0);
    m_state.PointsPageShown = true;
    m_inputs->setCurrentCell(0, 0);
    m_state.PointsRow = 0;
    m_inputs->setFocus();
}

void PointsPage::SGBody1SelectCell(int row) {
    if (row == m_state.PointsRow || row < 0) return;
    computeRow(m_state.PointsRow);
    m_state.PointsRow = row;
}

void PointsPage::computeRow(int row) {
    AppState& s = m_state;
    auto& flag = s.PointsTable[0][static_cast<std::size_t>(row)];
    flag = 0.0;
    const auto a1 = platform::ParseNumber(cellText(m_inputs, row, 0));
    const auto a2 = platform::ParseNumber(cellText(m_inputs, row, 1));
    if (!a1 || !a2) {
        showOutputs(row, kNotComputed);
        return;
    }
    if (*a1 < 0 || *a2 < 0) {
        showOutputs(row, kNegative);
        return;
    }

    const int q1 = s.QuantityOrder[1];
    const int q2 = s.QuantityOrder[2];
    const bool swapped = m_calculation.InputsSwapped();
    const double x1 = swapped ? *a2 : *a1;
    const double x2 = swapped ? *a1 : *a2;
    // Outputs start at the given values and 0, so none the library leaves alone is stale.
    std::array<double, 7> out{};
    out[static_cast<std::size_t>(q1)] = *a1;
    out[static_cast<std::size_t>(q2)] = *a2;
    int region = 0; // not shown on this page: every region counts as computed
    try {
        m_library.StateFromPair(m_calculation.PairCode(), q1 != 2 && q2 != 2, q1 != 3 && q2 != 3,
                                x1, x2, q1 != 4 && q2 != 4, q1 != 5 && q2 != 5,
                                s.MetastablePreferred, out[1], out[2], out[3], out[4], out[5],
                                out[6], region);
    } catch (const numerics::NumericFault&) {
        showOutputs(row, kNotComputed);
        return;
    }
    for (int place = 3; place <= 6; ++place) {
        const auto q = static_cast<std::size_t>(s.QuantityOrder[place]);
        auto* item = new QTableWidgetItem(
            platform::FormatFixed(out[q], s.DecimalPlaces[q], s.DecimalSeparator));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_outputs->setItem(row, place - 3, item);
    }
    const auto r = static_cast<std::size_t>(row);
    flag = 1.0;
    for (std::size_t q = 1; q <= 6; ++q)
        s.PointsTable[q][r] = out[q];
}

void PointsPage::showOutputs(int row, const QString& text) {
    for (int column = 0; column < 4; ++column) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(Qt::AlignCenter);
        m_outputs->setItem(row, column, item);
    }
}
