// The highlighting pass over a text store: where it restarts, where it stops, containers, the
// token notifications, and the golden rule that an edit followed by a pass leaves exactly the
// bytes a fresh full pass gives.
#include "TestLanguage.h"

#include "base/Stream.h"
#include "editor/text/TextStore.h"
#include "highlight/runtime/HighlightPass.h"
#include "highlight/languages/Languages.h"
#include "highlight/runtime/StandardRecognizers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <span>
#include <sstream>

using namespace rtlang;

namespace {

// Remembers the first row an edit changed, as the editor control does for its next pass.
class StartRowView : public TStoreView
{
public:
    int64_t TopRow() const override { return 0; }
    void SetTopRow(int64_t) override {}
    int64_t VisibleRows() const override { return 2; }
    void RowsChanged(const TRowChange& change) override
    {
        first = first < 0 ? change.FirstIndex : std::min(first, change.FirstIndex);
    }
    int64_t take()
    {
        const int64_t row = first;
        first = -1;
        return row;
    }
    int64_t first = -1;
};

class Document
{
public:
    explicit Document(TSourceMemoParser& parser, const std::string& text = {}) : pass(store)
    {
        store.InsertText(0, text);
        store.RegisterView(&view);
        pass.setParser(&parser);
    }
    ~Document() { store.UnregisterView(&view); }

    void insert(int64_t position, const std::string& text)
    {
        store.InsertText(position, text);
        last = pass.highlightFrom(view.take());
    }
    void erase(int64_t from, int64_t to)
    {
        store.DeleteRange(from, to);
        last = pass.highlightFrom(view.take());
    }
    TTextRow* row(int64_t index) const { return store.RowByIndex(index).Row; }
    int64_t rowStart(int64_t index) const { return store.RowByIndex(index).Start; }
    void clearFlags()
    {
        for (TTextRow* r = store.FirstRow(); r; r = r->Next)
            r->Flags &= ~(rfRepaint | rfReparse | rfPassStart);
    }

