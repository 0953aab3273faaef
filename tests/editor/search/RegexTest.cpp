// The regular-expression engine: compile errors with their positions, matching (tables of
// pattern, text and expected match, each run over a buffer and over a store's rows), element
// positions and replacement templates, and the work budget on pathological expressions.
#include "SearchTestSupport.h"

#include "editor/search/ReCompiler.h"
#include "editor/search/ReplaceTemplate.h"

#include <chrono>

namespace {

struct CompileCase
{
    const char* Expression;
    int ErrorId;
    int ErrorPos;
};

TEST(RegexCompile, EveryErrorHasItsMessageAndPosition)
{
    const CompileCase cases[] = {
        {"", reInvalidParameter, 1},
        {"a**", reNestedRepeat, 3},
        {"a*{2}", reNestedRepeat, 3},
        {"(a|)*", reInvalidRepeat, 5},
        {"^*", reInvalidRepeat, 2},
        {"(a*){2,}", reInvalidRepeat, 5},
        {"*a", reInvalidRepeat, 1},
        {"((((((((((a))))))))))", reTooManySubExpressions, 10},
        {"x{3,2}", reInvalidRange, 2},
        {"x{}", reInvalidRange, 2},
        {"x{,}", reInvalidRange, 2},
        {"x{2", reInvalidRange, 2},
        {"x{70000}", reInvalidRange, 2},
        {"ab)", reUnmatchedParenthesis, 3},
        {"(ab", reUnmatchedParenthesis, 1},
        {"[ab", reUnmatchedBracket, 1},
        {"[]", reUnmatchedBracket, 1},
        {"[z-a]", reInvalidRange, 2},
        {"[a-]", reInvalidRange, 3},
        {"a\\x", reHexDigitExpected, 4},
        {"a\\", reUnexpectedEnd, 2},
        {"a\"bc", reQuoteExpected, 2},
        // Errors behind a rewritten "||" are reported where the user typed them.
        {"ab||c)", reUnmatchedParenthesis, 6},
        {"a||[b", reUnmatchedBracket, 4},
        {"a||b||c", reTooManySubExpressions, 5},
    };
    for (const CompileCase& c : cases) {
        const TReCompileResult result = CompileExpression(c.Expression);
        EXPECT_FALSE(result.Ok) << c.Expression;
        EXPECT_EQ(result.ErrorId, c.ErrorId) << c.Expression << ": " << MessageOf(result.ErrorId);
        EXPECT_EQ(result.ErrorPos, c.ErrorPos) << c.Expression;
    }
    TREParser parser;
    EXPECT_TRUE(parser.SetExpression("ok"));
    EXPECT_FALSE(parser.SetExpression("a**"));
    EXPECT_EQ(parser.LastExpression(), "");
    EXPECT_STREQ(parser.ErrorMessage(), "Nested repeat");
    EXPECT_THROW(
        {
            TBufferTextSource source("a");
            parser.Search(source, 0, TSearchDirection::Forward);
        },
        ERegExpError);
}

// Found by fuzzing: each "||" of a chain doubled the rewritten text, so forty of them hung the
// compiler; two already need more than nine sub-expressions.
TEST(RegexCompile, AChainOfEitherOrBothFailsAtOnceInsteadOfGrowingWithoutBound)
{
    std::string chain = "x";
    for (int i = 0; i < 40; ++i)
        chain += "||x";
    const auto started = std::chrono::steady_clock::now();
    const TReCompileResult result = CompileExpression(chain);
    EXPECT_EQ(result.ErrorId, reTooManySubExpressions);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST(RegexCompile, SameTextIsCompiledOnceAndProgramsHoldTheirInvariants)
{
    TREParser parser;
    ASSERT_TRUE(parser.SetExpression("(ab|c)+d{2,5}[x-z]*\"q\"||e"));
    EXPECT_EQ(CheckProgram(parser.Program()), "") << DumpProgram(parser.Program());
    const uint8_t* program = parser.Program().data();
    EXPECT_TRUE(parser.SetExpression("(ab|c)+d{2,5}[x-z]*\"q\"||e"));
    EXPECT_EQ(parser.Program().data(), program);
    ASSERT_TRUE(parser.SetExpression("a(b)(c)"));
    EXPECT_EQ(parser.GroupCount(), 3);
}

struct MatchCase
{
    const char* Expression;
    std::string Text;
    int64_t Start; // -1: no match
    int64_t End;
    int64_t From = 0;
    TSearchDirection Direction = TSearchDirection::Forward;
};

void expectMatches(const MatchCase& c)
{
    TREParser parser;
    ASSERT_TRUE(parser.SetExpression(c.Expression))
        << c.Expression << ": " << parser.ErrorMessage();
    ASSERT_EQ(CheckProgram(parser.Program()), "") << c.Expression;
    const TMatchSpan expected{c.Start, c.Start < 0 ? -1 : c.End};
    EXPECT_EQ(searchBuffer(parser, c.Text, c.From, c.Direction), expected)
        << c.Expression << " on \"" << c.Text << "\" from " << c.From;
    auto store = storeWith(c.Text);
    EXPECT_EQ(searchStore(parser, *store, c.From, c.Direction), expected)
        << c.Expression << " (store)";
}

TEST(RegexMatch, TheSyntaxMatchesWhatItSays)
{
    const MatchCase cases[] = {
        // a||b: either or both in either order.
        {"a||b", "a", 0, 1},
        {"a||b", "b", 0, 1},
        {"a||b", "ab", 0, 2},
        {"a||b", "ba", 0, 2},
        {"x(a||bc)y", "xbcay", 0, 5},
        // Line starts and ends: the document start and a missing final break count.
        {"^x", "xa\rxb", 0, 1},
        {"^x", "xa\rxb", 3, 4, 1},
        {"^x", "ax\rx", 3, 4},
        {"^x", "ax\rx", 3, 4, 3},
        {"^$", "a\r\rb", 2, 2},
        {"b$", "ab", 1, 2},
        {"b$", "ab\rc", 1, 2},
        {"$", "ab", 2, 2},
        // Counted repetition; x{0} matches the empty string.
        {"x{0}", "x", 0, 0},
        {"ax{0}b", "ab", 0, 2},
        {"ax{0}b", "axb", -1, -1},
        {"x{2}", "xxx", 0, 2},
        {"x{2,}", "xxxx", 0, 4},
        {"x{,2}", "xxx", 0, 2},
        {"x{1,2}y", "xxxy", 1, 4},
        {"(ab){2}c", "abababc", 2, 7},
        {"((a|b){2}c){2}", "xabcbacx", 1, 7},
        // "." stops at a line break; a complement set runs across it.
        {".*", "ab\rcd", 0, 2},
        {"[^a]*", "bc\rde", 0, 5},
        {"a.b", "a\rb", -1, -1},
        {"a[^x]b", "a\rb", 0, 3},
        {"\\n", "a\rb", 1, 2},
        {"\\r", "a\rb", -1, -1},
        // Classes, escapes, quoted strings.
        {"\\d+", "ab 123", 3, 6},
        {"\\w+", "  a_1-", 2, 5},
        {"\\s\\S", "ab c", 2, 4},
        {"\\D\\W", "1a.", 1, 3},
        {"\\x41\\102", "zAB", 1, 3},
        {"\"a.b\"", "axb a.b", 4, 7},
        {"\"\"x", "ax", 1, 2},
        {"[\\]a-c]+", "x]ab", 1, 4},
        {"[-a]+", "x-a-", 1, 4},
        // Backtracking order: leftmost, alternatives in order, greedy loops.
        {"a*ab", "aaab", 0, 4},
        {"(a|ab)(c|bcd)", "abcd", 0, 4},
        {"(ab)+c", "ababc", 0, 5},
        {"(a|b)*", "ab", 0, 2},
        {"x?y", "zy", 1, 2},
        // Backwards: the last match starting at or before the start position.
        {"a", "a a a", 4, 5, 5, TSearchDirection::Backward},
        {"a", "a a a", 4, 5, 4, TSearchDirection::Backward},
        {"a", "a a a", 2, 3, 3, TSearchDirection::Backward},
        {"b+", "bb b", 3, 4, 4, TSearchDirection::Backward},
        {"c", "ab", -1, -1, 2, TSearchDirection::Backward},
    };
    for (const MatchCase& c : cases)
        expectMatches(c);
}

TEST(RegexMatch, MatchesCrossRowsOfALongLineAndLineBreaks)
{
    // A 5000-character line is stored as rows of 2047, 2047 and 906 characters.
    const std::string line = std::string(2043, 'x') + "needle" + std::string(2951, 'y');
    const std::string text = line + "\rab\rcd";
    const MatchCase cases[] = {
        {"needle", text, 2043, 2049},
        {"ne+dle", text, 2043, 2049},
        {"[a-z]e{2}d", text, 2043, 2047},
        {"x*needley{2951}", text, 0, 5000},
        {"y\\nab\\nc", text, 4999, 5005},
        {"e[^q]*c", text, 2044, 5005},
        {"needle", text, 2043, 2049, 4000, TSearchDirection::Backward},
    };
    for (const MatchCase& c : cases)
        expectMatches(c);
}

std::string replaced(const char* expression, const std::string& text, const char* templateText)
{
    TREParser parser;
    EXPECT_TRUE(parser.SetExpression(expression)) << expression;
    TBufferTextSource source(text);
    if (!parser.Search(source, 0, TSearchDirection::Forward))
        return "<no match>";
    return text.substr(0, static_cast<size_t>(parser.MatchStart())) +
           ExpandReplacement(templateText, parser, source) +
           text.substr(static_cast<size_t>(parser.MatchEnd()));
}

TEST(RegexPositions, ElementsNumberTheTemplateReferences)
{
    // A sub-expression is one element; the c after it is the next.
    EXPECT_EQ(replaced("(ab)c", "abc", "%1-"), "ab-");
    EXPECT_EQ(replaced("(ab)c", "abc", "%2%1"), "cab");
    EXPECT_EQ(replaced("a(b)(c)d", "abcd", "%4%3%2%1"), "dcba");
    // A repeated simple node is one element for the whole run.
    EXPECT_EQ(replaced("x*y", "xxxy", "[%1|%2]"), "[xxx|y]");
    // References past the last element insert nothing.
    EXPECT_EQ(replaced("ab", "ab", "%3"), "");
    EXPECT_EQ(replaced("a", "a", "100%% \\t\\n\\r\\s\\\\ \\x41\\101 %q"), "100% \t\r\n \\ AA q");
    EXPECT_EQ(replaced("a", "a", "x\\777y"), "x");
    EXPECT_EQ(replaced("a", "a", "x\\xzy"), "x");

    TREParser parser;
    ASSERT_TRUE(parser.SetExpression("(ab)c"));
    TBufferTextSource source("zabc");
    ASSERT_TRUE(parser.Search(source, 0, TSearchDirection::Forward));
    EXPECT_EQ(parser.PositionCount(), 2);
    EXPECT_EQ(parser.SubMatch(0), 1);
    EXPECT_EQ(parser.SubMatch(1), 3);
    EXPECT_EQ(parser.SubMatch(2), 4);
    EXPECT_EQ(parser.SubMatch(3), -1);
    EXPECT_THROW(parser.SubMatch(256), ERegExpError);
}

TEST(RegexPositions, AMatchOfMoreThan255ElementsIsFoundAndEndsRight)
{
    const std::string text = "<" + std::string(300, 'q') + ">";
    TREParser parser;
    ASSERT_TRUE(parser.SetExpression(text));
    TBufferTextSource source(text);
    ASSERT_TRUE(parser.Search(source, 0, TSearchDirection::Forward));
    EXPECT_EQ(parser.PositionCount(), 255);
    EXPECT_EQ(parser.MatchStart(), 0);
    EXPECT_EQ(parser.MatchEnd(), 302);
    EXPECT_EQ(ExpandReplacement("%1%255", parser, source), "<" + std::string(47, 'q') + ">");
}

// Backtracking that grows faster than the text ends with the budget's error instead of
// running for the age of the universe; linear work on a large text stays inside it.
TEST(RegexBudget, PathologicalExpressionsStopWithTheBudgetError)
{
    const std::string as(1 << 20, 'a');
    for (const char* expression : {"(a+)+b", "(a|aa)+b", "(a*)*b", "a*a*a*a*a*b"}) {
        TREParser parser;
        if (!parser.SetExpression(expression))
            continue; // (a*)*b is refused at compile time
        const auto started = std::chrono::steady_clock::now();
        try {
            searchBuffer(parser, as);
            ADD_FAILURE() << expression << " ended without the budget error";
        } catch (const ERegExpError& error) {
            EXPECT_EQ(error.Id(), reTooMuchWork) << expression;
        }
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20))
            << expression;
    }
    std::string words;
    while (words.size() < (4u << 20))
        words += "read the sensor port value ";
    TREParser parser;
    ASSERT_TRUE(parser.SetExpression("\\w+ [a-z]+ z"));
    EXPECT_EQ(searchBuffer(parser, words), TMatchSpan{});
}

TEST(RegexBudget, APollThatAnswersFalseStopsTheSearch)
{
    TREParser parser;
    parser.Limits.PollSteps = 1000;
    int polls = 0;
    parser.Poll = [&] { return ++polls < 3; };
    ASSERT_TRUE(parser.SetExpression("(a|b)*c"));
    try {
        searchBuffer(parser, std::string(100000, 'a'));
        ADD_FAILURE() << "not stopped";
    } catch (const ERegExpError& error) {
        EXPECT_EQ(error.Id(), reSearchInterrupted);
    }
    EXPECT_EQ(polls, 3);
}

} // namespace
