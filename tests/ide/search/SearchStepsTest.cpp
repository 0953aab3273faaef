// The replace and Show all runs over a real editing core: what is replaced after which
// answers, that one undo takes a grouped run back, that runs end on replacements holding
// their own match and on empty matches, and what Show all marks and removes.
#include "editor/edit/EditTestSupport.h"

#include "editor/marks/MarkList.h"
#include "editor/marks/StoreMarks.h"
#include "editor/search/EditorSearch.h"
#include "editor/search/SearchFlags.h"
#include "ide/search/SearchSteps.h"
#include "ide/search/ShowAllMarks.h"

#include <deque>

namespace {

constexpr int32_t kDialogReplaceAllGroup = 34;

class SearchStepsTest : public EditorFixture
{
protected:
    // Answers in order; running out of answers fails the test.
    std::function<TReplaceAnswer()> answering(std::deque<TReplaceAnswer> answers)
    {
        m_answers = std::move(answers);
        return [this] {
            asked.push_back(editor.SelText());
            if (m_answers.empty()) {
                ADD_FAILURE() << "asked once too often";
                return TReplaceAnswer::Cancel;
            }
            const TReplaceAnswer answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        };
    }
    int64_t replaceAll(const std::string& find, const std::string& with, uint16_t flags,
                       std::deque<TReplaceAnswer> answers)
    {
        const TGroupScope group(editor, kDialogReplaceAllGroup);
        return replaceEachMatch(search, editor, find, with, flags, answering(std::move(answers)));
    }
    std::vector<std::pair<int64_t, int64_t>> marked() const
    {
        std::vector<std::pair<int64_t, int64_t>> spans;
        for (TMark* m = marks.FirstMark(); m; m = marks.NextMark(*m))
            spans.emplace_back(m->Start(), m->End());
        return spans;
    }

    TEditorSearch search{editor};
    TMarkList& marks = EnsureMarks(store, nullptr); // the store moves them with its text
    std::vector<std::string> asked;

private:
    std::deque<TReplaceAnswer> m_answers;
};

using A = TReplaceAnswer;

} // namespace

TEST_F(SearchStepsTest, ASelectedMatchIsSteppedOverSoTheNextOneIsFound)
{
    load("ABC abc abc");
    editor.SetSelection(0, 3);
    EXPECT_TRUE(stepPastSelectedMatch(editor, "abc", TLetterCase::Ignored));
    EXPECT_EQ(editor.Selection(), (TSelectionPair{1, 1}));
    int64_t position = 0;
    ASSERT_TRUE(search.FindText("abc", srDirect, position));
    EXPECT_EQ(position, 4); // the next occurrence, not the selected one

    editor.SetSelection(0, 3);
    EXPECT_FALSE(stepPastSelectedMatch(editor, "abc", TLetterCase::Exact)); // ABC is not abc
    EXPECT_EQ(editor.Selection(), (TSelectionPair{0, 3}));
    EXPECT_FALSE(stepPastSelectedMatch(editor, "AB", TLetterCase::Ignored)); // a longer selection
    editor.SetSelection(4, 4);
    EXPECT_FALSE(stepPastSelectedMatch(editor, "abc", TLetterCase::Ignored)); // nothing selected
    expectSound();
}

TEST_F(SearchStepsTest, NoNoYesReplacesTheThirdMatchAndOneUndoRestoresIt)
{
    load("cat cat cat cat");
    editor.SetSelection(9, 9); // the run starts at the document start wherever the caret is
    EXPECT_EQ(replaceAll("cat", "dog", 0, {A::No, A::No, A::Yes, A::No}), 1);
    EXPECT_EQ(text(), "cat cat dog cat");
    EXPECT_EQ(asked, (std::vector<std::string>{"cat", "cat", "cat", "cat"}));
    expectSound();
    editor.Undo();
    EXPECT_EQ(text(), "cat cat cat cat");
    EXPECT_FALSE(editor.CanUndo());
    editor.Redo();
    EXPECT_EQ(text(), "cat cat dog cat");
}

TEST_F(SearchStepsTest, SeveralReplacementsOfOneRunAreOneUndoStep)
{
    load("x a a a\ra");
    type("y"); // an earlier step that must survive the undo
    EXPECT_EQ(replaceAll("a", "bb", 0, {A::Yes, A::Yes, A::No, A::Yes}), 3);
    EXPECT_EQ(text(), "yx bb bb a\rbb");
    editor.Undo();
    EXPECT_EQ(text(), "yx a a a\ra");
    editor.Undo();
    EXPECT_EQ(text(), "x a a a\ra");
}

