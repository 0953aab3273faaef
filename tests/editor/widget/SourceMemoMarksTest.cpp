// The control's bookmarks, breakpoints, marks and templates as a user and a host meet them:
// bookmark keys, bookmarks through word wrap and store exchange, the events, how breakpoints
// and marks are painted, templates and auto-correct typed through real key events, the pick
// list, and the tables following the active settings.
#include "editor/marks/Breakpoints.h"
#include "editor/marks/CustomBookmarks.h"
#include "editor/marks/MarkList.h"
#include "editor/text/SourceMemoErrors.h"
#include "editor/widget/SourceMemo.h"
#include "highlight/ParserSettings.h"
#include "MemoFixture.h"

#include <QImage>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SourceMemoMarks : public ShownMemoFixture
{
protected:
    void load(const std::string& text)
    {
        memo.Store().InsertText(0, text);
        memo.Editor().SetSelection(0, 0);
        memo.Changed(cfTextChanged);
    }
    void setBookmarkByKeys(int n)
    {
        QTest::keyClick(&memo, Qt::Key_K, Qt::ControlModifier);
        QTest::keyClick(&memo, static_cast<Qt::Key>(Qt::Key_0 + n));
    }
    void gotoBookmarkByKeys(int n)
    {
        QTest::keyClick(&memo, Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(&memo, static_cast<Qt::Key>(Qt::Key_0 + n));
    }
    QColor pixel(QPoint at) { return memo.viewport()->grab().toImage().pixelColor(at); }
};

const std::string kParagraph = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu";

} // namespace

TEST_F(SourceMemoMarks, BookmarkKeysSetToggleAndGoThroughWrapAndStoreExchange)
{
    std::vector<std::pair<char, int>> events;
    memo.OnBookmarkSet = [&](TSourceMemo*, int n) { events.emplace_back('s', n); };
    memo.OnBookmarkClear = [&](TSourceMemo*, int n) { events.emplace_back('c', n); };
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "line " + std::to_string(i) + (i == 40 ? " " + kParagraph : "") + "\r";
    load(text);
    const int64_t line40 = memo.Store().LineStart(40).Start;
    memo.Editor().SetSelection(line40 + 3, line40 + 3);
    setBookmarkByKeys(3);
    int64_t line = 0;
    int column = 0;
    ASSERT_TRUE(memo.GetBookmark(3, line, column));
    EXPECT_EQ(line, 41);
    EXPECT_EQ(column, 4);
    setBookmarkByKeys(3); // the same line: cleared
    EXPECT_FALSE(memo.GetBookmark(3, line, column));
    EXPECT_EQ(events, (std::vector<std::pair<char, int>>{{'s', 3}, {'c', 3}}));

    // Set on a wrapped row, it goes to the first row of its line, and stays there as the
    // lines are cut again.
    memo.SetWrapAtColumn(20);
    memo.SetOptions(memo.Options() | smoWordWrap);
    const TRowSpot head = memo.Store().LineStart(40);
    memo.Editor().SetSelection(head.Start + 30, head.Start + 30);
    setBookmarkByKeys(5);
    ASSERT_TRUE(memo.GetBookmark(5, line, column));
    EXPECT_EQ(line, head.Index + 1);
    memo.SetWrapAtColumn(33);
    memo.SetOptions(memo.Options() & ~smoWordWrap);
    ASSERT_TRUE(memo.GetBookmark(5, line, column));
    EXPECT_EQ(line, 41);

    // The bookmark is the document's: it goes with its store and comes back with it.
    std::unique_ptr<TTextStore> kept = memo.ExchangeStore(nullptr);
    EXPECT_FALSE(memo.GetBookmark(5, line, column));
    gotoBookmarkByKeys(5); // nothing to go to
    EXPECT_EQ(memo.Editor().SelCaret(), 0);
    memo.ExchangeStore(std::move(kept));
    memo.Editor().SetSelection(0, 0);
    gotoBookmarkByKeys(5);
    EXPECT_EQ(memo.Editor().SelCaret(), line40 + column - 1);
    EXPECT_EQ(memo.TopRow(), 40 - memo.VisibleRows() / 2);
    EXPECT_THROW(memo.SetBookmark(10, 0, 1), ESourceMemo);
    EXPECT_EQ(memo.Store().check(), "");
}

