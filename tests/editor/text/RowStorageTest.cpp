// How rows keep what they carry: token runs in every length form, the slab heap's reuse of
// freed blocks, the extras table beside the rows through edits that make, remove and replace
// rows, and the heap bytes a large highlighted document takes per row.
#include "StoreTestSupport.h"

#include "editor/text/SlabHeap.h"
#include "editor/text/TokenRuns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>

namespace {

// Encodes into a buffer of exactly the encoded size (so a memory checker sees any read past
// the runs) and checks every reader against the token bytes.
void expectRoundTrip(const std::vector<uint8_t>& tokens)
{
    SCOPED_TRACE(testing::Message() << "length " << tokens.size());
    std::vector<uint8_t> scratch(tokenruns::MaxEncodedSize(tokens.size()));
    const size_t size = tokenruns::Encode(tokens.data(), tokens.size(), scratch.data());
    ASSERT_LE(size, scratch.size());
    const auto runs = std::make_unique<uint8_t[]>(size);
    std::memcpy(runs.get(), scratch.data(), size);

    EXPECT_EQ(tokenruns::EncodedSize(runs.get(), tokens.size()), size);
    std::vector<uint8_t> decoded(tokens.size(), 0xAA);
    tokenruns::Decode(runs.get(), tokens.size(), decoded.data());
    EXPECT_EQ(decoded, tokens);
    for (size_t i = 0; i < tokens.size(); ++i)
        ASSERT_EQ(tokenruns::TokenAt(runs.get(), i), tokens[i]) << "index " << i;
    EXPECT_TRUE(tokenruns::Matches(runs.get(), tokens.data(), tokens.size()));
    // Any one changed byte is told apart, wherever it is in a run.
    std::vector<uint8_t> changed = tokens;
    for (const size_t at : {size_t(0), tokens.size() / 2, tokens.size() - 1}) {
        changed[at] = static_cast<uint8_t>(tokens[at] + 1);
        EXPECT_FALSE(tokenruns::Matches(runs.get(), changed.data(), changed.size())) << "changed at " << at;
        changed[at] = tokens[at];
    }
}

std::vector<uint8_t> runsOf(const std::vector<std::pair<uint8_t, size_t>>& runs)
{
    std::vector<uint8_t> tokens;
    for (const auto& [token, length] : runs)
        tokens.insert(tokens.end(), length, token);
    return tokens;
}

size_t encodedSize(const std::vector<uint8_t>& tokens)
{
    std::vector<uint8_t> out(tokenruns::MaxEncodedSize(tokens.size()));
    return tokenruns::Encode(tokens.data(), tokens.size(), out.data());
}

class CountedTrack : public TRowTrack
{
public:
    CountedTrack(int& freed, int id) : Id(id), m_freed(freed) {}
    ~CountedTrack() override { ++m_freed; }
    int Id;

private:
    int& m_freed;
};

std::vector<TTextRow*> rowsOf(const TTextStore& store)
{
    std::vector<TTextRow*> rows;
    for (TTextRow* row = store.FirstRow(); row; row = row->Next)
        rows.push_back(row);
    return rows;
}

} // namespace

TEST(TokenRuns, EveryLengthFormAndEscapedTokenRoundTrips)
{
    // Run lengths at each edge of the one-nibble, one-byte and two-byte forms.
    for (const size_t length : {1, 2, 14, 15, 16, 17, 269, 270, 271, 272, 511, 2047, 65535})
        for (const uint8_t token : {0, 1, 14, 15, 16, 200, 255})
            expectRoundTrip(std::vector<uint8_t>(length, token));
    // Lengths of each form side by side, tokens below and above the nibble's reach.
    expectRoundTrip(runsOf({{3, 15}, {15, 16}, {14, 270}, {255, 271}, {0, 1}, {9, 2047}}));
    // The shortest form is chosen: one byte, two, and four for the longest runs.
    EXPECT_EQ(encodedSize(std::vector<uint8_t>(15, 2)), 1u);
    EXPECT_EQ(encodedSize(std::vector<uint8_t>(16, 2)), 2u);
    EXPECT_EQ(encodedSize(std::vector<uint8_t>(270, 2)), 2u);
    EXPECT_EQ(encodedSize(std::vector<uint8_t>(271, 2)), 4u);
    EXPECT_EQ(encodedSize(std::vector<uint8_t>(15, 15)), 2u);
    EXPECT_EQ(encodedSize(std::vector<uint8_t>(271, 15)), 5u);
}

