// The paper-format dialog, driven as a user would.

#include "report/engine/ui/sestprn_dialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace report;

namespace {

// Runs `act` on the modal dialog as soon as it is shown.
void whenShown(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

void typeInto(QWidget* dialog, const char* name, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(name);
    ASSERT_NE(edit, nullptr) << name;
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void click(QWidget* dialog, const char* name) {
    auto* button = dialog->findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

TEST(PaperFormatDialog, StoresTheFieldsOnOk) {
    TFormatPapiru format{QStringLiteral("Můj"), 800, 1000};
    bool enabled = false;
    whenShown([&](QWidget* dialog) {
        enabled = dialog->findChild<QLineEdit*>("EditWidth")->isEnabled();
        // Typed past the limit; then Czech letters the way an input method inserts them.
        typeInto(dialog, "EditName", "Label 0123456789012345678901234567890");
        auto* name = dialog->findChild<QLineEdit*>("EditName");
        name->setCursorPosition(0);
        name->del();
        name->insert(QStringLiteral("Š"));
        typeInto(dialog, "EditWidth", "777");
        typeInto(dialog, "EditHeight", "abc"); // not a number: the old height stays
        click(dialog, "ButtonOk");
    });
    EXPECT_EQ(EditPaperFormat(format, true), mrOk);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(format.name, QStringLiteral("Šabel 0123456789012345678901234")); // 31 characters
    EXPECT_EQ(format.width, 777);
    EXPECT_EQ(format.height, 1000);
}

TEST(PaperFormatDialog, CancelAndNegativeSizesKeepTheFormat) {
    TListFormatu list;
    list.AddFormat({"Mine", 500, 600});
    whenShown([](QWidget* dialog) {
        typeInto(dialog, "EditWidth", "900");
        click(dialog, "ButtonCancel");
    });
    EXPECT_EQ(EditFormat(list, 18, true), mrCancel);
    EXPECT_EQ(list.GetFormat(18)->width, 500);
    whenShown([](QWidget* dialog) {
        typeInto(dialog, "EditWidth", "-5");
        click(dialog, "ButtonOk");
    });
    EXPECT_EQ(EditFormat(list, 18, true), mrOk);
    EXPECT_EQ(list.GetFormat(18)->width, 500);
    EXPECT_EQ(EditFormat(list, 99, true), mrCancel); // no such entry: no dialog
}

TEST(PaperFormatDialog, ReadOnlyFieldsWhenNotEditable) {
    TListFormatu list;
    bool anyEnabled = true;
    whenShown([&](QWidget* dialog) {
        anyEnabled = false;
        for (auto* edit : dialog->findChildren<QLineEdit*>())
            anyEnabled |= edit->isEnabled();
        click(dialog, "ButtonOk");
    });
    EXPECT_EQ(EditFormat(list, 8, false), mrOk);
    EXPECT_FALSE(anyEnabled);
    EXPECT_EQ(list.GetFormat(8)->name, "A4 (210 x 297 mm)");
}
