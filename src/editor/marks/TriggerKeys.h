// The keys of an auto-correct trigger text. Each character is the key that types it on a US
// keyboard, with Shift when it needs it (":" is Shift and the ";" key). Escapes: "\n" and "\r"
// are Return, "\s" Space, "\t" Tab, "\{name}" the key of that name in the key-name table
// ("\{Return}"), and a backslash before any other character that character's key without
// Shift. A key is its virtual-key code plus 256 for Shift (and 512 for Ctrl, which no text
// asks for). Characters no key types, unknown names and a final lone backslash are skipped;
// each key is listed once, in the order first met.
#pragma once

#include <string_view>
#include <vector>

constexpr int kTriggerShift = 256;
constexpr int kTriggerCtrl = 512;

std::vector<int> parseTriggerKeys(std::string_view text);
