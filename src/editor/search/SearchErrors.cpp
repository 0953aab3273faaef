#include "editor/search/SearchErrors.h"

#include <array>

namespace {

constexpr std::array<const char*, 17> kMessages{
    "No errors detected",
    "Expression not found",
    "Invalid parameter",
    "Out of memory",
    "Too many sub-expressions",
    "Unmatched parenthesis",
    "Invalid repeat",
    "Nested repeat",
    "Invalid range",
    "Unmatched bracket",
    "Hex digit expected",
    "Unexpected end of input",
    "' expected",
    "Index range error",
    "Internal error",
    "The search was stopped: this regular expression needs too much work on this text. "
    "Make it more specific (for example, avoid a repeated group that contains a repetition).",
    "The search was stopped because the text changed.",
};

} // namespace

const char* MessageOf(int id)
{
    const int index = id - reNoErrors;
    if (index < 0 || index >= static_cast<int>(kMessages.size()))
        return kMessages[reInternalError - reNoErrors];
    return kMessages[static_cast<size_t>(index)];
}
