// Where a data record of a HEX file goes: program memory, EEPROM or nowhere (configuration and
// ID locations are passed over), and the 16-bit label its listing line carries. A record is
// placed by its start address alone and always whole.
//   INHX8M: word a = address/2; passed over for 0x2000 <= a < 0x2003 and a = 0x2007; EEPROM
//           from 0x2100 (label a - 0x2100); otherwise program memory (label a).
//   INHX32: a = upper*65536 + address; passed over for 0x200000 <= a < 0x200007 and
//           0x300000 <= a <= 0x30000D; EEPROM from 0xF00000 (label (a mod 65536)/2);
//           otherwise program memory (label (a/2) mod 65536).
#pragma once

#include <cstdint>

enum class HexFormat
{
    INHX8M,
    INHX32
};
enum class HexRegion
{
    PassedOver,
    Program,
    Eeprom
};

struct THexPlace
{
    HexRegion region = HexRegion::PassedOver;
    uint16_t label = 0;
};

THexPlace placeHexRecord(HexFormat format, uint8_t upperAddress, uint16_t address);
