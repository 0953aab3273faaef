// The working copy the properties dialog edits. While it lives, the parser's settings are the
// copy and the parser serves only the dialog's own editors; when it ends (OK, Cancel or an
// error) the parser's editor list is put back, and unless the copy was kept the parser's
// settings are exactly what they were before, byte for byte in their stored form.
// Invariant: the editors attached to the parser before the copy was made are attached again
// after it ends, and none of the editors attached meanwhile stays attached.
#pragma once

#include "highlight/ParserSettings.h"

#include <cstdint>
#include <vector>

class TParserEditor;
class TSourceMemoParser;

class TSettingsWorkingCopy
{
public:
    // Detaches every editor from parser; the dialog attaches its own editors next.
    explicit TSettingsWorkingCopy(TSourceMemoParser& parser);
    ~TSettingsWorkingCopy();
    TSettingsWorkingCopy(const TSettingsWorkingCopy&) = delete;
    TSettingsWorkingCopy& operator=(const TSettingsWorkingCopy&) = delete;

    TSourceMemoParser& parser() { return m_parser; }
    TSM_Settings& settings();
    const TSM_Settings& original() const { return m_original; }
    // The changes stay when the copy ends (OK).
    void keep() { m_kept = true; }

private:
    TSourceMemoParser& m_parser;
    TSM_Settings m_original;
    std::vector<TParserEditor*> m_editors; // attached before
    bool m_kept = false;
};

// The settings in the form compiled parsers store them: equal bytes mean equal settings.
std::vector<uint8_t> storedSettingsForm(const TSM_Settings& settings);
