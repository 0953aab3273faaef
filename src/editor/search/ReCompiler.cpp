#include "editor/search/ReCompiler.h"

#include "editor/search/ReRewrite.h"
#include "editor/search/SearchErrors.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace {

constexpr int fHasWidth = 1; // never matches the empty string
constexpr int fSimple = 2;   // exactly one character wide: STAR and PLUS can repeat it

struct TCompileError
{
    int Id;
    size_t Index; // 0-based in the rewritten text
};

using TTable = std::array<uint8_t, kTableSize>;

bool isRepeat(char c)
{
    return c == '*' || c == '+' || c == '?' || c == '{';
}

TTable tableOf(std::string_view members)
{
    TTable table{};
    for (const char c : members)
        table[static_cast<unsigned char>(c)] = 1;
    return table;
}

const TTable& digitTable()
{
    static const TTable table = tableOf("0123456789");
    return table;
}
const TTable& wordTable()
{
    static const TTable table =
        tableOf("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_");
    return table;
}
const TTable& spaceTable()
{
    static const TTable table = tableOf(std::string_view("\r \n\f\t\b", 6));
    return table;
}

class TReCompiler
{
public:
    explicit TReCompiler(std::string_view text) : m_text(text) {}

    // One pass; sizing only adds up the bytes.
    void run(bool sizing, size_t size)
    {
        m_sizing = sizing;
        m_size = 1;
        m_at = 0;
        m_groups = 1;
        m_counters = 0;
        m_program.clear();
        if (!sizing) {
            m_program.reserve(size);
            m_program.push_back(kProgramSignature);
        }
        int flags = 0;
        expression(false, flags);
    }

