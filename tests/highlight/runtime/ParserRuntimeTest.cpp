// NextToken and the parser component on languages built in code.
#include "TestLanguage.h"

#include "base/Stream.h"
#include "highlight/ParserErrors.h"
#include "highlight/ParserFormat.h"
#include "highlight/ParserStream.h"
#include "highlight/runtime/SourceMemoParser.h"
#include "highlight/runtime/StandardRecognizers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace rtlang;

namespace {

using Tokens = std::vector<Token>;

class BasicParser : public ::testing::Test
{
protected:
    void SetUp() override
    {
        buildBasicLanguage(parser.Tables());
        parser.TablesChanged();
        ASSERT_EQ(parser.check(), "");
    }
    Tokens scan(std::string_view text, int resetToken = 0)
    {
        Tokens tokens = tokenize(parser, text, resetToken);
        EXPECT_EQ(parser.check(), "");
        return tokens;
    }

    TSourceMemoParser parser;
};

TEST_F(BasicParser, KeywordsNeedTheirTerminatorAndTakeTheLongestWord)
{
    EXPECT_EQ(scan("PRINT x"), (Tokens{{tkKeyword, 5}, {0, 1}, {tkIdentifier, 1}}));
    EXPECT_EQ(scan("PRINTER"), (Tokens{{tkIdentifier, 7}}));
    EXPECT_EQ(scan("PPRINT_AT 1"), (Tokens{{tkKeyword, 9}, {0, 1}, {tkNumber, 1}}));
    EXPECT_EQ(scan("PPRINT_A"), (Tokens{{tkIdentifier, 8}}));
    EXPECT_EQ(scan("print Print"), (Tokens{{tkKeyword, 5}, {0, 1}, {tkKeyword, 5}}));
}

TEST_F(BasicParser, UnknownCharactersAreOneCharacterOfTokenZero)
{
    EXPECT_EQ(scan("#."), (Tokens{{0, 1}, {0, 1}}));
    EXPECT_EQ(scan("1."), (Tokens{{tkNumber, 1}, {0, 1}}));
}

TEST_F(BasicParser, CommentHandlerRunsToTheLineEnd)
{
    EXPECT_EQ(scan("' hi\rX"), (Tokens{{tkComment, 4}, {0, 1}, {tkIdentifier, 1}}));
    EXPECT_EQ(scan("'\r"), (Tokens{{tkComment, 1}, {0, 1}}));
    EXPECT_EQ(scan("REM this\r"), (Tokens{{tkComment, 8}, {0, 1}}));
    EXPECT_EQ(scan("REMARK"), (Tokens{{tkIdentifier, 6}}));
    EXPECT_EQ(scan("'"), (Tokens{{tkComment, 1}}));
    EXPECT_EQ(scan("/* a\rb */x"), (Tokens{{tkBlockComment, 9}, {tkIdentifier, 1}}));
}

TEST_F(BasicParser, HandlersThatFindNoBodyCharacterReject)
{
    EXPECT_EQ(scan("$1F,"), (Tokens{{tkHex, 3}, {tkOperator, 1}}));
    EXPECT_EQ(scan("$,"), (Tokens{{0, 1}, {tkOperator, 1}}));
    EXPECT_EQ(scan("$ "), (Tokens{{0, 1}, {0, 1}}));
    EXPECT_EQ(scan("%1012"), (Tokens{{tkBinary, 4}, {tkNumber, 1}}));
}

TEST_F(BasicParser, StringsStopAtTheLineEnd)
{
    EXPECT_EQ(scan("\"Hello\rX"), (Tokens{{tkString, 6}, {0, 1}, {tkIdentifier, 1}}));
    EXPECT_EQ(scan("\"a\\\"b\" c"), (Tokens{{tkString, 6}, {0, 1}, {tkIdentifier, 1}}));
}

TEST_F(BasicParser, EndOfTextGivesTokenZeroWithoutMoving)
{
    TStringCharSource source("x");
    TParseCursor in(source);
    parser.ResetState(0);
    int64_t length = 0;
    EXPECT_EQ(parser.NextToken(nullptr, in, length), tkIdentifier);
    ASSERT_TRUE(in.atEnd());
    EXPECT_EQ(parser.NextToken(nullptr, in, length), 0);
    EXPECT_EQ(length, 1);
    EXPECT_EQ(in.position(), 1);
}

TEST_F(BasicParser, StatesSelectKeywordsAndStartTables)
{
    // ENDASM is a keyword only inside an ASM block; there letters are mnemonics.
    EXPECT_EQ(scan("ENDASM"), (Tokens{{tkIdentifier, 6}}));
    EXPECT_EQ(scan("movlw 1\rENDASM x", tkAsm), (Tokens{{tkMnemonic, 5},
                                                        {tkAsmOther, 1},
                                                        {tkNumber, 1},
                                                        {tkAsmOther, 1},
                                                        {tkEndAsm, 6},
                                                        {0, 1},
                                                        {tkIdentifier, 1}}));
    EXPECT_EQ(parser.CurrentStates(), (ParserStateSet{0}));
    scan("ASM\rmovlw");
    EXPECT_EQ(parser.CurrentStates(), (ParserStateSet{kAsmState}));
    EXPECT_TRUE(parser.InBoundState());
}

TEST_F(BasicParser, ResetStateUsesTheContextEntryOrTheStartState)
{
    parser.Tables().startState = {4};
    parser.ResetState(tkKeyword);
    EXPECT_EQ(parser.CurrentStates(), (ParserStateSet{4}));
    parser.ResetState(tkMnemonic);
    EXPECT_EQ(parser.CurrentStates(), (ParserStateSet{kAsmState}));
    EXPECT_FALSE(parser.IsBusy());
    EXPECT_EQ(parser.StackDepth(), 0u);
    EXPECT_EQ(parser.check(), "");
}

TEST_F(BasicParser, KeywordTablesOfTheSettingsAreMatchedAfterTheKeywordList)
{
    parser.Settings().keywordTables.push_back({{0}, " ", 0, {{"Foo", 40}, {"PRINT", 41}}});
    parser.Tables().effects[40] = effect({9}); // would forbid the token, but table hits are exempt
    parser.TablesChanged();
    EXPECT_EQ(scan("foo x"), (Tokens{{40, 3}, {0, 1}, {tkIdentifier, 1}}));
    EXPECT_EQ(scan("foox"), (Tokens{{tkIdentifier, 4}}));        // the terminator is a space
    EXPECT_EQ(scan("PRINT "), (Tokens{{tkKeyword, 5}, {0, 1}})); // the keyword list comes first
}

TEST_F(BasicParser, CaseSensitiveLanguagesMatchExactly)
{
    parser.Tables().caseSensitive = true;
    parser.TablesChanged();
    EXPECT_EQ(scan("PRINT print"), (Tokens{{tkKeyword, 5}, {0, 1}, {tkIdentifier, 5}}));
}

TEST_F(BasicParser, DuplicateKeywordsAndBadGroupsFail)
{
    parser.Tables().keywords.push_back(
        {"print", parser.Tables().keywords[0].terminator, {0, 2}, 30});
    try {
        parser.TablesChanged();
        FAIL() << "duplicate accepted";
    } catch (const EKeywords& e) {
        EXPECT_STREQ(e.what(), "Duplicate keyword - 'print'");
    }
    EXPECT_EQ(tokenize(parser, "PRINT"), (Tokens{{tkIdentifier, 5}})); // no half-built trie is left
    EXPECT_EQ(parser.check(), "keyword trie out of date");

    buildBasicLanguage(parser.Tables());
    parser.TablesChanged();
    parser.Tables().defaultStart['#'] = singleCharRule(parser.Tables(), 9, {0});
    parser.Tables().defaultStart['#']->body.group = 999;
    parser.Tables().defaultStart['#']->body.repeat = 0; // the body group is tested first
    try {
        scan("#");
        FAIL() << "bad group accepted";
    } catch (const ESourceMemo& e) {
        EXPECT_STREQ(e.what(), "Invalid Set ID (999)");
    }
}

// A small language for effects: '@' is forbidden outside state 5, '[' pushes and enters
// state 2, ']' pops after changing, and "<%" ... "%>" is a container in which 'x' is a token.
class EffectParser : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TParserTables& t = parser.Tables();
        putRule(t.defaultStart, "@", singleCharRule(t, 30, {0, 5}));
        t.effects[30] = effect({5});
        putRule(t.defaultStart, "[", singleCharRule(t, 31, {0, 2}));
        t.effects[31] = effect({0, 2}, {2}, {0}, soPushBefore);
        putRule(t.defaultStart, "]", singleCharRule(t, 32, {0, 2}));
        t.effects[32] = effect({0, 2}, {7}, {}, soPopAfter);
        t.keywords.push_back({"<%", group(t, ""), {0}, 40});
        t.handlers[40] = HandlerRule{groupPart(group(t, "", true), true),
                                     sequenceEnd({group(t, "%"), group(t, ">")}, true)};
        t.effects[40] = effect({0}, {3}, {0}, 0, true);
        t.keywords.push_back({"x", group(t, ""), {3}, 41});
        t.effects[41] = effect({3});
        parser.TablesChanged();
    }

    TSourceMemoParser parser;
};

