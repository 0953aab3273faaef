// TRTStack: the parser's stack of whole state sets. Push stores a copy of a set; pop hands back
// the top one. Invariant: depth() <= kMaxDepth. A language that pushes on every token without
// popping would otherwise grow the stack with the document; pushes beyond the limit are
// dropped, and popping an empty stack reports that nothing was there.
#pragma once

#include "highlight/ParserStateSet.h"

#include <cstddef>
#include <vector>

class TRTStack
{
public:
    static constexpr size_t kMaxDepth = 4096;

    // False (and nothing stored) when the stack is full.
    bool push(const ParserStateSet& states)
    {
        if (m_sets.size() >= kMaxDepth)
            return false;
        m_sets.push_back(states);
        return true;
    }
    // False (and states untouched) when the stack is empty.
    bool pop(ParserStateSet& states)
    {
        if (m_sets.empty())
            return false;
        states = m_sets.back();
        m_sets.pop_back();
        return true;
    }
    void clear() { m_sets.clear(); }
    size_t depth() const { return m_sets.size(); }
    bool check() const { return m_sets.size() <= kMaxDepth; }

private:
    std::vector<ParserStateSet> m_sets;
};
