#include "highlight/CharSpecifier.h"

#include "base/Exception.h"

namespace {

constexpr const char* kRangeOrder = "Characters not in correct order for range specifier";

int digitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

class SpecifierReader
{
public:
    explicit SpecifierReader(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }

    // One character, escapes decoded; escaped tells whether it was written with a backslash.
    uint8_t character(bool& escaped)
    {
        escaped = false;
        const char c = m_text[m_pos++];
        if (c != '\\' || atEnd())
            return static_cast<uint8_t>(c);
        escaped = true;
        const char e = m_text[m_pos++];
        switch (e) {
        case 'b':
        case 'B':
            return 8;
        case 'e':
        case 'E':
            return 27;
        case 'n':
        case 'N':
            return 13;
        case 'r':
        case 'R':
            return 10;
        case 's':
        case 'S':
            return ' ';
        case 't':
        case 'T':
            return '\t';
        case 'x':
        case 'X':
        case 'u':
        case 'U':
            return number(16, 0);
        default:
            if (e >= '0' && e <= '7')
                return number(8, static_cast<uint32_t>(e - '0'));
            return static_cast<uint8_t>(e);
        }
    }

    std::optional<TSM_CharGroup> bracket()
    {
        ++m_pos; // '['
        bool negated = false;
        if (peek() == '^') {
            negated = true;
            ++m_pos;
        }
        ParserStateSet chars;
        for (;;) {
            if (atEnd())
                return std::nullopt;
            if (peek() == ']') {
                ++m_pos;
                return TSM_CharGroup(chars, negated);
            }
            bool escaped = false;
            const uint8_t low = character(escaped);
            if (peek() == '-' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] != ']') {
                ++m_pos;
                const uint8_t high = character(escaped);
                if (high < low)
                    throw Exception(kRangeOrder);
                for (int c = low; c <= high; ++c)
                    chars.insert(c);
            } else {
                chars.insert(low);
            }
        }
    }

private:
    uint8_t number(int base, uint32_t value)
    {
        while (!atEnd() && digitValue(peek(), base) >= 0)
            value = value * static_cast<uint32_t>(base) +
                    static_cast<uint32_t>(digitValue(m_text[m_pos++], base));
        return static_cast<uint8_t>(value & 0xFF);
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

} // namespace

std::optional<std::vector<TSM_CharGroup>> parseCharSpecifiers(std::string_view raw)
{
    SpecifierReader reader(raw);
    std::vector<TSM_CharGroup> groups;
    while (!reader.atEnd()) {
        if (reader.peek() == '[') {
            std::optional<TSM_CharGroup> group = reader.bracket();
            if (!group)
                return std::nullopt;
            groups.push_back(*group);
        } else {
            bool escaped = false;
            ParserStateSet chars;
            chars.insert(reader.character(escaped));
            groups.emplace_back(chars, false);
        }
    }
    return groups;
}
