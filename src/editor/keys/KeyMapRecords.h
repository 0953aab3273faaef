// A key map as plain records, and its stored byte form: the command descriptions, then the
// bindings. Compiled parsers and the key-assignment settings value embed this form.
#pragma once

#include "platform/VirtualKeys.h"

#include <cstdint>
#include <string>
#include <vector>

class TStream;

struct TKeyMapRecords
{
    struct Command
    {
        int32_t number = 0;
        std::string name;
        bool operator==(const Command&) const = default;
    };
    struct Binding
    {
        TShortCut first = 0;
        TShortCut second = 0; // 0 for a single key
        int32_t command = 0;
        bool operator==(const Binding&) const = default;
    };
    std::vector<Command> commands;
    std::vector<Binding> bindings;
    bool operator==(const TKeyMapRecords&) const = default;
};

// i32 n, n times (i32 number, str8 name); i32 m, m times (u16 first, u16 second, i32 command);
// little-endian. A name longer than 255 bytes is cut to 255: a short text cannot say more.
void writeKeyMapRecords(TStream& stream, const TKeyMapRecords& records);

// Reads what writeKeyMapRecords writes. Damaged bytes raise EReadError "Stream read error" when
// the stream ends early and EKeyControllerException "Invalid key map data" for a negative
// count; memory grows only with bytes actually read.
TKeyMapRecords readKeyMapRecords(TStream& stream);
