// The Lines adapter: list operations on rows and on whole lines, the text round trip, update
// nesting, files, and the edits it makes being logged like any other.
#include "MemoFixture.h"

#include "editor/widget/SourceMemoStrings.h"

#include "base/Exception.h"
#include "base/Stream.h"

#include <filesystem>
#include <fstream>
#include <iterator>

class LinesTest : public MemoFixture
{
protected:
    TSourceMemoStrings lines{memo};
    TSourceMemoStrings wholeLines{memo, TLinesMode::WholeLines};
};

TEST_F(LinesTest, EmptyDocumentHasNoItemsButOneRow)
{
    EXPECT_EQ(send(EM_GETLINECOUNT), 1);
    EXPECT_EQ(lines.Count(), 0);
    EXPECT_EQ(lines.Get(0), "");
    lines.Insert(0, "first"); // no empty item before it
    EXPECT_EQ(stored(), "first");
    EXPECT_EQ(lines.Count(), 1);
}

TEST_F(LinesTest, RowItemsGetPutInsertDelete)
{
    load("one\r\ntwo\r\nthree");
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Get(1), "two");
    EXPECT_EQ(lines.Get(3), "");
    lines.Put(1, "TWO");
    EXPECT_EQ(stored(), "one\rTWO\rthree");
    lines.Insert(0, "zero");
    EXPECT_EQ(stored(), "zero\rone\rTWO\rthree");
    lines.Insert(4, "four"); // after the last item
    EXPECT_EQ(stored(), "zero\rone\rTWO\rthree\rfour");
    lines.Insert(-1, "no");
    lines.Insert(9, "no");
    lines.Put(9, "no");
    lines.Delete(9);
    EXPECT_EQ(lines.Count(), 5);
    lines.Delete(4);
    EXPECT_EQ(stored(), "zero\rone\rTWO\rthree\r");
    EXPECT_EQ(lines.Count(), 4);
    lines.Delete(0);
    EXPECT_EQ(stored(), "one\rTWO\rthree\r");
    lines.Add("end"); // the final line break stays at the end
    EXPECT_EQ(stored(), "one\rTWO\rthree\rend\r");
    EXPECT_EQ(lines.Get(3), "end");
    lines.AddStrings({"x", "", "y"});
    EXPECT_EQ(stored(), "one\rTWO\rthree\rend\rx\r\ry\r");
    expectSound();
}

TEST_F(LinesTest, EditsThroughLinesAreUndoable)
{
    load("a\r\nb");
    lines.Put(0, "changed");
    lines.Delete(1);
    EXPECT_EQ(stored(), "changed\r");
    send(EM_UNDO);
    send(EM_UNDO);
    EXPECT_EQ(stored(), "a\rb");
}

// A 5000-character line is stored as three rows; with whole lines and word wrap on, it is one
// item, read up to 4096 characters.
TEST_F(LinesTest, WholeLinesJoinTheRowsOfALine)
{
    const std::string longLine(5000, 'q');
    load(longLine + "\r\nshort\r\ntail");
    ASSERT_EQ(memo.Store().RowCount(), 5);
    EXPECT_EQ(wholeLines.Count(), 5); // word wrap is off: rows
    EXPECT_FALSE(wholeLines.WholeLines());
    memo.SetOptions(memo.Options() | smoWordWrap);
    ASSERT_TRUE(wholeLines.WholeLines());
    // Wrapped at the window's width: many more rows, the same lines.
    EXPECT_GT(memo.Store().RowCount(), 5);
    EXPECT_EQ(lines.Count(), memo.Store().RowCount());
    EXPECT_EQ(wholeLines.Count(), 3);
    select(5003, 5001);
    EXPECT_EQ(wholeLines.Get(0), std::string(4096, 'q'));
    EXPECT_EQ(wholeLines.Get(1), "short");
    EXPECT_EQ(selection(), (TSelectionPair{5003, 5001})); // reading restores the selection
    wholeLines.Put(0, "long no more");
    EXPECT_EQ(stored(), "long no more\rshort\rtail");
    wholeLines.Insert(2, std::string(3000, 'w'));
    EXPECT_EQ(wholeLines.Count(), 4);
    EXPECT_EQ(wholeLines.Get(2), std::string(3000, 'w'));
    wholeLines.Delete(2);
    EXPECT_EQ(stored(), "long no more\rshort\rtail");
    expectSound();
}

TEST_F(LinesTest, SetTextStrReplacesOnlyDifferentText)
{
    load("a\r\nb");
    send(EM_REPLACESEL, 0, ptr("x"));
    int textChanges = 0;
    memo.OnTextChange = [&](TSourceMemo*, int64_t, int64_t) { ++textChanges; };
    lines.SetTextStr("xa\nb"); // equal once line breaks are CR LF
    EXPECT_EQ(textChanges, 0);
    EXPECT_EQ(send(EM_CANUNDO), 1);
    memo.Store().SetLineStyle(lsLF);
    lines.SetTextStr("xa\r\nb");
    EXPECT_EQ(textChanges, 0);
    EXPECT_EQ(lines.GetTextStr(), "xa\rb");
    lines.SetTextStr("xa\rc");
    EXPECT_GT(textChanges, 0);
    EXPECT_EQ(stored(), "xa\rc");
    EXPECT_EQ(send(EM_CANUNDO), 0);
    memo.Store().SetLineStyle(lsCRLF);
    EXPECT_EQ(lines.GetTextStr(), "xa\r\nc");
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0);
}

