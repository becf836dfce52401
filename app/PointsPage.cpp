#include "app/PointsPage.h"

#include "app/CalculationModel.h"
#include "app/PageStyle.h"
#include "app/Texts.h"

#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QWidget>

#include <functional>

namespace {

constexpr int kCellWidth = 76;
constexpr int kCellHeight = 16;
constexpr int kHeadStride = 78; // heads of places 1..6 sit at (place - 1) x 78 + 25
constexpr int kHeadLeft = 25;
constexpr int kHeadTop = 44;
constexpr int kGridTop = 84;

const QString kNegative = QStringLiteral("x x x");
const QString kNotComputed = QStringLiteral("- - -");

// The input grid: Tab and Shift+Tab stop at its last and first cell instead of going round to
// the other end, where the next keys would overwrite a row.
class InputGrid : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    // Tab in the last cell: there is no next cell to leave the row for.
    std::function<void()> tabbedPastEnd;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const QModelIndex current = currentIndex();
        const bool first = current.row() == 0 && current.column() == 0;
        const bool last = current.row() == rowCount() - 1 && current.column() == columnCount() - 1;
        if (action == MoveNext && last && tabbedPastEnd) tabbedPastEnd();
        if ((action == MoveNext && last) || (action == MovePrevious && first)) return current;
        return QTableWidget::moveCursor(action, modifiers);
    }
};

template <typename Grid = QTableWidget>
Grid* makeGrid(QWidget* page, const char* name, int columns, int x) {
    auto* grid = new Grid(kPointRows, columns, page);
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
    auto* inputs = makeGrid<InputGrid>(page, "SGBody1", 2, kHeadLeft);
    // Tab past the end computes the last row, as leaving it would.
    inputs->tabbedPastEnd = [this] { computeRow(kPointRows - 1); };
    m_inputs = inputs;
    // A click on the current cell opens no editor after a delay: it would open over a value
    // typed at once, which opens its own editor, and lose it.
    m_inputs->setEditTriggers(
        QAbstractItemView::EditTriggers(QAbstractItemView::AllEditTriggers) &
        ~QAbstractItemView::EditTriggers(QAbstractItemView::SelectedClicked));
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
    AppState& s = m_model.state();
    s.PointsPageShown = true;
    const std::pair inputs(s.QuantityOrder[1], s.QuantityOrder[2]);
    if (inputs == m_rowsInputs) {
        // The rows were typed for these inputs: they stay, the outputs in the current order.
        for (int row = 0; row < kPointRows; ++row)
            showRow(row);
    } else {
        // Clearing and reselecting must not count as leaving the row edited before.
        const QSignalBlocker blocker(m_inputs);
        m_inputs->clearContents();
        m_model.clearPoints();
        m_rowsInputs = inputs;
        m_inputs->setCurrentCell(0, 0);
        s.PointsRow = 0;
    }
    m_inputs->setFocus();
}

void PointsPage::SGBody1SelectCell(int row) {
    AppState& s = m_model.state();
    if (row == s.PointsRow || row < 0) return;
    const int left = s.PointsRow;
    s.PointsRow = row;
    computeRow(left);
}

void PointsPage::computeRow(int row) {
    m_model.computePoint(row, cellText(m_inputs, row, 0), cellText(m_inputs, row, 1));
}

void PointsPage::showRow(int row) {
    using Status = CalculationModel::PointStatus;
    const Status status = m_model.pointStatus(row);
    const AppState& s = m_model.state();
    // A row the library took but gave no state for (out of range) has no outputs to show.
    const bool shown = status == Status::Computed &&
                       isComputedRegion(s.PointRegions[static_cast<std::size_t>(row)]);
    for (int column = 0; column < 4; ++column) {
        QString text;
        Qt::Alignment alignment = Qt::AlignCenter;
        if (status == Status::Negative) {
            text = kNegative;
        } else if (shown) {
            const numerics::Quantity q = m_model.quantityAt(column + 3);
            text = m_model.formatted(
                q, s.PointsTable[numerics::at(q)][static_cast<std::size_t>(row)]);
            alignment = Qt::AlignRight | Qt::AlignVCenter;
        } else if (status != Status::Empty) {
            text = kNotComputed;
        }
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(alignment);
        m_outputs->setItem(row, column, item);
    }
}
