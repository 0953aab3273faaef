#include "highlight/registry/RegistrySettings.h"

#include "editor/keys/KeyAssignmentsValue.h"
#include "editor/keys/KeyboardActionController.h"
#include "highlight/ParserErrors.h"
#include "highlight/registry/KeyMapConversion.h"
#include "highlight/registry/SettingsString.h"

namespace {

// A key map of every editor command takes about 2 KiB. Damaged values far larger than that
// would cost the key map's loader time that grows with the square of their size.
constexpr size_t kMaxKeyAssignmentsBytes = 64 * 1024;

// Applies both values of key to settings; exceptions pass unchanged.
bool applyValues(TSM_Settings& settings, const TRegistryKey& key)
{
    bool applied = false;
    if (const auto text = key.ReadString(highlightingValueName(settings.languageName))) {
        readSettingsString(*text, settings);
        applied = true;
    }
    if (const auto bytes = key.ReadBinary(keyAssignmentsValueName(settings.languageName)))
        applied = readKeyAssignments(*bytes, settings) || applied;
    return applied;
}

void requireRegistry(const TParserRegistryAccess& access)
{
    if (!access.UseRegistry || access.RegistryKey.empty())
        throw ESourceMemo("Registry interface disabled in: " + access.componentName);
}

} // namespace

std::string highlightingValueName(const std::string& languageName)
{
    return "Highlighting - " + languageName;
}

std::string keyAssignmentsValueName(const std::string& languageName)
{
    return "Key Assignments - " + languageName;
}

std::vector<uint8_t> keyAssignmentsOf(const TSM_Settings& settings)
{
    TKeyboardActionContoller map;
    map.FromRecords(ToKeyStoreRecords(settings.keyMap));
    return keyAssignmentsValue(map);
}

bool readKeyAssignments(std::span<const uint8_t> value, TSM_Settings& settings)
{
    if (value.size() > kMaxKeyAssignmentsBytes)
        throw ESourceMemo("Invalid key map data");
    TKeyboardActionContoller map;
    if (!loadKeyAssignmentsValue(map, value))
        return false;
    settings.keyMap = FromKeyStoreRecords(map.ToRecords());
    return true;
}

void saveSettingsToKey(const TSM_Settings& settings, TRegistryKey& key)
{
    const std::vector<uint8_t> keyMap = keyAssignmentsOf(settings);
    key.WriteString(highlightingValueName(settings.languageName), settingsString(settings));
    key.WriteBinary(keyAssignmentsValueName(settings.languageName), keyMap);
}

bool loadSettingsFromKey(TSM_Settings& settings, const TRegistryKey& key, const std::string& keyPath)
{
    if (!key.KeyExists())
        return false;
    TSM_Settings scratch = settings;
    try {
        if (!applyValues(scratch, key))
            return false;
    } catch (const std::exception&) {
        throw ESourceMemo("Invalid data in registry entry \"" + keyPath + "\\" +
                          highlightingValueName(settings.languageName) + "\"");
    }
    settings = std::move(scratch);
    return true;
}

void SaveToRegistry(const TSM_Settings& settings, const TParserRegistryAccess& access)
{
    requireRegistry(access);
    TRegistryKey key(access.RegistryKey, access.baseFolder);
    saveSettingsToKey(settings, key);
}

void LoadFromRegistry(TSM_Settings& settings, const TParserRegistryAccess& access, bool own,
                      const std::string& key)
{
    if (own)
        requireRegistry(access);
    const std::string& keyPath = own ? access.RegistryKey : key;
    if (!keyPath.empty())
        loadSettingsFromKey(settings, TRegistryKey(keyPath, access.baseFolder), keyPath);
    if (access.applyToEditors)
        access.applyToEditors();
}