TEST_F(LinesTest, LineBreaksAdjustToCrLf)
{
    EXPECT_EQ(AdjustLineBreaks("a\rb\nc\r\nd\n\re\r\rf"), "a\r\nb\r\nc\r\nd\r\ne\r\n\r\nf");
}

TEST_F(LinesTest, UpdatesNestAndRepaintAtTheEnd)
{
    lines.BeginUpdate();
    lines.BeginUpdate();
    EXPECT_FALSE(memo.viewport()->updatesEnabled());
    lines.EndUpdate();
    EXPECT_FALSE(memo.viewport()->updatesEnabled());
    lines.EndUpdate();
    EXPECT_TRUE(memo.viewport()->updatesEnabled());
    lines.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(lines.UpdateCount(), 0);
}

TEST_F(LinesTest, FilesAndStreams)
{
    const auto dir = std::filesystem::temp_directory_path() / "zbx_lines_test";
    std::filesystem::create_directories(dir);
    const std::string name = (dir / "lines.bas").string();
    load("10 PRINT\r\n20 END");
    lines.SaveToFile(name);
    std::ifstream file(name, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "10 PRINT\r\n20 END");
    lines.Clear();
    lines.LoadFromFile(name);
    EXPECT_EQ(lines.Get(1), "20 END");
    EXPECT_TRUE(memo.viewport()->updatesEnabled());
    TMemoryStream out;
    lines.SaveToStream(out);
    EXPECT_EQ(out.AsString(), "10 PRINT\r\n20 END");
    const std::string next = "A\nB";
    TReadOnlyMemoryStream in(next.data(), static_cast<int64_t>(next.size()));
    lines.LoadFromStream(in);
    EXPECT_EQ(stored(), "A\rB");
    EXPECT_EQ(send(EM_CANUNDO), 0);
    EXPECT_THROW(lines.LoadFromFile((dir / "missing.bas").string()), EFOpenError);
    std::filesystem::remove_all(dir);
}

// Seeded random list edits against a plain vector of strings; the document must always read
// back as the model's items. Whole-line mode uses items longer than a row.
class LinesRandomTest : public MemoFixture, public ::testing::WithParamInterface<TLinesMode>
{
};

TEST_P(LinesRandomTest, MatchesAVectorOfStrings)
{
    const bool whole = GetParam() == TLinesMode::WholeLines;
    if (whole)
        memo.SetOptions(memo.Options() | smoWordWrap);
    TSourceMemoStrings list(memo, GetParam());
    std::vector<std::string> model;
    uint32_t seed = 20261207;
    const auto next = [&seed](uint32_t bound) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % bound;
    };
    const auto item = [&] {
        const uint32_t length = 1 + (whole && next(4) == 0 ? next(4096) : next(12));
        return std::string(length, static_cast<char>('a' + next(26)));
    };
    const int steps = whole ? 600 : 2000;
    for (int step = 0; step < steps; ++step) {
        const auto count = static_cast<int64_t>(model.size());
        const auto at =
            static_cast<int64_t>(next(static_cast<uint32_t>(count + 2))) - 1; // -1..count
        switch (next(4)) {
        case 0: {
            const std::string s = item();
            list.Insert(at, s);
            if (at >= 0 && at <= count)
                model.insert(model.begin() + at, s);
            break;
        }
        case 1: {
            const std::string s = item();
            list.Put(at, s);
            if (at >= 0 && at < count)
                model[static_cast<size_t>(at)] = s;
            break;
        }
        case 2:
            list.Delete(at);
            if (at >= 0 && at < count)
                model.erase(model.begin() + at);
            break;
        default:
            list.Add(model.emplace_back(item()));
            break;
        }
        ASSERT_EQ(list.Count(), static_cast<int64_t>(model.size())) << "step " << step;
        const auto probe = static_cast<int64_t>(next(static_cast<uint32_t>(model.size() + 1)));
        if (probe < static_cast<int64_t>(model.size())) {
            ASSERT_EQ(list.Get(probe), model[static_cast<size_t>(probe)]) << "step " << step;
        }
        ASSERT_EQ(memo.Store().check(), "") << "step " << step;
    }
    for (size_t i = 0; i < model.size(); ++i)
        EXPECT_EQ(list.Get(static_cast<int64_t>(i)), model[i]);
    expectSound();
}

INSTANTIATE_TEST_SUITE_P(BothModes, LinesRandomTest,
                         ::testing::Values(TLinesMode::Rows, TLinesMode::WholeLines));
