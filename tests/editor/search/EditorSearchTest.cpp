// The editor's search operations over a real editing core: where FindText starts and what it
// selects, the find dialog's repeat rule, replace and replace-all as one undo step, and the
// errors a search can end with, which leave the document and the selection as they were.
#include "SearchTestSupport.h"

#include "editor/edit/EditTestSupport.h"

#include "editor/search/EditorSearch.h"

namespace {

class RecordingSearchHost : public TSearchHost
{
public:
    void ShowFindDialog(const std::string& text, uint16_t flags) override
    {
        dialogText = text;
        dialogFlags = flags;
        ++dialogs;
    }
    void ShowRegExpError(const std::string& message) override { regExpErrors.push_back(message); }
    void ShowSearchError(const std::string& message) override { searchErrors.push_back(message); }
    void BeginBusy(bool showNow) override { busy += showNow ? 10 : 1; }
    void EndBusy() override { ++ended; }

    std::string dialogText;
    uint16_t dialogFlags = 0;
    int dialogs = 0;
    std::vector<std::string> regExpErrors;
    std::vector<std::string> searchErrors;
    int busy = 0;
    int ended = 0;
};

class EditorSearchTest : public EditorFixture
{
protected:
    TSelectionPair find(const std::string& text, uint16_t flags)
    {
        int64_t position = -7;
        if (!search.FindText(text, flags | srDirect, position))
            return {-1, -1};
        EXPECT_EQ(position, editor.SelStart());
        return editor.Selection();
    }

    RecordingSearchHost searchHost;
    TEditorSearch search{editor, &searchHost};
};

// Repeated finds over rows cut small, with TABs before the matches: each match selected must
// leave the caret with the column of the row it lies in (the search hands the editor that
// row), the search must start from where the last one left off, and after an edit the rows
// it kept are not used again.
TEST_F(EditorSearchTest, RepeatedFindsSelectEveryMatchWithTheCaretsColumnAcrossRowsAndEdits)
{
    std::string document;
    for (int line = 0; line < 40; ++line)
        document += std::string(static_cast<size_t>(line % 3), '\t') + "ab x\tAb ab" +
                    std::string(static_cast<size_t>(line % 7), 'y') + "ab\r";
    load(document);
    std::mt19937 random(3);
    cutRowsSmall(store, random, 5);
    const auto expectedMatches = [&](const std::string& text, bool matchCase) {
        std::vector<int64_t> at;
        for (size_t i = 0; i + 2 <= text.size(); ++i)
            if ((matchCase ? text[i] == 'a' : (text[i] | 0x20) == 'a') && text[i + 1] == 'b')
                at.push_back(static_cast<int64_t>(i));
        return at;
    };
    const struct
    {
        const char* Text;
        uint16_t Flags;
    } searches[] = {{"ab", srMatchCase}, {"ab", 0}, {"a[b]", srRegExp}};
    for (const auto& s : searches) {
        for (int pass = 0; pass < 2; ++pass) {
            if (pass == 1) { // an edit before the matches moves them all
                editor.SetSelection(0, 0);
                editor.ReplaceSelection("ab\tab\r");
                cutRowsSmall(store, random, 3);
            }
            const std::vector<int64_t> expected =
                expectedMatches(text(), (s.Flags & (srMatchCase | srRegExp)) != 0);
            editor.SetSelection(0, 0);
            std::vector<int64_t> found;
            for (TSelectionPair m; (m = find(s.Text, s.Flags)).Start() >= 0;) {
                found.push_back(m.Start());
                EXPECT_EQ(m.End(), m.Start() + 2);
                ASSERT_EQ(editor.check(), "") << s.Text << " at " << m.Start();
                ASSERT_LE(found.size(), expected.size());
            }
            EXPECT_EQ(found, expected) << s.Text << " pass " << pass;
            std::vector<int64_t> backwards;
            editor.SetSelection(store.CharCount(), store.CharCount());
            // The find dialog's repeat, which steps off a regular-expression match it selected.
            while (search.FindNext(s.Text, s.Flags | srBackward) == TEditorSearch::TOutcome::Found) {
                backwards.insert(backwards.begin(), editor.SelStart());
                ASSERT_EQ(editor.SelCaret(), editor.SelStart() + 2);
                ASSERT_EQ(editor.check(), "") << s.Text << " at " << editor.SelStart();
                ASSERT_LE(backwards.size(), expected.size());
            }
            EXPECT_EQ(backwards, expected) << s.Text << " backwards, pass " << pass;
        }
    }
}

TEST_F(EditorSearchTest, FindTextStartsAtTheCaretAndSelectsTheMatch)
{
    load("cat Cat\rcat");
    EXPECT_EQ(find("cat", 0), (TSelectionPair{0, 3}));
    EXPECT_EQ(find("cat", 0), (TSelectionPair{4, 7})); // from the selection end
    EXPECT_EQ(find("cat", srMatchCase), (TSelectionPair{8, 11}));
    EXPECT_EQ(find("cat", srMatchCase), (TSelectionPair{-1, -1})); // at the end: nothing
    EXPECT_EQ(editor.Selection(), (TSelectionPair{8, 11}));        // and nothing moved
    EXPECT_EQ(find("cat", srBackward), (TSelectionPair{4, 7}));    // from the selection start
    editor.SetSelection(0, 0);
    EXPECT_EQ(find("cat", srBackward), (TSelectionPair{-1, -1}));
    EXPECT_EQ(find("t\r\nc", 0), (TSelectionPair{6, 9})); // a line break in the text
    editor.SetSelection(0, 0);
    EXPECT_EQ(find("c.t$", srRegExp), (TSelectionPair{8, 11}));
    EXPECT_EQ(search.LastMatchStart(), 8);
    EXPECT_EQ(search.LastText(), "c.t$");
    EXPECT_EQ(search.LastFlags(), srRegExp | srDirect);

    // Without srDirect the find dialog opens, preset with the selection (for plain text).
    int64_t position = 0;
    editor.SetSelection(4, 7);
    EXPECT_FALSE(search.FindText("dog", srMatchCase, position));
    EXPECT_EQ(searchHost.dialogText, "Cat");
    EXPECT_EQ(searchHost.dialogFlags, srMatchCase);
    EXPECT_FALSE(search.FindText("d.g", srRegExp, position));
    EXPECT_EQ(searchHost.dialogText, "d.g");
    load("");
    EXPECT_EQ(find("x*", srRegExp), (TSelectionPair{-1, -1}));
    EXPECT_EQ(searchHost.ended, searchHost.busy);
}

TEST_F(EditorSearchTest, FindNextStepsOverTheRegularExpressionMatchItSelected)
{
    load("a\r\rbc\rd");
    ASSERT_EQ(search.FindNext("^", srRegExp), TEditorSearch::TOutcome::Found);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{0, 0}));
    ASSERT_EQ(search.FindNext("^", srRegExp), TEditorSearch::TOutcome::Found);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{2, 2}));
    ASSERT_EQ(search.FindNext("^", srRegExp), TEditorSearch::TOutcome::Found);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{3, 3}));
    load("a a a");
    editor.SetSelection(5, 5);
    ASSERT_EQ(search.FindNext("a", srRegExp | srBackward), TEditorSearch::TOutcome::Found);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{4, 5}));
    ASSERT_EQ(search.FindNext("a", srRegExp | srBackward), TEditorSearch::TOutcome::Found);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{2, 3}));
    EXPECT_EQ(search.FindNext("b", 0), TEditorSearch::TOutcome::NotFound);
}