TEST_F(EffectParser, ForbiddenTokensComeBackAsOneCharacterOfTokenZero)
{
    EXPECT_EQ(tokenize(parser, "@@"), (Tokens{{0, 1}, {0, 1}}));
    parser.Tables().startState = {5};
    EXPECT_EQ(tokenize(parser, "@@"), (Tokens{{30, 1}, {30, 1}}));
}

TEST_F(EffectParser, PushBeforeAndPopAfterRestoreTheExactSet)
{
    parser.ResetState(0);
    TStringCharSource source("[[]]");
    TParseCursor in(source);
    int64_t length = 0;
    parser.NextToken(nullptr, in, length);
    EXPECT_EQ(parser.CurrentStates(), (ParserStateSet{2}));
    parser.NextToken(nullptr, in, length);
    EXPECT_EQ(parser.StackDepth(), 2u);
    parser.NextToken(nullptr, in, length);
    EXPECT_EQ(parser.CurrentStates(), (ParserStateSet{2}));
    parser.NextToken(nullptr, in, length);
    EXPECT_EQ(parser.CurrentStates(), (ParserStateSet{0}));
    EXPECT_EQ(parser.StackDepth(), 0u);
    EXPECT_EQ(parser.check(), "");
}

TEST_F(EffectParser, PoppingAnEmptyStackKeepsTheSetAndPushingIsBounded)
{
    tokenize(parser, "]");
    EXPECT_EQ(parser.CurrentStates(), (ParserStateSet{0, 7}));
    tokenize(parser, std::string(TRTStack::kMaxDepth + 100, '['));
    EXPECT_EQ(parser.StackDepth(), TRTStack::kMaxDepth);
    EXPECT_EQ(parser.check(), "");
}

