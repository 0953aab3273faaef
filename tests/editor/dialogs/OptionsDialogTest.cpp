// The properties dialog opened as the program opens it, on the built-in ZENBASIC language
// with a program's editor attached, and driven through its controls while it is open.
#include "DialogDriving.h"

#include "base/Stream.h"
#include "editor/dialogs/ColorPickButton.h"
#include "editor/dialogs/EditProperties.h"
#include "editor/dialogs/HotKeyField.h"
#include "editor/dialogs/KeyAssignDialog.h"
#include "editor/dialogs/OptionsDialog.h"
#include "editor/edit/TabColumnsText.h"
#include "editor/keys/KeyCommands.h"
#include "editor/text/SourceMemoErrors.h"
#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoMessages.h"
#include "highlight/languages/Languages.h"
#include "highlight/registry/ParserRegistry.h"
#include "highlight/runtime/SourceMemoParser.h"
#include "platform/ScriptedMessageBoxes.h"
#include "platform/TempFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

constexpr uint8_t kIdePages = ppOPTIONS | ppHIGHLIGHTING;
constexpr int kCommentStyle = 6;
const QRgb kMagenta = qRgb(255, 0, 255);

class OptionsDialogTest : public ::testing::Test
{
protected:
    OptionsDialogTest()
    {
        const auto stream = zenBasicParserStream();
        TReadOnlyMemoryStream bytes(stream.data(), static_cast<int64_t>(stream.size()));
        parser.Name = "ZENBASIC";
        parser.LoadParser(bytes);
        memo.resize(500, 200);
        memo.SetParser(1, &parser);
        const std::string text = "' the program's own comment line\r\nHigh PORTB.0\r\n";
        Perform(memo, WM_SETTEXT, 0, reinterpret_cast<TLParam>(text.c_str()));
        memo.show();
    }

    bool open(uint8_t pages, std::function<void(TOptionsDialog&)> drive)
    {
        whenModal<TOptionsDialog>(std::move(drive));
        return TOptionsDialog::Open(parser, pages);
    }

    template <typename T> static T& child(QWidget& dialog, const char* name)
    {
        T* found = dialog.findChild<T*>(name);
        if (!found)
            throw std::logic_error(std::string("no control ") + name);
        return *found;
    }
    static void click(QWidget& widget) { QTest::mouseClick(&widget, Qt::LeftButton); }
    static void selectItem(QListWidget& list, const QString& text)
    {
        const auto items = list.findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << text.toStdString();
        list.setCurrentItem(items.front());
    }
    // Drops the colour button's palette down and chooses the colour at column, row with the keys.
    static void pickPaletteColor(TColorPickButton& button, int column, int row)
    {
        click(button);
        QWidget* palette = button.paletteWindow();
        ASSERT_NE(palette, nullptr);
        QWidget* grid = palette->findChild<QWidget*>("PaletteGrid");
        QTest::keyClick(grid, Qt::Key_Home);
        for (int i = 0; i < column; ++i)
            QTest::keyClick(grid, Qt::Key_Right);
        for (int i = 0; i < row; ++i)
            QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Return);
    }
    static void makeCommentMagenta(TOptionsDialog& dialog)
    {
        selectItem(child<QListWidget>(dialog, "ElementList"), "Comment");
        pickPaletteColor(child<TColorPickButton>(dialog, "ForegroundButton"), 2, 3);
    }
    static int magentaPixels(QWidget& widget)
    {
        const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += (image.pixel(x, y) & 0xFFFFFF) == (kMagenta & 0xFFFFFF);
        return count;
    }
    // Replaces a line's text as typing would and then leaves the field.
    static void typeInto(QLineEdit& field, const QString& text, QWidget& next)
    {
        field.setFocus();
        field.selectAll();
        QTest::keyClicks(&field, text);
        next.setFocus();
    }

    TSourceMemoParser parser;
    TSourceMemo memo;
    TScriptedMessageBoxes boxes;
    TScopedMessageBoxes installed{boxes};
};

} // namespace

TEST_F(OptionsDialogTest, IdePagesAreTwoTabsWithHighlightingActiveAndNoPagesOpenNothing)
{
    EXPECT_FALSE(TOptionsDialog::Open(parser, 0)); // returns at once: nothing waits for it
    const bool accepted = open(kIdePages, [](TOptionsDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Editor Options");
        QStringList shown;
        for (int i = 0; i < dialog.Pages->count(); ++i)
            if (dialog.Pages->isTabVisible(i))
                shown << dialog.Pages->tabText(i);
        EXPECT_EQ(shown, QStringList({"Options", "Highlighting"}));
        EXPECT_EQ(dialog.Pages->tabText(dialog.Pages->currentIndex()), "Highlighting");
        click(child<QPushButton>(dialog, "OKButton"));
    });
    EXPECT_TRUE(accepted);
}

