// Feeds arbitrary bytes to the compiled-parser reader. A first byte below 0x80 reads the rest
// as an unpacked body (mutations reach the tables); otherwise the rest is a whole parser stream.
// Whatever loads must satisfy the tables' and settings' invariants and write back to itself.
#include "base/Exception.h"
#include "highlight/ParserStream.h"

#include <cstdint>
#include <cstdlib>

static void readBody(const uint8_t* data, size_t size, uint16_t version)
{
    TParserTables tables;
    TSM_Settings settings;
    try {
        readParserBody(data, size, tables, settings, version);
    } catch (const Exception&) {
        return;
    }
    tables.check();
    settings.check();
    const std::vector<uint8_t> written = writeParserBody(tables, settings, version);
    TParserTables again;
    TSM_Settings againSettings;
    readParserBody(written.data(), written.size(), again, againSettings, version);
    if (writeParserBody(again, againSettings, version) != written)
        std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    if (data[0] < 0x80) {
        readBody(data + 1, size - 1, data[0] & 1 ? 50 : 51);
        return 0;
    }
    try {
        readParserStreamBytes(data + 1, size - 1);
    } catch (const Exception&) {
    }
    return 0;
}
