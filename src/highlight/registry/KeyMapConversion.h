// A language's key map as its settings keep it, and as the editor's key store reads and writes
// it: the same commands and bindings in two record types.
#pragma once

#include "editor/keys/KeyMapRecords.h"
#include "highlight/ParserSettings.h"

TKeyMapRecords ToKeyStoreRecords(const KeyMapRecords& map);
KeyMapRecords FromKeyStoreRecords(const TKeyMapRecords& records);
