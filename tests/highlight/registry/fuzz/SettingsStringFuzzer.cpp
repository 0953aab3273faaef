// Feeds arbitrary bytes to the settings-string reader. Whatever it accepts must keep the
// settings' invariants, and writing the result and reading that back over it must change
// nothing.
#include "highlight/registry/SettingsString.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const TSM_Settings defaults;
    TSM_Settings settings = defaults;
    if (!parseSettingsStringBytes(data, size, settings)) {
        if (!(settings == defaults))
            std::abort();
        return 0;
    }
    settings.check();
    const std::string written = settingsString(settings);
    TSM_Settings again = settings;
    if (!parseSettingsStringBytes(reinterpret_cast<const uint8_t*>(written.data()), written.size(), again))
        std::abort();
    if (!(again == settings))
        std::abort();
    return 0;
}
