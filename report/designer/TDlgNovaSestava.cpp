#include "report/designer/TDlgNovaSestava.h"

#include "platform/BoxMessageSink.h"
#include "platform/MessageSink.h"
#include "report/designer/TEditorSettings.h"
#include "report/designer/model/SectionCodes.h"
#include "report/engine/run/sestavyt.h"
#include "report/engine/sest_lib.h"
#include "report/engine/template/TemplateSettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace designer {

namespace {

QToolButton* arrow(const char* name, const char* text, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromUtf8(text));
    button->setMinimumWidth(40);
    return button;
}

QPushButton* push(const char* name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TDlgNovaSestava::TDlgNovaSestava(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgNovaSestava"));
    setWindowTitle(QStringLiteral("Návrh nové předlohy"));
    auto* grid = new QGridLayout(this);
    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    grid->addWidget(label("SrcLabel", QStringLiteral("Dostupné položky:")), 0, 0);
    grid->addWidget(label("DstLabel", QStringLiteral("Vybrané položky:")), 0, 2);
    m_source = new QListWidget(this);
    m_source->setObjectName(QStringLiteral("SrcList"));
    m_chosen = new QListWidget(this);
    m_chosen->setObjectName(QStringLiteral("DstList"));
    for (QListWidget* list : {m_source, m_chosen})
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_chosen->setDragDropMode(QAbstractItemView::InternalMove);
    grid->addWidget(m_source, 1, 0);
    grid->addWidget(m_chosen, 1, 2);

    auto* arrows = new QVBoxLayout;
    m_include = arrow("IncludeBtn", ">", this);
    m_includeAll = arrow("IncAllBtn", ">>", this);
    m_exclude = arrow("ExcludeBtn", "<", this);
    m_excludeAll = arrow("ExAllBtn", "<<", this);
    for (QToolButton* b : {m_include, m_includeAll, m_exclude, m_excludeAll})
        arrows->addWidget(b);
    arrows->addStretch(1);
    grid->addLayout(arrows, 1, 1);
    connect(m_include, &QToolButton::clicked, this, [this] { move(m_source, m_chosen, false); });
    connect(m_includeAll, &QToolButton::clicked, this, [this] { move(m_source, m_chosen, true); });
    connect(m_exclude, &QToolButton::clicked, this, [this] { move(m_chosen, m_source, false); });
    connect(m_excludeAll, &QToolButton::clicked, this, [this] { move(m_chosen, m_source, true); });
    connect(m_source, &QListWidget::itemDoubleClicked, this,
            [this] { move(m_source, m_chosen, false); });
    connect(m_chosen, &QListWidget::itemDoubleClicked, this,
            [this] { move(m_chosen, m_source, false); });

    auto* options = new QVBoxLayout;
    options->addWidget(new QLabel(QStringLiteral("Styl předlohy:"), this));
    auto* styles = new QHBoxLayout;
    m_column = arrow("SBSloupec", "▥ sloupce", this);
    m_row = arrow("SBRadek", "▤ řádky", this);
    auto* styleGroup = new QButtonGroup(this);
    for (QToolButton* b : {m_column, m_row}) {
        b->setCheckable(true);
        styleGroup->addButton(b);
        styles->addWidget(b);
    }
    m_column->setChecked(true);
    options->addLayout(styles);
    auto check = [this, options](const char* name, const QString& text) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(QString::fromLatin1(name));
        options->addWidget(box);
        return box;
    };
    m_captions = check("CBPopisyPolozek", QStringLiteral("Popisy položek"));
    m_captionsAsText = check("CBPopisyTextem", QStringLiteral("Popisy textem"));
    m_byName = check("CBSledovatPodle", QStringLiteral("Pol. podle názvu"));
    options->addStretch(1);
    grid->addLayout(options, 1, 3);

    auto* buttons = new QHBoxLayout;
    QPushButton* paper = push("BitBtn1", QStringLiteral("&Formát papíru"), this);
    m_paperFormat = paper;
    paper->setEnabled(false);
    connect(paper, &QPushButton::clicked, this, [this] {
        if (m_paperFormatAction) m_paperFormatAction();
    });
    QPushButton* ok = push("OKBtn", QStringLiteral("&Navrhnout"), this);
    QPushButton* byHand = push("RucneBtn", QStringLiteral("&Ručně"), this);
    QPushButton* cancel = push("HelpBtn", QStringLiteral("Storno"), this);
    buttons->addWidget(paper);
    buttons->addStretch(1);
    for (QPushButton* b : {ok, byHand, cancel})
        buttons->addWidget(b);
    grid->addLayout(buttons, 2, 0, 1, 4);
    connect(ok, &QPushButton::clicked, this, &TDlgNovaSestava::accept);
    connect(byHand, &QPushButton::clicked, this, [this] { done(kByHand); });
    connect(cancel, &QPushButton::clicked, this, &TDlgNovaSestava::reject);
    enableArrows();
}

