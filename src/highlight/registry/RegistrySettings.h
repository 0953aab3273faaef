// A language's settings in the per-user store: the settings string under
// "Highlighting - " + language name and the key map under "Key Assignments - " + language name.
// The store's values override the compiled settings; a missing key or value changes nothing.
#pragma once

#include "highlight/ParserSettings.h"
#include "platform/RegistryKey.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

// The key under which the IDE keeps the settings of every language it holds.
inline constexpr const char* kParserSettingsKey = "Software\\KALTOR_PLUS_COMP";

std::string highlightingValueName(const std::string& languageName);
std::string keyAssignmentsValueName(const std::string& languageName);

// The key-assignment value of settings' key map: a short text "Zylnor6:" and the stored key map.
std::vector<uint8_t> keyAssignmentsOf(const TSM_Settings& settings);
// Reads a key-assignment value into settings' key map. A value without "Zylnor6:" is not ours
// and is ignored (false). Damaged bytes, conflicting bindings or a value above 64 KiB raise
// errors with settings unchanged.
bool readKeyAssignments(std::span<const uint8_t> value, TSM_Settings& settings);

// Writes both values of settings into key, creating it. Write failures are EStreamError.
void saveSettingsToKey(const TSM_Settings& settings, TRegistryKey& key);

// Reads the values key holds for settings' language over settings: first the settings string,
// then the key map. All or nothing: on any failure settings stay as they were and ESourceMemo
// "Invalid data in registry entry "<keyPath>\Highlighting - <language>"" is raised. Answers
// whether a value was applied.
bool loadSettingsFromKey(TSM_Settings& settings, const TRegistryKey& key, const std::string& keyPath);

// The registry properties of a parser component and the services its operations use.
struct TParserRegistryAccess
{
    std::string componentName; // names the component in "Registry interface disabled in: "
    bool UseRegistry = false;
    std::string RegistryKey;
    // Where TRegistryKey keeps its keys; tests point it at a temporary folder.
    std::string baseFolder = defaultRegistryFolder();
    // Lets the editors that show the language pick up loaded settings; may be empty.
    std::function<void()> applyToEditors;
};

// Requires UseRegistry and a RegistryKey, else ESourceMemo "Registry interface disabled in: "
// and the component name; then saveSettingsToKey on that key.
void SaveToRegistry(const TSM_Settings& settings, const TParserRegistryAccess& access);

// With own set the same requirement as SaveToRegistry applies and RegistryKey is read;
// otherwise key is (an empty key holds nothing). Loads as loadSettingsFromKey does, then applies the settings to the
// editors (not after a failure, which leaves the settings as they were).
void LoadFromRegistry(TSM_Settings& settings, const TParserRegistryAccess& access, bool own,
                      const std::string& key = {});
