#include "app/info.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

namespace {

constexpr int kWidth = 214;
constexpr int kHeight = 249;
constexpr int kSetCount = 3;

// Heading, name, address, telephone and fax, web and e-mail; Czech and English together.
// Contact data the project does not have is shown as a dash.
const char* const kCredits[kSetCount][5] = {
    {"Zadavatel / Contractor", "Projekt KOLV / The KOLV project", "—", "Tel.: —\nFax: —",
     "Web: —\nE-mail: —"},
    {"Výpočtové knihovny\nMathematical libraries developing",
     "Vývojáři projektu KOLV / KOLV developers", "—", "Tel.: —\nFax: —", "Web: —\nE-mail: —"},
    {"Uživatelský program\nUser's program design", "Vývojáři projektu KOLV / KOLV developers", "—",
     "Tel.: —\nFax: —", "Web: —\nE-mail: —"},
};

} // namespace

TInfoForm::TInfoForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("InfoForm");
    setModal(true);
    setFixedSize(kWidth, kHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(219, 219, 255));
    setPalette(palette);
    setAutoFillBackground(true);

    auto* bevel = new QFrame(this);
    bevel->setObjectName("Bevel1");
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setLineWidth(2);
    bevel->setGeometry(0, 0, kWidth, kHeight);

    // Label1..Label5 from the top: heading, name, address, telephone, web.
    const QRect places[5] = {{10, 10, 194, 34},
                             {10, 48, 194, 40},
                             {10, 92, 194, 62},
                             {10, 158, 194, 30},
                             {10, 190, 194, 30}};
    for (int i = 0; i < 5; ++i) {
        m_labels[i] = new QLabel(this);
        m_labels[i]->setObjectName(QString("Label%1").arg(i + 1));
        m_labels[i]->setGeometry(places[i]);
        m_labels[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    QFont heading = font();
    heading.setItalic(true);
    heading.setUnderline(true);
    m_labels[0]->setFont(heading);
    QPalette navy = palette;
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    QFont name = font();
    name.setBold(true);
    QFont larger = name;
    larger.setPointSizeF(name.pointSizeF() * 1.2);
    m_labels[1]->setFont(larger);
    m_labels[1]->setWordWrap(true);
    m_labels[2]->setFont(name);
    m_labels[2]->setWordWrap(true);
    for (int i : {1, 2})
        m_labels[i]->setPalette(navy);

    auto* close = new QToolButton(this);
    close->setObjectName("sbtnZavrit");
    close->setText(QString::fromUtf8("&Zavřít / Close"));
    close->setAutoRaise(true);
    close->setFocusPolicy(Qt::NoFocus);
    close->setGeometry(52, 222, 110, 22);
    connect(close, &QToolButton::clicked, this, [this] { done(1); });
}

void TInfoForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TInfoForm::FormActivate() {
    if (TextSet < 1 || TextSet > kSetCount) return;
    for (int i = 0; i < 5; ++i)
        m_labels[i]->setText(QString::fromUtf8(kCredits[TextSet - 1][i]));
}

// Esc closes with result 1; every other key is swallowed (QDialog would map Esc to 0).
void TInfoForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) done(1);
}
