// The script scanner and preprocessor: literals, comments, macros, conditionals, includes and
// the scanner's error messages.
#include "CompileHelpers.h"

#include "highlight/compiler/CompilerErrors.h"
#include "highlight/compiler/ScriptScanner.h"
#include "highlight/compiler/WordStore.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <random>

namespace {

std::vector<TScriptToken> scanAll(const std::string& text, TScannerOptions options = {})
{
    TSYM_Compiler scanner(text, std::move(options));
    std::vector<TScriptToken> tokens;
    for (;;) {
        TScriptToken token = scanner.next();
        scanner.check();
        if (token.code == tk::EndOfInput)
            return tokens;
        tokens.push_back(token);
    }
}

std::string scanError(const std::string& text, TScannerOptions options = {})
{
    try {
        scanAll(text, std::move(options));
    } catch (const ESYM_COMP_ERROR& error) {
        return error.what();
    }
    return "";
}

TEST(WordStore, LooksUpWordsIgnoringCaseAndFindsTheLongest)
{
    TWordStore store;
    store.addValue("name", 21);
    store.addValue("%%handler", 26);
    store.addValue("%%handlers", 26);
    store.addText("Foo", "1");
    store.addText("FOO", "2"); // replaces the text
    store.check();
    EXPECT_EQ(store.valueOf("NAME"), 21);
    EXPECT_EQ(store.valueOf("nam"), -1);
    EXPECT_EQ(store.textOf("foo"), "2");
    EXPECT_FALSE(store.textOf("name").has_value());
    EXPECT_EQ(store.wordCount(), 4u);
    EXPECT_EQ(store.longestAt("%%HANDLERS 1").length, 10u);
    EXPECT_EQ(store.longestAt("%%handlerx").length, 9u);
    EXPECT_EQ(store.longestAt("names").length, 4u);
    EXPECT_EQ(store.longestAt("nam").length, 0u);
}

TEST(WordStore, KeepsSiblingsOrderedWhateverTheInsertionOrder)
{
    TWordStore store;
    const char* words[] = {"zeta", "alpha", "alp", "al", "beta", "b", "zz", "za", "a"};
    for (int i = 0; i < 9; ++i)
        store.addValue(words[i], i);
    store.check();
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(store.valueOf(words[i]), i) << words[i];
}

TEST(WordStore, AgreesWithAPlainMapUnderRandomWords)
{
    std::mt19937 random(20261207);
    TWordStore store;
    std::map<std::string, int> reference; // lower-cased word -> value
    auto randomWord = [&random] {
        std::string word(1 + random() % 6, ' ');
        for (char& c : word)
            c = "abAB_%9"[random() % 7];
        return word;
    };
    auto lower = [](std::string word) {
        for (char& c : word)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return word;
    };
    for (int step = 0; step < 3000; ++step) {
        const std::string word = randomWord();
        if (random() % 2) {
            store.addValue(word, step);
            reference[lower(word)] = step;
            store.check();
        }
        const auto it = reference.find(lower(word));
        ASSERT_EQ(store.valueOf(word), it == reference.end() ? -1 : it->second) << word;
        // The longest stored prefix of the word, found the slow way.
        size_t longest = 0;
        for (size_t n = 1; n <= word.size(); ++n)
            if (reference.count(lower(word.substr(0, n))))
                longest = n;
        ASSERT_EQ(store.longestAt(word).length, longest) << word;
    }
    EXPECT_EQ(store.wordCount(), reference.size());
}

TEST(Scanner, DecodesEveryEscapeAndKeepsTheRawText)
{
    const auto tokens = scanAll(R"('a\nb' 'a\rb' '\101\x41\X4a\b\e\s\t\q\'\\')");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].value, "a\rb");
    EXPECT_EQ(tokens[1].value, "a\nb");
    EXPECT_EQ(tokens[2].value, std::string("AAJ\x08\x1B \tq'\\", 10));
    EXPECT_EQ(tokens[2].raw, R"(\101\x41\X4a\b\e\s\t\q\'\\)");
    const auto upper = scanAll(R"('\N\R\777')");
    EXPECT_EQ(upper[0].value, std::string("\r\n\xFF"));
}

