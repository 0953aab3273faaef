#include "editor/view/Reflow.h"

#include "editor/edit/TabStops.h"
#include "editor/text/TextStore.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

// A rule of columns wide at 10 pixels a column.
TWrapRule wrapAt(int columns, const TTabStops* tabs = nullptr)
{
    TWrapRule rule;
    rule.WordWrap = true;
    rule.CharWidth = 10;
    rule.WrapWidth = columns * 10;
    rule.Tabs = tabs;
    return rule;
}

std::vector<int> split(const std::string& text, const TWrapRule& rule)
{
    std::vector<int> rows;
    SplitLine(text.data(), static_cast<int>(text.size()), rule, rows);
    return rows;
}

std::vector<std::string> rowTexts(const TTextStore& store)
{
    std::vector<std::string> rows;
    for (const TTextRow* row = store.FirstRow(); row; row = row->Next)
        rows.emplace_back(row->Text(), row->Length);
    return rows;
}

} // namespace

TEST(SplitLine, BlanksEndRowsAndLongWordsBreakWhereTheyFill)
{
    const TWrapRule rule = wrapAt(10);
    // The break falls inside a word: back to just after the blank before it.
    EXPECT_EQ(split("the quickest fox\r", rule), (std::vector<int>{4, 9, 4}));
    // Exactly full rows: the CR takes no room.
    EXPECT_EQ(split("the quick brown fox\r", rule), (std::vector<int>{10, 10}));
    // The break falls on blanks: all of them stay on the row they end.
    EXPECT_EQ(split("abcdefghij    klm", rule), (std::vector<int>{14, 3}));
    // No blank in the row: it breaks where it filled up.
    EXPECT_EQ(split("abcdefghijklmnopqrstuvwxy", rule), (std::vector<int>{10, 10, 5}));
    // The CR never starts a row of its own when it falls at a break.
    EXPECT_EQ(split("abcdefghij\r", rule), (std::vector<int>{11}));
    // A line that fits stands.
    EXPECT_EQ(split("short\r", rule), (std::vector<int>{6}));
}

TEST(SplitLine, FirstFiveCharactersAlwaysFitAndEveryRowTakesOne)
{
    // Narrower than one character: rows still take five characters before the fit test.
    const TWrapRule rule = wrapAt(0);
    EXPECT_EQ(split("abcdefghijkl", rule), (std::vector<int>{5, 5, 2}));
    TWrapRule tiny = rule;
    tiny.WrapWidth = 1;
    EXPECT_EQ(split("ab cdefg", tiny), (std::vector<int>{3, 5}));
}

TEST(SplitLine, TabsAdvanceToTheirStopsFromTheRowStart)
{
    TEditorSettings settings;
    settings.TabDefault = 4;
    const TTabStops tabs(settings);
    // "ab\tcd" takes columns 0-1, TAB to 4, "cd" to 6; "\tef" starts a new row at column 0.
    EXPECT_EQ(split("ab\tcd\t\tef", wrapAt(6, &tabs)), (std::vector<int>{7, 2}));
    // Without tab stops a TAB is one column.
    EXPECT_EQ(split("ab\tcd\t\tef", wrapAt(6)), (std::vector<int>{7, 2}));
    EXPECT_EQ(split("ab\tcd\tx", wrapAt(6, &tabs)), (std::vector<int>{6, 1}));
}

// A proportional face was measured on the grid, so a row of wide glyphs ran past the window.
TEST(SplitLine, RowsOfAProportionalFaceWereMeasuredOnTheGrid)
{
    std::array<double, 256> advances;
    advances.fill(5);
    advances['W'] = 20;
    TWrapRule rule = wrapAt(10); // 100 pixels: twenty narrow glyphs or five wide ones
    rule.Advances = &advances;
    EXPECT_EQ(split("WWWWWWW iiiiiiiiiiiiiiiiiiiiii", rule), (std::vector<int>{5, 3, 20, 2}));
    EXPECT_EQ(split("iiiiiiiiiiiiiiiiiiii", rule), (std::vector<int>{20}));
    // A TAB still runs to its stop's cell edge, or a blank further when the text is past it.
    TEditorSettings settings;
    settings.TabDefault = 4;
    const TTabStops tabs(settings);
    rule.Tabs = &tabs;
    const std::string twelve(12, 'i');
    EXPECT_EQ(split("ii\t" + twelve, rule), (std::vector<int>{15}));            // 40 + 12 x 5
    EXPECT_EQ(split("ii\t" + twelve + "i", rule), (std::vector<int>{3, 13}));
    EXPECT_EQ(split("WWW\t" + twelve.substr(5), rule), (std::vector<int>{11})); // 60 + 5 + 7 x 5
    EXPECT_EQ(split("WWW\t" + twelve.substr(4), rule), (std::vector<int>{4, 8}));
}

