// The default word-character tests of the editor: a word starts with a letter or "_" and
// continues with letters, digits, "_", "-" and the apostrophe.
#pragma once

inline bool defaultCharStartsWord(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

inline bool defaultCharIsInWord(char c)
{
    return defaultCharStartsWord(c) || (c >= '0' && c <= '9') || c == '-' || c == '\'';
}
