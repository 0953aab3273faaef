// Paper layout without a printer: the print area from margins, the page frame, cutting rows at
// blanks, numbering lines and breaking pages.
#include "editor/edit/EditorOptions.h"
#include "editor/edit/TabStops.h"
#include "editor/print/PageFrame.h"
#include "editor/print/PrintArea.h"
#include "editor/print/PrintPager.h"
#include "editor/print/PrintWrap.h"
#include "editor/text/TextStore.h"
#include "editor/view/Reflow.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Collects what a print lays out: the text of each printed row with its page, y and number.
class RecordingSink : public TPrintSink
{
public:
    explicit RecordingSink(TPrintRect band) : m_band(band) {}

    TPrintRect BeginPage(int page) override
    {
        pagesBegun.push_back(page);
        return m_band;
    }
    void PrintRow(const TPrintedRow& row) override
    {
        Printed p;
        p.text.assign(row.Row->Text() + row.First, static_cast<size_t>(row.Count));
        p.line = row.LineNumber;
        p.page = row.Page;
        p.y = row.Y;
        p.textLeft = row.TextLeft;
        rows.push_back(p);
    }

    struct Printed
    {
        std::string text;
        int64_t line = 0;
        int page = 0;
        int y = 0;
        int textLeft = 0;
    };
    std::vector<Printed> rows;
    std::vector<int> pagesBegun;

private:
    TPrintRect m_band;
};

std::vector<std::string> cutAll(const std::string& text, int fit, const TEditorSettings& settings)
{
    const TTabStops tabs(settings);
    std::vector<std::string> pieces;
    const int length = static_cast<int>(text.size());
    for (int from = 0; from < length;) {
        const int end = PrintedRowEnd(text.data(), length, from, fit, tabs);
        pieces.push_back(text.substr(static_cast<size_t>(from), static_cast<size_t>(end - from)));
        from = end;
    }
    return pieces;
}

} // namespace

TEST(PrintArea, MarginsMoveEachEdgeByResolutionTimesInchesRounded)
{
    // One inch on a 600 dpi printer: 600 units from every edge of a Letter sheet.
    EXPECT_EQ(PrintAreaOf(5100, 6600, 600, 600, {1000, 1000, 1000, 1000}), (TPrintRect{600, 600, 4500, 6000}));
    // No margins: the whole sheet.
    EXPECT_EQ(PrintAreaOf(5100, 6600, 600, 600, {}), (TPrintRect{0, 0, 5100, 6600}));
    // Different horizontal and vertical resolutions use their own axis.
    EXPECT_EQ(PrintAreaOf(2000, 4000, 300, 600, {500, 250, 0, 1000}), (TPrintRect{150, 150, 2000, 3400}));
    // Rounded to the nearest unit: 0.5 goes up, 0.4 goes down.
    EXPECT_EQ(MarginUnits(300, 5), 2);  // 1.5
    EXPECT_EQ(MarginUnits(300, 3), 1);  // 0.9
    EXPECT_EQ(MarginUnits(300, 1), 0);  // 0.3
    EXPECT_EQ(MarginUnits(72, 993), 71); // 71.496
    EXPECT_EQ(MarginUnits(72, 1000), 72);
    EXPECT_EQ(MarginUnits(600, -1000), 0);
    // Margins wider than the sheet leave a sliver inside it instead of an inverted area.
    const TPrintRect crossed = PrintAreaOf(1000, 1000, 600, 600, {1000, 1000, 1000, 1000});
    EXPECT_GT(crossed.Width(), 0);
    EXPECT_GT(crossed.Height(), 0);
    EXPECT_LE(crossed.Right, 1000);
    EXPECT_LE(crossed.Bottom, 1000);
}