TEST_F(EffectParser, ContainerModeLastsToTheEndOfTheContainerToken)
{
    const std::string text = "a<%x%>x";
    TStringCharSource source(text);
    TParseCursor in(source);
    parser.ResetState(0);
    int64_t length = 0;
    EXPECT_EQ(parser.NextToken(nullptr, in, length), 0);
    EXPECT_FALSE(parser.InContainer());
    EXPECT_EQ(parser.NextToken(nullptr, in, length), 40);
    EXPECT_EQ(length, 5);
    EXPECT_TRUE(parser.InContainer());
    EXPECT_TRUE(parser.IsBusy());
    EXPECT_EQ(parser.CurrentStates(), (ParserStateSet{3}));
    // The editor reads the container again from its start, in container mode.
    in.setPosition(1);
    std::vector<int> inner;
    while (parser.InContainer()) {
        inner.push_back(parser.NextToken(nullptr, in, length));
        ASSERT_EQ(parser.IsBusy(), parser.InContainer());
    }
    EXPECT_EQ(inner, (std::vector<int>{0, 0, 41, 0, 0}));
    EXPECT_EQ(parser.CurrentStates(), (ParserStateSet{0})); // the set before the container
    EXPECT_EQ(parser.NextToken(nullptr, in, length), 0);    // 'x' is no keyword outside
    EXPECT_EQ(parser.check(), "");
}

class CustomParser : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TParserTables& t = parser.Tables();
        TokenRule rule = singleCharRule(t, 50, {0});
        rule.body = recognizerPart(5, true);
        putRule(t.defaultStart, "#", rule);
        t.keywords.push_back({"@", group(t, ""), {0}, 60});
        t.handlers[60] = HandlerRule{recognizerPart(6, true), sequenceEnd({group(t, ";")}, true)};
        t.customRecognizers = true;
        parser.TablesChanged();
    }

    TSourceMemoParser parser;
};

