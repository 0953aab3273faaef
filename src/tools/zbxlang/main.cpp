// zbxlang: compiles parser scripts into compiled-parser streams and shows what a stream holds.
//   zbxlang compile SCRIPT OUT.stream [-I dir]...
//   zbxlang dump STREAM
#include "ParserDump.h"

#include "base/Exception.h"
#include "base/Stream.h"
#include "highlight/ParserStream.h"
#include "highlight/compiler/CompilerErrors.h"
#include "highlight/compiler/ScriptCompiler.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

int usage()
{
    std::cerr << "usage: zbxlang compile SCRIPT OUT.stream [-I dir]...\n"
                 "       zbxlang dump STREAM\n";
    return 2;
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

int compile(int argc, char** argv)
{
    if (argc < 4)
        return usage();
    const std::string script = argv[2];
    const std::string output = argv[3];
    TScannerOptions options;
    options.fileName = script;
    options.folder = folderOf(script);
    for (int i = 4; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-I" && i + 1 < argc)
            options.includeDirs.push_back(argv[++i]);
        else if (arg.rfind("-I", 0) == 0 && arg.size() > 2)
            options.includeDirs.push_back(arg.substr(2));
        else
            return usage();
    }
    std::ifstream file(script, std::ios::binary);
    if (!file) {
        std::cerr << script << ": error: cannot open the script\n";
        return 1;
    }
    std::ostringstream text;
    text << file.rdbuf();
    TParserTables tables;
    TSM_Settings settings;
    TScriptStop stop;
    try {
        compileParserScript(text.str(), options, tables, settings, &stop);
        TMemoryStream stream;
        writeParserStream(stream, "zbxlang", tables, settings);
        TFileStream out(output, FileMode::Create);
        out.WriteBuffer(stream.Bytes().data(), static_cast<int64_t>(stream.Bytes().size()));
    } catch (const std::exception& error) {
        std::cerr << stop.fileName << ":" << stop.line << ":" << stop.column
                  << ": error: " << error.what();
        if (!stop.section.empty())
            std::cerr << " [" << stop.section << "]";
        std::cerr << "\n";
        std::remove(output.c_str());
        return 1;
    }
    return 0;
}

int dump(int argc, char** argv)
{
    if (argc != 3)
        return usage();
    try {
        TFileStream in(argv[2], FileMode::OpenRead);
        TParserTables tables;
        TSM_Settings settings;
        const ParserStreamResult result =
            readParserStream(in, "zbxlang", tables, settings, VersionCheck::Report);
        if (result.versionError) {
            std::cerr << argv[2] << ": error: " << parserVersionErrorText("zbxlang", result.version)
                      << "\n";
            return 1;
        }
        std::cout << "[stream] version " << result.version << ", body " << result.bodySize
                  << " bytes, " << result.bodyConsumed << " read\n";
        dumpParser(std::cout, tables, settings);
    } catch (const std::exception& error) {
        std::cerr << argv[2] << ": error: " << error.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    if (command == "compile")
        return compile(argc, argv);
    if (command == "dump")
        return dump(argc, argv);
    return usage();
}
