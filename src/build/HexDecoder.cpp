#include "build/HexDecoder.h"

#include "base/Exception.h"
#include "build/IntelHexRecord.h"
#include "build/TextLines.h"
#include "platform/FileAccess.h"

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
    std::string bytes;
    const TReadResult read = readRegularFile(path, kMaxHexFileSize, bytes);
    if (read == TReadResult::Missing)
        throw EFOpenError(Format("Cannot open file \"%s\". No such file or directory", path.c_str()));
    if (read == TReadResult::Cut)
        throw EReadError(Format("Cannot read file \"%s\". The file is larger than 16 MB, more than any "
                                "device's program", path.c_str()));
    return decodeHexFile(bytes);
}