    TTextStore store;
    StartRowView view;
    THighlightPass pass;
    THighlightStats last;
};

// The bytes a tokeniser run over the whole text gives, character by character.
std::vector<uint8_t> expectedBytes(TSourceMemoParser& parser, const std::string& text)
{
    std::vector<uint8_t> bytes;
    for (const Token& token : tokenize(parser, text))
        bytes.insert(bytes.end(), static_cast<size_t>(token.length),
                     static_cast<uint8_t>(token.token));
    return bytes;
}

std::vector<uint8_t> freshPassBytes(TSourceMemoParser& parser, const std::string& text)
{
    Document fresh(parser, text);
    fresh.pass.highlightAll();
    return storeBytes(fresh.store);
}

class BasicPass : public ::testing::Test
{
protected:
    void SetUp() override
    {
        buildBasicLanguage(parser.Tables());
        parser.TablesChanged();
    }
    TSourceMemoParser parser;
};

TEST_F(BasicPass, ADocumentWithoutTokenBytesIsColouredWhole)
{
    const std::string text = basicSample();
    Document doc(parser, text);
    const THighlightStats stats = doc.pass.highlightAll();
    EXPECT_TRUE(stats.ran);
    EXPECT_EQ(stats.rowsTokenised, doc.store.RowCount());
    EXPECT_EQ(storeBytes(doc.store), expectedBytes(parser, doc.store.GetText()));
    for (TTextRow* row = doc.store.FirstRow(); row; row = row->Next) {
        EXPECT_TRUE(row->Flags & rfRepaint);
        EXPECT_FALSE(row->Flags & (rfReparse | rfPassStart));
    }
    EXPECT_EQ(doc.pass.startRow(), THighlightPass::kNoStartRow);
    EXPECT_FALSE(parser.PassActive());
}

TEST_F(BasicPass, ALimitedPassColoursItsRowsAndResumesWhereItStopped)
{
    std::string text;
    for (int copy = 0; copy < 30; ++copy)
        text += basicSample();
    Document doc(parser, text);
    ASSERT_GT(doc.store.RowCount(), 100);
    doc.pass.RowLimit = 10;
    THighlightStats stats = doc.pass.highlightAll();
    EXPECT_EQ(stats.rowsTokenised, 10);
    EXPECT_EQ(doc.pass.startRow(), 10);
    EXPECT_TRUE(doc.row(9)->HasAttrs());
    EXPECT_FALSE(doc.row(10)->HasAttrs());
    EXPECT_TRUE(doc.row(10)->Flags & rfPassStart);
    // Each later pass re-reads the row before its start to find its restart point, so it
    // advances by at least eight new rows.
    int passes = 1;
    while (doc.pass.startRow() != THighlightPass::kNoStartRow && passes < 1000) {
        stats = doc.pass.run();
        EXPECT_LE(stats.rowsTokenised, 10);
        ++passes;
    }
    EXPECT_LE(passes, static_cast<int>(doc.store.RowCount() / 8 + 2));
    EXPECT_EQ(storeBytes(doc.store), freshPassBytes(parser, doc.store.GetText()));
}

TEST_F(BasicPass, FullPassMatchesTheGoldenDump)
{
    Document doc(parser, basicSample());
    doc.pass.highlightAll();
    const std::string dump = dumpStore(doc.store);
    const std::string path =
        std::string(ZBX_SOURCE_DIR) + "/tests/highlight/runtime/data/basic_sample.tokens";
    if (std::getenv("ZBX_REGENERATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << dump;
        GTEST_SKIP() << "golden dump written to " << path;
    }
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << "missing " << path;
    std::stringstream golden;
    golden << file.rdbuf();
    EXPECT_EQ(dump, golden.str());
}

TEST_F(BasicPass, AKeystrokeInsideALongCommentStopsAfterTheRowBelow)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "' comment line " + std::to_string(i) + "\r";
    Document doc(parser, text);
    doc.pass.highlightAll();
    doc.clearFlags();
    doc.insert(doc.rowStart(100) + 5, "x");
    EXPECT_EQ(doc.last.rowsTokenised, 3); // the row above, the edited row, the row below
    EXPECT_EQ(doc.last.rowsChanged, 1);
    for (int64_t i = 0; i < doc.store.RowCount(); ++i) {
        const bool touched = i == 99 || i == 100;
        EXPECT_EQ((doc.row(i)->Flags & rfRepaint) != 0, touched) << "row " << i;
    }
    EXPECT_EQ(storeBytes(doc.store), freshPassBytes(parser, doc.store.GetText()));
}

TEST_F(BasicPass, OpeningAStringAtTheRowEndRecoloursOnlyThatRow)
{
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "x = 1\r";
    Document doc(parser, text);
    doc.pass.highlightAll();
    doc.insert(doc.rowStart(20) + 5, " \"");
    EXPECT_EQ(doc.last.rowsChanged, 1);
    const TTextRow* row = doc.row(20);
    EXPECT_EQ(row->AttrAt(6), tkString);
    EXPECT_EQ(row->AttrAt(7), 0); // the CR
    EXPECT_EQ(doc.row(21)->AttrAt(0), tkIdentifier);
}

TEST_F(BasicPass, RestartsAtTheFirstCharacterOfTheNearestAnchorRun)
{
    Document doc(parser, "PRINT x\ry = 2\r z\r/* one\rtwo\rthree */\rq\r");
    doc.pass.highlightAll();
    std::vector<int64_t> starts;
    doc.pass.OnTokenSeen = [&](int& token, int64_t, int64_t start) {
        if (token >= 0)
            starts.push_back(start);
    };
    // Row 2 begins with a blank (an anchor): the pass restarts at its first character.
    doc.insert(doc.rowStart(3) + doc.row(3)->TextLength(), "a"); // "/* onea"
    ASSERT_FALSE(starts.empty());
    EXPECT_EQ(starts.front(), doc.rowStart(2));
    // Row 1 begins with an identifier: walk back to its CR, the nearest token 0.
    starts.clear();
    doc.insert(doc.rowStart(2) + 1, "b");
    EXPECT_EQ(starts.front(), doc.rowStart(2) - 1);
    // Inside the block comment every row is token 2, CR included: walk back over rows 4 and 3
    // to the CR that ends row 2.
    starts.clear();
    doc.insert(doc.rowStart(5) + 1, "c");
    EXPECT_EQ(starts.front(), doc.rowStart(3) - 1);
    // The first row has no row before it and restarts with token 0 at its start.
    starts.clear();
    doc.insert(1, "d");
    EXPECT_EQ(starts.front(), 0);
    EXPECT_EQ(storeBytes(doc.store), freshPassBytes(parser, doc.store.GetText()));
}

TEST_F(BasicPass, TokenNotificationsFrameThePassAndMayRetypeTokens)
{
    Document doc(parser, "PRINT a\rb\r");
    std::vector<int> seen;
    doc.pass.OnTokenSeen = [&](int& token, int64_t end, int64_t start) {
        seen.push_back(token);
        if (token >= 0)
            EXPECT_GT(end, start);
        else
            EXPECT_EQ(end, token);
        if (token == tkKeyword)
            token = 99;
    };
    doc.pass.highlightAll();
    EXPECT_EQ(seen, (std::vector<int>{-1, tkKeyword, 0, tkIdentifier, 0, tkIdentifier, 0, -2}));
    EXPECT_EQ(doc.row(0)->AttrAt(0), 99);
    EXPECT_EQ(doc.row(0)->AttrAt(4), 99);
}

TEST_F(BasicPass, BoundStatesKeepThePassGoingThroughEqualRows)
{
    std::string text = "x = 1\rASM\r";
    for (int i = 0; i < 20; ++i)
        text += "    nop\r";
    text += "ENDASM\r";
    for (int i = 0; i < 20; ++i)
        text += "y = 2\r";
    Document doc(parser, text);
    doc.pass.highlightAll();
    doc.insert(doc.rowStart(5) + 4, "w"); // "    wnop" is still one mnemonic
    // Inside ASM no character is token 0, so the restart walks back to the CR of row 0; with
    // the block bound, the pass then runs on to the ENDASM row (22): rows 0 to 22.
    EXPECT_EQ(doc.last.rowsTokenised, 23);
    EXPECT_EQ(storeBytes(doc.store), freshPassBytes(parser, doc.store.GetText()));

    parser.Tables().boundStates = {};
    doc.insert(doc.rowStart(5) + 4, "v");
    EXPECT_EQ(doc.last.rowsTokenised, 7); // rows 0 to 4 lead up to the edit, then rows 5 and 6
}

TEST_F(BasicPass, PassesThatCannotOrNeedNotRunDoNothing)
{
    Document doc(parser, "a\rb\r");
    std::vector<int> seen;
    doc.pass.OnTokenSeen = [&](int& token, int64_t, int64_t) { seen.push_back(token); };

    doc.pass.setStartRow(1); // the row carries neither rfReparse nor rfPassStart
    doc.clearFlags();
    EXPECT_FALSE(doc.pass.run().ran);
    EXPECT_EQ(seen, (std::vector<int>{-2}));
    EXPECT_EQ(doc.pass.startRow(), THighlightPass::kNoStartRow);

    doc.pass.Suspended = true;
    EXPECT_FALSE(doc.pass.highlightAll().ran);
    EXPECT_EQ(doc.pass.startRow(), THighlightPass::kNoStartRow);
    EXPECT_FALSE(doc.row(0)->HasAttrs());
    doc.pass.Suspended = false;

    doc.pass.setParser(nullptr);
    seen.clear();
    EXPECT_FALSE(doc.pass.highlightAll().ran);
    EXPECT_EQ(seen, (std::vector<int>{-2}));

    doc.pass.setParser(&parser);
    parser.Tables().customRecognizers = true; // needs an event nobody assigned
    seen.clear();
    EXPECT_FALSE(doc.pass.highlightAll().ran);
    EXPECT_EQ(seen, (std::vector<int>{-1, -2}));
    EXPECT_FALSE(doc.row(0)->HasAttrs());
}

TEST_F(BasicPass, APassStartedFromInsideAnotherOnTheSameParserIsDeferred)
{
    Document outer(parser, "a b c\r");
    Document inner(parser, "d e f\r");
    THighlightStats nested;
    outer.pass.OnTokenSeen = [&](int& token, int64_t, int64_t) {
        if (token == tkIdentifier && !nested.deferred)
            nested = inner.pass.highlightAll();
    };
    outer.pass.highlightAll();
    EXPECT_TRUE(nested.deferred);
    EXPECT_EQ(inner.pass.startRow(), 0); // kept for a later run
    EXPECT_EQ(storeBytes(outer.store), freshPassBytes(parser, outer.store.GetText()));
    EXPECT_TRUE(inner.pass.run().ran);
    EXPECT_EQ(storeBytes(inner.store), freshPassBytes(parser, inner.store.GetText()));
}

// Regression: a row that compares equal while its last token runs on into the next row used
// to stop the pass, leaving the rest of that next row with stale bytes.
TEST_F(BasicPass, ARowEqualInTheMiddleOfATokenDoesNotStopThePass)
{
    parser.Tables().boundStates = {}; // nothing but the token boundary may keep the pass going
    const std::string text = "ASX\r' " + std::string(3000, 'c') + "\ry = \"s\"\r";
    Document doc(parser, text);
    doc.pass.highlightAll();
    ASSERT_TRUE(doc.row(1)->HasAttrs() && !doc.row(1)->EndsLine()); // the comment fills more than a row
    doc.erase(2, 3);
    doc.insert(2, "M"); // ASM: the comment stays a comment, but everything after it changes state
    EXPECT_EQ(storeBytes(doc.store), freshPassBytes(parser, doc.store.GetText()));
    EXPECT_EQ(doc.row(doc.store.RowCount() - 1)->AttrAt(0), tkMnemonic);
}

// Seeded random edits of the sample, each followed by a pass, against a fresh full pass.
TEST_F(BasicPass, RandomEditsKeepTheBytesOfAFreshPass)
{
    const char* const snippets[] = {"x", "'",   "\"",  "/*",     "*/", "\r",   "ASM\r", "ENDASM\r",
                                    " ", "$1F", "%10", "PRINT ", "<",  "12.5", "\r\r",  "REM "};
    uint32_t seed = 20261207;
    auto next = [&seed](uint32_t bound) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<uint32_t>((static_cast<uint64_t>(seed >> 8) * bound) >> 24);
    };
    Document doc(parser, basicSample());
    doc.pass.highlightAll();
    for (int step = 0; step < 600; ++step) {
        const auto length = static_cast<uint32_t>(doc.store.CharCount());
        const int64_t at = next(length + 1);
        if (next(3) == 0 && length > 0) {
            doc.erase(at, at + 1 + next(40));
        } else {
            doc.insert(at, snippets[next(sizeof snippets / sizeof *snippets)]);
        }
        ASSERT_EQ(storeBytes(doc.store), freshPassBytes(parser, doc.store.GetText()))
            << "step " << step;
        ASSERT_EQ(doc.store.check(), "");
        ASSERT_EQ(parser.check(), "");
    }
}

