// A read position in a settings string. It never moves past the end: at the end peek() answers
// '\0' and take() answers less than asked, so every reader built on it stops on any input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class TSettingsCursor
{
public:
    explicit TSettingsCursor(std::string_view text, size_t start = 0)
        : m_text(text), m_position(start < text.size() ? start : text.size())
    {
    }

    bool atEnd() const { return m_position >= m_text.size(); }
    size_t position() const { return m_position; }
    // The character at the position, '\0' at the end.
    char peek() const { return atEnd() ? '\0' : m_text[m_position]; }
    void skip() { m_position += atEnd() ? 0 : 1; }
    // Skips c when it is the next character; answers whether it was.
    bool skipIf(char c);
    // The next count characters, or the rest when fewer remain.
    std::string_view take(size_t count);
    // The rest of the text, which the cursor then has consumed.
    std::string_view rest() { return take(m_text.size()); }

    // A number of a style entry: an optional minus sign and decimal digits, then an optional
    // comma. A field that starts with a comma (which is consumed) or with a character that
    // begins no number is empty and gives fallback. Digits beyond 32 bits wrap as 32-bit
    // arithmetic does, so long digit runs cost time, never memory.
    int32_t entryNumber(int32_t fallback);
    // Letters and digits (ASCII); at most maxKept of them are returned, the rest skipped.
    std::string_view alphanumerics(size_t maxKept);
    // Decimal digits as a count; false when there are none. Counts saturate beyond the text's
    // size, which no count can usefully exceed.
    bool count(size_t& result);

private:
    std::string_view m_text;
    size_t m_position;
};
