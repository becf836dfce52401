#include "app/ThlavniForm.h"

#include "app/Artwork.h"
#include "app/CalculationPage.h"
#include "app/ConfigFile.h"
#include "app/Diagr.h"
#include "app/FunctionsPage.h"
#include "app/PageStyle.h"
#include "app/PointsPage.h"
#include "app/PrintRecords.h"
#include "app/RangesPage.h"
#include "app/ReportSetup.h"
#include "app/Texts.h"
#include "app/info.h"
#include "platform/MessageSink.h"
#include "platform/SystemLocale.h"
#include "report/engine/run/sestavy.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStackedWidget>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int kWidth = 514;
constexpr int kHeight = 366;
constexpr int kStartPage = 4;
// Left edges of the menu labels by tag; the English captions set bold must not touch.
constexpr int kMenuX[] = {10, 100, 170, 255, 335, 420};

QPoint eventPos(QEvent* event) {
    return static_cast<QMouseEvent*>(event)->position().toPoint();
}

} // namespace

ThlavniForm::ThlavniForm(const QString& exeDir, platform::MessageSink& messages,
                         const PropertyLibrary& library, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_model(library),
      m_state(m_model.state()), m_messages(messages) {
    setObjectName("ThlavniForm");
    setWindowTitle("KOLV");
    setFixedSize(kWidth, kHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, pagestyle::kNavy);
    palette.setColor(QPalette::WindowText, Qt::white);
    // Disabled labels (Diagram and Print on the Functions and Ranges pages) are dimmed.
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 130, 175));
    setPalette(palette);
    setAutoFillBackground(true);

    m_pages = new QStackedWidget(this);
    m_pages->setGeometry(0, 0, kWidth, kHeight);
    const char* names[] = {"TabSheetVypocet", "TabSheetBody", "TabSheetFunkce", "TabSheetRozsahy"};
    std::vector<QWidget*> working;
    for (int i = 0; i < 4; ++i)
        working.push_back(addWorkingPage(i, names[i]));
    buildStartPage();

    // Steps of creation in their fixed order: the page is drawn before kolv.cfg and the
    // separator are known; choosing the language draws it again.
    m_calculation = new CalculationPage(working[0], m_model);
    m_calculation->RefreshCalculationPage();
    m_points = new PointsPage(working[1], m_model);
    m_functions = new FunctionsPage(working[2], m_model);
    m_ranges = new RangesPage(working[3], m_state);
    m_state.PointsRow = 0;
    m_state.ExeDir = exeDir;
    readConfiguration();
    m_state.DecimalSeparator = platform::SystemDecimalSeparator();
    m_state.CurrentPageTag = 1;
    RefreshMenuLabels();
    m_pages->setCurrentIndex(kStartPage);

    // The chart window and the about box live as long as the main window. They are created
    // after the pages, so that a search by name finds the pages' controls first.
    m_diagram = new TDiagramForm(m_model, m_messages, this);
    m_info = new TInfoForm(this);
    createReport();
    m_chartLoader = new ChartBitmapLoader(
        this, m_state.ExeDir, [this] { return m_state.Language; }, m_messages, this);
    connect(m_chartLoader, &ChartBitmapLoader::chartLoaded, this, [this](const QPixmap& chart) {
        m_state.DiagramLoaded = true;
        m_diagram->setChart(chart);
    });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

