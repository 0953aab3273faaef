// The expansion tables as a language's settings keep them (plain lists, the hot key as key
// text) and as the control uses them (tables that find names from the caret backwards).
#pragma once

#include "editor/marks/MacroKeywords.h"
#include "highlight/ParserSettings.h"

// Fill the tables from the settings' template list, auto-replace list and trigger text.
void TemplatesFromSettings(const TSM_Settings& settings, TCodeTemplates& templates);
void AutoReplaceFromSettings(const TSM_Settings& settings, TAutoReplace& autoReplace);
// Write the tables back into the settings.
void TemplatesToSettings(const TCodeTemplates& templates, TSM_Settings& settings);
void AutoReplaceToSettings(const TAutoReplace& autoReplace, TSM_Settings& settings);
