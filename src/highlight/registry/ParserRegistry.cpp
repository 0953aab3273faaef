#include "highlight/registry/ParserRegistry.h"

#include "highlight/ParserErrors.h"
#include "highlight/runtime/SourceMemoParser.h"

#include <exception>

TParserRegistryAccess registryAccessOf(TSourceMemoParser& parser, const std::string& baseFolder)
{
    TParserRegistryAccess access;
    access.componentName = parser.Name;
    access.UseRegistry = parser.UseRegistry;
    access.RegistryKey = parser.RegistryKey;
    access.baseFolder = baseFolder;
    access.applyToEditors = [&parser] { parser.ApplyToEditors(); };
    return access;
}

void SaveToRegistry(TSourceMemoParser& parser, const std::string& baseFolder)
{
    SaveToRegistry(parser.Settings(), registryAccessOf(parser, baseFolder));
}

void LoadFromRegistry(TSourceMemoParser& parser, bool own, const std::string& key,
                      const std::string& baseFolder)
{
    LoadFromRegistry(parser.Settings(), registryAccessOf(parser, baseFolder), own, key);
}

void installRegistryWriter(TSourceMemoParser& parser, const std::string& baseFolder)
{
    parser.SaveToRegistry = [baseFolder](TSourceMemoParser& sender) {
        SaveToRegistry(sender, baseFolder);
    };
}

std::vector<TRepositoryLanguage> repositoryLanguages(std::span<TSourceMemoParser* const> parsers)
{
    std::vector<TRepositoryLanguage> languages;
    for (TSourceMemoParser* parser : parsers)
        languages.push_back({parser->Name, parser->Settings()});
    return languages;
}

void loadRepositoryParsers(const TParserRepositorySettings& repository,
                           std::span<TSourceMemoParser* const> parsers)
{
    std::exception_ptr failure;
    try {
        repository.LoadAll(repositoryLanguages(parsers));
    } catch (const ESourceMemo&) {
        failure = std::current_exception();
    }
    for (TSourceMemoParser* parser : parsers)
        parser->ApplyToEditors();
    if (failure)
        std::rethrow_exception(failure);
}