TEST_F(SourceMemoMarks, BreakpointRowsAndMarksArePaintedAndTheirEventsRaised)
{
    load("first\rsecond\rthird\rfourth\r");
    const int64_t third = memo.Store().LineStart(2).Start;
    TSM_BreakpointData* bp = memo.Breakpoints().Add(third + 2, 3);
    memo.repaint();
    const int y = 2 * memo.LineHeight() + memo.LineHeight() / 2;
    const QPoint pastText(memo.TextLeft() + 40 * memo.CharWidth(), y);
    EXPECT_EQ(pixel(pastText), QColor(255, 0, 0)); // an enabled breakpoint's row: red
    EXPECT_EQ(pixel(QPoint(3 + 6, y)).red(), 230);  // its gutter image
    std::vector<int32_t> stateChanges;
    memo.OnBreakpointStateChange = [&](TSourceMemo*, TSM_BreakpointData& b) { stateChanges.push_back(b.Line); };
    bp->SetEnabled(false);
    memo.repaint();
    EXPECT_EQ(pixel(pastText), QColor(0, 128, 0));
    EXPECT_EQ(stateChanges, std::vector<int32_t>{3});

    // Each mark on a painted row is handed to the host with its part of the row.
    std::vector<std::pair<int32_t, QRect>> drawn;
    memo.OnDrawMark = [&](TSourceMemo*, QPainter* canvas, QRect rect, TMark& mark) {
        ASSERT_NE(canvas, nullptr);
        drawn.emplace_back(mark.Tag, rect);
    };
    memo.Marks().AddMark(2, 8, 0x123456); // "rst\rseco": two rows
    memo.repaint();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].second, QRect(memo.TextLeft() + 2 * memo.CharWidth(), 0, 4 * memo.CharWidth(), memo.LineHeight()));
    EXPECT_EQ(drawn[1].second, QRect(memo.TextLeft(), memo.LineHeight(), 4 * memo.CharWidth(), memo.LineHeight()));

    std::vector<int32_t> freedBreakpoints;
    std::vector<int32_t> changedMarks;
    std::vector<int32_t> freedMarks;
    std::vector<std::string> freedNames;
    memo.OnBreakpointFree = [&](TSourceMemo*, TSM_BreakpointData& b) { freedBreakpoints.push_back(b.Line); };
    memo.OnMarkChange = [&](TSourceMemo*, TMark& m) { changedMarks.push_back(m.Tag); };
    memo.OnMarkFree = [&](TSourceMemo*, TMark& m) { freedMarks.push_back(m.Tag); };
    memo.OnCustomBookmarkFree = [&](TSourceMemo*, const std::string& name) { freedNames.push_back(name); };
    memo.CustomBookmarks().Set("here", third + 1);
    memo.Marks().AddMark(third + 1, 2, 7);
    memo.Editor().SetSelection(third + 1, third + 1);
    QTest::keyClick(&memo, Qt::Key_Y, Qt::ControlModifier); // delete the line
    EXPECT_EQ(freedBreakpoints, std::vector<int32_t>{3});
    EXPECT_EQ(freedMarks, std::vector<int32_t>{7});
    EXPECT_EQ(freedNames, std::vector<std::string>{"here"});
    memo.Editor().SetSelection(4, 4);
    QTest::keyClicks(&memo, "x"); // inside the first mark: it grows
    EXPECT_EQ(changedMarks, std::vector<int32_t>{0x123456});
    EXPECT_EQ(memo.Store().check(), "");
}

TEST_F(SourceMemoMarks, TemplatesAndAutoCorrectAtTheKeyboard)
{
    TSM_Settings& settings = memo.ActiveSettings();
    settings.templates.entries = {{"for", "a loop", "FOR |\rNEXT"}, {"if", "a test", "IF | THEN\rENDIF"}};
    settings.autoReplace.entries = {{"teh", "", "the"}};
    memo.ApplySettings();
    std::vector<std::string> fired;
    memo.OnTemplateEvent = [&](TSourceMemo*, const std::string& name, std::string&) { fired.push_back(name); };
    memo.OnAutoReplace = [&](TSourceMemo*, TEdStream&, const std::string& item, std::string&, bool&) {
        fired.push_back(item);
    };
    QTest::keyClicks(&memo, "  for");
    QTest::keyClick(&memo, Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(text(), "  FOR \r  NEXT");
    EXPECT_EQ(memo.Editor().SelCaret(), 6);
    QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier); // one step back
    EXPECT_EQ(text(), "  for");
    QTest::keyClick(&memo, Qt::Key_End);
    QTest::keyClicks(&memo, " teh ");
    EXPECT_EQ(text(), "  for the ");
    EXPECT_EQ(fired, (std::vector<std::string>{"for", "teh"}));

    // No template before the caret: the word is selected and the list offered; Return picks.
    QTest::keyClicks(&memo, "i");
    QTest::keyClick(&memo, Qt::Key_J, Qt::ControlModifier);
    QListWidget* list = memo.TemplatePickList();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 1); // "if" starts with the word
    EXPECT_EQ(list->font().family(), "Arial");
    QTest::keyClick(list, Qt::Key_Return);
    QTest::qWait(1);
    EXPECT_EQ(memo.TemplatePickList(), nullptr);
    EXPECT_EQ(text(), "  for the IF  THEN\r          ENDIF");
    EXPECT_TRUE(memo.hasFocus()); // the editor has the keys again
    QTest::keyClick(&memo, Qt::Key_J, Qt::ControlModifier);
    ASSERT_NE(memo.TemplatePickList(), nullptr);
    QTest::keyClick(memo.TemplatePickList(), Qt::Key_Escape);
    QTest::qWait(1);
    EXPECT_EQ(memo.TemplatePickList(), nullptr);
    EXPECT_TRUE(memo.hasFocus());

    // Changes through the control's tables are the settings' own.
    memo.CodeTemplates().AddTemplate("sub", "", "SUB |\rEND SUB");
    ASSERT_EQ(settings.templates.entries.size(), 3u);
    EXPECT_EQ(settings.templates.entries.back().name, "sub");
    memo.AutoReplace().SetTriggers(";");
    EXPECT_EQ(settings.triggers, ";");
}
