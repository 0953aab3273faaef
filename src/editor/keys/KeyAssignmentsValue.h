// The key-assignment settings value of a language: a short text "Zylnor6:" (a length byte 8 and
// the eight characters) followed by the key map in its stored form.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class TKeyboardActionContoller;

std::vector<uint8_t> keyAssignmentsValue(const TKeyboardActionContoller& map);

// Reads a stored value into map. A value that does not contain "Zylnor6:" is not ours and is
// ignored (false); otherwise the bytes after the first nine are the key map, and damaged bytes
// raise the key map's load errors with map unchanged.
bool loadKeyAssignmentsValue(TKeyboardActionContoller& map, std::span<const uint8_t> value);