// Containers: "<%" ... "%>" is one token 40 in which 'x' is token 41; the rest shows through.
class ContainerPass : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TParserTables& t = parser.Tables();
        t.keywords.push_back({"<%", group(t, ""), {0}, 40});
        t.handlers[40] = HandlerRule{groupPart(group(t, "", true), true),
                                     sequenceEnd({group(t, "%"), group(t, ">")}, true)};
        t.effects[40] = effect({0}, {3}, {0}, 0, true);
        t.keywords.push_back({"x", group(t, ""), {3}, 41});
        t.effects[41] = effect({3});
        putRule(t.defaultStart, "abcdefghijklmnopqrstuvwyz", singleCharRule(t, 5, {0}));
        parser.TablesChanged();
    }
    TSourceMemoParser parser;
};

TEST_F(ContainerPass, InnerTokensColourOverTheContainerToken)
{
    Document doc(parser, "a <% b x\rc x %> d\rx\r");
    doc.pass.highlightAll();
    const std::vector<uint8_t> expected = {5,  0,  40, 40, 40, 40, 40, 41, 40, // a <% b x CR
                                           40, 40, 41, 40, 40, 40, 0,  5,  0,  // c x %> d CR
                                           0,  0};                             // x CR
    EXPECT_EQ(storeBytes(doc.store), expected);
    EXPECT_FALSE(parser.IsBusy());
    // An edit inside the container gives what a fresh pass gives.
    doc.insert(doc.rowStart(1) + 1, "x");
    EXPECT_EQ(storeBytes(doc.store), freshPassBytes(parser, doc.store.GetText()));
}