TEST(SplitLine, OverrideAndWordWrapOffKeepTheStoreCut)
{
    TWrapRule rule = wrapAt(10);
    rule.UseOverride = true;
    const std::string quoted = ">a quoted line that is long\r";
    EXPECT_EQ(split(quoted, rule), std::vector<int>{static_cast<int>(quoted.size())});
    rule.UseOverride = false;
    EXPECT_GT(split(quoted, rule).size(), 1u);

    TWrapRule off;
    const std::string longLine(5000, 'x');
    EXPECT_EQ(split(longLine, off), (std::vector<int>{2047, 2047, 906}));
    // With word wrap on, a row still never holds more than 2047 bytes.
    const std::string blanks = "abcdef" + std::string(3000, ' ') + "z";
    for (const int row : split(blanks, wrapAt(3)))
        EXPECT_LE(row, kMaxRowLength);
}

TEST(SplitLine, WordBreakProcedureReplacesTheRule)
{
    TWrapRule rule = wrapAt(10);
    std::vector<int> asked;
    rule.WordBreakProc = [&](const char*, int current, int count, int code) {
        asked.push_back(current);
        EXPECT_EQ(code, 0);
        EXPECT_GT(count, current);
        return current - 1; // one before the fill point
    };
    EXPECT_EQ(split("abcdefghijklmnopqrstuvwxyz", rule), (std::vector<int>{9, 9, 8}));
    EXPECT_EQ(asked, (std::vector<int>{10, 10}));
    // An answer outside the row keeps the fill point.
    rule.WordBreakProc = [](const char*, int, int, int) { return 0; };
    EXPECT_EQ(split("abcdefghijklmnopqrstuvwxyz", rule), (std::vector<int>{10, 10, 6}));
}

TEST(WrapWidth, ColumnOrWindowEdge)
{
    EXPECT_EQ(WrapWidthFor(20, 8, 800, 36, 16), 160);
    EXPECT_EQ(WrapWidthFor(0, 8, 800, 36, 16), 800 - 36 - 32);
    EXPECT_EQ(WrapWidthFor(0, 8, 40, 36, 16), 8);
}

TEST(Reflow, WrapsAndUnwrapsKeepingTextTokensBookmarksAndTracks)
{
    TTextStore store;
    store.InsertText(0, "first line\rthe quick brown fox jumps over\rlast");
    // Token bytes that are not all alike, so a wrong share would show.
    for (TTextRow* row = store.FirstRow(); row; row = row->Next) {
        store.SetAttrs(row, reinterpret_cast<const uint8_t*>(row->Text()));
        row->Flags = 0;
    }
    TTextRow* second = store.FirstRow()->Next;
    second->RowBits |= 1u << 3;
    auto* track = new TRowTrack;
    store.SetTrack(second, track);
    const std::string before = store.GetText();

    const TReflowResult wrapped = Reflow(store, -1, -1, wrapAt(10));
    EXPECT_EQ(store.check(), "");
    EXPECT_EQ(store.GetText(), before);
    EXPECT_EQ(rowTexts(store), (std::vector<std::string>{"first line\r", "the quick ", "brown fox ",
                                                         "jumps over\r", "last"}));
    EXPECT_EQ(wrapped.LinesRecut, 1);
    EXPECT_EQ(wrapped.RowsBefore, 3);
    EXPECT_EQ(wrapped.RowsAfter, 5);
    const TTextRow* head = store.FirstRow()->Next;
    EXPECT_FALSE(head->IsContinuation());
    EXPECT_TRUE(head->Next->IsContinuation());
    EXPECT_EQ(head->RowBits & rbBookmarkMask, 1u << 3);
    EXPECT_EQ(store.Track(head), track);
    EXPECT_EQ(track->Row, head);
    for (const TTextRow* row = store.FirstRow(); row; row = row->Next) {
        ASSERT_TRUE(row->HasAttrs());
        for (int i = 0; i < row->Length; ++i)
            EXPECT_EQ(row->AttrAt(i), static_cast<uint8_t>(row->Text()[i]));
    }
    // The first row was not re-made, the re-cut rows are to be repainted but not re-highlighted.
    EXPECT_EQ(store.FirstRow()->Flags & rfRepaint, 0u);
    EXPECT_EQ(head->Next->Flags & (rfRepaint | rfReparse), rfRepaint);

    // Re-flowing again changes nothing.
    EXPECT_EQ(Reflow(store, -1, -1, wrapAt(10)).LinesRecut, 0);

    Reflow(store, -1, -1, TWrapRule{});
    EXPECT_EQ(store.check(), "");
    EXPECT_EQ(rowTexts(store), (std::vector<std::string>{"first line\r", "the quick brown fox jumps over\r", "last"}));
    EXPECT_EQ(store.Track(store.FirstRow()->Next), track);
}