TEST_F(OptionsDialogTest, WordWrapDisablesSmartTabAtOnceAndClearingItEnablesIt)
{
    open(kIdePages, [this](TOptionsDialog& dialog) {
        auto& wrap = child<QCheckBox>(dialog, "DispWrapBox");
        auto& smartTab = child<QCheckBox>(dialog, "TabColBox");
        ASSERT_FALSE(wrap.isChecked());
        EXPECT_TRUE(smartTab.isEnabled());
        wrap.click();
        EXPECT_FALSE(smartTab.isEnabled());
        EXPECT_TRUE(parser.Settings().options & smoWordWrap);   // the copy
        EXPECT_TRUE(dialog.FEditor->Options() & smoWordWrap);   // the preview
        EXPECT_FALSE(memo.Options() & smoWordWrap);             // not the program's editor
        wrap.click();
        EXPECT_TRUE(smartTab.isEnabled());
    });
}

TEST_F(OptionsDialogTest, GutterWidthFieldTurns250IntoOneAndAcceptsZero)
{
    open(kIdePages, [this](TOptionsDialog& dialog) {
        auto& gutter = child<QLineEdit>(dialog, "LeftBorderWidthBox");
        auto& margin = child<QLineEdit>(dialog, "RightMarginWidthBox");
        typeInto(gutter, "250", margin);
        EXPECT_EQ(gutter.text(), "1");
        EXPECT_EQ(parser.Settings().gutterWidth, 1);
        EXPECT_EQ(dialog.FEditor->Gutter(), 1);
        typeInto(gutter, "0", margin);
        EXPECT_EQ(gutter.text(), "0");
        EXPECT_EQ(parser.Settings().gutterWidth, 0);
        EXPECT_EQ(dialog.FEditor->Gutter(), 0);
        // Only digits get in; the spin button never goes below 0 or above 199.
        gutter.setFocus();
        QTest::keyClicks(&gutter, "x-");
        EXPECT_EQ(gutter.text(), "0");
        click(child<QToolButton>(dialog, "LeftBorderWidthBoxDown"));
        EXPECT_EQ(gutter.text(), "0");
        typeInto(margin, "199", gutter);
        click(child<QToolButton>(dialog, "RightMarginWidthBoxUp"));
        EXPECT_EQ(margin.text(), "199");
        EXPECT_EQ(parser.Settings().rightMargin, 199);
    });
}

TEST_F(OptionsDialogTest, DescendingTabColumnsAreRefusedWithTheirMessageAndTheOldListReturns)
{
    const auto before = parser.Settings().tabStops;
    open(kIdePages, [&](TOptionsDialog& dialog) {
        dialog.Pages->setCurrentIndex(0);
        auto& columns = child<QLineEdit>(dialog, "TabColumnsBox");
        const QString oldList = columns.text();
        ASSERT_FALSE(oldList.isEmpty());
        boxes.answer(TMessageResult::Ok);
        typeInto(columns, "8 4", child<QLineEdit>(dialog, "DeftabBox"));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].kind, TMessageKind::Error);
        EXPECT_EQ(boxes.shown()[0].text, kTabColumnsOrder);
        EXPECT_EQ(columns.text(), oldList);
        EXPECT_EQ(parser.Settings().tabStops, before);
    });
}

TEST_F(OptionsDialogTest, GutterAndMarginHaveNoForegroundAndADefaultColourCannotBeChosen)
{
    open(kIdePages, [](TOptionsDialog& dialog) {
        auto& elements = child<QListWidget>(dialog, "ElementList");
        auto& foreground = child<TColorPickButton>(dialog, "ForegroundButton");
        auto& background = child<TColorPickButton>(dialog, "BackgroundButton");
        auto& bold = child<QCheckBox>(dialog, "BoldBox");
        selectItem(elements, "Comment");
        EXPECT_TRUE(foreground.isEnabled());
        EXPECT_TRUE(bold.isEnabled());
        selectItem(elements, "Gutter");
        EXPECT_FALSE(foreground.isEnabled());
        EXPECT_TRUE(background.isEnabled());
        EXPECT_FALSE(bold.isEnabled());
        selectItem(elements, "Left margin");
        EXPECT_FALSE(foreground.isEnabled());
        selectItem(elements, "Selected text");
        EXPECT_TRUE(foreground.isEnabled());
        child<QCheckBox>(dialog, "DefaultForegroundBox").click();
        EXPECT_FALSE(foreground.isEnabled());
    });
}

