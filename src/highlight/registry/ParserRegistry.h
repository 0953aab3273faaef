// The registry operations of a parser component: its settings under its own RegistryKey (or a
// key the caller names), applied to the editors that show its language once loaded. Kept apart
// from RegistrySettings so that the settings-only code needs no parser runtime.
#pragma once

#include "highlight/registry/ParserRepositorySettings.h"
#include "highlight/registry/RegistrySettings.h"

#include <span>
#include <string>
#include <vector>

class TSourceMemoParser;

// The parser's registry properties, with its ApplyToEditors as the editors' refresh.
TParserRegistryAccess registryAccessOf(TSourceMemoParser& parser,
                                       const std::string& baseFolder = defaultRegistryFolder());

// SaveToRegistry and LoadFromRegistry of RegistrySettings.h on the parser's settings.
void SaveToRegistry(TSourceMemoParser& parser, const std::string& baseFolder = defaultRegistryFolder());
void LoadFromRegistry(TSourceMemoParser& parser, bool own, const std::string& key = {},
                      const std::string& baseFolder = defaultRegistryFolder());

// Makes SaveToRegistry the parser's registry writer, which EditProperties calls after OK.
void installRegistryWriter(TSourceMemoParser& parser,
                           const std::string& baseFolder = defaultRegistryFolder());

// The parsers of a repository as the languages TParserRepositorySettings works on, each under
// its component name.
std::vector<TRepositoryLanguage> repositoryLanguages(std::span<TSourceMemoParser* const> parsers);

// Loads every parser's settings from the repository's key and applies every parser to its
// editors; a damaged entry of one parser is raised after all of them were applied.
void loadRepositoryParsers(const TParserRepositorySettings& repository,
                           std::span<TSourceMemoParser* const> parsers);
