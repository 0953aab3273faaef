// Textual keys: the names parser scripts and trigger texts use for special keys ("pageup",
// "f3"), and the key text of a whole shortcut ("Ctrl+Shift+F3") in both directions.
#pragma once

#include "platform/VirtualKeys.h"

#include <span>
#include <string>
#include <string_view>

struct TKeyName
{
    std::string_view name; // lower case; looked up without regard to case
    uint8_t key;           // virtual-key code
    std::string_view text; // how key texts write the key
};

// The key name table, sorted by name.
std::span<const TKeyName> keyNameTable();

// The virtual-key code named by name (any case), or -1 when the table has no such name.
int keyCodeOfName(std::string_view name);

// The key text of a shortcut: the modifiers "Ctrl+", "Alt+", "Shift+" in that order, then the
// key: its table text ("PageUp", "F3"), a letter or digit as itself, a punctuation key as its
// unshifted character on a US keyboard, any other code as "#" and its decimal number.
// A shortcut without a key gives an empty text. Bits other than the key and the three
// modifiers are not written.
std::string shortCutToText(TShortCut shortCut);

// The shortcut of a key text: any number of the modifiers "Ctrl+", "Shift+", "Alt+" in any
// order and case, then one key written as shortCutToText writes it (names in any case, letters
// in either case). Anything else gives 0, the value for "no key". Reads back every text that
// shortCutToText writes.
TShortCut textToShortCut(std::string_view text);