ThlavniForm::~ThlavniForm() {
    // The pages and windows show the model: they go while it still exists.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

QWidget* ThlavniForm::addWorkingPage(int index, const char* name) {
    auto* page = new QWidget;
    page->setObjectName(name);
    m_pages->addWidget(page);

    QLabel* background = addImage(page, QString("Image%1").arg(index + 1),
                                  artwork::pageBackground({kWidth, kHeight}, false), {0, 0});
    background->setMouseTracking(true);
    m_backgrounds.push_back(background);

    for (int tag = 1; tag <= 6; ++tag) {
        auto* label = new QLabel(texts::menuCaption(texts::Czech, tag), page);
        label->setObjectName(QString("menu%1_%2").arg(index).arg(tag));
        label->setProperty("tag", tag);
        label->move(kMenuX[tag - 1], 8);
        label->adjustSize();
        label->setMouseTracking(true);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        // Chart and print need the Calculation or Points page.
        if (tag >= 5 && index >= 2) label->setEnabled(false);
        m_menuLabels.push_back(label);
    }
    QLabel* exit =
        addImage(page, QString("Image%1").arg(index + 5), artwork::exitImage(), {kWidth - 30, 4});
    exit->setCursor(Qt::PointingHandCursor);
    m_exitImages.push_back(exit);
    return page;
}

void ThlavniForm::buildStartPage() {
    auto* page = new QWidget;
    page->setObjectName("TabSheetVstup");
    m_pages->addWidget(page);
    addImage(page, "ImageVstup", artwork::pageBackground({kWidth, kHeight}, true), {0, 0});

    addText(page, "K O L V", {40, 34}, 40, true);
    addText(page, "používá rovnice IAPWS-IF97 / using formulation IAPWS-IF97", {40, 92}, 12,
            false);
    addText(page,
            "Výpočet termodynamických vlastností vody a vodní páry.\n"
            "Program vznikl jako pomůcka pro inženýrské výpočty\n"
            "energetických zařízení.",
            {40, 130}, 12, false);
    addText(page,
            "Thermodynamic properties of water and steam.\n"
            "The program was written as a tool for engineering\n"
            "calculations of power equipment.",
            {40, 196}, 12, false);

    m_czech = addImage(page, "Image13", artwork::languageImage(0), {40, 280});
    m_english = addImage(page, "Image14", artwork::languageImage(1), {130, 280});
    for (QLabel* flag : {m_czech, m_english})
        flag->setCursor(Qt::PointingHandCursor);
    for (int set = 1; set <= 3; ++set) {
        m_aboutOpeners[set - 1] =
            addImage(page, QString("Image%1").arg(set + 9), artwork::aboutOpenerImage(set),
                     {340 + (set - 1) * 40, 290});
        m_aboutOpeners[set - 1]->setCursor(Qt::PointingHandCursor);
    }
    QLabel* exit = addImage(page, "Image15", artwork::exitImage(), {kWidth - 30, 4});
    exit->setCursor(Qt::PointingHandCursor);
    m_exitImages.push_back(exit);
}

QLabel* ThlavniForm::addImage(QWidget* page, const QString& name, const QPixmap& pixmap,
                              QPoint at) {
    auto* image = new QLabel(page);
    image->setObjectName(name);
    image->setPixmap(pixmap);
    image->setGeometry(QRect(at, pixmap.size()));
    image->installEventFilter(this);
    return image;
}

QLabel* ThlavniForm::addText(QWidget* page, const QString& text, QPoint at, int pixelSize,
                             bool bold) {
    auto* label = new QLabel(text, page);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->move(at);
    label->adjustSize();
    return label;
}

void ThlavniForm::readConfiguration() {
    const QString path = m_state.ExeDir + "kolv.cfg";
    if (!readDecimalPlaces(path, m_state.DecimalPlaces))
        m_messages.ShowMessage(texts::configReadError() + path);
}

void ThlavniForm::RefreshMenuLabels() {
    for (QLabel* label : m_menuLabels) {
        QFont font = label->font();
        font.setBold(label->property("tag").toInt() == m_state.CurrentPageTag);
        label->setFont(font);
        label->adjustSize();
    }
}

void ThlavniForm::ApplyLanguage() {
    for (QLabel* label : m_menuLabels) {
        label->setText(texts::menuCaption(m_state.Language, label->property("tag").toInt()));
        label->adjustSize();
    }
    m_calculation->ApplyLanguage();
    m_points->ApplyLanguage();
    m_functions->ApplyLanguage();
    m_ranges->ApplyLanguage();
}

void ThlavniForm::chooseLanguage(int language) {
    m_state.Language = language;
    ApplyLanguage();
    m_pages->setCurrentIndex(0);
}

void ThlavniForm::menuMouseUp(int tag) {
    if (tag == 5) {
        showChart();
        return;
    }
    if (tag == 6) {
        print();
        return;
    }
    if (tag < 1 || tag > 4 || tag == m_state.CurrentPageTag) return;
    m_state.CurrentPageTag = tag;
    m_pages->setCurrentIndex(tag - 1);
    RefreshMenuLabels();
    m_state.PointsPageShown = false;
    switch (tag) {
    case 1:
        m_calculation->focusFirstInput();
        break;
    case 2:
        m_points->enter();
        break;
    case 3:
        m_functions->enter();
        break;
    default:
        m_ranges->enter();
        break;
    }
}

void ThlavniForm::menuMouseMove(QLabel* label) {
    const int tag = label->property("tag").toInt();
    if (m_state.HoverActive && tag != m_state.HoveredTag) {
        RefreshMenuLabels();
        m_state.HoverActive = false;
    }
    m_state.HoveredTag = tag;
    if (!label->font().bold()) {
        RefreshMenuLabels();
        QFont font = label->font();
        font.setBold(true);
        font.setItalic(false);
        font.setUnderline(false);
        font.setStrikeOut(false);
        label->setFont(font);
        label->adjustSize();
        m_state.HoverActive = true;
    }
}

void ThlavniForm::ImageMouseMove(QPoint at) {
    if (m_state.HoverActive) {
        RefreshMenuLabels();
        m_state.HoverActive = false;
        m_state.HoveredTag = 0;
    }
    // The background moves with the window, so the press point stays the reference.
    if (m_state.Dragging) move(pos() + at - m_state.DragStart);
}

bool ThlavniForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    auto* label = qobject_cast<QLabel*>(watched);
    if (!label) return false;

    if (label->property("tag").isValid()) {
        // A filter sees the mouse even on a disabled label; such a label ignores it.
        if (!label->isEnabled()) return false;
        if (type == QEvent::MouseMove) menuMouseMove(label);
        if (type == QEvent::MouseButtonRelease) menuMouseUp(label->property("tag").toInt());
        return true;
    }
    if (std::find(m_backgrounds.begin(), m_backgrounds.end(), label) != m_backgrounds.end()) {
        if (type == QEvent::MouseButtonPress) {
            if (QGuiApplication::platformName() == "wayland" && windowHandle()) {
                // Wayland clients cannot place their windows; the compositor moves it.
                windowHandle()->startSystemMove();
            } else {
                m_state.Dragging = true;
                m_state.DragStart = eventPos(event);
            }
        } else if (type == QEvent::MouseMove) {
            ImageMouseMove(eventPos(event));
        } else {
            m_state.Dragging = false;
        }
        return true;
    }
    // The images act on a click: the left button released over the image.
    if (type != QEvent::MouseButtonRelease ||
        static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton ||
        !label->rect().contains(eventPos(event)))
        return false;
    if (std::find(m_exitImages.begin(), m_exitImages.end(), label) != m_exitImages.end()) {
        close();
        return true;
    }
    if (label == m_czech || label == m_english) {
        chooseLanguage(label == m_czech ? texts::Czech : texts::English);
        return true;
    }
    const auto opener = std::find(m_aboutOpeners.begin(), m_aboutOpeners.end(), label);
    if (opener != m_aboutOpeners.end()) {
        showAbout(static_cast<int>(opener - m_aboutOpeners.begin()) + 1);
        return true;
    }
    return false;
}

