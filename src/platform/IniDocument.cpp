#include "platform/IniDocument.h"

#include <algorithm>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// The name of a section header line ("[NAME]" after optional blanks); none for other lines.
// A '[' without a closing ']' makes no header.
std::optional<std::string_view> headerName(std::string_view line)
{
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const size_t close = text.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trimmed(text.substr(1, close - 1));
}

// The key of a "KEY=value" line; none for headers and lines without '='.
std::optional<std::string_view> keyName(std::string_view line)
{
    if (headerName(line))
        return std::nullopt;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return trimmed(line.substr(0, equals));
}

std::string withoutLineBreaks(std::string_view text)
{
    std::string clean(text);
    std::replace_if(clean.begin(), clean.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return clean;
}

} // namespace

TIniDocument::TIniDocument(std::string_view bytes)
{
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t lineFeed = bytes.find('\n', start);
        Line line;
        if (lineFeed == std::string_view::npos) {
            line.text = bytes.substr(start);
            start = bytes.size();
        } else {
            line.text = bytes.substr(start, lineFeed - start);
            line.ending = "\n";
            if (!line.text.empty() && line.text.back() == '\r') {
                line.text.pop_back();
                line.ending = "\r\n";
            }
            start = lineFeed + 1;
        }
        m_lines.push_back(std::move(line));
    }
    if (!m_lines.empty() && !m_lines.front().ending.empty())
        m_newline = m_lines.front().ending;
}

std::optional<size_t> TIniDocument::findSection(std::string_view section) const
{
    // Header names are read trimmed and written trimmed, so the name asked for is trimmed too.
    section = trimmed(section);
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = headerName(m_lines[i].text);
        if (name && sameName(*name, section))
            return i;
    }
    return std::nullopt;
}

size_t TIniDocument::sectionEnd(size_t headerLine) const
{
    size_t end = headerLine + 1;
    while (end < m_lines.size() && !headerName(m_lines[end].text))
        ++end;
    return end;
}

std::optional<size_t> TIniDocument::findKey(std::string_view section, std::string_view key) const
{
    const auto header = findSection(section);
    if (!header || trimmed(key).empty())
        return std::nullopt;
    const size_t end = sectionEnd(*header);
    for (size_t i = *header + 1; i < end; ++i) {
        const auto name = keyName(m_lines[i].text);
        if (name && sameName(*name, trimmed(key)))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> TIniDocument::value(std::string_view section, std::string_view key) const
{
    const auto line = findKey(section, key);
    if (!line)
        return std::nullopt;
    const std::string& text = m_lines[*line].text;
    return std::string(trimmed(std::string_view(text).substr(text.find('=') + 1)));
}

void TIniDocument::insertLine(size_t at, std::string text)
{
    // The line before the new one must end, even when it was the file's unterminated last line.
    if (at > 0 && m_lines[at - 1].ending.empty())
        m_lines[at - 1].ending = m_newline;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), Line {std::move(text), m_newline});
}

void TIniDocument::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    if (trimmed(key).empty())
        return;
    const std::string cleanValue = withoutLineBreaks(trimmed(value));
    if (const auto line = findKey(section, key)) {
        // Keep the key as it is spelled and spaced, and the blanks after '='.
        std::string& text = m_lines[*line].text;
        size_t valueStart = text.find('=') + 1;
        while (valueStart < text.size() && (text[valueStart] == ' ' || text[valueStart] == '\t'))
            ++valueStart;
        text.replace(valueStart, std::string::npos, cleanValue);
        return;
    }
    const std::string entry = withoutLineBreaks(trimmed(key)) + "=" + cleanValue;
    if (const auto header = findSection(section)) {
        size_t at = sectionEnd(*header);
        while (at > *header + 1 && trimmed(m_lines[at - 1].text).empty())
            --at;
        insertLine(at, entry);
        return;
    }
    if (!m_lines.empty() && !trimmed(m_lines.back().text).empty())
        insertLine(m_lines.size(), "");
    insertLine(m_lines.size(), "[" + withoutLineBreaks(trimmed(section)) + "]");
    insertLine(m_lines.size(), entry);
}

bool TIniDocument::deleteKey(std::string_view section, std::string_view key)
{
    const auto line = findKey(section, key);
    if (!line)
        return false;
    const std::string ending = m_lines[*line].ending;
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*line));
    // Removing the unterminated last line leaves the new last line as the file ended before.
    if (ending.empty() && !m_lines.empty() && *line == m_lines.size())
        m_lines.back().ending.clear();
    return true;
}

std::vector<std::string> TIniDocument::sectionNames() const
{
    std::vector<std::string> names;
    for (const Line& line : m_lines) {
        if (const auto name = headerName(line.text))
            names.emplace_back(*name);
    }
    return names;
}

std::string TIniDocument::bytes() const
{
    std::string result;
    for (const Line& line : m_lines)
        result += line.text + line.ending;
    return result;
}

bool TIniDocument::check() const
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (line.text.find('\n') != std::string::npos)
            return false;
        const bool last = i + 1 == m_lines.size();
        if (line.ending != "\n" && line.ending != "\r\n" && !(last && line.ending.empty()))
            return false;
    }
    return m_newline == "\n" || m_newline == "\r\n";
}
