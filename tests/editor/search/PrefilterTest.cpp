// The prefilter that picks where a search tries the matcher must never skip a place where a
// match starts: each expression's search, forwards and backwards, over a buffer and over rows
// cut small, is compared with the matcher tried at every position in turn. The expressions
// are those a prefilter gets wrong most easily: a literal prefix running over a line break,
// letters of the other case, alternatives without a common first character, expressions that
// may start by matching nothing, and anchors (which get no prefilter).
#include "SearchTestSupport.h"

#include <random>
#include <vector>

namespace {

struct TPrefilterCase
{
    const char* Expression;
    TRePrefilter::TKind Kind; // the prefilter the expression must get
};

const TPrefilterCase kCases[] = {
    {"Print_[A-Za-z]+", TRePrefilter::TKind::Literal},
    {"ab\\ncd", TRePrefilter::TKind::Literal}, // the prefix holds the line break
    {"b\\n", TRePrefilter::TKind::Literal},
    {"\"ab\"c+", TRePrefilter::TKind::Literal},
    {"(ab)(c)d?", TRePrefilter::TKind::Literal},
    {"ab{2}", TRePrefilter::TKind::Literal},
    {"[Pp]rint", TRePrefilter::TKind::FirstChars}, // no literal: P or p
    {"cat|dog|\\n", TRePrefilter::TKind::FirstChars},
    {"ab|ac", TRePrefilter::TKind::FirstChars},
    {"a*b", TRePrefilter::TKind::FirstChars}, // a, or b when the run is empty
    {"x?(y|\\d)", TRePrefilter::TKind::FirstChars},
    {"(a|b)*c", TRePrefilter::TKind::FirstChars},
    {"[^a]b", TRePrefilter::TKind::FirstChars}, // the complement holds the line break
    {".b", TRePrefilter::TKind::FirstChars},
    {"\\W+a", TRePrefilter::TKind::FirstChars},
    {"a||b", TRePrefilter::TKind::FirstChars},
    {"^a", TRePrefilter::TKind::None},
    {"a$", TRePrefilter::TKind::Literal},
    {"$", TRePrefilter::TKind::None},
    {"b*", TRePrefilter::TKind::None}, // matches the empty string anywhere
    {"x{0}a", TRePrefilter::TKind::None},
    {"(ab){2}", TRePrefilter::TKind::None},
};

// The first (or last) position where the matcher alone matches, tried at every position.
TMatchSpan matchEverywhere(TREParser& parser, TTextSource& source, int64_t from, bool forward)
{
    const int64_t length = source.Length();
    if (forward) {
        for (int64_t p = std::max<int64_t>(from, 0); p <= length; ++p)
            if (parser.Match(source, p))
                return {parser.MatchStart(), parser.MatchEnd()};
        return {};
    }
    for (int64_t p = std::min(from, length - 1); p >= 0; --p)
        if (parser.Match(source, p))
            return {parser.MatchStart(), parser.MatchEnd()};
    return {};
}

TMatchSpan searchSource(TREParser& parser, TTextSource& source, int64_t from, bool forward)
{
    if (!parser.Search(source, from,
                       forward ? TSearchDirection::Forward : TSearchDirection::Backward))
        return {};
    return {parser.MatchStart(), parser.MatchEnd()};
}

TEST(RegexPrefilter, FindsEveryMatchTheMatcherFindsEverywhere)
{
    static const std::string alphabet = "abcdxyPp_ \r\r9rint";
    std::mt19937 random(5);
    for (const TPrefilterCase& c : kCases) {
        TREParser parser;
        ASSERT_TRUE(parser.SetExpression(c.Expression)) << c.Expression;
        EXPECT_EQ(parser.Prefilter().Kind(), c.Kind) << c.Expression;
        for (int round = 0; round < 6; ++round) {
            std::string text = round == 0 ? "abcd\rab\rcd Print_X print prInt_ PRINT_Y ab\rcdd"
                                          : std::string();
            while (text.size() < 300)
                text += alphabet[random() % alphabet.size()];
            auto store = storeWith(text);
            cutRowsSmall(*store, random, 1 + round * 3);
            TBufferTextSource buffer(text);
            TEdStream stream(*store);
            TEdStreamTextSource rows(stream, *store);
            for (TTextSource* source :
                 {static_cast<TTextSource*>(&buffer), static_cast<TTextSource*>(&rows)}) {
                std::vector<int64_t> froms = {0, static_cast<int64_t>(text.size())};
                for (int i = 0; i < 12; ++i)
                    froms.push_back(static_cast<int64_t>(random() % text.size()));
                for (const int64_t from : froms) {
                    for (const bool forward : {true, false}) {
                        const TMatchSpan expected = matchEverywhere(parser, *source, from, forward);
                        EXPECT_EQ(searchSource(parser, *source, from, forward), expected)
                            << c.Expression << (forward ? " forwards" : " backwards") << " from "
                            << from << " round " << round;
                    }
                }
            }
        }
    }
}

// Expressions are case-sensitive, so a literal prefix is searched for with its case: the
// upper-case PRINT_ and the lower-case print_ are no candidates for Print_.
TEST(RegexPrefilter, LiteralPrefixKeepsItsCase)
{
    TREParser parser;
    ASSERT_TRUE(parser.SetExpression("Print_[A-Za-z]+"));
    ASSERT_EQ(parser.Prefilter().Literal(), "Print_");
    const std::string text = "PRINT_A print_B\rPrint_Temp";
    EXPECT_EQ(searchBuffer(parser, text), (TMatchSpan{16, 26}));
    EXPECT_EQ(searchBuffer(parser, text, 26, TSearchDirection::Backward), (TMatchSpan{16, 26}));
    EXPECT_EQ(searchBuffer(parser, text, 15, TSearchDirection::Backward), TMatchSpan{});
}

} // namespace
