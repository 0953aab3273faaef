#include "highlight/registry/SettingsString.h"

#include "base/Exception.h"
#include "highlight/registry/SettingsErrors.h"
#include "highlight/registry/SettingsStringForms.h"

namespace {

constexpr std::string_view kPrefix = "Zylnor";
constexpr size_t kHeaderSize = kPrefix.size() + 2; // prefix, version digit, colon

// The version digit 1..9; message 4133 for anything else.
int versionOf(std::string_view text)
{
    if (text.substr(0, kPrefix.size()) != kPrefix || text.size() <= kPrefix.size())
        throw invalidStyleString();
    const char digit = text[kPrefix.size()];
    if (digit < '1' || digit > '9')
        throw invalidStyleString();
    return digit - '0';
}

} // namespace

std::string settingsString(const TSM_Settings& settings)
{
    return std::string(kPrefix) + kSettingsStringVersion + ':' + taggedSettingsFields(settings) +
           "#END#";
}

void readSettingsString(std::string_view text, TSM_Settings& settings)
{
    const int version = versionOf(text);
    TSM_Settings scratch = settings;
    TSettingsCursor in(text, kHeaderSize);
    if (version >= 5)
        readTaggedSettings(in, scratch);
    else
        readPositionalSettings(in, version, scratch);
    settings = std::move(scratch);
}

bool parseSettingsStringBytes(const uint8_t* data, size_t size, TSM_Settings& settings)
{
    try {
        readSettingsString(std::string_view(reinterpret_cast<const char*>(data), size), settings);
        return true;
    } catch (const Exception&) {
        return false;
    }
}
