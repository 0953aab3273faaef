// Settings that use every field the settings string carries, shared by the registry tests and
// the seed corpus generator.
#pragma once

#include "highlight/ParserSettings.h"

#include <functional>
#include <string>

// Non-default values everywhere the settings string reaches: system and negative colours,
// every style letter, a gutter font with strike-out, tab stops, texts holding '#'.
TSM_Settings richSettings();

// The message of the Exception fn raises, or "no error".
std::string errorOf(const std::function<void()>& fn);
