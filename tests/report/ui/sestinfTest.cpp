// The print-progress window: shown on the first item, the only window taking input while a
// run goes on, cancel (by its button, Esc or closing it) until the pages are being sent.

#include "report/engine/ui/sestinf.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using report::TFormInfo;

TEST(FormInfo, ShowItemShowsTheWindowWithTheItemNumber) {
    TFormInfo form;
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.cancelRequested());
    form.ShowItem(1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), "Informace");
    auto* label = form.findChild<QLabel*>("LabelText");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Připravuji tisk položky číslo: 1"));
    form.ShowItem(125);
    EXPECT_EQ(label->text(), QStringLiteral("Připravuji tisk položky číslo: 125"));
    form.ShowItem(2147483647); // the longest text still fits
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
}

TEST(FormInfo, DuringARunOnlyTheCancelButtonTakesInput) {
    QWidget mainWindow;
    auto* print = new QPushButton(QStringLiteral("Tisk"), &mainWindow);
    int prints = 0;
    QObject::connect(print, &QPushButton::clicked, [&] { ++prints; });
    mainWindow.resize(200, 100);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    const QPoint onPrint = print->mapTo(&mainWindow, print->rect().center());
    QTest::mouseClick(mainWindow.windowHandle(), Qt::LeftButton, {}, onPrint);
    EXPECT_EQ(prints, 1); // the click reaches the main window before the run

    TFormInfo form(&mainWindow);
    form.ShowItem(3);
    EXPECT_EQ(QApplication::activeModalWidget(), &form); // shown, yet this code runs on
    // Input through the window system, as a user's: blocked for every other window.
    QTest::mouseClick(mainWindow.windowHandle(), Qt::LeftButton, {}, onPrint);
    QApplication::processEvents();
    EXPECT_EQ(prints, 1);
    auto* button = form.findChild<QPushButton*>("Button1");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Přerušit"));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(form.cancelRequested());
}

TEST(FormInfo, SendingDisablesCancelAndKeepsTheFlag) {
    TFormInfo form;
    form.ShowItem(1);
    form.ShowSending();
    auto* button = form.findChild<QPushButton*>("Button1");
    EXPECT_FALSE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(form.cancelRequested()); // its text: ReportPrint's progress window check
    TFormInfo hidden;
    hidden.ShowSending();
    EXPECT_TRUE(hidden.isVisible());
}

// Esc and closing the window are a cancel, never a hide that leaves the run going unseen; once
// the pages are being sent neither stops anything.
TEST(FormInfo, EscapeAndClosingCancelUntilTheSending) {
    for (const bool byKey : {true, false}) {
        TFormInfo form;
        form.ShowItem(1);
        auto* button = form.findChild<QPushButton*>("Button1");
        button->setFocus();
        if (byKey)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : button,
                            Qt::Key_Escape);
        else
            form.close();
        EXPECT_TRUE(form.cancelRequested()) << byKey;
        EXPECT_TRUE(form.isVisible()) << byKey;

        TFormInfo sending;
        sending.ShowSending();
        if (byKey)
            QTest::keyClick(&sending, Qt::Key_Escape);
        else
            sending.close();
        EXPECT_FALSE(sending.cancelRequested()) << byKey;
        EXPECT_TRUE(sending.isVisible()) << byKey;
    }
}

// A message shown while the window is up (a failed export, a refused job, a question) is not
// shown beside it: the window steps aside, with its cancel that could not be pressed anyway,
// and comes back with the next item. A window that is not modal (a menu) leaves it in place.
TEST(FormInfo, StepsAsideForAMessageAndComesBackWithTheNextItem) {
    TFormInfo form;
    form.ShowItem(1);
    bool besideTheBox = true;
    QTimer::singleShot(0, [&] {
        besideTheBox = form.isVisible();
        if (QWidget* box = QApplication::activeModalWidget(); box && box != &form) box->close();
    });
    QMessageBox::critical(&form, QStringLiteral("Chyba"),
                          QStringLiteral("Výstupní soubor se nepodařilo uložit."));
    EXPECT_FALSE(besideTheBox);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.cancelRequested());
    form.ShowItem(2);
    EXPECT_TRUE(form.isVisible());

    QWidget menu(nullptr, Qt::Popup);
    menu.show();
    EXPECT_TRUE(form.isVisible());
}
