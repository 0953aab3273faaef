#include "editor/search/RePrefilter.h"

#include <cstring>

namespace {

constexpr int kBreak = 13; // the stored line break
constexpr int kMaxVisits = 4096;
constexpr int kMaxDepth = 64;

// Steps into a BRANCH that has no alternative (the only branch of its expression).
size_t enterSingleBranch(const uint8_t* p, size_t node)
{
    while (p[node] == opBRANCH && p[nextOf(p, node)] != opBRANCH)
        node += kNodeHeader;
    return node;
}

} // namespace

void TRePrefilter::Build(const TReProgram& program)
{
    m_kind = TKind::None;
    m_literal.clear();
    const uint8_t* p = program.data();
    size_t node = 1;
    while (true) {
        node = enterSingleBranch(p, node);
        if (isOpen(p[node]) || isClose(p[node])) {
            node = nextOf(p, node);
        } else if (p[node] == opEXACTLY) {
            m_literal += reinterpret_cast<const char*>(p + node + kNodeHeader);
            node = nextOf(p, node);
        } else {
            break;
        }
    }
    if (!m_literal.empty()) {
        m_kind = TKind::Literal;
        m_plain.SetPattern(m_literal);
        return;
    }
    m_first.fill(0);
    m_visits = 0;
    if (firstChars(p, 1, m_first, 0))
        m_kind = TKind::FirstChars;
}

// Adds to set every character a match from node can begin with; false when a match from
// there might consume nothing (or the program is too tangled to tell).
bool TRePrefilter::firstChars(const uint8_t* p, size_t node, std::array<uint8_t, 256>& set,
                              int depth)
{
    if (++m_visits > kMaxVisits || depth > kMaxDepth)
        return false;
    const uint8_t op = p[node];
    switch (op) {
    case opEXACTLY:
        if (p[node + kNodeHeader] == 0)
            return firstChars(p, nextOf(p, node), set, depth + 1);
        set[p[node + kNodeHeader]] = 1;
        return true;
    case opANY:
        for (int c = 0; c < 256; ++c)
            if (c != kBreak)
                set[static_cast<size_t>(c)] = 1;
        return true;
    case opANYOF:
    case opANYBUT:
        for (int c = 0; c < 256; ++c)
            if ((p[node + kNodeHeader + static_cast<size_t>(c)] != 0) == (op == opANYOF))
                set[static_cast<size_t>(c)] = 1;
        return true;
    case opPLUS:
        return firstChars(p, node + kNodeHeader, set, depth + 1);
    case opSTAR:
        return firstChars(p, node + kNodeHeader, set, depth + 1) &&
               firstChars(p, nextOf(p, node), set, depth + 1);
    case opNOTHING:
        return firstChars(p, nextOf(p, node), set, depth + 1);
    case opBRANCH:
        for (size_t alt = node; p[alt] == opBRANCH; alt = nextOf(p, alt)) {
            if (!firstChars(p, alt + kNodeHeader, set, depth + 1))
                return false;
            if (p[nextOf(p, alt)] != opBRANCH)
                break;
        }
        return true;
    default:
        if (isOpen(op) || isClose(op))
            return firstChars(p, nextOf(p, node), set, depth + 1);
        return false; // END, ^, $, BACK and the counted loops
    }
}

int64_t TRePrefilter::Next(TTextReader& reader, int64_t from)
{
    switch (m_kind) {
    case TKind::None:
        return from <= reader.Length() ? from : -1;
    case TKind::Literal: {
        TPlainOptions options;
        return m_plain.FindForward(reader, from, options);
    }
    case TKind::FirstChars:
        for (int64_t q = from; q < reader.Length();) {
            const TTextSpan& span = reader.SpanAt(q);
            const auto* data = reinterpret_cast<const uint8_t*>(span.Data);
            for (int64_t i = q - span.Start, end = span.End - span.Start; i < end; ++i)
                if (m_first[data[i]])
                    return span.Start + i;
            q = span.End;
        }
        return -1;
    }
    return -1;
}

int64_t TRePrefilter::Prev(TTextReader& reader, int64_t at)
{
    switch (m_kind) {
    case TKind::None:
        return at;
    case TKind::Literal: {
        TPlainOptions options;
        return m_plain.FindBackward(reader, at + 1, options);
    }
    case TKind::FirstChars:
        for (int64_t q = std::min(at, reader.Length() - 1); q >= 0;) {
            const TTextSpan& span = reader.SpanAt(q);
            const auto* data = reinterpret_cast<const uint8_t*>(span.Data);
            for (int64_t i = q - span.Start; i >= 0; --i)
                if (m_first[data[i]])
                    return span.Start + i;
            q = span.Start - 1;
        }
        return -1;
    }
    return -1;
}
