#include "report/designer/ElementTree.h"

#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace designer {

namespace {

// The image number of an item (the designer's image list numbering).
constexpr int kImageRole = Qt::UserRole + 1;

// The image numbers.
enum TreeImage : int {
    tiNone = -1,
    tiItem = 1, // also a detail report
    tiItemLabel = 2,
    tiParameter = 3,
    tiFunction = 4,
    tiVariable = 5,           // variables 0..4 take 5..9
    tiGroupRecordNumber = 10, // the odd variables above them
    tiGroupNumber = 11,       // the even ones
    tiText = 12,
    tiLine = 13, // up to tiDrawingArea in the order of the kinds
    tiFrame = 14,
    tiRoundFrame = 15,
    tiEllipse = 16,
    tiPicture = 17,
    tiBarcode = 18,
    tiDrawingArea = 19,
    tiReportSection = 38, // report header and footer
    tiPageSection = 39,   // page header and footer
    tiBody = 40,
    tiGroupSection = 41,
    tiReport = 42,
};
constexpr int kFixedVariables = 5;
// Names longer than this many characters are cut.
constexpr int kLongestName = 79;
constexpr int kCutName = 76;

// A 16 x 16 glyph for image number `image`, painted once.
QIcon treeIcon(int image) {
    static QHash<int, QIcon> icons;
    if (const auto found = icons.constFind(image); found != icons.constEnd()) return *found;
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect box(1, 1, 13, 13);
    const auto glyph = [&](const QColor& colour, const QString& text) {
        p.setPen(colour.darker(150));
        p.setBrush(colour);
        p.drawRoundedRect(box, 2, 2);
        p.setPen(Qt::white);
        QFont font = p.font();
        font.setPixelSize(text.size() > 1 ? 7 : 10);
        font.setBold(true);
        p.setFont(font);
        p.drawText(box, Qt::AlignCenter, text);
    };
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::NoBrush);
    switch (image) {
    case tiReport: // a sheet
        p.setBrush(Qt::white);
        p.drawRect(3, 1, 10, 14);
        p.drawLine(5, 5, 11, 5);
        p.drawLine(5, 8, 11, 8);
        p.drawLine(5, 11, 11, 11);
        break;
    case tiReportSection:
    case tiPageSection:
    case tiBody:
    case tiGroupSection: {
        static const QColor bands[] = {QColor(0, 0, 255), QColor(0, 128, 0), QColor(128, 128, 128),
                                       QColor(128, 0, 128)};
        p.setPen(Qt::NoPen);
        p.setBrush(bands[image - tiReportSection]);
        p.drawRect(1, 4, 14, 8);
        break;
    }
    case tiLine:
        p.drawLine(2, 14, 14, 2);
        break;
    case tiFrame:
        p.drawRect(2, 3, 12, 10);
        break;
    case tiRoundFrame:
        p.drawRoundedRect(2, 3, 12, 10, 4, 4);
        break;
    case tiEllipse:
        p.drawEllipse(2, 3, 12, 10);
        break;
    case tiPicture: // a hill under the sun
        p.drawRect(1, 2, 14, 12);
        p.drawLine(2, 13, 7, 7);
        p.drawLine(7, 7, 13, 13);
        p.drawEllipse(10, 4, 3, 3);
        break;
    case tiBarcode:
        p.setPen(QPen(Qt::black, 1));
        for (int x : {2, 4, 5, 8, 10, 11, 13})
            p.drawLine(x, 2, x, 14);
        break;
    case tiDrawingArea:
        glyph(QColor(0, 128, 128), QStringLiteral("~"));
        break;
    case tiText:
        glyph(QColor(0, 0, 0), QStringLiteral("A"));
        break;
    case tiItem:
        glyph(QColor(0, 0, 160), QStringLiteral("DB"));
        break;
    case tiItemLabel:
        glyph(QColor(0, 96, 160), QStringLiteral("Lb"));
        break;
    case tiParameter:
        glyph(QColor(0, 128, 0), QStringLiteral("P"));
        break;
    case tiFunction:
        glyph(QColor(160, 0, 160), QStringLiteral("f"));
        break;
    default: // system variables
        glyph(QColor(160, 64, 0), image >= tiVariable && image < tiVariable + kFixedVariables
                                      ? QString::number(image - tiVariable + 1)
                                  : image == tiGroupRecordNumber ? QStringLiteral("ř")
                                                                 : QStringLiteral("#"));
        break;
    }
    p.end();
    return icons.insert(image, QIcon(pixmap)).value();
}

TreeImage sectionImage(int code) {
    switch (code) {
    case report::odZ:
    case report::odK:
        return tiReportSection;
    case report::odH:
    case report::odP:
        return tiPageSection;
    case report::odT:
        return tiBody;
    default:
        return tiGroupSection;
    }
}

int elementImage(int kind, int index) {
    switch (kind) {
    case report::ekText:
        return tiText;
    case report::ekItem:
    case report::ekDetail:
        return tiItem;
    case report::ekItemLabel:
        return tiItemLabel;
    case report::ekParameter:
        return tiParameter;
    case report::ekFunction:
        return tiFunction;
    case report::ekVariable:
        if (index >= 0 && index < kFixedVariables) return tiVariable + index;
        return index % 2 ? tiGroupRecordNumber : tiGroupNumber;
    default:
        return kind >= report::ekLine && kind <= report::ekDrawingArea
                   ? tiLine + (kind - report::ekLine)
                   : tiNone;
    }
}

