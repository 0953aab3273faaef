// Saving and loading the settings of every language a parser repository holds, under one key
// of the per-user store. The repository lists its languages; this helper does the store work
// the parsers would otherwise each do with their own registry properties.
#pragma once

#include "highlight/ParserSettings.h"
#include "highlight/registry/RegistrySettings.h"

#include <span>
#include <string>

struct TRepositoryLanguage
{
    std::string name; // the parser component's language name
    TSM_Settings& settings;
};

class TParserRepositorySettings
{
public:
    explicit TParserRepositorySettings(std::string baseFolder = defaultRegistryFolder(),
                                       std::string keyPath = kParserSettingsKey);

    // Writes the settings string and key map of every language. A write failure
    // (EStreamError) stops at that language.
    void SaveAll(std::span<const TRepositoryLanguage> languages) const;

    // Loads every language's values over its settings. A language whose values are damaged
    // keeps its settings; the others still load, and then the first failure is raised
    // (ESourceMemo "Invalid data in registry entry ..."). Answers how many languages took
    // values from the store.
    int LoadAll(std::span<const TRepositoryLanguage> languages) const;

    const std::string& keyPath() const { return m_keyPath; }

private:
    TParserRegistryAccess accessFor(const TRepositoryLanguage& language) const;

    std::string m_baseFolder;
    std::string m_keyPath;
};
