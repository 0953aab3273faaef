// The standard recognizers, as a table of recognizer, text, answer and characters consumed.
#include "highlight/runtime/ParseCursor.h"
#include "highlight/runtime/StandardRecognizers.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    int number;
    const char* text;
    bool accepted;
    int64_t consumed;
};

const Case kCases[] = {
    {srIdentifier, "abc_1 x", true, 5},
    {srIdentifier, "_x", true, 2},
    {srIdentifier, "1abc", false, 0},
    {srIdentifier, "", false, 0},
    {srNumberOrFp, "123+", true, 3},
    {srNumberOrFp, "3.25e2,", true, 6},
    {srNumberOrFp, "3.e2", true, 1}, // a '.' without a digit stays outside
    {srNumberOrFp, "1.5E-3x", true, 6},
    {srNumberOrFp, "7e", true, 1}, // no exponent digits: the e stays outside
    {srNumberOrFp, "7e+", true, 1},
    {srNumberOrFp, ".5", false, 0},
    {srPascalString, "'it''s' x", true, 7},
    {srPascalString, "'open\rnext", true, 5}, // stops before CR
    {srPascalString, "'a'", true, 3},
    {srCString, "\"a\\\"b\" x", true, 6},
    {srCString, "\"ab\\\rc", true, 4}, // the backslash does not take the CR
    {srCString, "\"unclosed", true, 9},
    {srCChar, "'\\''z", true, 4},
    {srCStringSq, "'x\\'y' ", true, 6},
    {srSignedNumberOrFp, "-12.5 ", true, 5},
    {srSignedNumberOrFp, "+x", false, 0},
    {srSignedNumberOrFp, "42", true, 2},
    {srNumber, "0099.5", true, 4},
    {srNumber, "x9", false, 0},
    {srMailUrl, "me@host.org.", true, 11},
    {srMailUrl, "a-b~c@d_e x", true, 9},
    {srMailUrl, "plain.word", false, 0},
    {srHtmlString, "\"abc\" x", true, 5},
    {srHtmlString, "\"abc\rx", true, 5}, // takes the CR too
    {srJsLineComment, "abc\rx", true, 3},
    {srJsLineComment, "a -- b --> c", true, 7}, // ends before the last two dashes
    {srJsLineComment, "x--->", true, 2},
    {srJsLineComment, "\r", true, 0},
    {9, "abc", false, 0},
    {21, "abc", false, 0},
};

TEST(StandardRecognizers, AcceptAndConsumeAsTabulated)
{
    for (const Case& c : kCases) {
        TStringCharSource source(c.text);
        TParseCursor in(source);
        const bool accepted = runStandardRecognizer(c.number, in);
        EXPECT_EQ(accepted, c.accepted) << c.number << " on '" << c.text << "'";
        EXPECT_EQ(in.position(), c.consumed) << c.number << " on '" << c.text << "'";
        EXPECT_TRUE(in.check());
    }
}

TEST(ParseCursor, StepsAcrossChunksAndClampsAtBothEnds)
{
    // Three chunks "ab", "c", "de" through a source that hands them out one by one.
    class Chunks : public TCharSource
    {
    public:
        int64_t length() const override { return 5; }
        TTextChunk chunkAt(int64_t p) override
        {
            return p < 2 ? part(0) : p < 3 ? part(1) : part(2);
        }
        TTextChunk nextChunk(const TTextChunk& c) override
        {
            return c.start == 0 ? part(1) : c.start == 2 ? part(2) : TTextChunk{};
        }
        TTextChunk previousChunk(const TTextChunk& c) override
        {
            return c.start == 3 ? part(1) : c.start == 2 ? part(0) : TTextChunk{};
        }
        int lookups = 0;

    private:
        TTextChunk part(int i)
        {
            ++lookups;
            static const TTextChunk parts[] = {
                {"ab", 2, 0, nullptr}, {"c", 1, 2, nullptr}, {"de", 2, 3, nullptr}};
            return parts[i];
        }
    } source;
    TParseCursor in(source);
    std::string read;
    while (!in.atEnd()) {
        read += static_cast<char>(in.current());
        in.next();
        ASSERT_TRUE(in.check());
    }
    EXPECT_EQ(read, "abcde");
    EXPECT_EQ(in.position(), 5);
    EXPECT_EQ(in.current(), 0);
    in.next();
    EXPECT_EQ(in.position(), 5);
    std::string back;
    while (in.position() > 0) {
        in.previous();
        back += static_cast<char>(in.current());
        ASSERT_TRUE(in.check());
    }
    EXPECT_EQ(back, "edcba");
    in.previous();
    EXPECT_EQ(in.position(), 0);
    in.setPosition(99);
    EXPECT_TRUE(in.atEnd());
    in.setPosition(3);
    EXPECT_EQ(in.current(), 'd');
    in.setPosition(-4);
    EXPECT_EQ(in.current(), 'a');
}

} // namespace
