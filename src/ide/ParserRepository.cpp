#include "ide/ParserRepository.h"

#include "base/Stream.h"
#include "highlight/languages/Languages.h"
#include "editor/dialogs/EditProperties.h"
#include "highlight/registry/ParserRegistry.h"

TParserRepository::TParserRepository(std::string registryFolder) : m_registryFolder(std::move(registryFolder))
{
    const auto stream = zenBasicParserStream();
    TReadOnlyMemoryStream bytes(stream.data(), static_cast<int64_t>(stream.size()));
    m_zenBasic.Name = "ZENBASIC";
    m_zenBasic.LoadParser(bytes);
    // The properties dialog saves what OK keeps at once, where the repository keeps it.
    m_zenBasic.UseRegistry = true;
    m_zenBasic.RegistryKey = kParserSettingsKey;
    installRegistryWriter(m_zenBasic, m_registryFolder.empty() ? defaultRegistryFolder() : m_registryFolder);
    installPropertiesDialog(m_zenBasic);
    s_instance = this;
}

TParserRepository::~TParserRepository()
{
    if (s_instance == this)
        s_instance = nullptr;
}

std::vector<TSourceMemoParser*> TParserRepository::parsers()
{
    return {&m_zenBasic};
}

TSourceMemoParser* TParserRepository::FindParser(const std::string& languageName)
{
    for (TSourceMemoParser* parser : parsers()) {
        if (parser->Settings().languageName == languageName)
            return parser;
    }
    return nullptr;
}

void TParserRepository::LoadSettings()
{
    const auto held = parsers();
    loadRepositoryParsers(m_registryFolder.empty() ? TParserRepositorySettings()
                                                   : TParserRepositorySettings(m_registryFolder),
                          held);
}

void TParserRepository::SaveSettings()
{
    const auto held = parsers();
    const auto languages = repositoryLanguages(held);
    (m_registryFolder.empty() ? TParserRepositorySettings() : TParserRepositorySettings(m_registryFolder))
        .SaveAll(languages);
}