TEST(PageFrame, HeaderRuleAndFooterSitWhereTheOptionsPutThem)
{
    const TPrintRect area{100, 200, 1100, 2200};
    const TPageFrame both = PageFrameOf(area, 30, smoPrintFilename | smoPrintDate);
    EXPECT_TRUE(both.BlackOnWhite);
    EXPECT_EQ(both.HeaderLine, (TPrintRect{100, 200, 1100, 230}));
    EXPECT_EQ(both.HeaderRuleY, 260);
    EXPECT_EQ(both.TextTop, 290); // the fourth line
    EXPECT_EQ(both.TextBottom, 2200);
    EXPECT_FALSE(both.PageNumber);

    // The footer: its line starts 5/2 lines above the bottom (rounded toward zero), its rule 3
    // lines above, text ends 4 lines above.
    const TPageFrame footer = PageFrameOf(area, 31, smoPrintPageNos);
    EXPECT_TRUE(footer.BlackOnWhite);
    EXPECT_EQ(footer.HeaderRuleY, -1);
    EXPECT_EQ(footer.TextTop, 200);
    EXPECT_EQ(footer.FooterLine, (TPrintRect{100, 2200 - 77, 1100, 2200 - 77 + 31}));
    EXPECT_EQ(footer.FooterRuleY, 2200 - 93);
    EXPECT_EQ(footer.TextBottom, 2200 - 124);

    const TPageFrame none = PageFrameOf(area, 30, smoPrintWrap | smoPrintLineNos);
    EXPECT_FALSE(none.BlackOnWhite);
    EXPECT_EQ(none.TextTop, 200);
    EXPECT_EQ(none.TextBottom, 2200);
    EXPECT_EQ(none.HeaderRuleY, -1);
    EXPECT_EQ(none.FooterRuleY, -1);

    EXPECT_EQ(PageNumberText(7), "- 7 -");
    EXPECT_EQ(LineNumberText(7), "     7:");
    EXPECT_EQ(LineNumberText(1234567), "1234567:");
}

TEST(PrintWrap, CutsAfterBlanksAndCountsTabsExpanded)
{
    TEditorSettings settings;
    settings.TabDefault = 4;
    EXPECT_EQ(FittingColumns(1000, 100, 10), 89);
    EXPECT_EQ(FittingColumns(100, 100, 10), 1); // no room still takes one character
    EXPECT_EQ(FittingColumns(100, 0, 0), 1);

    // Blanks end a printed row, however many follow the cut.
    EXPECT_EQ(cutAll("the quick brown fox", 10, settings), (std::vector<std::string>{"the quick ", "brown fox"}));
    EXPECT_EQ(cutAll("aaaa     bbbb", 6, settings), (std::vector<std::string>{"aaaa     ", "bbbb"}));
    // A blank right where the row stops fitting ends that row; the word before it stays.
    EXPECT_EQ(cutAll("hello world", 5, settings), (std::vector<std::string>{"hello ", "world"}));
    // No blank in reach: cut at the limit.
    EXPECT_EQ(cutAll("abcdefghijkl", 5, settings), (std::vector<std::string>{"abcde", "fghij", "kl"}));
    // Control bytes are blanks too.
    EXPECT_EQ(cutAll(std::string("ab\x01" "cdefg"), 4, settings), (std::vector<std::string>{"ab\x01", "cdef", "g"}));
    // A TAB at column 0 is four columns: "\tab" is six columns wide, so the cut is after the TAB.
    EXPECT_EQ(cutAll("\tabcd", 5, settings), (std::vector<std::string>{"\t", "abcd"}));
    EXPECT_EQ(cutAll("x\ty", 6, settings), (std::vector<std::string>{"x\ty"}));     // 5 columns
    EXPECT_EQ(cutAll("x\ty z", 6, settings), (std::vector<std::string>{"x\ty ", "z"})); // 7 columns
    EXPECT_EQ(cutAll("x\tyy zz", 6, settings), (std::vector<std::string>{"x\tyy ", "zz"}));
    // A TAB wider than the whole row still makes progress; the blanks after it stay with it.
    EXPECT_EQ(cutAll("\t\tq", 2, settings), (std::vector<std::string>{"\t\t", "q"}));
    EXPECT_EQ(cutAll("\tq", 2, settings), (std::vector<std::string>{"\t", "q"}));
    // Whatever fits stays whole.
    EXPECT_EQ(cutAll("short", 80, settings), (std::vector<std::string>{"short"}));
}