TEST(Scanner, ContinuesALiteralAfterABackslashAtTheLineEnd)
{
    const auto tokens = scanAll("'abc\\\r\n     \\def' 'x\\\n  y'");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].value, "abcdef");
    EXPECT_EQ(tokens[0].raw, "abcdef");
    EXPECT_EQ(tokens[1].value, "xy");
    // Without the backslash the line break belongs to the literal.
    EXPECT_EQ(scanAll("'a\r\nb'")[0].value, "a\rb");
}

TEST(Scanner, SkipsCommentsAndCountsTheirLines)
{
    TSYM_Compiler scanner("/* one\r\ntwo */ // three\r\n  5", {});
    EXPECT_EQ(scanner.next().code, tk::Number);
    EXPECT_EQ(scanner.line(), 3);
    // '/' alone is an ordinary character the token reader cannot use.
    EXPECT_EQ(scanError("/ 5"),
              "** ERROR near line 1, Column 2: Unknown character in input stream: #$2f");
}

TEST(Scanner, ReadsReservedWordsOnlyAtWordBoundaries)
{
    const auto tokens = scanAll("%%Handlers %%handler NAME = ( ) , 42 InState instate or");
    std::vector<int> codes;
    for (const auto& token : tokens)
        codes.push_back(token.code);
    EXPECT_EQ(codes, (std::vector<int>{tk::Handlers, tk::Handlers, tk::Name, tk::Equals,
                                       tk::OpenParen, tk::CloseParen, tk::Comma, tk::Number,
                                       tk::InState, tk::InState, tk::Or}));
    EXPECT_EQ(tokens[7].number, 42);
    EXPECT_EQ(detailOf(scanError("names = 1")), "Identifier \"names\" Unknown");
    EXPECT_EQ(detailOf(scanError("%%wordsx")), "Identifier \"%%wordsx\" Unknown");
}

TEST(Scanner, ExpandsMacrosBeforeReservedWords)
{
    const auto tokens =
        scanAll("#define SIZE 10 + 2\r\n#define LABEL name\r\nSIZE label __OPT_WORDWRAP");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0].number, 10);
    EXPECT_EQ(tokens[1].code, tk::Plus);
    EXPECT_EQ(tokens[3].code, tk::Name);
    EXPECT_EQ(tokens[4].number, 1024);
}

TEST(Scanner, DefineOfANameAsItselfDefinesNothing)
{
    TSYM_Compiler scanner("#define FOO foo\r\n#define BAR  text with blanks  \t\r\n", {});
    EXPECT_EQ(scanner.next().code, tk::EndOfInput);
    EXPECT_FALSE(scanner.macros().contains("foo"));
    EXPECT_EQ(scanner.macros().textOf("bar"), "text with blanks");
}

TEST(Scanner, RecursiveMacrosAreReportedInLowerCase)
{
    EXPECT_EQ(detailOf(scanError("#define A B\r\n#define B A\r\nA")),
              "Recursive expansion of macro 'a'");
    EXPECT_EQ(detailOf(scanError("#define ver ver x\r\nver")),
              "Recursive expansion of macro 'ver'");
    // The same macro twice in a row is no recursion.
    EXPECT_EQ(scanAll("#define ONE 1\r\nONE ONE ONE").size(), 3u);
}

TEST(Scanner, StopsExponentialMacroGrowth)
{
    std::string script = "#define M0 1\r\n";
    for (int i = 1; i < 40; ++i)
        script += "#define M" + std::to_string(i) + " M" + std::to_string(i - 1) + " M" +
                  std::to_string(i - 1) + "\r\n";
    script += "M39";
    EXPECT_EQ(detailOf(scanError(script)), "Macro expansion too large");
}