void ThlavniForm::showChart() {
    if (m_state.DiagramLoaded) m_diagram->exec();
}

void ThlavniForm::createReport() {
    Sestava1 = new report::TSestava(this, m_state.ExeDir);
    Sestava1->setObjectName("Sestava1");
    Sestava1->setMessageSink(&m_messages);
    Sestava1->SetReportName("zostava.pts");
    Sestava1->ReportDirIgnore = true;
    Sestava1->IniFileName = "DoriVOZ.ini";
    Sestava1->ExportLanguage = report::slUndefined;
    Sestava1->Popis = QString::fromUtf8("Tisková úloha VORAN");
    Sestava1->PrintBackground = false;
    Sestava1->IsStored = false;
    Sestava1->OnGetData = [this](report::TSestavaD* sender) { Sestava1GetData(sender); };
    Sestava1->OnStepData = [this](report::TSestavaD* sender, int dir) {
        return Sestava1StepData(sender, dir);
    };
}

void ThlavniForm::preparePrint() {
    m_state.CurrentRecord = 1;
    setUpPrintReport(*Sestava1, m_state);
    m_state.RecordCount = print_records::recordCount(m_state);
}

void ThlavniForm::print() {
    preparePrint();
    // A report of nothing computed would only show empty cells, or given values as a result.
    if (m_state.RecordCount == 0) {
        m_messages.ShowMessage(texts::nothingToPrint(m_state.Language));
        return;
    }
    Sestava1->Preview();
}

void ThlavniForm::Sestava1GetData(report::TSestavaD* sender) {
    sender->itemValues() = print_records::recordValues(m_state, m_state.CurrentRecord);
}

int ThlavniForm::Sestava1StepData(report::TSestavaD*, int dir) {
    return print_records::step(m_state, dir);
}

void ThlavniForm::showAbout(int set) {
    m_info->TextSet = set;
    m_info->exec();
}

void ThlavniForm::closeEvent(QCloseEvent* event) {
    // Every way of closing keeps the settings, or says that they could not be kept.
    const QString path = m_state.ExeDir + "kolv.cfg";
    if (!writeDecimalPlaces(path, m_state.DecimalPlaces))
        m_messages.ShowMessage(texts::configWriteError(m_state.Language) + path);
    event->accept();
}
