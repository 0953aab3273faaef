// The stream of a compiled parser as a parser component stores it: u16 version (51), i32 length
// of the unpacked body, then the body packed with the block method. Any failure while writing or
// reading the body is raised as a plain Exception "<component>: <message>".
#pragma once

#include "base/Stream.h"
#include "highlight/ParserFormat.h"

#include <string>

// What to do with a stream older than version 50.
enum class VersionCheck {
    Raise,  // the component is being loaded: raise ESourceMemoParserError with the version text
    Report, // return the versions and let the component report them
};

struct ParserStreamResult
{
    uint16_t version = 0;
    bool versionError = false; // the stream was too old; the tables and settings are empty
    size_t bodySize = 0;       // bytes unpacked
    size_t bodyConsumed = 0;   // bytes of the body the reader used
};

void writeParserStream(TStream& stream, const std::string& componentName, const TParserTables& tables,
                       const TSM_Settings& settings, uint16_t version = kParserStreamVersion);

// Resets the tables and settings to an empty language, then reads the stream into them. After
// a failure they are empty again, never half loaded.
ParserStreamResult readParserStream(TStream& stream, const std::string& componentName, TParserTables& tables,
                                    TSM_Settings& settings, VersionCheck check = VersionCheck::Raise);

// The version error text for a component that read an older version.
std::string parserVersionErrorText(const std::string& componentName, int versionRead);

// Fuzzing entry: reads a whole parser stream held in memory into fresh tables; throws as
// readParserStream does.
void readParserStreamBytes(const uint8_t* data, size_t size);
