#include "highlight/registry/ParserRepositorySettings.h"

#include "highlight/ParserErrors.h"

#include <exception>

TParserRepositorySettings::TParserRepositorySettings(std::string baseFolder, std::string keyPath)
    : m_baseFolder(std::move(baseFolder)), m_keyPath(std::move(keyPath))
{
}

// The registry properties a parser gets for the duration of one repository call.
TParserRegistryAccess TParserRepositorySettings::accessFor(const TRepositoryLanguage& language) const
{
    TParserRegistryAccess access;
    access.componentName = language.name;
    access.UseRegistry = true;
    access.RegistryKey = m_keyPath;
    access.baseFolder = m_baseFolder;
    return access;
}

void TParserRepositorySettings::SaveAll(std::span<const TRepositoryLanguage> languages) const
{
    for (const TRepositoryLanguage& language : languages)
        SaveToRegistry(language.settings, accessFor(language));
}

int TParserRepositorySettings::LoadAll(std::span<const TRepositoryLanguage> languages) const
{
    const TRegistryKey key(m_keyPath, m_baseFolder);
    std::exception_ptr firstFailure;
    int loaded = 0;
    for (const TRepositoryLanguage& language : languages) {
        try {
            loaded += loadSettingsFromKey(language.settings, key, m_keyPath) ? 1 : 0;
        } catch (const ESourceMemo&) {
            if (!firstFailure)
                firstFailure = std::current_exception();
        }
    }
    if (firstFailure)
        std::rethrow_exception(firstFailure);
    return loaded;
}