TEST(PrintWrap, RandomRowsAreCutIntoPiecesThatFitAndJoinBack)
{
    TEditorSettings settings;
    settings.TabDefault = 3;
    const TTabStops tabs(settings);
    std::mt19937 random(18);
    const char alphabet[] = "abc  \t.x";
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i)
            text.push_back(alphabet[random() % (sizeof alphabet - 1)]);
        const int fit = 1 + static_cast<int>(random() % 20);
        std::string joined;
        for (int from = 0; from < length;) {
            const int end = PrintedRowEnd(text.data(), length, from, fit, tabs);
            ASSERT_GT(end, from);
            const std::string piece = text.substr(static_cast<size_t>(from), static_cast<size_t>(end - from));
            // Without its trailing blanks a piece fits, unless it is one character that cannot.
            size_t visible = piece.find_last_not_of(" \t");
            visible = visible == std::string::npos ? 0 : visible + 1;
            if (visible > 1) {
                EXPECT_LE(tabs.ColumnAfter(piece.data(), static_cast<int>(visible)), fit) << text << " / " << fit;
            }
            // A cut inside a word happens only when no blank was in reach.
            const auto blank = [&](int at) { return text[static_cast<size_t>(at)] == ' ' || text[static_cast<size_t>(at)] == '\t'; };
            if (end < length && !blank(end) && !blank(end - 1)) {
                EXPECT_EQ(piece.find_first_of(" \t"), std::string::npos) << text << " / " << fit;
            }
            joined += piece;
            from = end;
        }
        EXPECT_EQ(joined, text);
    }
}

TEST(PrintPager, LineNumbersOnFirstPrintedRowOnlyAndContinueAcrossPages)
{
    TTextStore store;
    store.InsertText(0, "one\rthe quick brown fox jumps\rtwo\rthree\rfour\rfive");
    TEditorSettings settings;
    const TTabStops tabs(settings);
    // Room for three rows a page; a text left 10 characters in; 12 characters a row.
    RecordingSink sink({0, 0, 10 * 10 + 13 * 10, 30});
    const TPrintSettings print{smoPrintWrap | smoPrintLineNos, 10, 10};
    const TPrintCounts counts = PrintLines(store, DocumentLines(store), print, tabs, sink);

    std::vector<std::string> texts;
    std::vector<int64_t> numbers;
    std::vector<int> pages;
    for (const auto& row : sink.rows) {
        texts.push_back(row.text);
        numbers.push_back(row.line);
        pages.push_back(row.page);
        EXPECT_EQ(row.textLeft, 100);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"one", "the quick ", "brown fox ", "jumps", "two", "three", "four",
                                               "five"}));
    EXPECT_EQ(numbers, (std::vector<int64_t>{1, 2, 0, 0, 3, 4, 5, 6}));
    EXPECT_EQ(pages, (std::vector<int>{1, 1, 1, 2, 2, 2, 3, 3}));
    EXPECT_EQ(sink.rows[3].y, 0); // a new page starts at the top of its band
    EXPECT_EQ(sink.rows[4].y, 10);
    EXPECT_EQ(counts.Pages, 3);
    EXPECT_EQ(counts.Rows, 8);
    EXPECT_EQ(sink.pagesBegun, (std::vector<int>{1, 2, 3}));
}

