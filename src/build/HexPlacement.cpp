#include "build/HexPlacement.h"

namespace {

THexPlace placeInhx8m(uint16_t address)
{
    const uint32_t a = address / 2u;
    if ((a >= 0x2000 && a < 0x2003) || a == 0x2007)
        return {HexRegion::PassedOver, 0};
    if (a >= 0x2100)
        return {HexRegion::Eeprom, static_cast<uint16_t>(a - 0x2100)};
    return {HexRegion::Program, static_cast<uint16_t>(a)};
}

THexPlace placeInhx32(uint8_t upperAddress, uint16_t address)
{
    const uint32_t a = uint32_t{upperAddress} * 65536u + address;
    if ((a >= 0x200000 && a < 0x200007) || (a >= 0x300000 && a <= 0x30000D))
        return {HexRegion::PassedOver, 0};
    if (a >= 0xF00000)
        return {HexRegion::Eeprom, static_cast<uint16_t>((a % 65536u) / 2u)};
    return {HexRegion::Program, static_cast<uint16_t>((a / 2u) % 65536u)};
}

} // namespace

THexPlace placeHexRecord(HexFormat format, uint8_t upperAddress, uint16_t address)
{
    return format == HexFormat::INHX8M ? placeInhx8m(address) : placeInhx32(upperAddress, address);
}