TEST(Reflow, RangeCoversWholeLinesOnly)
{
    TTextStore store;
    store.InsertText(0, "aaaa bbbb cccc\rdddd eeee ffff\rgggg hhhh iiii");
    Reflow(store, -1, -1, wrapAt(5));
    ASSERT_EQ(store.RowCount(), 9);
    // Widen: only the line holding row 4 (the middle of line two) is looked at.
    const TReflowResult result = Reflow(store, 4, 4, wrapAt(40));
    EXPECT_EQ(result.FirstRow, 3);
    EXPECT_EQ(result.RowsBefore, 3);
    EXPECT_EQ(result.RowsAfter, 1);
    EXPECT_EQ(store.check(), "");
    EXPECT_EQ(rowTexts(store), (std::vector<std::string>{"aaaa ", "bbbb ", "cccc\r", "dddd eeee ffff\r", "gggg ",
                                                         "hhhh ", "iiii"}));
}

TEST(Reflow, RandomTextMatchesSplitLineAndKeepsInvariants)
{
    std::mt19937 random(7);
    const std::string alphabet = "abc  \t\xa0xyz";
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += random() % 40 == 0 ? '\r' : alphabet[random() % alphabet.size()];
    text += std::string(4100, 'q'); // a line longer than a row
    TEditorSettings settings;
    const TTabStops tabs(settings);
    TTextStore store;
    store.InsertText(0, text);
    const std::string stored = store.GetText();
    for (const int columns : {7, 30, 3, 200, 1}) {
        const TWrapRule rule = wrapAt(columns, &tabs);
        Reflow(store, -1, -1, rule);
        ASSERT_EQ(store.check(), "") << columns;
        ASSERT_EQ(store.GetText(), stored);
        // Every line's rows are what SplitLine says.
        std::vector<int> expected;
        size_t lineStart = 0;
        while (lineStart < stored.size()) {
            size_t end = stored.find('\r', lineStart);
            end = end == std::string::npos ? stored.size() : end + 1;
            std::vector<int> rows;
            SplitLine(stored.data() + lineStart, static_cast<int>(end - lineStart), rule, rows);
            expected.insert(expected.end(), rows.begin(), rows.end());
            lineStart = end;
        }
        std::vector<int> actual;
        for (const TTextRow* row = store.FirstRow(); row; row = row->Next)
            actual.push_back(row->Length);
        ASSERT_EQ(actual, expected) << columns;
    }
}

TEST(Reflow, NeighbouringLinesCutTogetherEachKeepTheirOwnTrackBookmarkAndExtras)
{
    TTextStore store;
    store.InsertText(0, "one two three four\rfive six seven eight\rnine ten eleven twelve\rend");
    std::vector<TRowTrack*> tracks;
    int number = 0;
    for (TTextRow* row = store.FirstRow(); row; row = row->Next, ++number) {
        auto* track = new TRowTrack;
        store.SetTrack(row, track);
        row->RowBits |= static_cast<uint16_t>(1u << number);
        row->MarkBits = static_cast<uint16_t>(number + 1);
        store.SetExtras(row, number * 10, -1);
        tracks.push_back(track);
    }
    for (const TWrapRule& rule : {wrapAt(8), TWrapRule{}, wrapAt(12)}) {
        const TReflowResult result = Reflow(store, -1, -1, rule);
        ASSERT_EQ(store.check(), "");
        EXPECT_EQ(store.GetText(), "one two three four\rfive six seven eight\rnine ten eleven twelve\rend");
        int line = 0;
        for (const TTextRow* row = store.FirstRow(); row; row = row->Next) {
            if (row->IsContinuation()) {
                EXPECT_EQ(store.Track(row), nullptr);
                EXPECT_EQ(row->RowBits & rbBookmarkMask, 0);
                continue;
            }
            ASSERT_LT(line, 4);
            EXPECT_EQ(store.Track(row), tracks[static_cast<size_t>(line)]);
            EXPECT_EQ(tracks[static_cast<size_t>(line)]->Row, row);
            EXPECT_EQ(row->RowBits & rbBookmarkMask, 1 << line);
            EXPECT_EQ(row->MarkBits, line + 1);
            EXPECT_EQ(store.Extra1(row), line * 10);
            ++line;
        }
        EXPECT_EQ(line, 4);
        EXPECT_LE(result.LinesRecut, 3);
    }
}

TEST(Reflow, ALongRunOfChangingLinesIsCutInBatchesThatJoinUp)
{
    // Over a megabyte of lines that all wrap: several batches, meeting without a seam.
    std::string text;
    while (text.size() < (3u << 19))
        text += "alpha beta gamma delta epsilon zeta eta theta iota\r";
    TTextStore store;
    store.InsertText(0, text);
    const int64_t lines = store.RowCount();
    const TReflowResult wrapped = Reflow(store, -1, -1, wrapAt(20));
    ASSERT_EQ(store.check(), "");
    EXPECT_EQ(wrapped.LinesRecut, lines);
    EXPECT_EQ(store.RowCount(), lines * 3);
    EXPECT_EQ(store.GetText(), text);
    Reflow(store, -1, -1, TWrapRule{});
    ASSERT_EQ(store.check(), "");
    EXPECT_EQ(store.RowCount(), lines);
}
