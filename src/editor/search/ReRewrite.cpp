#include "editor/search/ReRewrite.h"

namespace {

struct TRewriteStopped
{
    int Origin;
};

// A piece of rewritten text with the origin of each byte.
struct TPiece
{
    std::string Text;
    std::vector<int> Origin;

    void append(const TPiece& other)
    {
        Text += other.Text;
        Origin.insert(Origin.end(), other.Origin.begin(), other.Origin.end());
    }
    void append(char c, int origin)
    {
        Text += c;
        Origin.push_back(origin);
    }
};

class TRewriter
{
public:
    explicit TRewriter(std::string_view text) : m_text(text) {}

    // The whole text. A stray ")" ends an alternation at the top; it is copied with the rest,
    // so the compiler reports it where the user typed it.
    TPiece all()
    {
        TPiece out = alternation();
        while (at(')')) {
            out.append(')', position());
            ++m_at;
            out.append(alternation());
        }
        return out;
    }

    TPiece alternation()
    {
        TPiece out;
        out.append(eitherOrBoth());
        while (at('|')) {
            out.append('|', position());
            ++m_at;
            out.append(eitherOrBoth());
        }
        return out;
    }

private:
    bool at(char c) const { return m_at < m_text.size() && m_text[m_at] == c; }
    bool atDoubleBar() const
    {
        return at('|') && m_at + 1 < m_text.size() && m_text[m_at + 1] == '|';
    }
    int position() const { return static_cast<int>(m_at) + 1; }

    // side { "||" side }
    TPiece eitherOrBoth()
    {
        TPiece left = sequence();
        while (atDoubleBar()) {
            const int origin = position();
            m_at += 2;
            const TPiece right = sequence();
            left = combine(left, right, origin);
        }
        return left;
    }

    // ((A B?)|(B A?)) with A and B the sides in parentheses.
    static TPiece combine(const TPiece& a, const TPiece& b, int origin)
    {
        if (2 * (a.Text.size() + b.Text.size()) > kMaxRewrittenBytes)
            throw TRewriteStopped{origin};
        const TPiece wa = wrapped(a, origin);
        const TPiece wb = wrapped(b, origin);
        TPiece out;
        out.append('(', origin);
        out.append('(', origin);
        out.append(wa);
        out.append(wb);
        out.append('?', origin);
        out.append(')', origin);
        out.append('|', origin);
        out.append('(', origin);
        out.append(wb);
        out.append(wa);
        out.append('?', origin);
        out.append(')', origin);
        out.append(')', origin);
        return out;
    }

    static TPiece wrapped(const TPiece& side, int origin)
    {
        if (isOneGroup(side.Text))
            return side;
        TPiece out;
        out.append('(', origin);
        out.append(side);
        out.append(')', origin);
        return out;
    }

    // Whether text is "(...)" with the first parenthesis closed by the last byte.
    static bool isOneGroup(const std::string& text)
    {
        if (text.size() < 2 || text.front() != '(' || text.back() != ')')
            return false;
        TRewriter scan(text);
        scan.m_at = 1;
        scan.skipTo(')');
        return scan.m_at == text.size() - 1;
    }

    // Copies bytes up to the next "|" or ")" at this depth, rewriting nested groups.
    TPiece sequence()
    {
        TPiece out;
        while (m_at < m_text.size() && !at('|') && !at(')')) {
            if (at('(')) {
                out.append('(', position());
                ++m_at;
                out.append(alternation());
                if (at(')')) {
                    out.append(')', position());
                    ++m_at;
                }
                continue;
            }
            const size_t start = m_at;
            skipAtom();
            for (size_t i = start; i < m_at; ++i)
                out.append(m_text[i], static_cast<int>(i) + 1);
        }
        return out;
    }

    // Steps over one byte, an escape, a quoted string or a set.
    void skipAtom()
    {
        const char c = m_text[m_at++];
        if (c == '\\') {
            if (m_at < m_text.size())
                ++m_at;
        } else if (c == '"') {
            skipQuoted();
        } else if (c == '[') {
            skipSet();
        }
    }
    void skipQuoted()
    {
        while (m_at < m_text.size() && m_text[m_at] != '"')
            m_at += (m_text[m_at] == '\\' && m_at + 1 < m_text.size()) ? 2 : 1;
        if (m_at < m_text.size())
            ++m_at;
    }
    void skipSet()
    {
        if (at('^'))
            ++m_at;
        while (m_at < m_text.size() && m_text[m_at] != ']')
            m_at += (m_text[m_at] == '\\' && m_at + 1 < m_text.size()) ? 2 : 1;
        if (m_at < m_text.size())
            ++m_at;
    }
    // Moves to the ")" that closes the group whose "(" is just before the start.
    void skipTo(char closer)
    {
        int depth = 0;
        while (m_at < m_text.size()) {
            if (at('(')) {
                ++depth;
                ++m_at;
            } else if (at(closer)) {
                if (depth == 0)
                    return;
                --depth;
                ++m_at;
            } else {
                skipAtom();
            }
        }
    }

    std::string_view m_text;
    size_t m_at = 0;
};

} // namespace

TRewrittenExpression RewriteEitherOrBoth(std::string_view expression)
{
    TRewrittenExpression result;
    if (expression.find("||") == std::string_view::npos) {
        result.Text = std::string(expression);
        result.Origin.resize(expression.size());
        for (size_t i = 0; i < expression.size(); ++i)
            result.Origin[i] = static_cast<int>(i) + 1;
        return result;
    }
    TRewriter rewriter(expression);
    TPiece piece;
    try {
        piece = rewriter.all();
    } catch (const TRewriteStopped& stopped) {
        result.StoppedAt = stopped.Origin;
        return result;
    }
    result.Text = std::move(piece.Text);
    result.Origin = std::move(piece.Origin);
    return result;
}