TEST_F(OptionsDialogTest, ClickInThePreviewSelectsTheStyleOfTheCharacterClicked)
{
    open(kIdePages, [this](TOptionsDialog& dialog) {
        auto& elements = child<QListWidget>(dialog, "ElementList");
        TSourceMemo& preview = *dialog.FEditor;
        preview.repaint(); // colours the rows shown
        const std::string example = parser.Settings().exampleText;
        const auto pointAt = [&](const std::string& word) {
            return preview.PosFromChar(static_cast<int64_t>(example.find(word))) +
                   QPoint(preview.CharWidth() / 2, preview.LineHeight() / 2);
        };
        const QPoint comment = pointAt("Comment Line");
        QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, comment);
        EXPECT_EQ(elements.currentItem()->text(), "Comment");
        // A click within five pixels of the one before selects nothing.
        elements.setCurrentRow(0);
        QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, comment + QPoint(4, 3));
        EXPECT_EQ(elements.currentRow(), 0);
        QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, pointAt("\"Hello World\""));
        EXPECT_EQ(elements.currentItem()->text(), "Quoted String");
    });
}

// Regression: the program's editor behind the dialog, painted while it was open, was served by
// the parser again, joined its list and showed the colours being edited, and kept them after
// Cancel.
TEST_F(OptionsDialogTest, CancelAfterManyChangesLeavesTheStoredSettingsByteIdenticalAndTheEditorAsItWas)
{
    const std::vector<uint8_t> before = storedSettingsForm(parser.Settings());
    const uint32_t memoOptions = memo.Options();
    ASSERT_EQ(magentaPixels(memo), 0);
    const std::vector<TParserEditor*> editors = parser.Editors();
    const bool accepted = open(TOptionsDialog::kAllPages, [&](TOptionsDialog& dialog) {
        // The program's editor colours rows behind the dialog, as it does when it is painted.
        memo.SetReparseFrom(0);
        memo.Rehighlight();
        makeCommentMagenta(dialog);
        child<QCheckBox>(dialog, "ItalicBox").click();
        child<QCheckBox>(dialog, "DefaultBackgroundBox").click();
        selectItem(child<QListWidget>(dialog, "ElementList"), "Gutter");
        pickPaletteColor(child<TColorPickButton>(dialog, "BackgroundButton"), 1, 1);
        child<QComboBox>(dialog, "FontSizeBox").setCurrentIndex(5);
        child<QComboBox>(dialog, "CharsetBox").setCurrentIndex(3);
        dialog.Pages->setCurrentIndex(0);
        for (const char* box : {"DispWrapBox", "EdLineNosBox", "ShowAllCharsBox", "VisGutterBox"})
            child<QCheckBox>(dialog, box).click();
        auto& deftab = child<QLineEdit>(dialog, "DeftabBox");
        typeInto(child<QLineEdit>(dialog, "LeftBorderWidthBox"), "60", deftab);
        typeInto(child<QLineEdit>(dialog, "TabColumnsBox"), "3 7 11", deftab);
        typeInto(child<QLineEdit>(dialog, "IndentStepBox"), "3", deftab);
        typeInto(child<QLineEdit>(dialog, "WrapColumnBox"), "40", deftab);
        typeInto(deftab, "6", child<QLineEdit>(dialog, "IndentStepBox"));
        dialog.Pages->setCurrentIndex(3);
        typeInto(child<QLineEdit>(dialog, "ReplaceBox"), "teh", child<QLineEdit>(dialog, "WithBox"));
        typeInto(child<QLineEdit>(dialog, "WithBox"), "the", child<QLineEdit>(dialog, "ActKeysBox"));
        click(child<QPushButton>(dialog, "AutoCorrectAddButton"));
        typeInto(child<QLineEdit>(dialog, "ActKeysBox"), ";", child<QLineEdit>(dialog, "ReplaceBox"));
        dialog.Pages->setCurrentIndex(4);
        typeInto(child<QLineEdit>(dialog, "TemplateNameBox"), "ifx", child<QLineEdit>(dialog, "TemplateDescriptionBox"));
        click(child<QPushButton>(dialog, "AddTemplateButton"));
        dialog.Pages->setCurrentIndex(2);
        selectItem(child<QListWidget>(dialog, "CommandList"), "Undo");
        child<QListWidget>(dialog, "KeyList").setCurrentRow(0);
        click(child<QPushButton>(dialog, "DeleteKeyButton"));

        // Everything above reached the copy; the program's editor, painted meanwhile, did not
        // take any of it.
        ASSERT_NE(storedSettingsForm(parser.Settings()), before);
        memo.repaint();
        EXPECT_EQ(magentaPixels(memo), 0);
        EXPECT_GT(magentaPixels(*dialog.FEditor), 0);
        EXPECT_EQ(memo.Options(), memoOptions);
        click(child<QPushButton>(dialog, "CancelButton"));
    });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(storedSettingsForm(parser.Settings()), before);
    EXPECT_EQ(parser.Editors(), editors);
    memo.repaint();
    EXPECT_EQ(magentaPixels(memo), 0);
}