// Edits of every kind at every row, each followed by a pass, then undone and passed again:
// the bytes must equal those of a fresh full pass over the same text.
void expectEditsAtEveryRowGiveAFreshPass(TSourceMemoParser& parser, const std::string& text,
                                         const std::vector<std::string>& inserts)
{
    Document doc(parser, text);
    const std::string original = doc.store.GetText(); // line ends as stored
    const std::vector<uint8_t> originalBytes = freshPassBytes(parser, original);
    doc.pass.highlightAll();
    ASSERT_EQ(storeBytes(doc.store), originalBytes);
    const int64_t rows = doc.store.RowCount();
    for (int64_t r = 0; r < rows; ++r) {
        for (const std::string& insert : inserts) {
            const int64_t at = doc.rowStart(r) + doc.row(r)->TextLength() / 2;
            doc.insert(at, insert);
            ASSERT_EQ(storeBytes(doc.store), freshPassBytes(parser, doc.store.GetText()))
                << "insert '" << insert << "' in row " << r;
            doc.erase(at, at + static_cast<int64_t>(insert.size()));
            ASSERT_TRUE(doc.store.GetText() == original);
            ASSERT_EQ(storeBytes(doc.store), originalBytes) << "undo '" << insert << "' in row " << r;
        }
        // Join the row with the next one, then split it again.
        const TTextRow* row = doc.row(r);
        if (row->EndsLine() && r + 1 < rows) {
            const int64_t cr = doc.rowStart(r) + row->Length - 1;
            doc.erase(cr, cr + 1);
            ASSERT_EQ(storeBytes(doc.store), freshPassBytes(parser, doc.store.GetText()))
                << "join at row " << r;
            doc.insert(cr, "\r");
            ASSERT_EQ(storeBytes(doc.store), originalBytes) << "split at row " << r << "\n"
                                                            << dumpStore(doc.store);
        }
        ASSERT_EQ(doc.store.check(), "");
    }
}