TEST(TokenRuns, ManyRunsOfRandomTokensAndLengthsRoundTripAndCompareByEncoding)
{
    std::mt19937 rng(2117);
    std::uniform_int_distribution<int> runCount(15, 60);
    std::uniform_int_distribution<int> form(0, 3);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<uint8_t> tokens;
        const int runs = runCount(rng);
        for (int r = 0; r < runs; ++r) {
            // Neighbouring runs of one token merge into one longer run, which must still read back.
            const auto token = static_cast<uint8_t>(form(rng) == 0 ? 15 + rng() % 241 : rng() % 15);
            const size_t length = form(rng) == 0 ? 16 + rng() % 400 : 1 + rng() % 15;
            tokens.insert(tokens.end(), length, token);
        }
        expectRoundTrip(tokens);
        // Equal token bytes give equal runs, so comparing encodings compares the tokens.
        std::vector<uint8_t> a(tokenruns::MaxEncodedSize(tokens.size()));
        std::vector<uint8_t> b(a.size());
        const size_t sizeA = tokenruns::Encode(tokens.data(), tokens.size(), a.data());
        const std::vector<uint8_t> copy = tokens;
        const size_t sizeB = tokenruns::Encode(copy.data(), copy.size(), b.data());
        ASSERT_EQ(sizeA, sizeB);
        EXPECT_EQ(std::memcmp(a.data(), b.data(), sizeA), 0);
    }
}

TEST(TokenRuns, RowsKeepTokenBytesInEveryFormAndEditsDropThem)
{
    TTextStore store;
    // Rows of each length class: tiny (inline), long with few runs (runs in a block), long
    // with a token per byte (the bytes themselves), and a full 2047-byte row of one token.
    const std::vector<int> lengths = {1, 5, 8, 9, 40, 300, 2047};
    std::string text;
    for (const int length : lengths)
        text += std::string(static_cast<size_t>(length - 1), 'x') + "\r";
    store.InsertText(0, text);
    ASSERT_EQ(static_cast<size_t>(store.RowCount()), lengths.size());
    std::mt19937 rng(7);
    std::vector<std::vector<uint8_t>> given;
    for (int pattern = 0; pattern < 4; ++pattern) {
        given.clear();
        for (TTextRow* row : rowsOf(store)) {
            std::vector<uint8_t> tokens(row->Length);
            for (size_t i = 0; i < tokens.size(); ++i) {
                switch (pattern) {
                case 0: tokens[i] = 3; break;
                case 1: tokens[i] = static_cast<uint8_t>(i * 7 / std::max<size_t>(tokens.size(), 1)); break;
                case 2: tokens[i] = static_cast<uint8_t>(rng() % 40); break;
                default: tokens[i] = static_cast<uint8_t>(200 + (i / 20) % 3); break;
                }
            }
            store.SetAttrs(row, tokens.data());
            given.push_back(tokens);
        }
        size_t r = 0;
        for (const TTextRow* row : rowsOf(store)) {
            const std::vector<uint8_t>& tokens = given[r++];
            SCOPED_TRACE(testing::Message() << "pattern " << pattern << " row length " << row->Length);
            ASSERT_TRUE(row->HasAttrs());
            std::vector<uint8_t> copied(row->Length);
            row->CopyAttrs(copied.data());
            EXPECT_EQ(copied, tokens);
            for (int i = 0; i < row->Length; ++i)
                ASSERT_EQ(row->AttrAt(i), tokens[static_cast<size_t>(i)]);
            EXPECT_EQ(row->AttrAt(row->Length), 0);
            EXPECT_TRUE(row->AttrsEqual(tokens.data()));
            std::vector<uint8_t> other = tokens;
            other.back() ^= 1;
            EXPECT_FALSE(row->AttrsEqual(other.data()));
        }
    }
    // Text edits leave no stale token bytes behind, in place or in a moved row; rows they
    // did not touch keep theirs.
    store.InsertText(3, "y");                     // the 5-byte row, in place
    store.InsertText(50, std::string(30, 'z'));  // the 40-byte row, into a bigger block
    const std::vector<TTextRow*> rows = rowsOf(store);
    ASSERT_EQ(rows.size(), lengths.size());
    EXPECT_FALSE(rows[1]->HasAttrs());
    EXPECT_EQ(rows[1]->AttrAt(0), 0);
    EXPECT_FALSE(rows[4]->HasAttrs());
    for (const size_t r : {size_t(0), size_t(2), size_t(3), size_t(5), size_t(6)})
        EXPECT_TRUE(rows[r]->AttrsEqual(given[r].data())) << "row " << r;
    store.DropAttrs(store.LastRow());
    EXPECT_FALSE(store.LastRow()->HasAttrs());
    EXPECT_EQ(store.check(), "");
}