QString shortName(const QString& name) {
    return name.size() > kLongestName ? name.left(kCutName) + QStringLiteral("...") : name;
}

class SectionItem : public QTreeWidgetItem {
public:
    SectionItem(QTreeWidgetItem* parent, TOddil* section)
        : QTreeWidgetItem(parent), m_section(section) {}
    TOddil* section() const { return m_section; }
    int code() const { return m_code; }
    void setCode(int code) { m_code = code; }

    QVariant data(int column, int role) const override {
        if (role == Qt::FontRole) {
            QFont font = treeWidget() ? treeWidget()->font() : QFont();
            font.setBold(true);
            font.setItalic(m_section && m_section->isHidden());
            return font;
        }
        if (role == Qt::UserRole) return QVariant::fromValue<QObject*>(m_section.data());
        return QTreeWidgetItem::data(column, role);
    }

private:
    QPointer<TOddil> m_section;
    int m_code = -1;
};

class ElementItem : public QTreeWidgetItem {
public:
    ElementItem(QTreeWidgetItem* parent, TSesPrvek* element, TOddil* section)
        : QTreeWidgetItem(parent), m_element(element), m_section(section) {}
    TSesPrvek* element() const { return m_element; }

    QVariant data(int column, int role) const override {
        if (role == Qt::ForegroundRole && m_element &&
            (m_element->selected() || m_element->multi()))
            return QBrush(Qt::red);
        if (role == Qt::FontRole && m_section && m_section->isHidden()) {
            QFont font = treeWidget() ? treeWidget()->font() : QFont();
            font.setItalic(true);
            return font;
        }
        if (role == Qt::UserRole) return QVariant::fromValue<QObject*>(m_element.data());
        return QTreeWidgetItem::data(column, role);
    }

private:
    QPointer<TSesPrvek> m_element;
    QPointer<TOddil> m_section;
};

// The tree widget passes presses with their modifiers and double clicks on.
class TreeView : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    std::function<void(QTreeWidgetItem*, Qt::KeyboardModifiers)> pressed;
    std::function<void(QTreeWidgetItem*)> doubleClicked;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QTreeWidget::mousePressEvent(event);
        if (event->button() == Qt::LeftButton)
            if (QTreeWidgetItem* item = itemAt(event->position().toPoint()))
                pressed(item, event->modifiers());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (QTreeWidgetItem* item = itemAt(event->position().toPoint())) doubleClicked(item);
    }
};

} // namespace

ElementTree::ElementTree(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelTree"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new TreeView(this);
    view->setObjectName(QStringLiteral("TreeViewElements"));
    view->setHeaderHidden(true);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setExpandsOnDoubleClick(false);
    view->setFocusPolicy(Qt::StrongFocus);
    view->pressed = [this](QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers) {
        pressed(item, modifiers);
    };
    view->doubleClicked = [this](QTreeWidgetItem* item) { doubleClicked(item); };
    m_view = view;
    layout->addWidget(view);
    hide();
}

void ElementTree::build(const QString& title, const QList<TOddil*>& sections) {
    QList<int> expanded;
    if (QTreeWidgetItem* root = m_view->topLevelItem(0))
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->isExpanded())
                expanded << static_cast<SectionItem*>(root->child(i))->code();
    m_view->clear();

    auto* root = new QTreeWidgetItem(m_view);
    root->setText(0, title);
    root->setData(0, kImageRole, tiReport);
    root->setIcon(0, treeIcon(tiReport));
    for (TOddil* section : sections) {
        auto* node = new SectionItem(root, section);
        node->setCode(section->code());
        node->setText(0, QStringLiteral("Oddil: %1").arg(section->caption()));
        node->setData(0, kImageRole, sectionImage(section->code()));
        node->setIcon(0, treeIcon(sectionImage(section->code())));
        for (int i = 0; i < section->PocetPrvku(); ++i) {
            TSesPrvek* element = section->Prvek(i);
            auto* item = new ElementItem(node, element, section);
            item->setText(0, shortName(element->toolTip()));
            const int image = elementImage(element->Kind(), element->Index());
            item->setData(0, kImageRole, image);
            if (image != tiNone) item->setIcon(0, treeIcon(image));
        }
        if (expanded.contains(section->code())) node->setExpanded(true);
    }
    root->setExpanded(true);
}

void ElementTree::clear() {
    m_view->clear();
}

void ElementTree::showSelection() {
    m_view->viewport()->update();
}

void ElementTree::pressed(QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers) {
    if (!item->parent() || !item->parent()->parent()) return;
    TSesPrvek* element = static_cast<ElementItem*>(item)->element();
    if (!element) return;
    emit elementPressed(element, modifiers);
    m_view->setFocus();
}

void ElementTree::doubleClicked(QTreeWidgetItem* item) {
    if (!item->parent()) return;
    if (!item->parent()->parent()) {
        if (TOddil* section = static_cast<SectionItem*>(item)->section())
            emit sectionDoubleClicked(section->code());
        return;
    }
    if (TSesPrvek* element = static_cast<ElementItem*>(item)->element())
        emit elementDoubleClicked(element);
}

} // namespace designer
