// Search through the editor control: SM_FIND, the compile-error dialog, the control's own find
// dialog with OnSearchFail and the "not found." message, Ctrl+F and F3, replace-all as one undo
// step, and a long search that stops at its budget while the window keeps running.
#include "editor/widget/MemoFixture.h"

#include "editor/widget/RegExpErrorDialog.h"
#include "editor/widget/SourceMemoFindDialog.h"

#include "highlight/languages/Languages.h"
#include "highlight/runtime/SourceMemoParser.h"
#include "platform/ScriptedMessageBoxes.h"

#include "base/Stream.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

class MemoSearchTest : public MemoFixture
{
protected:
    MemoSearchTest() : installed(boxes)
    {
        memo.setRegExpErrorPresenter(
            [this](TSourceMemo&, const std::string& text) { regExpErrors.push_back(text); });
    }
    TLResult find(const char* text, TWParam flags)
    {
        return send(SM_FIND, flags, reinterpret_cast<TLParam>(text));
    }
    TSourceMemoFindDialog& dialog()
    {
        EXPECT_NE(memo.FindDialog(), nullptr);
        return *memo.FindDialog();
    }

    TScriptedMessageBoxes boxes;
    TScopedMessageBoxes installed;
    std::vector<std::string> regExpErrors;
};

TEST_F(MemoSearchTest, FindMessageSelectsMatchesAndReportsCompileErrors)
{
    load("PRINT x\r\nGOSUB sub_1\r\ngosub sub_22\r\n");
    EXPECT_EQ(find("gosub", srDirect), 8);
    EXPECT_EQ(selection(), (TSelectionPair{8, 13}));
    EXPECT_EQ(find("sub_\\d+$", srDirect | srRegExp), 14);
    EXPECT_EQ(selection(), (TSelectionPair{14, 19}));
    EXPECT_EQ(find("GOSUB", srDirect | srMatchCase), -1);
    EXPECT_EQ(selection(), (TSelectionPair{14, 19}));
    EXPECT_EQ(find("x{3,2}", srDirect | srRegExp), -1);
    ASSERT_EQ(regExpErrors.size(), 1u);
    EXPECT_EQ(regExpErrors[0], "Invalid range\rx{3,2}\r ^");
    EXPECT_EQ(selection(), (TSelectionPair{14, 19}));
    EXPECT_TRUE(boxes.shown().empty());
    expectSound();
}

// The control's own compile-error dialog, as the program shows it.
TEST(MemoRegExpErrorDialog, ShowsTheCaretUnderTheFaultInAFixedPitchFont)
{
    TSourceMemo memo;
    Perform(memo, WM_SETTEXT, 0, reinterpret_cast<TLParam>("abc"));
    std::string shown;
    double blanksWidth = 0;
    double expressionWidth = 0;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TRegExpErrorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = dialog->MessageLabel->text().toStdString();
        // What matters is that the caret line's blanks are as wide as the text above them; a
        // face's fixed-pitch flag is not that (fontconfig clears it for some monospaced faces).
        const QFontMetricsF metrics(dialog->MessageLabel->font());
        blanksWidth = metrics.horizontalAdvance("   ");
        expressionWidth = metrics.horizontalAdvance("ab*");
        dialog->accept();
    });
    EXPECT_EQ(Perform(memo, SM_FIND, srDirect | srRegExp, reinterpret_cast<TLParam>("ab**")), -1);
    EXPECT_EQ(shown, "Nested repeat\nab**\n   ^");
    EXPECT_GT(blanksWidth, 0);
    EXPECT_DOUBLE_EQ(blanksWidth, expressionWidth) << "the caret does not sit under the fault";
}

TEST_F(MemoSearchTest, TheControlsFindDialogRepeatsAndReportsWhatItDoesNotFind)
{
    load("cat concat cat");
    select(4, 10); // "concat"
    EXPECT_EQ(find("dog", srMatchCase | srWholeWord), -1);
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_FALSE(memo.HideSelection()); // the matches show while the dialog has the focus
    EXPECT_EQ(dialog().FindTextEdit->text(), "concat");
    EXPECT_TRUE(dialog().MatchCaseBox->isChecked());
    EXPECT_TRUE(dialog().WholeWordBox->isChecked());

    dialog().FindTextEdit->setText("cat");
    select(0, 0);
    dialog().FindNextButton->click();
    EXPECT_EQ(selection(), (TSelectionPair{0, 3}));
    dialog().FindNextButton->click(); // whole words: concat is skipped
    EXPECT_EQ(selection(), (TSelectionPair{11, 14}));
    boxes.answer(TMessageResult::Ok);
    dialog().FindNextButton->click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Search string \"cat\" not found.");
    EXPECT_EQ(boxes.shown()[0].kind, TMessageKind::Information);

    // Backwards from offset 0: OnSearchFail when assigned, and no box.
    std::vector<std::string> failed;
    memo.OnSearchFail = [&](TSourceMemo* sender, const std::string& text) {
        EXPECT_EQ(sender, &memo);
        failed.push_back(text);
    };
    select(0, 0);
    dialog().UpButton->setChecked(true);
    dialog().FindNextButton->click();
    EXPECT_EQ(failed, std::vector<std::string>{"cat"});
    EXPECT_EQ(boxes.shown().size(), 1u);
    int64_t position = 0;
    EXPECT_FALSE(memo.FindText("cat", srDirect | srBackward, position));
    EXPECT_EQ(failed.size(), 1u);

    // A regular expression from the dialog does not find its own empty match again.
    load("a\r\rb");
    dialog().UpButton->setChecked(false);
    dialog().DownButton->setChecked(true);
    dialog().RegExpBox->setChecked(true);
    dialog().FindTextEdit->setText("^");
    dialog().FindNextButton->click();
    EXPECT_EQ(selection(), (TSelectionPair{0, 0}));
    dialog().FindNextButton->click();
    EXPECT_EQ(selection(), (TSelectionPair{2, 2}));
    dialog().CancelButton->click();
    EXPECT_TRUE(memo.HideSelection());
}