TEST(SlabHeap, FreedBlocksAreReusedByTheirClassAndLiveBlocksNeverOverlap)
{
    TSlabHeap heap(8);
    std::mt19937 rng(99);
    struct Block
    {
        uint8_t* At;
        size_t Bytes;
        uint8_t Fill;
    };
    std::vector<Block> live;
    auto allocate = [&](size_t bytes) {
        auto* at = static_cast<uint8_t*>(heap.Allocate(bytes));
        ZBX_UNPOISON(at, bytes);
        const auto fill = static_cast<uint8_t>(rng());
        std::memset(at, fill, bytes);
        live.push_back({at, bytes, fill});
    };
    auto expectIntact = [&] {
        std::map<uint8_t*, size_t> spans;
        for (const Block& b : live) {
            for (size_t i = 0; i < b.Bytes; ++i)
                ASSERT_EQ(b.At[i], b.Fill) << "a block was overwritten";
            ASSERT_EQ(reinterpret_cast<uintptr_t>(b.At) % 8, 0u);
            spans[b.At] = heap.Rounded(std::max<size_t>(b.Bytes, 8));
        }
        uint8_t* end = nullptr;
        for (const auto& [at, bytes] : spans) {
            ASSERT_TRUE(!end || at >= end) << "two live blocks overlap";
            end = at + bytes;
        }
    };
    for (int i = 0; i < 3000; ++i)
        allocate(8 + rng() % 300);
    allocate(3u << 20); // larger than any slab
    expectIntact();

    // Free every other block; blocks of the same sizes come back from the free lists, so the
    // slabs do not grow and the same addresses serve again.
    const size_t slabs = heap.SlabBytes();
    std::vector<Block> freed;
    std::vector<Block> kept;
    for (size_t i = 0; i < live.size(); ++i)
        (i % 2 ? freed : kept).push_back(live[i]);
    std::set<uint8_t*> freedAt;
    for (const Block& b : freed) {
        heap.Free(b.At, b.Bytes);
        freedAt.insert(b.At);
    }
    live = kept;
    expectIntact();
    for (auto it = freed.rbegin(); it != freed.rend(); ++it) {
        allocate(it->Bytes);
        EXPECT_TRUE(freedAt.count(live.back().At)) << "a freed block was not reused";
    }
    EXPECT_EQ(heap.SlabBytes(), slabs);
    expectIntact();

    // A class with nothing freed takes fresh memory rather than a smaller freed block.
    heap.Free(live.front().At, live.front().Bytes);
    live.erase(live.begin());
    allocate(4096);
    expectIntact();

    heap.Reset();
    EXPECT_EQ(heap.SlabBytes(), 0u);
    live.clear();
    allocate(24);
    expectIntact();
}