TEST(PrintPager, WithoutWrapEachRowPrintsWholeAndScreenWrapRowsKeepOneNumber)
{
    TTextStore store;
    store.InsertText(0, "aaaa bbbb cccc\rdd\r\rlast line here");
    TWrapRule rule;
    rule.WordWrap = true;
    rule.WrapWidth = 5 * 7;
    rule.CharWidth = 7;
    Reflow(store, -1, -1, rule);
    ASSERT_GT(store.RowCount(), 4); // the screen cut the long lines into rows
    TEditorSettings settings;
    const TTabStops tabs(settings);
    RecordingSink sink({0, 0, 100, 1000});
    PrintLines(store, DocumentLines(store), {smoPrintLineNos, 7, 10}, tabs, sink);
    std::string joined;
    std::vector<int64_t> numbered;
    for (const auto& row : sink.rows) {
        joined += row.text + "|";
        if (row.line)
            numbered.push_back(row.line);
    }
    EXPECT_EQ(joined, "aaaa |bbbb |cccc|dd||last |line |here|");
    EXPECT_EQ(numbered, (std::vector<int64_t>{1, 2, 3, 4}));
    EXPECT_EQ(sink.rows.size(), store.RowCount());
}

TEST(PrintPager, SelectionPrintsItsLinesButNotALineItEndsAtTheStartOf)
{
    TTextStore store;
    store.InsertText(0, "l1\rl2\rl3\rl4\r");
    // Offsets: l1 0..2, l2 3..5, l3 6..8, l4 9..11, empty line 12.
    auto lines = [&](int64_t a, int64_t b) {
        const TPrintLines l = SelectionLines(store, a, b);
        return std::pair{l.First, l.Last};
    };
    EXPECT_EQ(lines(4, 7), (std::pair<int64_t, int64_t>{1, 2}));
    EXPECT_EQ(lines(7, 4), (std::pair<int64_t, int64_t>{1, 2}));
    EXPECT_EQ(lines(3, 9), (std::pair<int64_t, int64_t>{1, 2})); // ends at column 1 of l4
    EXPECT_EQ(lines(3, 10), (std::pair<int64_t, int64_t>{1, 3}));
    EXPECT_EQ(lines(4, 4), (std::pair<int64_t, int64_t>{1, 1}));   // an empty selection: its line
    EXPECT_EQ(lines(6, 6), (std::pair<int64_t, int64_t>{2, 2}));
    EXPECT_EQ(lines(-5, 99), (std::pair<int64_t, int64_t>{0, 3})); // clamped; ends at the final empty line's start

    TEditorSettings settings;
    const TTabStops tabs(settings);
    RecordingSink sink({0, 0, 1000, 1000});
    PrintLines(store, SelectionLines(store, 3, 9), {smoPrintLineNos, 7, 10}, tabs, sink);
    ASSERT_EQ(sink.rows.size(), 2u);
    EXPECT_EQ(sink.rows[0].text, "l2");
    EXPECT_EQ(sink.rows[0].line, 2); // numbered as in the document
    EXPECT_EQ(sink.rows[1].text, "l3");
    EXPECT_EQ(sink.rows[1].line, 3);
}

TEST(PrintPager, EmptyDocumentAndTinyBandsStillEnd)
{
    TEditorSettings settings;
    const TTabStops tabs(settings);
    TTextStore empty;
    RecordingSink blank({0, 0, 100, 100});
    const TPrintCounts none = PrintLines(empty, DocumentLines(empty), {smoPrintWrap, 7, 10}, tabs, blank);
    EXPECT_EQ(none.Pages, 1); // the page with the header
    EXPECT_EQ(none.Rows, 0);

    // A band lower than one row and narrower than one character: one character a row, one row
    // a page, and the print still ends.
    TTextStore store;
    store.InsertText(0, "abc\rd");
    RecordingSink tiny({0, 0, 5, 5});
    const TPrintCounts counts = PrintLines(store, DocumentLines(store), {smoPrintWrap, 7, 10}, tabs, tiny);
    EXPECT_EQ(counts.Rows, 4);
    EXPECT_EQ(counts.Pages, 4);
}