TEST_F(EditorSearchTest, ACompileErrorShowsTheExpressionWithACaretUnderTheFault)
{
    load("text");
    EXPECT_EQ(find("ab**", srRegExp), (TSelectionPair{-1, -1}));
    ASSERT_EQ(searchHost.regExpErrors.size(), 1u);
    EXPECT_EQ(searchHost.regExpErrors[0], "Nested repeat\rab**\r   ^");
    EXPECT_EQ(search.FindNext("(x", srRegExp), TEditorSearch::TOutcome::Failed);
    EXPECT_EQ(searchHost.regExpErrors[1], "Unmatched parenthesis\r(x\r^");
}

TEST_F(EditorSearchTest, ReplaceExpandsTheTemplateAndReplaceAllIsOneUndoStep)
{
    load("abc abc");
    std::string newText;
    int64_t position = 0;
    ASSERT_TRUE(search.FindReplace("(ab)c", "%1-", srRegExp, newText, position));
    EXPECT_EQ(newText, "ab-");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{0, 3}));
    editor.ReplaceSelection(newText);
    EXPECT_EQ(text(), "ab- abc");
    ASSERT_TRUE(search.FindReplace("abc", "x", 0, newText, position));
    EXPECT_EQ(newText, "x");
    EXPECT_EQ(position, 4);

    load("GOSUB a\rx GOSUB b GOSUB\rgosub");
    editor.SetModified(false);
    searchHost.busy = 0;
    EXPECT_EQ(search.ReplaceAll("GOSUB", "CALL", srMatchCase, 0), 3);
    EXPECT_EQ(text(), "CALL a\rx CALL b CALL\rgosub");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{16, 16})); // the start of the last replacement
    EXPECT_EQ(searchHost.busy, 10);                          // shown at once
    editor.Undo();
    EXPECT_EQ(text(), "GOSUB a\rx GOSUB b GOSUB\rgosub");
    EXPECT_FALSE(editor.Modified());
    editor.Redo();
    EXPECT_EQ(text(), "CALL a\rx CALL b CALL\rgosub");
    expectSound();

    // Regular expressions: templates per match, empty matches replaced once each.
    load("k=1 k=22");
    ASSERT_TRUE(
        search.FindReplace("(\\w)=(\\d+)", "%3:%1", srRegExp | srReplaceAll, newText, position));
    EXPECT_EQ(text(), "1:k 22:k");
    load("ab");
    EXPECT_EQ(search.ReplaceAll("x*", "-", srRegExp, 0), 3);
    EXPECT_EQ(text(), "-a-b-");
    EXPECT_EQ(search.ReplaceAll("q", "-", 0, 0), 0);
    editor.Settings.ReadOnly = true;
    EXPECT_EQ(search.ReplaceAll("a", "-", 0, 0), 0);
    EXPECT_EQ(text(), "-a-b-");
}

// A pathological expression on a large document ends with the budget's message, and the
// document and the selection stay as they were (replace-all included).
TEST_F(EditorSearchTest, BudgetErrorLeavesDocumentAndSelectionUnchanged)
{
    std::string document;
    for (int i = 0; i < 64; ++i)
        document += std::string(16000, 'a') + "\r";
    load(document);
    editor.SetSelection(3, 7);
    EXPECT_EQ(find("(a|aa)+b", srRegExp), (TSelectionPair{-1, -1}));
    ASSERT_EQ(searchHost.searchErrors.size(), 1u);
    EXPECT_EQ(searchHost.searchErrors[0], MessageOf(reTooMuchWork));
    EXPECT_EQ(search.ReplaceAll("(a+)+b", "x", srRegExp, 0), 0);
    EXPECT_EQ(searchHost.searchErrors.size(), 2u);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{3, 7}));
    EXPECT_EQ(text(), document);
    EXPECT_FALSE(editor.Modified());
}

} // namespace
