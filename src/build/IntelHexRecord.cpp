#include "build/IntelHexRecord.h"

namespace {

constexpr size_t kHeaderLength = 9; // ":" and 8 digits

// The value of the byte written as two digits at 1-based positions p and p+1; -1 when the
// line is too short or either character is not a digit.
int byteAt(std::string_view line, size_t position)
{
    if (line.size() < position + 1)
        return -1;
    const int high = hexDigitValue(line[position - 1]);
    const int low = hexDigitValue(line[position]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

bool readHeader(std::string_view line, TIntelHexRecord& record)
{
    if (line.size() < kHeaderLength || line[0] != ':')
        return false;
    const int count = byteAt(line, 2);
    const int addressHigh = byteAt(line, 4);
    const int addressLow = byteAt(line, 6);
    const int type = byteAt(line, 8);
    if (count < 0 || addressHigh < 0 || addressLow < 0 || type < 0)
        return false;
    record.count = static_cast<uint8_t>(count);
    record.address = static_cast<uint16_t>(addressHigh << 8 | addressLow);
    record.type = static_cast<uint8_t>(type);
    return true;
}

bool readEntries(std::string_view line, TIntelHexRecord& record)
{
    const size_t entryCount = record.count / 2;
    record.entries.reserve(entryCount);
    for (size_t k = 0; k < entryCount; ++k) {
        const int low = byteAt(line, 10 + 4 * k);
        const int high = byteAt(line, 12 + 4 * k);
        if (low < 0 || high < 0)
            return false;
        record.entries.push_back(static_cast<uint16_t>(high << 8 | low));
    }
    return true;
}

bool readUpperAddress(std::string_view line, TIntelHexRecord& record)
{
    const int ignoredHigh = byteAt(line, 10);
    const int upper = byteAt(line, 12);
    if (ignoredHigh < 0 || upper < 0)
        return false;
    record.upperAddress = static_cast<uint8_t>(upper);
    return true;
}

} // namespace

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<uint8_t> intelHexRecordType(std::string_view line)
{
    TIntelHexRecord record;
    if (!readHeader(line, record))
        return std::nullopt;
    return record.type;
}

std::optional<TIntelHexRecord> parseIntelHexRecord(std::string_view line)
{
    TIntelHexRecord record;
    if (!readHeader(line, record))
        return std::nullopt;
    if (record.type == kHexDataRecord && !readEntries(line, record))
        return std::nullopt;
    if (record.type == kHexExtendedLinearAddressRecord && !readUpperAddress(line, record))
        return std::nullopt;
    return record;
}
