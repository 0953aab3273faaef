// The hidden holder of the built-in ZENBASIC language: it lists its parsers by language name,
// so every file opened finds its highlighter by name, and it saves and loads the parsers'
// user settings in the per-user store. One repository exists while the program runs; files
// that look it up before it exists (or after it is gone) simply get no parser.
#pragma once

#include "highlight/runtime/SourceMemoParser.h"

#include <string>
#include <vector>

class TParserRepository
{
public:
    // Loads the embedded languages. registryFolder is the per-user store's base folder (empty:
    // the user's own); tests give a temporary one.
    explicit TParserRepository(std::string registryFolder = {});
    ~TParserRepository();
    TParserRepository(const TParserRepository&) = delete;
    TParserRepository& operator=(const TParserRepository&) = delete;

    // The parser of a language name, or null.
    TSourceMemoParser* FindParser(const std::string& languageName);
    // Every parser's user settings from and to Software\KALTOR_PLUS_COMP. Loading a damaged
    // entry throws ESourceMemo after the intact ones were applied.
    void LoadSettings();
    void SaveSettings();

    // The repository of the running program, or null.
    static TParserRepository* Instance() { return s_instance; }

private:
    std::vector<TSourceMemoParser*> parsers();

    std::string m_registryFolder;
    TSourceMemoParser m_zenBasic;
    static inline TParserRepository* s_instance = nullptr;
};
