#include "highlight/compiler/ParserScriptHook.h"

#include "highlight/runtime/SourceMemoParser.h"

void installScriptCompiler(TSourceMemoParser& parser, std::shared_ptr<TScriptStop> stop)
{
    parser.ScriptCompiler = [stop](TSourceMemoParser& target, const std::string& text,
                                   const std::string& folder) {
        TScannerOptions options;
        options.fileName = target.Script;
        options.folder = folder;
        try {
            compileParserScript(text, options, target.Tables(), target.Settings(), stop.get());
        } catch (...) {
            try {
                target.TablesChanged();
            } catch (...) {
                // The compiler's error is the one to report.
            }
            throw;
        }
    };
}