TEST(Scanner, ConditionalsNestAndSkipWholeParts)
{
    const std::string script =
        "#ifdef X\r\n 1 #ifdef ver200 2 #else 3 names #endif\r\n"
        "#else\r\n 4 #ifndef Y 5 #else 6 ' unclosed \\' ' #endif\r\n#endif 7";
    std::vector<int64_t> numbers;
    for (const auto& token : scanAll(script))
        numbers.push_back(token.number);
    EXPECT_EQ(numbers, (std::vector<int64_t>{4, 5, 7}));
    std::vector<int64_t> defined;
    for (const auto& token : scanAll("#define X\r\n" + script))
        defined.push_back(token.number);
    EXPECT_EQ(defined, (std::vector<int64_t>{1, 2, 7}));
    EXPECT_EQ(detailOf(scanError("#ifdef 5")), "Macro name expected after #ifdef");
    EXPECT_EQ(detailOf(scanError("#endif")), "#else or #endif without #ifdef");
    EXPECT_EQ(detailOf(scanError("#define 5 x")), "Macro name expected");
}

TEST(Scanner, UnknownDirectivesAreUnknownCharacters)
{
    EXPECT_EQ(detailOf(scanError("#pragma once")), "Unknown character in input stream: #$23");
    EXPECT_EQ(detailOf(scanError("#DEFINE X 1")), "Unknown character in input stream: #$23");
}

TEST(Scanner, IncludesBothFormsAndResumesAfterTheDirective)
{
    TScannerOptions options;
    options.folder = "scripts";
    options.includeDirs = {"extra"};
    options.reader = [](const std::string& path) -> std::optional<std::string> {
        if (path == "local.inc")
            return "1 #include <deep.inc> 3";
        if (path == "scripts/deep.inc")
            return "2";
        if (path == "extra/far.inc")
            return "4";
        return std::nullopt;
    };
    std::vector<int64_t> numbers;
    for (const auto& token : scanAll("#include \"local.inc\"\r\n#include <far.inc> 5", options))
        numbers.push_back(token.number);
    EXPECT_EQ(numbers, (std::vector<int64_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(detailOf(scanError("#include <none.inc>", options)),
              "Unable to open #include file <none.inc>");
    EXPECT_EQ(detailOf(scanError("#include \"none", options)),
              "#include filename missing terminating \"");
    EXPECT_EQ(detailOf(scanError("#include <none\r\n>", options)),
              "#include filename missing terminating >");
    EXPECT_EQ(detailOf(scanError("#include none", options)),
              "#include filename not enclosed in \"...\" or <...>");
}

TEST(Scanner, SelfIncludeStopsAtTheDepthLimit)
{
    TScannerOptions options;
    options.reader = [](const std::string&) -> std::optional<std::string> {
        return "#include \"self\"";
    };
    EXPECT_EQ(detailOf(scanError("#include \"self\"", options)), "#include nested too deeply");
}

TEST(Scanner, ReportsPositionsOfTheFileBeingRead)
{
    TScannerOptions options;
    options.reader = [](const std::string&) -> std::optional<std::string> { return "\r\n  ?? $"; };
    TSYM_Compiler scanner("1\r\n#include \"a\"\r\n", options);
    EXPECT_EQ(scanner.next().number, 1);
    EXPECT_EQ(scanner.next().code, tk::Question);
    EXPECT_EQ(scanner.line(), 2);
    EXPECT_EQ(scanner.column(), 4);
    EXPECT_EQ(scanner.fileName(), "a");
    EXPECT_EQ(scanner.next().code, tk::Question);
    EXPECT_THROW(scanner.next(), ESYM_COMP_ERROR);
    EXPECT_EQ(scanner.line(), 2);
    EXPECT_EQ(scanner.column(), 7);
}

TEST(Scanner, UnterminatedLiteralIsAnError)
{
    EXPECT_EQ(detailOf(scanError("'abc")), "String literal not terminated");
    EXPECT_EQ(detailOf(scanError("'abc\\")), "String literal not terminated");
}

} // namespace
