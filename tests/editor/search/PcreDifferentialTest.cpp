// Our regular expressions against PCRE2 on the syntax both share: literals, quoted strings,
// sets and ranges, ".", \d \w \s and their complements, groups, "|", "*", "+", "?", counted
// repetition, and "^" / "$" around the whole expression. A seeded generator makes a few
// thousand expressions and runs each on texts without line breaks and with CR line breaks
// (PCRE2 compiled with CR as its newline, multiline "^" and "$", and "^" also after a final
// line break, where the editor has its empty last line; and without its start-of-match
// optimisations, which in 10.42 miss the match of (x|(c?.?.)*(?:acc)+){0,0}a*1+ in
// "xx1ccbbacca"); the leftmost match's
// start and end must be the same.
//
// Deliberate differences, kept out of the generated subset:
// - "^" inside an expression steps over a line break ("a^b" matches "a", CR, "b"); PCRE2's is
//   zero-width. In front of the whole expression both find the same matches.
// - \b is backspace, \n the stored line break (CR) and \r LF; inside a set \d is the letter d;
//   \s takes backspace (8) but not vertical tab (11).
// - x{,m} means x{0,m} (PCRE2 10.42 reads it as literal text).
// - A loop over something that can match empty ((a*)*, (a?){2,}) is refused at compile
//   time; PCRE2 runs it. Such expressions are skipped here when ours does not compile.
// - Lazy and possessive repetition, look-around and back references are PCRE2's only.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "SearchTestSupport.h"

#include <random>

namespace {

struct TGenerated
{
    std::string Ours;
    std::string Pcre;
    bool Nullable = false; // may match the empty string
    bool Simple = false;   // exactly one character wide
};

class ExpressionGenerator
{
public:
    explicit ExpressionGenerator(uint32_t seed) : m_random(seed) {}

    TGenerated expression()
    {
        m_groups = 0;
        TGenerated body = alternation(0);
        const bool anchorStart = pick(6) == 0;
        const bool anchorEnd = pick(6) == 0;
        if ((anchorStart || anchorEnd) && body.Ours.find('|') != std::string::npos && m_groups < 9)
            body = {"(" + body.Ours + ")", "(" + body.Pcre + ")", body.Nullable, false};
        if (anchorStart)
            body = {"^" + body.Ours, "^" + body.Pcre, body.Nullable, false};
        if (anchorEnd)
            body = {body.Ours + "$", body.Pcre + "$", body.Nullable, false};
        return body;
    }

private:
    int pick(int n) { return static_cast<int>(m_random() % static_cast<uint32_t>(n)); }

    TGenerated alternation(int depth)
    {
        TGenerated out = sequence(depth);
        const int more = depth < 2 ? pick(4) == 0 ? 1 + pick(2) : 0 : 0;
        for (int i = 0; i < more; ++i) {
            const TGenerated next = sequence(depth);
            out.Ours += "|" + next.Ours;
            out.Pcre += "|" + next.Pcre;
            out.Nullable = out.Nullable || next.Nullable;
            out.Simple = false;
        }
        return out;
    }

    TGenerated sequence(int depth)
    {
        TGenerated out{"", "", true, false};
        const int pieces = 1 + pick(4);
        for (int i = 0; i < pieces; ++i) {
            const TGenerated p = piece(depth);
            out.Ours += p.Ours;
            out.Pcre += p.Pcre;
            out.Nullable = out.Nullable && p.Nullable;
            out.Simple = pieces == 1 && p.Simple;
        }
        return out;
    }

    TGenerated piece(int depth)
    {
        TGenerated a = atom(depth);
        const int q = pick(10);
        if (q >= 6)
            return a;
        const bool loops = q <= 1 || q == 5;
        if (loops && a.Nullable)
            return a;
        switch (q) {
        case 0:
            return {a.Ours + "*", a.Pcre + "*", true, false};
        case 1:
            return {a.Ours + "+", a.Pcre + "+", a.Nullable, false};
        case 2:
            return {a.Ours + "?", a.Pcre + "?", true, false};
        case 3: {
            const int n = pick(3);
            return {a.Ours + "{" + std::to_string(n) + "}", a.Pcre + "{" + std::to_string(n) + "}",
                    n == 0 || a.Nullable, false};
        }
        case 4: {
            const int m = pick(2); // {,m} with m <= 1 never loops
            return {a.Ours + "{," + std::to_string(m) + "}",
                    a.Pcre + "{0," + std::to_string(m) + "}", true, false};
        }
        default: {
            const int n = pick(3);
            const int m = n + pick(3);
            const bool open = pick(3) == 0;
            const std::string counts =
                open ? std::to_string(n) + "," : std::to_string(n) + "," + std::to_string(m);
            return {a.Ours + "{" + counts + "}", a.Pcre + "{" + counts + "}", n == 0, false};
        }
        }
    }

