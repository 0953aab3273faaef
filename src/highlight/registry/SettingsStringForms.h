// The two bodies of a settings string, read after its nine-character header by
// readSettingsString, which gives them a scratch copy of the settings.
#pragma once

#include "highlight/ParserSettings.h"
#include "highlight/registry/SettingsCursor.h"

#include <string>

// Versions 5 to 9: tagged fields until the first tag that is not known.
void readTaggedSettings(TSettingsCursor& in, TSM_Settings& settings);
std::string taggedSettingsFields(const TSM_Settings& settings);

// Versions 1 to 4: options, gutter width, wrap column, indent step, wrap-override text, then by
// version the font, the selection colours, the tab stops, and the styles last.
void readPositionalSettings(TSettingsCursor& in, int version, TSM_Settings& settings);

// A default tab width the editor can divide by: ESourceMemo otherwise.
int32_t checkedTabDefault(int32_t width);