TEST_F(BasicPass, EditAtEveryRowThenUndoGivesTheBytesOfAFreshPass)
{
    expectEditsAtEveryRowGiveAFreshPass(parser, basicSample(),
                                        {"x", "'", "\"", "/*", "*/", "\r", "ASM\r", "ENDASM", " ", "$"});
}

std::unique_ptr<TSourceMemoParser> loadLanguage(std::span<const uint8_t> stream)
{
    auto parser = std::make_unique<TSourceMemoParser>();
    TReadOnlyMemoryStream in(stream.data(), static_cast<int64_t>(stream.size()));
    parser->LoadParser(in);
    return parser;
}

std::string readExample(const char* name)
{
    std::ifstream file(std::string(ZBX_SOURCE_DIR) + "/data/examples/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Lines picked by a fixed seed from pieces of either language, some far longer than a row,
// with every line-end style.
std::string generatedText(const std::vector<std::string>& pieces, int lines, uint32_t seed)
{
    const char* const ends[] = {"\r\n", "\n", "\r"};
    std::string text;
    for (int i = 0; i < lines; ++i) {
        seed = seed * 1664525u + 1013904223u;
        std::string line = pieces[(seed >> 8) % pieces.size()];
        if ((seed >> 20) % 17 == 0)
            while (line.size() < 2300)
                line += ' ' + pieces[(line.size() * 7) % pieces.size()];
        text += line + ends[(seed >> 4) % 3];
    }
    return text;
}

// The delivered languages, on the example program and on generated files of each language.
TEST(DeliveredLanguagesPass, EditAtEveryRowThenUndoGivesTheBytesOfAFreshPass)
{
    const auto zenBasic = loadLanguage(zenBasicParserStream());
    const auto assembler = loadLanguage(assemblerParserStream());
    const std::vector<std::string> zenBasicInserts = {"x", "'", "\"", "$", "%", "REM ", "\r", " ", "0x", ";"};
    const std::string thermo = readExample("THERMO.BAS");
    ASSERT_GT(thermo.size(), 1000u);
    expectEditsAtEveryRowGiveAFreshPass(*zenBasic, thermo, zenBasicInserts);
    expectEditsAtEveryRowGiveAFreshPass(
        *zenBasic,
        generatedText({"PRINT AT 1,2,\"Hello World\", Bin8 Var", "VAR1 = %11010010 ' bits",
                       "VAR2 = $1F20 + 0x1f", "REM a remark", "Device = 18F452", "\"open string",
                       "PPRINT_AT 1, 2 ; comment", "label: GOSUB sub_1", "x = 12.5e3 + .5"},
                      160, 11),
        zenBasicInserts);
    expectEditsAtEveryRowGiveAFreshPass(
        *assembler,
        generatedText({"\tmovlw 0x10 ; load", "\tMOV@WF PortB", "label\tbtfsc STATUS, Z",
                       "; a comment line", "\tNUMIN1 sleep", "\tgoto $+2"},
                      160, 12),
        {"x", ";", "\"", "@", "\r", " ", "$"});
}

} // namespace
