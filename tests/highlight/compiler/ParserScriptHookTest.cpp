// A parser component compiling its script file through the compiler.
#include "highlight/compiler/ParserScriptHook.h"
#include "highlight/compiler/CompilerErrors.h"
#include "highlight/compiler/ScriptCompiler.h"
#include "highlight/runtime/SourceMemoParser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::vector<int> tokenNumbers(TSourceMemoParser& parser, std::string_view text)
{
    TStringCharSource source(text);
    TParseCursor in(source);
    parser.ResetState(0);
    std::vector<int> tokens;
    while (!in.atEnd()) {
        int64_t length = 0;
        tokens.push_back(parser.NextToken(nullptr, in, length));
    }
    return tokens;
}

// Regression: a keyword table's terminator text was taken byte by byte as the characters that
// may follow a word, so with '[^a-z]' "one two" held no keyword while "one[" did.
TEST(KeywordTableTerminators, TheFirstSpecifierIsTheGroupThatMustFollowAWord)
{
    TSourceMemoParser parser;
    TScannerOptions options;
    compileParserScript(R"(%%kwTables
forstate [] endswith '[^a-z]' ( 5 is 'one' )
forstate [1] endswith ';x' ( 6 is 'two' )
forstate [2] endswith '' ( 7 is 'six' ))",
                        options, parser.Tables(), parser.Settings());
    parser.TablesChanged();
    EXPECT_EQ(tokenNumbers(parser, "one two"), (std::vector<int>{5, 0, 0, 0, 0}));
    EXPECT_EQ(tokenNumbers(parser, "one["), (std::vector<int>{5, 0}));
    EXPECT_EQ(tokenNumbers(parser, "ones"), (std::vector<int>{0, 0, 0, 0}));
    for (int state : {1, 2}) {
        parser.Tables().contextStates[0] = {state};
        // Only the first specifier counts: ';' may follow, 'x' may not.
        EXPECT_EQ(tokenNumbers(parser, "two;").front(), state == 1 ? 6 : 0);
        EXPECT_EQ(tokenNumbers(parser, "twox").front(), 0);
        EXPECT_EQ(tokenNumbers(parser, "sixx").front(), state == 2 ? 7 : 0);
    }
}

class ScriptFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() / ("zbx_hook_" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string write(const std::string& name, const std::string& text)
    {
        const auto path = m_dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    std::filesystem::path m_dir;
};

TEST_F(ScriptFile, CompileScriptLoadsTheLanguageWithItsIncludes)
{
    write("words.inc", "%%words 'print' '[^a-z]' 12\n");
    TSourceMemoParser parser;
    parser.Script = write("lang.txt", "#include <words.inc>\n%%tokens 3 __STD_IDENTIFIER\n");
    auto stop = std::make_shared<TScriptStop>();
    installScriptCompiler(parser, stop);
    parser.CompileScript();
    EXPECT_EQ(tokenNumbers(parser, "PRINT x"), (std::vector<int>{12, 0, 3}));
    EXPECT_EQ(stop->line, 3);
}

TEST_F(ScriptFile, AFailedCompilationReportsAndLeavesAUsableParser)
{
    TSourceMemoParser parser;
    parser.Script = write("bad.txt", "%%words 'if' '[]' 5\n%%tokens 3 9 %%map 1 1\n");
    auto stop = std::make_shared<TScriptStop>();
    installScriptCompiler(parser, stop);
    EXPECT_THROW(parser.CompileScript(), ESYM_COMP_ERROR);
    EXPECT_EQ(stop->line, 2);
    EXPECT_EQ(stop->section, "%%Tokens - 3");
    // What was compiled before the error is in use.
    EXPECT_EQ(tokenNumbers(parser, "if"), (std::vector<int>{5}));
}

} // namespace
