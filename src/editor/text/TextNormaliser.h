// Turns bytes entering the store into stored form: CR LF, LF CR, a lone LF and a lone CR each
// become one CR; other bytes below 32 except TAB become "."; everything else is kept. The
// normaliser remembers the last byte it saw, so a pair split between two pieces of input (for
// example across an 8192-byte read) still becomes a single line break.
#pragma once

#include <cstddef>

class TTextNormaliser
{
public:
    // Writes the stored form of n input bytes to out (which must hold n bytes) and returns
    // how many bytes it wrote.
    size_t Feed(const char* in, size_t n, char* out);
    // Forgets the last byte: the next input starts a new piece of text.
    void Reset() { m_pending = 0; }
    // For callers that walk the input themselves: true (and the pair is complete) when c is
    // the second byte of a CR LF or LF CR pair whose first byte came last; such a byte is
    // dropped. Otherwise the caller stores c's stored form and reports it with Saw(c).
    bool SkipsPairedBreak(char c)
    {
        if (m_pending == 0 || (c != '\r' && c != '\n') || c == m_pending)
            return false;
        m_pending = 0;
        return true;
    }
    void Saw(char c) { m_pending = (c == '\r' || c == '\n') ? c : 0; }

private:
    char m_pending = 0; // 13 or 10 when the last byte was a line break, else 0
};
