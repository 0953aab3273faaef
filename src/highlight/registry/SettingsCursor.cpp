#include "highlight/registry/SettingsCursor.h"

#include "highlight/registry/SettingsErrors.h"

#include <algorithm>
#include <limits>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isAlphanumeric(char c)
{
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

int32_t strToInt(std::string_view text)
{
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++i;
    const int64_t limit = negative ? -int64_t(std::numeric_limits<int32_t>::min())
                                   : int64_t(std::numeric_limits<int32_t>::max());
    int64_t value = 0;
    bool valid = i < text.size();
    for (; valid && i < text.size(); ++i) {
        valid = isDigit(text[i]);
        value = value * 10 + (text[i] - '0');
        valid = valid && value <= limit;
    }
    if (!valid)
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return static_cast<int32_t>(negative ? -value : value);
}

bool TSettingsCursor::skipIf(char c)
{
    if (atEnd() || m_text[m_position] != c)
        return false;
    ++m_position;
    return true;
}

std::string_view TSettingsCursor::take(size_t count)
{
    const std::string_view part = m_text.substr(m_position, count);
    m_position += part.size();
    return part;
}

int32_t TSettingsCursor::entryNumber(int32_t fallback)
{
    if (skipIf(','))
        return fallback;
    const size_t start = m_position;
    const bool negative = skipIf('-');
    if (!isDigit(peek())) {
        m_position = start;
        return fallback;
    }
    uint32_t value = 0;
    while (isDigit(peek())) {
        value = value * 10u + static_cast<uint32_t>(peek() - '0');
        skip();
    }
    skipIf(',');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

std::string_view TSettingsCursor::alphanumerics(size_t maxKept)
{
    const size_t start = m_position;
    while (isAlphanumeric(peek()))
        skip();
    return m_text.substr(start, std::min(maxKept, m_position - start));
}

bool TSettingsCursor::count(size_t& result)
{
    if (!isDigit(peek()))
        return false;
    result = 0;
    while (isDigit(peek())) {
        if (result <= m_text.size())
            result = result * 10 + static_cast<size_t>(peek() - '0');
        skip();
    }
    return true;
}
