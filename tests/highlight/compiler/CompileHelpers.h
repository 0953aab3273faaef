// Helpers for compiler tests: compile a script held in a string, with include files served
// from a map instead of the disk, and capture the error text.
#pragma once

#include "highlight/compiler/ScriptCompiler.h"

#include <map>
#include <string>

struct CompiledScript
{
    TParserTables tables;
    TSM_Settings settings;
    TScriptStop stop;
    std::string error; // empty on success
};

inline std::unique_ptr<CompiledScript> compileText(const std::string& script,
                                                   std::map<std::string, std::string> files = {})
{
    auto result = std::make_unique<CompiledScript>();
    TScannerOptions options;
    options.fileName = "test.txt";
    options.folder = "lib";
    options.reader = [files](const std::string& path) -> std::optional<std::string> {
        auto it = files.find(path);
        return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    try {
        compileParserScript(script, options, result->tables, result->settings, &result->stop);
        result->tables.check();
        result->settings.check();
    } catch (const std::exception& error) {
        result->error = error.what();
    }
    return result;
}

// The text every scanner or grammar error carries after its position.
inline std::string detailOf(const std::string& error)
{
    const size_t colon = error.find(": ");
    return error.rfind("** ERROR", 0) == 0 && colon != std::string::npos ? error.substr(colon + 2)
                                                                         : error;
}