    TGenerated atom(int depth)
    {
        static const char* const literals = "abc1_ ";
        static const char* const classes[] = {"\\d", "\\w", "\\s", "\\D", "\\W", "\\S"};
        const int kind = pick(depth < 2 && m_groups < 9 ? 12 : 10);
        if (kind <= 4) {
            const std::string c(1, literals[pick(6)]);
            return {c, c, false, true};
        }
        if (kind == 5)
            return {".", ".", false, true};
        if (kind == 6)
            return set();
        if (kind == 7) {
            const std::string c = classes[pick(6)];
            return {c, c, false, true};
        }
        if (kind <= 9) {
            std::string text;
            for (int i = pick(3); i >= 0; --i)
                text += "abc"[pick(3)];
            return {"\"" + text + "\"", "(?:" + text + ")", false, text.size() == 1};
        }
        ++m_groups;
        const TGenerated inner = alternation(depth + 1);
        return {"(" + inner.Ours + ")", "(" + inner.Pcre + ")", inner.Nullable, false};
    }

    TGenerated set()
    {
        std::string members;
        for (int i = pick(3); i >= 0; --i)
            members += pick(4) == 0 ? std::string("a-c") : std::string(1, "abc1_ "[pick(6)]);
        const std::string s = (pick(3) == 0 ? "[^" : "[") + members + "]";
        return {s, s, false, true};
    }

    std::mt19937 m_random;
    int m_groups = 0;
};

std::string randomText(std::mt19937& random, bool lineBreaks)
{
    static const char alphabet[] = "aaabbbccc11__  x";
    std::string text;
    for (int n = static_cast<int>(random() % 24); n > 0; --n)
        text += (lineBreaks && random() % 6 == 0) ? '\r' : alphabet[random() % 16];
    return text;
}

// The text with each CR shown as \r.
std::string visible(const std::string& text)
{
    std::string out;
    for (const char c : text)
        out += c == '\r' ? std::string("\\r") : std::string(1, c);
    return out;
}

class Pcre
{
public:
    explicit Pcre(const std::string& pattern)
    {
        pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
        pcre2_set_newline(context, PCRE2_NEWLINE_CR);
        int error = 0;
        PCRE2_SIZE offset = 0;
        m_code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.c_str()), pattern.size(),
                               PCRE2_MULTILINE | PCRE2_ALT_CIRCUMFLEX | PCRE2_NO_START_OPTIMIZE,
                               &error, &offset, context);
        pcre2_compile_context_free(context);
        if (m_code)
            m_data = pcre2_match_data_create_from_pattern(m_code, nullptr);
    }
    ~Pcre()
    {
        pcre2_match_data_free(m_data);
        pcre2_code_free(m_code);
    }
    bool compiled() const { return m_code != nullptr; }
    TMatchSpan match(const std::string& text)
    {
        const int rc = pcre2_match(m_code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(),
                                   0, 0, m_data, nullptr);
        if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT)
            return {-2, -2};
        if (rc < 0)
            return {};
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(m_data);
        return {static_cast<int64_t>(ovector[0]), static_cast<int64_t>(ovector[1])};
    }

private:
    pcre2_code* m_code = nullptr;
    pcre2_match_data* m_data = nullptr;
};

TEST(PcreDifferential, LeftmostMatchesAgreeOnTheSharedSyntax)
{
    ExpressionGenerator generator(20261207);
    std::mt19937 texts(5);
    int compared = 0;
    int expressions = 0;
    int budgetStops = 0; // exponential backtracking that ours stops with its budget error
    for (int i = 0; i < 4000; ++i) {
        const TGenerated e = generator.expression();
        TREParser parser;
        if (!parser.SetExpression(e.Ours))
            continue; // a loop over a nullable body inside a group, refused by design
        Pcre pcre(e.Pcre);
        ASSERT_TRUE(pcre.compiled()) << e.Pcre;
        ++expressions;
        for (int t = 0; t < 8; ++t) {
            const std::string text = randomText(texts, t >= 4);
            const TMatchSpan expected = pcre.match(text);
            TMatchSpan ours;
            try {
                ours = searchBuffer(parser, text);
            } catch (const ERegExpError& error) {
                ASSERT_EQ(error.Id(), reTooMuchWork);
                ++budgetStops;
                continue;
            }
            if (expected.Start == -2)
                continue; // PCRE2 gave up at its own match limit
            ASSERT_EQ(ours, expected)
                << "ours " << e.Ours << "  pcre " << e.Pcre << "  text \"" << visible(text) << "\"";
            ++compared;
        }
    }
    EXPECT_GT(expressions, 3000);
    EXPECT_GT(compared, expressions * 8 * 99 / 100);
    EXPECT_LT(budgetStops, expressions * 8 / 200);
}

} // namespace
