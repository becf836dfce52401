// The message sink with captions, buttons and icons: the recorder's scripted answers and the
// real box with Qt's translated button captions.

#include "platform/MessageSink.h"
#include "platform/BoxMessageSink.h"
#include "platform/QtTranslations.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

TEST(MessageRecorder, AnswersQuestionsFromItsScriptThenNo) {
    platform::MessageRecorder sink;
    sink.scriptAnswers({MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Yes});
    EXPECT_EQ(sink.ShowBox("q1", "C", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::Yes);
    // An OK box takes no answer from the script.
    EXPECT_EQ(sink.ShowBox("e", "Err", MessageButtons::Ok, MessageIcon::Critical),
              MessageAnswer::Ok);
    EXPECT_EQ(sink.ShowBox("q2", "C", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::No);
    EXPECT_EQ(sink.ShowBox("q3", "C", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::Yes);
    EXPECT_EQ(sink.ShowBox("q4", "C", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::No);
    sink.ShowMessage("plain");

    EXPECT_EQ(sink.messages(), QStringList({"q1", "e", "q2", "q3", "q4", "plain"}));
    ASSERT_EQ(sink.boxes().size(), 5);
    EXPECT_EQ(sink.boxes()[1].caption, "Err");
    EXPECT_EQ(sink.boxes()[1].buttons, MessageButtons::Ok);
    EXPECT_EQ(sink.boxes()[1].icon, MessageIcon::Critical);
}

TEST(MessageSink, ASinkOfPlainMessagesShowsTheTextAndDeclinesQuestions) {
    struct Plain : platform::MessageSink {
        QStringList shown;
        void ShowMessage(const QString& text) override { shown.append(text); }
    } sink;
    EXPECT_EQ(sink.ShowBox("q", "C", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::No);
    EXPECT_EQ(sink.ShowBox("i", "C", MessageButtons::Ok, MessageIcon::Information),
              MessageAnswer::Ok);
    EXPECT_EQ(sink.shown, QStringList({"q", "i"}));
}

// Runs `act` on the box once it is open.
void whenBoxOpens(std::function<void(QMessageBox*)> act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(box);
    });
}

TEST(BoxMessageSink, ShowsCaptionIconAndTranslatedButtons) {
    const bool czech = QLocale::system().language() == QLocale::Czech;
    // Installed as at start-up, removed again for the tests that follow.
    std::unique_ptr<QTranslator> translations(platform::InstallQtTranslations());
    EXPECT_EQ(translations != nullptr, czech);

    platform::BoxMessageSink sink;
    QString title, yes, no;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenBoxOpens([&](QMessageBox* box) {
        title = box->windowTitle();
        icon = box->icon();
        yes = box->button(QMessageBox::Yes)->text().remove('&');
        no = box->button(QMessageBox::No)->text().remove('&');
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(sink.ShowBox("Uložit?", "Potvrzení", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::Yes);
    EXPECT_EQ(title, "Potvrzení");
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(yes, czech ? "Ano" : "Yes");
    EXPECT_EQ(no, czech ? "Ne" : "No");

    // Escape closes a question with No.
    whenBoxOpens([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(sink.ShowBox("Smazat?", "Potvrzení", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::No);

    bool onlyOk = false;
    whenBoxOpens([&](QMessageBox* box) {
        onlyOk = box->buttons().size() == 1 && box->button(QMessageBox::Ok) != nullptr;
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(sink.ShowBox("Chyba", "Chyba", MessageButtons::Ok, MessageIcon::Critical),
              MessageAnswer::Ok);
    EXPECT_TRUE(onlyOk);
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(BoxMessageSink, CzechButtonsWhateverTheLocale) {
    platform::BoxMessageSink sink(platform::BoxMessageSink::Buttons::Czech);
    QStringList captions;
    whenBoxOpens([&](QMessageBox* box) {
        for (const auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            captions << box->button(button)->text().remove('&');
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(
        sink.ShowBox("Uložit?", "Potvrzení", MessageButtons::YesNoCancel, MessageIcon::Question),
        MessageAnswer::Cancel);
    EXPECT_EQ(captions, QStringList({"Ano", "Ne", "Storno"}));
    // Escape still means No in a yes/no question
    whenBoxOpens([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(sink.ShowBox("Smazat?", "Potvrzení", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::No);
}

} // namespace
