#include "build/HexDecoder.h"

#include "base/Stream.h"
#include "build/IntelHexRecord.h"
#include "build/TextLines.h"

namespace {

// Every line must be a non-empty line starting with ":", and the first record decides the
// format; nothing when the file is invalid.
std::optional<HexFormat> detectFormat(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        if (line.empty() || line[0] != ':')
            return std::nullopt;
    }
    if (lines.empty())
        return HexFormat::INHX8M;
    const std::optional<uint8_t> type = intelHexRecordType(lines.front());
    if (type == kHexDataRecord)
        return HexFormat::INHX8M;
    if (type == kHexExtendedLinearAddressRecord)
        return HexFormat::INHX32;
    return std::nullopt;
}

void addDataRecord(THexListing& listing, uint8_t upperAddress, const TIntelHexRecord& record)
{
    const THexPlace place = placeHexRecord(listing.format, upperAddress, record.address);
    if (place.region == HexRegion::Program)
        listing.addProgramRecord(place.label, record.entries);
    else if (place.region == HexRegion::Eeprom)
        listing.addEepromRecord(place.label, record.entries);
}

} // namespace

std::optional<THexListing> decodeHexFile(std::string_view bytes)
{
    const std::vector<std::string> lines = splitTextLines(bytes);
    const std::optional<HexFormat> format = detectFormat(lines);
    if (!format)
        return std::nullopt;
    THexListing listing;
    listing.format = *format;
    uint8_t upperAddress = 0;
    for (const std::string& line : lines) {
        const std::optional<TIntelHexRecord> record = parseIntelHexRecord(line);
        if (!record)
            return std::nullopt;
        if (record->type == kHexEndOfFileRecord)
            break;
        if (record->type == kHexExtendedLinearAddressRecord)
            upperAddress = record->upperAddress;
        else if (record->type == kHexDataRecord)
            addDataRecord(listing, upperAddress, *record);
    }
    return listing;
}

std::optional<THexListing> LoadHexFile(const std::string& path)
{
    TFileStream file(path, FileMode::OpenRead);
    TMemoryStream bytes;
    bytes.CopyFrom(file, 0);
    return decodeHexFile(bytes.AsString());
}