    size_t size() const { return m_size; }
    TReProgram& program() { return m_program; }
    int groups() const { return m_groups - 1; }
    int counters() const { return m_counters; }

private:
    [[noreturn]] static void fail(int id, size_t index) { throw TCompileError{id, index}; }
    bool atEnd() const { return m_at >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_at]; }

    // ---- emitting --------------------------------------------------------------------------

    size_t node(uint8_t op)
    {
        m_size += kNodeHeader;
        if (m_sizing)
            return 1;
        const size_t at = m_program.size();
        m_program.insert(m_program.end(), {op, 0, 0});
        return at;
    }
    void bytes(const uint8_t* data, size_t count)
    {
        m_size += count;
        if (!m_sizing)
            m_program.insert(m_program.end(), data, data + count);
    }
    void byte(uint8_t b) { bytes(&b, 1); }
    void word(uint16_t w)
    {
        byte(static_cast<uint8_t>(w >> 8));
        byte(static_cast<uint8_t>(w));
    }
    // Puts a node with its operands in front of the node at `at` (which moves up).
    void insert(uint8_t op, size_t at, std::initializer_list<uint8_t> operands)
    {
        m_size += kNodeHeader + operands.size();
        if (m_sizing)
            return;
        std::vector<uint8_t> header{op, 0, 0};
        header.insert(header.end(), operands);
        m_program.insert(m_program.begin() + static_cast<std::ptrdiff_t>(at), header.begin(),
                         header.end());
    }
    void setNext(size_t node, size_t target)
    {
        const size_t offset = m_program[node] == opBACK ? node - target : target - node;
        if (offset > 0xFFFF)
            fail(reOutOfMemory, m_at); // a loop or alternative too large for a 16-bit link
        m_program[node + 1] = static_cast<uint8_t>(offset >> 8);
        m_program[node + 2] = static_cast<uint8_t>(offset);
    }
    // Links the last node of the chain starting at p to target.
    void tail(size_t p, size_t target)
    {
        if (m_sizing)
            return;
        size_t scan = p;
        for (size_t next; (next = nextOf(m_program.data(), scan)) != 0;)
            scan = next;
        setNext(scan, target);
    }
    // The node a BRANCH, STAR, PLUS or CLOOP applies to: the one after its operands.
    size_t child(size_t p) const { return p + NodeSize(m_program.data(), p); }
    // Links the tail of a BRANCH's or CLOOP's alternative to target.
    void childTail(size_t p, size_t target)
    {
        if (m_sizing || (m_program[p] != opBRANCH && m_program[p] != opCLOOP))
            return;
        tail(child(p), target);
    }

    // ---- grammar -----------------------------------------------------------------------------

    size_t expression(bool paren, int& flags)
    {
        flags = fHasWidth;
        size_t ret = 0;
        int group = 0;
        const size_t openAt = m_at - (paren ? 1 : 0);
        if (paren) {
            if (m_groups > kMaxGroups)
                fail(reTooManySubExpressions, openAt);
            group = m_groups++;
            ret = node(static_cast<uint8_t>(opOPEN + group));
        }
        int branchFlags = 0;
        const size_t first = branch(branchFlags);
        if (paren)
            tail(ret, first);
        else
            ret = first;
        if (!(branchFlags & fHasWidth))
            flags &= ~fHasWidth;
        while (peek() == '|') {
            ++m_at;
            const size_t next = branch(branchFlags);
            tail(ret, next);
            if (!(branchFlags & fHasWidth))
                flags &= ~fHasWidth;
        }
        const size_t ender = node(paren ? static_cast<uint8_t>(opCLOSE + group) : uint8_t{opEND});
        tail(ret, ender);
        if (!m_sizing)
            for (size_t br = ret; br != 0 && br != ender; br = nextOf(m_program.data(), br))
                childTail(br, ender);
        if (paren) {
            if (peek() != ')')
                fail(reUnmatchedParenthesis, openAt);
            ++m_at;
        } else if (!atEnd()) {
            fail(reUnmatchedParenthesis, m_at); // a ")" without its "("
        }
        return ret;
    }

    size_t branch(int& flags)
    {
        flags = 0;
        const size_t ret = node(opBRANCH);
        size_t chain = 0;
        while (!atEnd() && peek() != '|' && peek() != ')') {
            int pieceFlags = 0;
            const size_t latest = piece(pieceFlags);
            flags |= pieceFlags & fHasWidth;
            if (chain)
                tail(chain, latest);
            chain = latest;
        }
        if (!chain)
            node(opNOTHING);
        return ret;
    }

    struct TCounts
    {
        int Min = 0;
        int Max = 0; // kUnbounded for none
    };

    size_t piece(int& flags)
    {
        int atomFlags = 0;
        const size_t ret = atom(atomFlags);
        if (atEnd() || !isRepeat(peek())) {
            flags = atomFlags;
            return ret;
        }
        const size_t opAt = m_at;
        const char op = m_text[m_at];
        TCounts counts;
        if (op == '{')
            counts = countsAt(opAt);
        else
            ++m_at;
        const bool loops = op == '*' || op == '+' || (op == '{' && counts.Max > 1);
        if (loops && !(atomFlags & fHasWidth))
            fail(reInvalidRepeat, opAt);
        flags = op == '+' ? fHasWidth : 0;
        if (op == '*')
            star(ret, atomFlags);
        else if (op == '+')
            plus(ret, atomFlags);
        else if (op == '?')
            optional(ret);
        else
            flags = counted(ret, counts, atomFlags);
        if (!atEnd() && isRepeat(peek()))
            fail(reNestedRepeat, m_at);
        return ret;
    }

    void star(size_t ret, int atomFlags)
    {
        if (atomFlags & fSimple) {
            insert(opSTAR, ret, {});
            return;
        }
        // x* as (x BACK | NOTHING): either x and loop back, or nothing.
        insert(opBRANCH, ret, {});
        childTail(ret, node(opBACK));
        childTail(ret, ret);
        tail(ret, node(opBRANCH));
        tail(ret, node(opNOTHING));
    }

    void plus(size_t ret, int atomFlags)
    {
        if (atomFlags & fSimple) {
            insert(opPLUS, ret, {});
            return;
        }
        // x+ as x (BACK | NOTHING): x, then either loop back or go on.
        const size_t next = node(opBRANCH);
        tail(ret, next);
        tail(node(opBACK), ret);
        tail(next, node(opBRANCH));
        tail(ret, node(opNOTHING));
    }

    void optional(size_t ret)
    {
        // x? as (x | NOTHING).
        insert(opBRANCH, ret, {});
        tail(ret, node(opBRANCH));
        const size_t next = node(opNOTHING);
        tail(ret, next);
        childTail(ret, next);
    }

    // x{1} and x{1,1} stay x; every other count becomes
    //   CSET k, CLOOP k min max (body x, CINC k, BACK to CLOOP), NOTHING (the exit).
    int counted(size_t ret, TCounts counts, int atomFlags)
    {
        if (counts.Min == 1 && counts.Max == 1)
            return atomFlags & fHasWidth;
        if (m_counters >= kMaxCounters)
            fail(reOutOfMemory, m_at);
        const auto k = static_cast<uint8_t>(m_counters++);
        const auto hi = [](int v) { return static_cast<uint8_t>(v >> 8); };
        const auto lo = [](int v) { return static_cast<uint8_t>(v); };
        insert(opCLOOP, ret, {k, hi(counts.Min), lo(counts.Min), hi(counts.Max), lo(counts.Max)});
        const size_t increment = node(opCINC);
        byte(k);
        word(0);
        childTail(ret, increment);
        const size_t back = node(opBACK);
        tail(increment, back);
        tail(back, ret);
        tail(ret, node(opNOTHING));
        insert(opCSET, ret, {k, 0, 0});
        if (!m_sizing)
            setNext(ret, ret + kNodeHeader + 3);
        return counts.Min >= 1 && (atomFlags & fHasWidth) ? fHasWidth : 0;
    }

    // {n}, {n,}, {,m} or {n,m}; m_at is at the "{" and moves past the "}".
    TCounts countsAt(size_t openAt)
    {
        ++m_at;
        const int min = number();
        int max = min;
        bool comma = false;
        if (peek() == ',') {
            comma = true;
            ++m_at;
            max = number();
        }
        if (peek() != '}' || (min < 0 && max < 0))
            fail(reInvalidRange, openAt);
        ++m_at;
        TCounts counts;
        counts.Min = min < 0 ? 0 : min;
        counts.Max = max < 0 ? kUnbounded : max;
        if (!comma)
            counts.Max = counts.Min;
        if (counts.Min >= kUnbounded || (counts.Max != kUnbounded && counts.Max < counts.Min))
            fail(reInvalidRange, openAt);
        return counts;
    }

    // Decimal digits at m_at, or -1 when there are none; values beyond 16 bits stay above them.
    int number()
    {
        if (atEnd() || peek() < '0' || peek() > '9')
            return -1;
        int value = 0;
        while (!atEnd() && peek() >= '0' && peek() <= '9') {
            value = std::min(value * 10 + (peek() - '0'), 1 << 20);
            ++m_at;
        }
        return value;
    }

    size_t atom(int& flags)
    {
        const size_t start = m_at;
        const char c = m_text[m_at++];
        switch (c) {
        case '^':
            flags = 0;
            return node(opBOL);
        case '$':
            flags = 0;
            return node(opEOL);
        case '.':
            flags = fHasWidth | fSimple;
            return node(opANY);
        case '[':
            flags = fHasWidth | fSimple;
            return set(start);
        case '(': {
            const size_t ret = expression(true, flags);
            flags &= fHasWidth;
            return ret;
        }
        case '|':
        case ')':
            fail(reInternalError, start);
        case '*':
        case '+':
        case '?':
        case '{':
            fail(reInvalidRepeat, start);
        case '"':
            return quoted(start, flags);
        case '\\': {
            flags = fHasWidth | fSimple;
            switch (peek()) {
            case 'd':
                ++m_at;
                return table(opANYOF, digitTable());
            case 'D':
                ++m_at;
                return table(opANYBUT, digitTable());
            case 'w':
                ++m_at;
                return table(opANYOF, wordTable());
            case 'W':
                ++m_at;
                return table(opANYBUT, wordTable());
            case 's':
                ++m_at;
                return table(opANYOF, spaceTable());
            case 'S':
                ++m_at;
                return table(opANYBUT, spaceTable());
            default:
                return literal(escape(start));
            }
        }
        default:
            flags = fHasWidth | fSimple;
            return literal(static_cast<uint8_t>(c));
        }
    }

    // The character of an escape whose backslash is at backslashAt; m_at is just after it.
    uint8_t escape(size_t backslashAt)
    {
        if (atEnd())
            fail(reUnexpectedEnd, backslashAt);
        const char e = m_text[m_at++];
        switch (e) {
        case 'b':
            return 8;
        case 'f':
            return 12;
        case 'n':
            return 13; // the line break as stored
        case 'r':
            return 10;
        case 't':
            return 9;
        case 'x': {
            int value = 0;
            int digits = 0;
            for (; digits < 2 && !atEnd() && hexValue(peek()) >= 0; ++digits, ++m_at)
                value = value * 16 + hexValue(peek());
            if (digits == 0)
                fail(reHexDigitExpected, m_at);
            return static_cast<uint8_t>(value);
        }
        default:
            if (e >= '0' && e <= '7') {
                int value = e - '0';
                for (int digits = 1; digits < 3 && peek() >= '0' && peek() <= '7' &&
                                     value * 8 + (peek() - '0') <= 255;
                     ++digits, ++m_at)
                    value = value * 8 + (peek() - '0');
                return static_cast<uint8_t>(value);
            }
            return static_cast<uint8_t>(e);
        }
    }

    static int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    // A literal is one EXACTLY node; NUL, which EXACTLY cannot hold, is a one-member set.
    size_t literal(uint8_t c)
    {
        if (c == 0) {
            TTable table{};
            table[0] = 1;
            return this->table(opANYOF, table);
        }
        const size_t ret = node(opEXACTLY);
        byte(c);
        byte(0);
        return ret;
    }

    size_t table(uint8_t op, const TTable& members)
    {
        const size_t ret = node(op);
        bytes(members.data(), members.size());
        return ret;
    }

    // A quoted string is one element; one holding a NUL can never match stored text.
    size_t quoted(size_t quoteAt, int& flags)
    {
        std::string text;
        bool hasNul = false;
        while (true) {
            if (atEnd())
                fail(reQuoteExpected, quoteAt);
            const char c = m_text[m_at++];
            if (c == '"')
                break;
            const uint8_t b = c == '\\' ? escape(m_at - 1) : static_cast<uint8_t>(c);
            hasNul = hasNul || b == 0;
            text += static_cast<char>(b);
        }
        flags = (text.empty() ? 0 : fHasWidth) | (text.size() == 1 ? fSimple : 0);
        if (hasNul)
            return table(opANYOF, TTable{});
        const size_t ret = node(opEXACTLY);
        bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        byte(0);
        return ret;
    }

    size_t set(size_t openAt)
    {
        uint8_t op = opANYOF;
        if (peek() == '^') {
            op = opANYBUT;
            ++m_at;
        }
        TTable members{};
        bool any = false;
        while (true) {
            if (atEnd())
                fail(reUnmatchedBracket, openAt);
            if (peek() == ']') {
                if (!any)
                    fail(reUnmatchedBracket, openAt);
                ++m_at;
                break;
            }
            const size_t memberAt = m_at;
            const uint8_t first = member();
            uint8_t last = first;
            if (peek() == '-') {
                const size_t dashAt = m_at++;
                if (atEnd() || peek() == ']')
                    fail(reInvalidRange, dashAt);
                last = member();
                if (last < first)
                    fail(reInvalidRange, memberAt);
            }
            for (int b = first; b <= last; ++b)
                members[static_cast<size_t>(b)] = 1;
            any = true;
        }
        return table(op, members);
    }

    uint8_t member()
    {
        const char c = m_text[m_at++];
        return c == '\\' ? escape(m_at - 1) : static_cast<uint8_t>(c);
    }

    std::string_view m_text;
    size_t m_at = 0;
    bool m_sizing = true;
    size_t m_size = 0;
    int m_groups = 1;
    int m_counters = 0;
    TReProgram m_program;
};

} // namespace

