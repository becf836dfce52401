#include "app/info.h"

#include "app/PageStyle.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

namespace {

constexpr int kWidth = 214;
constexpr int kHeight = 249;
constexpr int kSetCount = 3;

// Heading, name, and three further texts (two lines each for the last two), Czech and English
// together: the program itself, the formulations it computes by, and what it is built on.
const char* const kCredits[kSetCount][5] = {
    {"Zadavatel / Contractor", "KOLV " KOLV_VERSION,
     "Vlastnosti vody a vodní páry\nProperties of water and steam",
     "Verze / Version " KOLV_VERSION "\nSestaveno / Built " KOLV_BUILD_DATE,
     "Vlastní kód projektu KOLV\nThe KOLV project's own code"},
    {"Výpočtové knihovny\nMathematical libraries developing", "IAPWS-IF97, IAPS 1985",
     "IAPWS: Industrial Formulation 1997 for the Thermodynamic Properties of Water and Steam "
     "(Revised Release 2007)",
     "IAPS 1985: viskozita / viscosity\n(Revised Release 1997, 2003)",
     "IAPS 1985: tepelná vodivost / thermal\nconductivity (Revised Release 1998)"},
    {"Uživatelský program\nUser's program design", "Qt " QT_VERSION_STR,
     "Qt Core, Gui, Widgets; C++20 (GCC " QT_STRINGIFY(__GNUC__) "." QT_STRINGIFY(
         __GNUC_MINOR__) "), CMake, Ninja",
     "Testy / Tests:\nGoogleTest, Qt Test", "Měření rychlosti / Benchmarks:\nGoogle Benchmark"},
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

    // Label1..Label5 from the top: heading, name, and the three further texts.
    const QRect places[5] = {
        {6, 8, 202, 34}, {6, 46, 202, 22}, {6, 72, 202, 64}, {6, 142, 202, 34}, {6, 180, 202, 34}};
    for (int i = 0; i < 5; ++i) {
        m_labels[i] = new QLabel(this);
        m_labels[i]->setObjectName(QString("Label%1").arg(i + 1));
        m_labels[i]->setGeometry(places[i]);
        m_labels[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        m_labels[i]->setWordWrap(true);
    }
    QFont heading = font();
    heading.setPointSizeF(font().pointSizeF() * 0.9); // the longest heading on two lines
    heading.setItalic(true);
    heading.setUnderline(true);
    m_labels[0]->setFont(heading);
    QPalette navy = palette;
    navy.setColor(QPalette::WindowText, pagestyle::kNavy);
    QFont name = font();
    name.setBold(true);
    QFont larger = name;
    larger.setPointSizeF(name.pointSizeF() * 1.2);
    m_labels[1]->setFont(larger);
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.85);
    QFont smallBold = small;
    smallBold.setBold(true);
    m_labels[2]->setFont(smallBold);
    m_labels[3]->setFont(small);
    m_labels[4]->setFont(small);
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
    // Centred on the main window, whatever the window manager would choose.
    if (const QWidget* owner = parentWidget())
        move(owner->window()->geometry().center() - rect().center());
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