void TDlgNovaSestava::setPaperFormatAction(std::function<void()> action) {
    m_paperFormatAction = std::move(action);
    m_paperFormat->setEnabled(bool(m_paperFormatAction));
}

void TDlgNovaSestava::setItems(const QStringList& names) {
    m_source->clear();
    m_chosen->clear();
    m_source->addItems(names);
    enableArrows();
}

QStringList TDlgNovaSestava::chosenItems() const {
    QStringList names;
    for (int i = 0; i < m_chosen->count(); ++i)
        names << m_chosen->item(i)->text();
    return names;
}

void TDlgNovaSestava::setChosenItems(const QStringList& names) {
    m_chosen->clear();
    m_chosen->addItems(names);
    enableArrows();
}

void TDlgNovaSestava::setColumnStyle(bool column) {
    (column ? m_column : m_row)->setChecked(true);
}

void TDlgNovaSestava::setCaptions(bool on) {
    m_captions->setChecked(on);
}

void TDlgNovaSestava::setCaptionsAsText(bool on) {
    m_captionsAsText->setChecked(on);
}

void TDlgNovaSestava::setByName(bool on) {
    m_byName->setChecked(on);
}

void TDlgNovaSestava::move(QListWidget* from, QListWidget* to, bool all) {
    QList<int> rows;
    for (int i = 0; i < from->count(); ++i)
        if (all || from->item(i)->isSelected()) rows << i;
    if (rows.isEmpty()) return;
    // taken out from the last line to the first, added in the list's order
    QList<QListWidgetItem*> taken;
    for (int k = int(rows.size()) - 1; k >= 0; --k)
        taken.prepend(from->takeItem(rows[k]));
    for (QListWidgetItem* item : taken)
        to->addItem(item);
    const int next = std::min(rows.first(), from->count() - 1);
    if (next >= 0) from->setCurrentRow(std::max(next, 0));
    enableArrows();
}

void TDlgNovaSestava::enableArrows() {
    m_include->setEnabled(m_source->count() > 0);
    m_includeAll->setEnabled(m_source->count() > 0);
    m_exclude->setEnabled(m_chosen->count() > 0);
    m_excludeAll->setEnabled(m_chosen->count() > 0);
}

void TDlgNovaSestava::accept() {
    if (m_chosen->count() == 0) {
        static platform::BoxMessageSink boxes(platform::BoxMessageSink::Buttons::Czech);
        platform::MessageSink& sink = m_messages ? *m_messages : boxes;
        sink.ShowBox(QStringLiteral("Nebyly vybrány žádné položky. Návrh nemůže být proveden!"),
                     QStringLiteral("Informace"), platform::MessageButtons::Ok,
                     platform::MessageIcon::Information);
        return;
    }
    QDialog::accept();
}