TEST_F(SearchStepsTest, ReplacingAByAaEndsAfterEachOriginalMatch)
{
    load("a a\raa");
    EXPECT_EQ(replaceAll("a", "aa", 0, {A::Yes, A::Yes, A::Yes, A::Yes}), 4);
    EXPECT_EQ(text(), "aa aa\raaaa");
    expectSound();
}

TEST_F(SearchStepsTest, CancelStopsTheRunAndKeepsWhatWasReplaced)
{
    load("a1 a2 a3");
    EXPECT_EQ(replaceAll("a", "b", 0, {A::Yes, A::Cancel}), 1);
    EXPECT_EQ(text(), "b1 a2 a3");
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(SearchStepsTest, TheRunGoesForwardsOverTheWholeDocumentEvenWithBackSet)
{
    load("ab AB ab");
    EXPECT_EQ(replaceAll("ab", "x", srBackward, {A::Yes, A::Yes, A::Yes}), 3);
    EXPECT_EQ(text(), "x x x");
    load("ab AB ab");
    EXPECT_EQ(replaceAll("ab", "x", srMatchCase | srWholeWord, {A::Yes, A::Yes}), 2);
    EXPECT_EQ(text(), "x AB x");
}

TEST_F(SearchStepsTest, EmptyRegularExpressionMatchesEndTheRun)
{
    load("ab\rcd");
    // "x*" matches nothing at every position: replacing by nothing must still end.
    EXPECT_EQ(replaceAll("x*", "", srRegExp, std::deque<TReplaceAnswer>(5, A::Yes)), 5);
    EXPECT_EQ(text(), "ab\rcd");
    load("ab\rcd");
    EXPECT_EQ(replaceAll("^", "; ", srRegExp, {A::Yes, A::No}), 1);
    EXPECT_EQ(text(), "; ab\rcd");
    load("a1b22");
    EXPECT_EQ(replaceAll("[0-9]+", "<%1>", srRegExp, {A::Yes, A::Yes}), 2);
    EXPECT_EQ(text(), "a<1>b<22>");
}

TEST_F(SearchStepsTest, ShowAllMarksEveryMatchAndLeavesTheCaretAfterTheLast)
{
    load("Dim x\rDIM y\rdim z dimmer");
    TMatchMarker marker;
    editor.SetSelection(20, 20);
    TMatchMarker::TResult result = marker.MarkAll(editor, marks, "dim", srDirect | srBackward);
    EXPECT_EQ(result.Count, 4);
    EXPECT_FALSE(result.Failed);
    EXPECT_EQ(marked(), (std::vector<std::pair<int64_t, int64_t>>{{0, 3}, {6, 9}, {12, 15}, {18, 21}}));
    EXPECT_EQ(editor.Selection(), (TSelectionPair{21, 21}));
    EXPECT_EQ(marks.check(), "");

    marks.AddMark(1, 1, 7); // somebody else's mark stays
    EXPECT_EQ(removeShowAllMarks(marks), 4);
    EXPECT_EQ(marked(), (std::vector<std::pair<int64_t, int64_t>>{{1, 2}}));

    result = marker.MarkAll(editor, marks, "dim", srMatchCase | srWholeWord);
    EXPECT_EQ(result.Count, 1);
    EXPECT_EQ(removeShowAllMarks(marks), 1);

    result = marker.MarkAll(editor, marks, "nothing", 0);
    EXPECT_EQ(result.Count, 0);
    EXPECT_EQ(editor.Selection(), (TSelectionPair{0, 0}));
}

TEST_F(SearchStepsTest, ShowAllWithExpressionsMarksEmptyMatchesOnceAndReportsBadOnes)
{
    load("ab\rc");
    TMatchMarker marker;
    TMatchMarker::TResult result = marker.MarkAll(editor, marks, "^", srRegExp);
    EXPECT_EQ(result.Count, 2);
    EXPECT_EQ(marked(), (std::vector<std::pair<int64_t, int64_t>>{{0, 0}, {3, 3}}));
    removeShowAllMarks(marks);
    result = marker.MarkAll(editor, marks, "[a-c]+", srRegExp);
    EXPECT_EQ(marked(), (std::vector<std::pair<int64_t, int64_t>>{{0, 2}, {3, 4}}));
    removeShowAllMarks(marks);
    result = marker.MarkAll(editor, marks, "(ab", srRegExp);
    EXPECT_TRUE(result.Failed);
    EXPECT_FALSE(result.Error.empty());
    EXPECT_EQ(marks.Count(), 0u);
}

TEST_F(SearchStepsTest, ShowAllMarksFollowEditsLikeOtherMarks)
{
    load("one two one");
    TMatchMarker marker;
    marker.MarkAll(editor, marks, "one", 0);
    editor.SetSelection(0, 0);
    type("X");
    EXPECT_EQ(marked(), (std::vector<std::pair<int64_t, int64_t>>{{1, 4}, {9, 12}}));
}