TEST_F(OptionsDialogTest, OkGivesTheEditorsTheSettingsReflowsAndSavesThemToThePerUserStore)
{
    TempFolder store;
    parser.UseRegistry = true;
    parser.RegistryKey = kParserSettingsKey;
    installRegistryWriter(parser, store.path());
    memo.VisiblePropEdPages = kIdePages;
    const std::string longLine(300, 'A');
    Perform(memo, WM_SETTEXT, 0, reinterpret_cast<TLParam>(("' note\r\n" + longLine).c_str()));
    ASSERT_EQ(memo.Store().RowCount(), 2);

    whenModal<TOptionsDialog>([](TOptionsDialog& dialog) {
        makeCommentMagenta(dialog);
        dialog.Pages->setCurrentIndex(0);
        child<QCheckBox>(dialog, "DispWrapBox").click();
        click(child<QPushButton>(dialog, "OKButton"));
    });
    EXPECT_TRUE(ModifyProperties(memo));
    EXPECT_EQ(parser.Settings().styles[kCommentStyle].foreground, 0xFF00FF);
    memo.repaint();
    EXPECT_GT(magentaPixels(memo), 0);
    EXPECT_GT(memo.Store().RowCount(), 2); // the long line wraps
    const std::optional<std::string> saved =
        TRegistryKey(kParserSettingsKey, store.path()).ReadString("Highlighting - ZENBASIC");
    ASSERT_TRUE(saved.has_value());
    EXPECT_NE(saved->find("6,16711935,"), std::string::npos) << *saved;

    TSourceMemo withoutParser;
    try {
        ModifyProperties(withoutParser);
        ADD_FAILURE() << "opened without a parser";
    } catch (const ESourceMemo& refused) {
        EXPECT_EQ(refused.Message(), "No active parser");
    }
}

TEST_F(OptionsDialogTest, KeyConflictShowsItsMessageAndKeepsTheDialogOpen)
{
    const bool accepted = open(TOptionsDialog::kAllPages, [this](TOptionsDialog& dialog) {
        dialog.Pages->setCurrentIndex(2);
        selectItem(child<QListWidget>(dialog, "CommandList"), "Delete current line");
        auto& keys = child<QListWidget>(dialog, "KeyList");
        ASSERT_EQ(keys.count(), 1);
        whenModal<TKeyAssignDialog>([](TKeyAssignDialog& wizard) {
            QTest::keyClick(wizard.findChild<TSM_HotKey*>("KeyField1"), Qt::Key_K, Qt::ControlModifier);
            click(*wizard.findChild<QPushButton*>("NextButton"));
            click(*wizard.findChild<QPushButton*>("NextButton")); // Finish
        });
        click(child<QPushButton>(dialog, "AddKeyButton"));
        ASSERT_EQ(keys.count(), 2);
        EXPECT_EQ(keys.item(1)->text(), "[Ctrl+K]  [<none>]");

        boxes.answer(TMessageResult::Ok);
        click(child<QPushButton>(dialog, "OKButton"));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text,
                  "Duplicate key sequence definition for\r\n\"Delete current line\" and \"Indent selected block\"");
        EXPECT_TRUE(dialog.isVisible());

        keys.setCurrentRow(1);
        click(child<QPushButton>(dialog, "DeleteKeyButton"));
        click(child<QPushButton>(dialog, "OKButton"));
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_TRUE(accepted);
    int deleteLineBindings = 0;
    for (const KeyBindingRecord& binding : parser.Settings().keyMap.bindings)
        deleteLineBindings += binding.command == cmdDeleteLine;
    EXPECT_EQ(deleteLineBindings, 1);
}