void TDlgNovaSestava::Generate(report::TPredloha& lines, report::TSestavaTyp& report, int height,
                               int width) const {
    const TEditorSettings& s = EditorSettings();
    const int W = width;
    const int rowHeight = s.ImplVyska;
    const int c = s.ImplVyskaFontu * 3 / 4;
    const QString font = report::BareField(s.ImplNazevFontu);
    const QString charset = QString::number(s.ImplSkriptFontu);
    const bool column = m_column->isChecked();
    const bool detail = report.IsDetail();
    const bool captions = m_captions->isChecked();
    const bool asText = m_captionsAsText->isChecked();
    const auto n = [](int v) { return QString::number(v); };
    const auto join = [](std::initializer_list<QString> fields) {
        return QStringList(fields).join(u',');
    };
    const auto separator = [&](const char* key, int y) {
        return QString::fromLatin1(key) +
               QStringLiteral(",7,0,0,%1,%2,3,,1,0,0,8,15,0").arg(y).arg(W);
    };
    // font fields of item lines: size, colour, style, alignment
    const auto styled = [&](int alignment) {
        return join({font, n(s.ImplVyskaFontu), n(s.ImplBarvaFontu), n(s.ImplStylFontu),
                     n(alignment), QStringLiteral("0"), charset});
    };

    struct Chosen {
        int index;
        QString reference;
        int displayWidth;
        int alignment;
        QString caption;
    };
    QList<Chosen> items;
    for (const QString& name : chosenItems()) {
        const int index = report.IndexOfItem(name);
        if (index < 0) continue;
        const QString reference =
            m_byName->isChecked() ? report::BareField(name.left(32)) : n(index);
        items.append({index, reference, report.GetDisplayWidth(index) * c + 2 * s.ImplVyskaFontu,
                      report.GetAlignment(index) & ~128,
                      report::QuotedField(report.GetItemDescription(index))});
    }

    report::TPredloha body;
    if (!detail) {
        body << join({QStringLiteral("Z,1,0,0,40"), n(W), QStringLiteral("40"), font,
                      QStringLiteral("24,0,1,2,0"), charset,
                      report::QuotedField(QStringLiteral("Nadpis sestavy"))})
             << join({QStringLiteral("Z,5,0"), n(W - 72), QStringLiteral("0,72,20"), font,
                      QStringLiteral("10,0,2,0,0"), charset})
             << join({QStringLiteral("Z,1,0"), n(W - 128), QStringLiteral("0,56,20"), font,
                      QStringLiteral("10,0,2,0,0"), charset,
                      report::QuotedField(QStringLiteral("Datum:"))});
    }
    const char* captionKey = detail ? "Z" : "H";
    int y = 0;
    if (column) {
        int x = 0;
        for (const Chosen& item : items) {
            const int w = std::min(item.displayWidth, W);
            if (x + w > W) {
                y += rowHeight;
                x = 0;
            }
            const QString place = join({n(x), n(y), n(w), n(rowHeight)});
            if (captions) {
                body << (asText ? QString::fromLatin1(captionKey) + QStringLiteral(",1,0,") +
                                      join({place, styled(item.alignment), item.caption})
                                : QString::fromLatin1(captionKey) + QStringLiteral(",3,") +
                                      join({item.reference, place, styled(item.alignment)}));
            }
            body << QStringLiteral("T,2,") + join({item.reference, place, styled(item.alignment)});
            x += w;
        }
        if (x > 0) y += rowHeight;
        if (y > rowHeight) {
            body << separator("T", y);
            y += 8;
        }
        body << separator(captionKey, y);
    } else {
        body << separator(captionKey, 5);
        const int captionWidth = 12 * c;
        const int valueX = 12 * c + 8;
        for (const Chosen& item : items) {
            if (y + rowHeight > height - 144) break;
            const int w = std::min(item.displayWidth, W - valueX);
            if (captions) {
                const QString place =
                    join({QStringLiteral("0"), n(y), n(captionWidth), n(rowHeight)});
                body << (asText
                             ? QStringLiteral("T,1,0,") + join({place, styled(1), item.caption})
                             : QStringLiteral("T,3,") + join({item.reference, place, styled(1)}));
            }
            body << QStringLiteral("T,2,") + join({item.reference, n(valueX), n(y), n(w),
                                                   n(rowHeight), styled(item.alignment)});
            y += rowHeight;
        }
        y += 8;
        body << separator("T", y);
    }
    if (!detail) {
        body << join({QStringLiteral("P,1,0"), n(W - 144), QStringLiteral("8,96,20"), font,
                      QStringLiteral("10,0,2,1,0"), charset,
                      report::QuotedField(QStringLiteral("Stránka číslo:"))})
             << join({QStringLiteral("P,5,3"), n(W - 48), QStringLiteral("8,32,20"), font,
                      QStringLiteral("10,0,2,1,0"), charset});
    }

    // The five fixed sections, each visible or not and its height, before the elements; the
    // lines carry no flags.
    std::array<std::pair<bool, int>, kFixedSections> sections;
    if (column && !detail)
        sections = {{{true, 96}, {true, y + 8}, {true, y}, {false, 16}, {true, 32}}};
    else if (!detail)
        sections = {{{true, 96}, {true, 16}, {true, y + 8}, {false, 16}, {true, 32}}};
    else if (column)
        sections = {{{true, y + 8}, {false, 16}, {true, y}, {false, 16}, {false, 16}}};
    else
        sections = {{{true, 16}, {false, 16}, {true, y + 8}, {false, 16}, {false, 16}}};
    for (report::SectionNumber number : kFixedSectionCodes) {
        report::TemplateSection section;
        section.visible = sections[number].first;
        section.height = sections[number].second;
        lines << report::WriteSectionLine(number, section);
    }
    lines << body;
}

} // namespace designer
