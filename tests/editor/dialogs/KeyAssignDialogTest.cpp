// The key assignment wizard as the key page runs it: the button rules of both steps and a key
// field that keeps Tab for itself.
#include "DialogDriving.h"

#include "editor/dialogs/HotKeyField.h"
#include "editor/dialogs/KeyAssignDialog.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(KeyAssignDialog, NextWaitsForAFirstKeyTabIsRecordedAndAnEmptySecondKeyGivesNone)
{
    TShortCut first = vk::F1; // edit-mode values that add mode must not show
    TShortCut second = 'X';
    whenModal<TKeyAssignDialog>([](TKeyAssignDialog& dialog) {
        auto* next = dialog.findChild<QPushButton*>("NextButton");
        auto* back = dialog.findChild<QPushButton*>("BackButton");
        auto* field1 = dialog.findChild<TSM_HotKey*>("KeyField1");
        auto* clear1 = dialog.findChild<QPushButton*>("ClearButton1");
        auto* clear2 = dialog.findChild<QPushButton*>("ClearButton2");
        EXPECT_EQ(dialog.windowTitle(), "Add new key pair for: Delete current line");
        EXPECT_TRUE(field1->text().isEmpty());
        EXPECT_FALSE(next->isEnabled());
        EXPECT_FALSE(back->isEnabled());
        EXPECT_FALSE(clear1->isEnabled());

        // Tab is a key like any other here: it is recorded and the focus stays.
        field1->setFocus();
        QTest::keyClick(field1, Qt::Key_Tab);
        EXPECT_EQ(field1->text(), "Tab");
        EXPECT_EQ(QApplication::focusWidget(), field1);
        EXPECT_TRUE(next->isEnabled());
        EXPECT_TRUE(clear1->isEnabled());
        QTest::mouseClick(clear1, Qt::LeftButton);
        EXPECT_TRUE(field1->text().isEmpty());
        EXPECT_FALSE(next->isEnabled());

        // Ctrl held alone changes nothing; Ctrl with K is the key.
        QTest::keyClick(field1, Qt::Key_Control, Qt::ControlModifier);
        EXPECT_FALSE(next->isEnabled());
        QTest::keyClick(field1, Qt::Key_K, Qt::ControlModifier);
        EXPECT_EQ(field1->text(), "Ctrl+K");

        QTest::mouseClick(next, Qt::LeftButton);
        EXPECT_EQ(dialog.step(), 2);
        EXPECT_EQ(next->text(), "Finish");
        EXPECT_TRUE(back->isEnabled());
        EXPECT_FALSE(clear2->isEnabled());
        QTest::mouseClick(next, Qt::LeftButton); // Finish with no second key
    });
    const bool accepted = TKeyAssignDialog::Run("Delete current line", "first", "second", TKeyAssignMode::Add, first,
                                                second);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(first, vk::shortCut('K', vk::scCtrl));
    EXPECT_EQ(second, 0);
}