TEST(RowExtras, ExtrasAndTracksFollowTheirLinesThroughInsertsDeletesAndReplacedRows)
{
    int freed = 0;
    TTextStore store;
    std::string text;
    for (int line = 0; line < 200; ++line)
        text += "line " + std::to_string(line) + "\r";
    store.InsertText(0, text);
    // Every third line has extras, every fifth a track object.
    int tracks = 0;
    for (int line = 0; line < 200; ++line) {
        TTextRow* row = store.LineStart(line).Row;
        if (line % 3 == 0)
            store.SetExtras(row, line, -line - 2);
        if (line % 5 == 0) {
            store.SetTrack(row, new CountedTrack(freed, line));
            ++tracks;
        }
    }
    // Which original line a line's first row holds, by the line's text; -1 for a row that
    // continues a line and for lines made later.
    auto lineOf = [](const TTextRow* row) {
        if (row->IsContinuation())
            return -1;
        std::string t;
        for (const TTextRow* r = row; r; r = r->Next) {
            t.append(r->Text(), static_cast<size_t>(r->TextLength()));
            if (r->EndsLine())
                break;
        }
        return t.rfind("line ", 0) == 0 ? std::stoi(t.substr(5)) : -1;
    };
    auto findLine = [&](int line) {
        for (TTextRow* row = store.FirstRow(); row; row = row->Next)
            if (lineOf(row) == line)
                return store.RowByIndex(store.IndexOfRow(row));
        return TRowSpot{};
    };
    auto expectBelongings = [&](const char* stage) {
        SCOPED_TRACE(stage);
        size_t withExtras = 0;
        for (const TTextRow* row = store.FirstRow(); row; row = row->Next) {
            const int line = lineOf(row);
            const bool hasExtras = line >= 0 && line % 3 == 0;
            EXPECT_EQ(store.Extra1(row), hasExtras ? line : -1) << "row " << row->Text();
            EXPECT_EQ(store.Extra2(row), hasExtras ? -line - 2 : -1) << "row " << row->Text();
            const auto* track = static_cast<const CountedTrack*>(store.Track(row));
            if (line >= 0 && line % 5 == 0) {
                EXPECT_NE(track, nullptr) << "row " << row->Text();
                if (!track)
                    continue;
                EXPECT_EQ(track->Id, line);
                EXPECT_EQ(track->Row, row);
            } else {
                EXPECT_EQ(track, nullptr) << "row " << row->Text();
            }
            withExtras += (hasExtras || (line >= 0 && line % 5 == 0)) ? 1 : 0;
        }
        EXPECT_EQ(store.check(), "");
        return withExtras;
    };
    expectBelongings("set");

    // Whole new lines between others (cutting rows that carry nothing): fresh rows carry
    // nothing, and the table keeps its entries for the rows around them.
    store.InsertText(store.LineStart(11).Start, "new a\rnew b\r");
    store.InsertText(store.LineStart(1).Start, "first\r");
    expectBelongings("inserted lines");

    // Whole lines deleted: their tracks are freed, nothing of theirs remains in the table,
    // and the rows made later in their memory start clean.
    const int64_t from = findLine(18).Start; // lines 18..37 of the original
    const int64_t to = findLine(38).Start;
    int deletedTracks = 0;
    for (int line = 18; line < 38; ++line)
        deletedTracks += line % 5 == 0 ? 1 : 0;
    store.DeleteRange(from, to);
    EXPECT_EQ(freed, deletedTracks);
    std::string fresh;
    for (int i = 0; i < 40; ++i)
        fresh += "made " + std::to_string(i) + "\r";
    store.InsertText(findLine(47).Start, fresh);
    expectBelongings("deleted and refilled");

    // Rows replaced by bigger blocks, and rows changed in place, keep their line's belongings.
    for (const int line : {0, 3, 5, 15, 45, 60, 99}) {
        const TRowSpot spot = findLine(line);
        ASSERT_NE(spot.Row, nullptr);
        const bool moves = line % 2 != 0;
        store.InsertText(spot.Start + spot.Row->TextLength(), moves ? std::string(100, '#') : std::string("#"));
        EXPECT_EQ(store.RowByIndex(spot.Index).Row == spot.Row, !moves) << "line " << line;
    }
    expectBelongings("grown rows");

    // Word wrap cuts a line into rows and back: the first row of each line keeps them.
    const TRowSpot wrapped = findLine(15);
    const int length = wrapped.Row->Length;
    ASSERT_GT(length, 3);
    store.RecutRows(wrapped, 1, {2, length - 2});
    EXPECT_TRUE(wrapped.Row != store.RowByIndex(wrapped.Index).Row);
    expectBelongings("recut into rows");
    store.RecutRows(store.RowByIndex(wrapped.Index), 2, {length});
    expectBelongings("recut back");

    const size_t withExtras = expectBelongings("final");
    EXPECT_EQ(freed, deletedTracks);
    store.DeleteRange(0, store.CharCount());
    EXPECT_EQ(freed, tracks);
    EXPECT_GT(withExtras, 0u);
}

