// The tokens the script scanner hands to the section compiler: reserved words by their fixed
// codes, numbers, string literals (raw and decoded) and the end of input. The codes are the
// compiler's own and never stored.
#pragma once

#include <cstdint>
#include <string>

namespace tk {
enum Code : int
{
    Language = 20,
    Name = 21,
    Case = 22,
    Options = 23,
    Words = 24,
    Equals = 25,
    Handlers = 26,
    Tokens = 27,
    Map = 28,
    Effects = 29,
    ExampleText = 33,
    EditableStyles = 34,
    OpenParen = 35,
    CloseParen = 36,
    Comma = 37,
    Plus = 38,
    Minus = 39,
    OpenBracket = 40,
    CloseBracket = 41,
    Question = 42,
    WordWrapColumn = 43,
    Gutter = 44,
    Anchor = 45,
    States = 46,
    IndentStep = 47,
    WrapOverride = 48,
    Containers = 49,
    Keys = 50,
    Shift = 51,
    Ctrl = 52,
    Alt = 53,
    StartState = 54,
    SelTextColor = 55,
    SelTextBack = 56,
    RightMargin = 57,
    FontName = 58,
    FontSize = 59,
    TabColumns = 60,
    TabDefault = 61,
    ContextStates = 62,
    InState = 63,
    BoundStates = 64,
    GutterColor = 65,
    Match = 66,
    Bar = 67,
    AutoReplace = 68,
    Templates = 69,
    MarginColor = 70,
    MarginWidth = 71,
    Star = 72,
    ActionKeys = 73,
    HotKey = 74,
    KwTables = 75,
    ForState = 76,
    EndsWith = 77,
    Is = 78,
    Push = 79,
    Pop = 80,
    Or = 81,
    FontCharset = 82,
    Number = 91,
    String = 92,
    EndOfInput = 93,
    GutterFontName = 95,
    GutterFontSize = 96,
    GutterFontColor = 97,
    GutterFontStyle = 98,
};
} // namespace tk

struct TScriptToken
{
    int code = tk::EndOfInput;
    int64_t number = 0;
    std::string raw;   // a string literal as written between the quotes (continuations removed)
    std::string value; // a string literal with its escapes decoded
};

class TWordStore;
// Fills store with the reserved words and their codes.
void addReservedWords(TWordStore& store);
// Fills store with the macros every script starts with.
void addPredefinedMacros(TWordStore& store);