TEST_F(MemoSearchTest, ControlFAndF3OpenTheDialogAndRepeatTheSearch)
{
    load("one two one two");
    memo.setFocus();
    QTest::keyClick(&memo, Qt::Key_F3); // nothing searched yet: the dialog opens
    ASSERT_TRUE(dialog().isVisible());
    dialog().hide();
    QTest::keyClick(&memo, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(dialog().isVisible());
    dialog().FindTextEdit->setText("two");
    dialog().FindNextButton->click();
    EXPECT_EQ(selection(), (TSelectionPair{4, 7}));
    QTest::keyClick(&memo, Qt::Key_F3);
    EXPECT_EQ(selection(), (TSelectionPair{12, 15}));
    EXPECT_EQ(stored(), "one two one two"); // neither key typed anything
}

TEST_F(MemoSearchTest, ReplaceAllIsOneUndoStepAndRepaintsOnlyWhenDone)
{
    load("GOSUB a\rGOSUB b\rx GOSUB");
    std::string newText;
    int64_t position = 0;
    ASSERT_TRUE(memo.FindReplace("GOSUB", "CALL", srMatchCase | srReplaceAll, newText, position));
    EXPECT_EQ(stored(), "CALL a\rCALL b\rx CALL");
    EXPECT_EQ(selection(), (TSelectionPair{16, 16}));
    EXPECT_FALSE(memo.PaintLocked());
    send(EM_UNDO);
    EXPECT_EQ(stored(), "GOSUB a\rGOSUB b\rx GOSUB");
    EXPECT_EQ(send(EM_CANUNDO), 0);
    expectSound();
}

// Replace-all colours once when it is done; the rows shown must then carry the token bytes a
// fresh highlighting of the same text gives, including where a replacement changed how the
// rows after it are read (a comment mark becoming a string quote).
TEST_F(MemoSearchTest, ReplaceAllLeavesTheColoursOfAFreshLoad)
{
    TSourceMemoParser parser;
    const auto compiled = zenBasicParserStream();
    TReadOnlyMemoryStream bytes(compiled.data(), static_cast<int64_t>(compiled.size()));
    parser.LoadParser(bytes);
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "a = 1 ' note " + std::to_string(i) + "\r\nGOSUB x_" + std::to_string(i) + "\r\n";
    memo.resize(500, 700); // every row shown
    memo.SetParser(1, &parser);
    load(text);
    QApplication::processEvents();
    memo.viewport()->repaint();
    std::string newText;
    int64_t position = 0;
    ASSERT_TRUE(memo.FindReplace("' note", "\"note", srReplaceAll, newText, position));
    memo.viewport()->repaint();
    std::vector<uint8_t> replacedAttrs;
    send(SM_GETATTRS, 0, ptr(&replacedAttrs));

    TSourceMemo fresh;
    fresh.resize(memo.size());
    fresh.show();
    fresh.SetParser(1, &parser);
    const std::string result = stored();
    Perform(fresh, WM_SETTEXT, 0, reinterpret_cast<TLParam>(result.c_str()));
    QApplication::processEvents();
    fresh.viewport()->repaint();
    std::vector<uint8_t> freshAttrs;
    Perform(fresh, SM_GETATTRS, 0, reinterpret_cast<TLParam>(&freshAttrs));
    ASSERT_EQ(replacedAttrs.size(), result.size());
    EXPECT_EQ(replacedAttrs, freshAttrs);
    EXPECT_NE(std::count(freshAttrs.begin(), freshAttrs.end(), 0),
              static_cast<long>(freshAttrs.size()));
    memo.SetParser(1, nullptr);
    fresh.SetParser(1, nullptr);
}

// The budget through the control: the error box, the document and selection as they were, and
// the window's timers (so its painting) kept running while the search worked.
TEST_F(MemoSearchTest, APathologicalExpressionStopsWithItsMessageWhileTheWindowRuns)
{
    std::string document;
    for (int i = 0; i < 32; ++i)
        document += std::string(32000, 'a') + "\r";
    load(document);
    select(5, 9);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    boxes.answer(TMessageResult::Ok);
    EXPECT_EQ(find("(a|aa)+b", srDirect | srRegExp), -1);
    timer.stop();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, TMessageKind::Error);
    EXPECT_NE(boxes.shown()[0].text.find("needs too much work"), std::string::npos);
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(selection(), (TSelectionPair{5, 9}));
    EXPECT_EQ(stored(), document);
    EXPECT_EQ(send(EM_CANUNDO), 0);
}

} // namespace