TEST(RowExtras, RowsMadeWhereDeletedRowsWereCarryNoStaleExtras)
{
    int freed = 0;
    TTextStore store;
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += "same length row\r";
    store.InsertText(0, text);
    std::set<const TTextRow*> old;
    for (TTextRow* row : rowsOf(store)) {
        old.insert(row);
        store.SetExtras(row, 1, 2);
        store.SetTrack(row, new CountedTrack(freed, 0));
    }
    store.DeleteRange(0, store.LineStart(400).Start);
    EXPECT_EQ(freed, 400);
    // New lines after the last one, so that no row is cut and none inherits anything.
    store.InsertText(store.CharCount(), text.substr(0, 16 * 400));
    int reused = 0;
    for (const TTextRow* row : rowsOf(store)) {
        if (store.IndexOfRow(row) < 100)
            continue;
        reused += old.count(row) ? 1 : 0;
        EXPECT_EQ(store.Extra1(row), -1);
        EXPECT_EQ(store.Extra2(row), -1);
        EXPECT_EQ(store.Track(row), nullptr);
    }
    EXPECT_GT(reused, 0) << "the deleted rows' memory was not reused";
    EXPECT_EQ(store.check(), "");
}

TEST(RowStorage, AHighlightedDocumentTakesBoundedHeapBytesPerRowAndReusesFreedRows)
{
    // 100,000 lines of 40 characters, each highlighted as source text is: an indent, a
    // keyword, a name, an operator, a number and a comment.
    const std::string line = "    DIM counter AS BYTE = 12 ' the count\r";
    ASSERT_EQ(line.size(), 41u);
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += line;
    std::vector<uint8_t> tokens(line.size());
    const int spans[][3] = {{0, 4, 0}, {4, 7, 1}, {7, 8, 0}, {8, 15, 2}, {15, 16, 0}, {16, 18, 1},
                            {18, 19, 0}, {19, 23, 1}, {23, 26, 3}, {26, 28, 4}, {28, 41, 5}};
    for (const auto& span : spans)
        std::fill(tokens.begin() + span[0], tokens.begin() + span[1], static_cast<uint8_t>(span[2]));

    TTextStore store;
    store.InsertText(0, text);
    const auto rows = static_cast<size_t>(store.RowCount());
    ASSERT_EQ(rows, 100000u);
    const size_t plain = store.HeapBytes();
    for (TTextRow* row = store.FirstRow(); row; row = row->Next)
        if (row->Length == 41)
            store.SetAttrs(row, tokens.data());
    const size_t highlighted = store.HeapBytes();
    // The 35-byte row header, the 41 bytes and a NUL in 8-byte classes make 80 bytes; the
    // index and the unused tail of the last slab add the rest. Eleven runs take 11 bytes of
    // the token heap, whose slabs may stand half empty at the end.
    // Under AddressSanitizer every block has a red zone after it.
    EXPECT_LE(plain / rows, 100u + 2 * kSlabRedZone);
    EXPECT_LE(highlighted / rows, 125u + 3 * kSlabRedZone);
    EXPECT_LE(highlighted - plain, rows * (24 + kSlabRedZone)) << "token bytes take more than their runs";

    // Edits that free and make rows reuse the freed memory instead of growing the heap.
    for (int round = 0; round < 5; ++round) {
        const int64_t start = store.LineStart(1000 + round * 7000).Start;
        store.DeleteRange(start, start + 41 * 5000);
        store.InsertText(start, text.substr(0, 41 * 5000));
        for (TRowSpot spot = store.RowAt(start); spot.Row && spot.Index < store.LineStart(6000 + round * 7000).Index;
             spot = store.RowByIndex(spot.Index + 1))
            store.SetAttrs(spot.Row, tokens.data());
    }
    EXPECT_EQ(static_cast<size_t>(store.RowCount()), rows);
    EXPECT_LE(store.HeapBytes(), highlighted + highlighted / 20);
    EXPECT_EQ(store.check(), "");
}
