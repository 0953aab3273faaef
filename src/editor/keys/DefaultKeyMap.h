// The key map every new settings object starts from, built once per process.
#pragma once

#include "editor/keys/KeyboardActionController.h"

// Fills map with the 48 command descriptions and the default bindings, replacing what it held.
void buildDefaultKeyMap(TKeyboardActionContoller& map);

// The shared default map; built on first use, never changed afterwards. Settings objects copy
// it (Assign or the copy constructor) and change only their copy.
const TKeyboardActionContoller& defaultKeyMap();
