#pragma once
// A main window in a temporary program folder, with recorded messages and help requests.

#include "app/CalculationPage.h"
#include "app/LibraryBinding.h"
#include "app/ThlavniForm.h"
#include "platform/Help.h"
#include "platform/MessageSink.h"
#include "platform/SystemLocale.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

using HelpTopics = std::vector<std::pair<QString, int>>;

class RecordingHelpViewer : public platform::HelpViewer {
public:
    void showTopic(const QString& helpFile, int context) override {
        topics.emplace_back(helpFile, context);
    }
    HelpTopics topics;
};

class WindowFixture {
public:
    // `config` is written as kolv.cfg first; without it the folder has none. With `chart` the
    // folder gets a small chart bitmap, so that loading it shows no message.
    void open(const PropertyLibrary& library,
              std::optional<QByteArray> config = "2\r\n3\r\n6\r\n4\r\n3\r\n4\r\n",
              bool chart = true) {
        if (config) {
            QFile file(cfgPath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(*config);
        }
        if (chart) {
            QImage bitmap(100, 170, QImage::Format_RGB888);
            bitmap.fill(Qt::white);
            ASSERT_TRUE(bitmap.save(dir.path() + "/DiagrTS.bmp", "BMP"));
        }
        platform::SetHelpFile("kolv.hlp");
        platform::setHelpViewer(&help);
        qApp->installEventFilter(&helpKey);
        window = std::make_unique<ThlavniForm>(dir.path() + '/', messages, library);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    ~WindowFixture() {
        qApp->removeEventFilter(&helpKey);
        platform::setHelpViewer(nullptr);
    }

    QString cfgPath() const { return dir.path() + "/kolv.cfg"; }
    QByteArray cfgBytes() const {
        QFile file(cfgPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    template <typename T = QLabel> T* find(const QString& name) const {
        T* widget = window->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QString text(const QString& label) const { return find<QLabel>(label)->text(); }
    const AppState& state() const { return window->state(); }
    QString page() const {
        return window->findChild<QStackedWidget*>()->currentWidget()->objectName();
    }
    void click(const QString& name) { QTest::mouseClick(find<QWidget>(name), Qt::LeftButton); }
    // Presses the left button at `from` on `widget`, moves it by `by` and releases it.
    static void drag(QWidget* widget, QPoint from, QPoint by) {
        QTest::mousePress(widget, Qt::LeftButton, {}, from);
        QTest::mouseMove(widget, from + by);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, from + by);
    }
    // Runs `inspect` on the modal dialog that the next action opens, then closes it with 1.
    static void whenModal(std::function<void(QDialog*)> inspect) {
        QTimer::singleShot(0, [inspect] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            inspect(dialog);
            if (dialog) dialog->done(1);
        });
    }
    void chooseLanguage(int language) { click(language == 0 ? "Image13" : "Image14"); }

    // Runs `action` and counts the modal dialogs it opens, closing each with 1.
    static int modalsOpenedBy(const std::function<void()>& action) {
        int opened = 0;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&opened] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ++opened;
                dialog->done(1);
            }
        });
        closer.start(0);
        action();
        QApplication::processEvents();
        return opened;
    }

    // Replaces the text of an input box and presses Enter in it.
    void enter(const QString& edit, const QString& text) {
        QLineEdit* box = find<QLineEdit>(edit);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    // Enter in box 1 of the Calculation page after typing both values.
    void compute(const QString& a1, const QString& a2) {
        find<QLineEdit>("Edit2")->setText(a2);
        find<QLineEdit>("Edit2")->setModified(true); // as if typed
        enter("Edit1", a1);
    }
    // Keys to the focused widget of the moment: in a table the first key opens the cell's
    // editor, which takes the focus.
    static void type(const QString& text) {
        for (QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    }

    // A user's choice in a list: its index changes and it reports the activation.
    void choose(const QString& name, int index) {
        QComboBox* box = find<QComboBox>(name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    // Function `code` on the Functions page: its group first, then the function.
    void chooseFunction(int code) {
        choose("ComboSkupiny", code / 100 - 1);
        choose(QString("Combo%1").arg(code / 100), code % 100);
    }
    // The four output cells of row `row` on the Points page; "" where a cell has no item.
    QStringList pointOutputs(int row) const {
        const auto* table = find<QTableWidget>("SGBody2");
        QStringList cells;
        for (int column = 0; column < 4; ++column)
            cells << (table->item(row, column) ? table->item(row, column)->text() : QString());
        return cells;
    }

    // Runs the banner animation tick by tick, without the timer.
    void tickBanner(int ticks) {
        CalculationPage* page = window->calculationPage();
        page->timer2()->stop();
        for (int i = 0; i < ticks; ++i)
            page->Timer2Timer();
    }
    int bannerHeight() const { return find<QLabel>("lblNazevOblasti")->height(); }

    QString sep() const { return QString(platform::SystemDecimalSeparator()); }
    // A number written with a dot, as the pages show it in the system's locale.
    QString num(const char* dotted) const { return QString(dotted).replace('.', sep()); }

    QTemporaryDir dir;
    platform::MessageRecorder messages;
    RecordingHelpViewer help;
    platform::HelpKeyFilter helpKey;
    std::unique_ptr<ThlavniForm> window;
};
