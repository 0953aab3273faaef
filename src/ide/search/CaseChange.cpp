#include "ide/search/CaseChange.h"

namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string upperCaseOf(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = upper(c);
    return out;
}

std::string lowerCaseOf(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = lower(c);
    return out;
}

std::string capitalisedOf(std::string_view text)
{
    std::string out = lowerCaseOf(text);
    if (!out.empty())
        out[0] = upper(out[0]);
    return out;
}
