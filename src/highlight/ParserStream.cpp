#include "highlight/ParserStream.h"

#include "base/Exception.h"
#include "highlight/Compressor.h"
#include "highlight/ParserErrors.h"

namespace {

[[noreturn]] void rethrowNamed(const std::string& componentName, const std::exception& error)
{
    throw Exception(Format("%s: %s", componentName.c_str(), error.what()));
}

} // namespace

std::string parserVersionErrorText(const std::string& componentName, int versionRead)
{
    return Format("%s: DFM file saved by different version of TSourceMemoParser.\n\r"
                  "Recompile script to update DFM file.\n\r"
                  "Expected version was %d read version was %d",
                  componentName.c_str(), int(kParserStreamVersion), versionRead);
}

void writeParserStream(TStream& stream, const std::string& componentName, const TParserTables& tables,
                       const TSM_Settings& settings, uint16_t version)
{
    try {
        TMemoryStream body(writeParserBody(tables, settings, version));
        const uint8_t header[6] = {uint8_t(version), uint8_t(version >> 8), uint8_t(body.Size()),
                                   uint8_t(body.Size() >> 8), uint8_t(body.Size() >> 16),
                                   uint8_t(body.Size() >> 24)};
        stream.WriteBuffer(header, sizeof header);
        body.SetPosition(0);
        TCompressor compressor;
        compressor.setUseStreams(true);
        compressor.setMethod(cmBlock);
        compressor.setInputStream(&body);
        compressor.setOutputStream(&stream);
        compressor.Compress();
    } catch (const std::exception& error) {
        rethrowNamed(componentName, error);
    }
}

ParserStreamResult readParserStream(TStream& stream, const std::string& componentName, TParserTables& tables,
                                    TSM_Settings& settings, VersionCheck check)
{
    tables.reset();
    settings.reset();
    ParserStreamResult result;
    try {
        uint8_t header[2];
        stream.ReadBuffer(header, 2);
        result.version = static_cast<uint16_t>(header[0] | (header[1] << 8));
    } catch (const std::exception& error) {
        rethrowNamed(componentName, error);
    }
    if (result.version < kOldestParserStreamVersion) {
        if (check == VersionCheck::Raise)
            throw ESourceMemoParserError(parserVersionErrorText(componentName, result.version));
        result.versionError = true;
        return result;
    }
    try {
        uint8_t length[4];
        stream.ReadBuffer(length, 4); // the body's length; the packed data carries its own
        TMemoryStream body;
        TCompressor compressor;
        compressor.setUseStreams(true);
        compressor.setInputStream(&stream);
        compressor.setOutputStream(&body);
        compressor.Decompress();
        result.bodySize = body.Bytes().size();
        result.bodyConsumed = readParserBody(body.Bytes().data(), body.Bytes().size(), tables, settings, result.version);
    } catch (const std::exception& error) {
        tables.reset();
        settings.reset();
        rethrowNamed(componentName, error);
    }
    return result;
}

void readParserStreamBytes(const uint8_t* data, size_t size)
{
    TReadOnlyMemoryStream stream(data, static_cast<int64_t>(size));
    TParserTables tables;
    TSM_Settings settings;
    readParserStream(stream, "Parser", tables, settings, VersionCheck::Report);
    tables.check();
    settings.check();
}
