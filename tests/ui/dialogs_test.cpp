// The deletion question and the file dialog filters.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/confirm_dialog.h"
#include "ui/message_box_user.h"
#include "ui_test_support.h"

namespace trevanto {
namespace {

TEST(ConfirmDialogTest, AsksWithOkCancelAndTheDoNotShowBox) {
    test::TestApplication();
    ConfirmDialog dialog("You are about to delete 2 shot items. Proceed ?");
    EXPECT_EQ(dialog.windowTitle(), "Trevanto");
    EXPECT_EQ(dialog.Question()->text(), "You are about to delete 2 shot items. Proceed ?");
    EXPECT_EQ(dialog.DoNotShowBox()->text(), "Do not show this message anymore");
    EXPECT_FALSE(dialog.DoNotShowAgain());
    QStringList buttons;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        buttons.append(button->text());
    }
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"Cancel", "OK"}));

    dialog.DoNotShowBox()->setChecked(true);
    dialog.show();
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == "Cancel")
            QTest::mouseClick(button, Qt::LeftButton);
    }
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.DoNotShowAgain());
}

TEST(FileFilterTest, PipeFiltersBecomeQtFilters) {
    EXPECT_EQ(ToQtFilter("Shots file (*.hpv)|*.hpv|All Files (*.*)|*.*||"),
              "Shots file (*.hpv);;All Files (*.*)");
    EXPECT_EQ(ToQtFilter(MessageBoxUser::kVideoFilter),
              "Video Files (*.avi *.mpg *.mpeg *.wmv *.asf);;All Files (*.*)");
    EXPECT_EQ(ToQtFilter("Bitmap Files|*.bmp||"), "Bitmap Files (*.bmp)");
    EXPECT_EQ(ToQtFilter(""), "");
}

}  // namespace
}  // namespace trevanto