TEST_F(CustomParser, MatchRulesAskTheEventWhichDecidesTheToken)
{
    EXPECT_TRUE(parser.UsesCustomRecognizers());
    EXPECT_EQ(tokenize(parser, "#12"), (Tokens{{0, 1}, {0, 1}, {0, 1}})); // no event: rejected

    std::vector<std::pair<int, int>> calls;
    parser.OnCustomParse = [&](TSourceMemoParser&, int id, TParseCursor& in, int& kLength,
                               int& kValue) {
        calls.emplace_back(id, kLength);
        const int64_t before = in.position();
        while (!in.atEnd() && in.current() >= '0' && in.current() <= '9')
            in.next();
        kLength += static_cast<int>(in.position() - before);
        kValue = id == 5 ? 55 : kValue;
        return in.position() > before;
    };
    EXPECT_EQ(tokenize(parser, "#12 #x"), (Tokens{{55, 3}, {0, 1}, {0, 1}, {0, 1}}));
    EXPECT_EQ(calls.front(), (std::pair<int, int>{5, 1}));
    // The handler loops on the event until its end ';' holds.
    EXPECT_EQ(tokenize(parser, "@12;x"), (Tokens{{60, 4}, {0, 1}}));
    parser.Designing = true;
    EXPECT_EQ(tokenize(parser, "#1"), (Tokens{{0, 1}, {0, 1}}));
}

TEST_F(CustomParser, RecognizersThatAcceptWithoutConsumingCannotHangTheScan)
{
    parser.OnCustomParse = [](TSourceMemoParser&, int, TParseCursor&, int&, int&) { return true; };
    EXPECT_EQ(tokenize(parser, "@12"), (Tokens{{60, 1}, {0, 1}, {0, 1}}));
    // A body recognizer that may take nothing (a line comment at its CR) with an end that
    // never holds.
    TParserTables& t = parser.Tables();
    TokenRule rule = singleCharRule(t, 70, {0});
    rule.body = recognizerPart(srJsLineComment);
    rule.end = sequenceEnd({group(t, "")}, false);
    putRule(t.defaultStart, "!", rule);
    EXPECT_EQ(tokenize(parser, "!ab\rc"), (Tokens{{70, 3}, {0, 1}, {0, 1}}));
}

class NotifiedEditor : public TParserEditor
{
public:
    void ParserChanged(TCustomSourceMemoParser&) override
    {
        ++changes;
        if (failure == 1)
            throw ESourceMemo("editor failed");
        if (failure == 2)
            throw std::runtime_error("other failure");
    }
    void ParserDestroyed(TCustomSourceMemoParser&) override { ++destroyed; }
    int changes = 0;
    int destroyed = 0;
    int failure = 0;
};

TEST(SourceMemoParser, EditorsAttachOnceAndHearOfChanges)
{
    NotifiedEditor first;
    NotifiedEditor second;
    {
        TSourceMemoParser parser;
        parser.AttachEditor(&first);
        parser.AttachEditor(&first);
        TStringCharSource source("a");
        TParseCursor in(source);
        int64_t length = 0;
        parser.NextToken(&second, in, length); // the first call attaches its editor
        ASSERT_EQ(parser.Editors().size(), 2u);

        EXPECT_TRUE(parser.ApplyToEditors());
        EXPECT_EQ(first.changes, 1);
        first.failure = 1;
        EXPECT_FALSE(parser.ApplyToEditors());
        EXPECT_EQ(second.changes, 2); // the failing editor did not stop the others
        first.failure = 2;
        EXPECT_THROW(parser.ApplyToEditors(), std::runtime_error);
        first.failure = 0;

        parser.Loading = true;
        EXPECT_TRUE(parser.ApplyToEditors());
        EXPECT_EQ(second.changes, 2);
        parser.Loaded();
        EXPECT_FALSE(parser.Loading);
        EXPECT_EQ(second.changes, 3);

        parser.DetachEditor(&first);
        EXPECT_EQ(parser.Editors().size(), 1u);
    }
    EXPECT_EQ(first.destroyed, 0);
    EXPECT_EQ(second.destroyed, 1);
}

TEST(SourceMemoParser, AssignCopiesTheLanguageThroughItsStreamForm)
{
    TSourceMemoParser source;
    buildBasicLanguage(source.Tables());
    source.Settings().languageName = "BASICISH";
    source.TablesChanged();
    TSourceMemoParser copy;
    copy.Assign(source);
    EXPECT_EQ(copy.Settings().languageName, "BASICISH");
    EXPECT_EQ(copy.check(), "");
    const std::string sample = basicSample();
    EXPECT_EQ(tokenize(copy, sample), tokenize(source, sample));

    TCustomSourceMemoParser other;
    try {
        copy.Assign(other);
        FAIL() << "assigned from another class";
    } catch (const ESourceMemo& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TCustomSourceMemoParser to TSourceMemoParser");
    }
}

