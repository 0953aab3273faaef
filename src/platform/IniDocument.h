// The lines of an INI file held in memory, read and changed the way Windows private-profile
// files are: sections "[NAME]" and "KEY=value" lines, names compared without regard to ASCII
// case, the first of duplicate sections and keys winning. Everything else in the file (comments,
// blank lines, odd lines, order, CR LF or LF line ends) is kept byte for byte.
// Invariants: no line text holds '\n'; every line but the last ends in "\n" or "\r\n"; the last
// line ends in one of those or in nothing (a file without a final line break).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TIniDocument
{
public:
    TIniDocument() = default;
    // Any bytes are accepted; lines that are neither section headers nor "KEY=value" are kept
    // but never match.
    explicit TIniDocument(std::string_view bytes);

    // The value of key in the first section named section, trimmed of blanks; none when the
    // section, or the key in that first section, is missing. Keys above the first section
    // belong to no section and are never found.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Replaces the value in place, else adds "KEY=value" after the section's last non-blank
    // line, else appends the section at the end of the file. Line breaks in the value become
    // blanks, so a value can never add lines to the file. A blank key changes nothing: it
    // could never be read back.
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the key's line; returns whether there was one.
    bool deleteKey(std::string_view section, std::string_view key);
    // The names of the sections in file order (duplicates included).
    std::vector<std::string> sectionNames() const;

    std::string bytes() const;
    // The line break used for new lines: that of the file's first line, else CR LF.
    const std::string& newline() const { return m_newline; }
    // Verifies the invariants above; returns false when one is broken.
    bool check() const;

private:
    struct Line {
        std::string text;
        std::string ending; // "\r\n", "\n" or empty (only on the last line)
    };
    std::vector<Line> m_lines;
    std::string m_newline = "\r\n";

    // Index of the first header line of section, or none.
    std::optional<size_t> findSection(std::string_view section) const;
    // One past the last line of the section whose header is at headerLine.
    size_t sectionEnd(size_t headerLine) const;
    std::optional<size_t> findKey(std::string_view section, std::string_view key) const;
    void insertLine(size_t at, std::string text);
};