TReCompileResult CompileExpression(std::string_view expression)
{
    TReCompileResult result;
    if (expression.empty()) {
        result.ErrorId = reInvalidParameter;
        result.ErrorPos = 1;
        return result;
    }
    TRewrittenExpression source;
    try {
        source = RewriteEitherOrBoth(expression);
        if (source.StoppedAt > 0) {
            result.ErrorId = reTooManySubExpressions;
            result.ErrorPos = source.StoppedAt;
            return result;
        }
        TReCompiler compiler(source.Text);
        compiler.run(true, 0);
        const size_t size = compiler.size();
        compiler.run(false, size);
        if (compiler.program().size() != size) {
            result.ErrorId = reInternalError;
            result.ErrorPos = 1;
            return result;
        }
        result.Ok = true;
        result.ErrorId = reNoErrors;
        result.Program = std::move(compiler.program());
        result.Groups = compiler.groups();
        result.Counters = compiler.counters();
    } catch (const TCompileError& error) {
        result.ErrorId = error.Id;
        result.ErrorPos = error.Index < source.Origin.size()
                              ? source.Origin[error.Index]
                              : static_cast<int>(expression.size()) + 1;
    } catch (const std::bad_alloc&) {
        result.ErrorId = reOutOfMemory;
        result.ErrorPos = 1;
    }
    return result;
}