TEST(SourceMemoParser, OldStreamsAreReportedOrRaisedAndLeaveTheLanguageEmpty)
{
    TSourceMemoParser source;
    buildBasicLanguage(source.Tables());
    source.TablesChanged();
    TMemoryStream stream;
    writeParserStream(stream, "old", source.Tables(), source.Settings(), 49);

    TSourceMemoParser target;
    target.Name = "ZENBASIC";
    std::vector<int> versions;
    target.OnParserVersionError = [&](TSourceMemoParser&, uint16_t seen, uint16_t expected) {
        versions = {seen, expected};
    };
    stream.SetPosition(0);
    target.LoadParser(stream);
    EXPECT_EQ(versions, (std::vector<int>{49, 51}));
    EXPECT_EQ(tokenize(target, "PRINT"), (Tokens{{0, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 1}}));

    std::string shown;
    target.OnParserVersionError = nullptr;
    target.OnShowError = [&](const std::string& text) { shown = text; };
    stream.SetPosition(0);
    target.LoadParser(stream);
    EXPECT_EQ(shown, parserVersionErrorText("ZENBASIC", 49));

    target.Loading = true;
    stream.SetPosition(0);
    EXPECT_THROW(target.LoadParser(stream), ESourceMemoParserError);
    EXPECT_EQ(target.check(), "");
}

TEST(SourceMemoParser, EditPropertiesPrefersTheReplacementEvent)
{
    TSourceMemoParser parser;
    int replaced = 0;
    int saved = 0;
    parser.SaveToRegistry = [&](TSourceMemoParser&) { ++saved; };
    parser.PropertiesDialog = [](TSourceMemoParser&) { return true; };
    parser.UseRegistry = true;
    parser.RegistryKey = "Software\\Test";
    EXPECT_TRUE(parser.EditProperties());
    EXPECT_EQ(saved, 1);
    parser.OnModifyProperties = [&](TCustomSourceMemoParser&) { ++replaced; };
    EXPECT_FALSE(parser.EditProperties());
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(saved, 1);
}

// Writes the seed corpus of the tokeniser fuzzer (only when regenerating test data).
TEST(SourceMemoParser, WriteTokeniserFuzzSeeds)
{
    if (!std::getenv("ZBX_REGENERATE_GOLDEN"))
        GTEST_SKIP() << "set ZBX_REGENERATE_GOLDEN to write the seeds";
    const std::string folder =
        std::string(ZBX_SOURCE_DIR) + "/tests/highlight/runtime/corpus/tokenise/";
    auto write = [&](const char* name, TSourceMemoParser& parser) {
        const std::vector<uint8_t> body = writeParserBody(parser.Tables(), parser.Settings());
        std::ofstream(folder + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
    };
    TSourceMemoParser basic;
    buildBasicLanguage(basic.Tables(), 40);
    basic.TablesChanged();
    write("basic_language", basic);
    TSourceMemoParser empty;
    write("empty_language", empty);
    TSourceMemoParser effects; // containers, stack operations and a custom recognizer
    TParserTables& t = effects.Tables();
    buildBasicLanguage(t);
    t.keywords.push_back({"<%", group(t, ""), {0}, 40});
    t.handlers[40] = HandlerRule{groupPart(group(t, "", true), true), sequenceEnd({group(t, "%"), group(t, ">")}, true)};
    t.effects[40] = effect({0}, {3}, {0}, 0, true);
    putRule(t.defaultStart, "[", singleCharRule(t, 31, {0, 2}));
    t.effects[31] = effect({0, 2}, {2}, {0}, soPushBefore);
    putRule(t.defaultStart, "]", singleCharRule(t, 32, {0, 2}));
    t.effects[32] = effect({0, 2}, {7}, {}, soPopAfter);
    TokenRule custom = singleCharRule(t, 50, {0});
    custom.body = recognizerPart(5, true);
    putRule(t.defaultStart, "#", custom);
    t.customRecognizers = true;
    effects.TablesChanged();
    write("effects_language", effects);
}

} // namespace
