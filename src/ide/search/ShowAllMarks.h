// Show all: every match of the last search marked at once with a range mark of its own tag,
// and the marks taken away again. The marking scans the document once with its own plain
// search or expression, without selecting each match, so a document with hundreds of
// thousands of matches is marked in one pass over its rows.
#pragma once

#include "editor/search/PlainSearch.h"
#include "editor/search/REParser.h"

#include <cstdint>
#include <string>
#include <string_view>

class TMarkList;
class TSourceEditor;

// The tag of the marks Show all adds; the main window draws them inverted.
constexpr int32_t kShowAllMarkTag = 0x123456;

class TMatchMarker
{
public:
    struct TResult
    {
        int64_t Count = 0;
        // Set when nothing could be searched: the expression does not compile, or the search
        // ran out of its work budget (the marks made until then stay).
        bool Failed = false;
        std::string Error;
    };

    // Marks every match of text (sr* flags: case, whole word, regular expression; the whole
    // document is searched forwards whatever the direction bit says) and leaves the caret at
    // the end of the last match, or at the start when there is none. An empty match is
    // marked and the scan goes on one character further.
    TResult MarkAll(TSourceEditor& editor, TMarkList& marks, std::string_view text, uint16_t flags);

private:
    TPlainSearch m_plain;
    TREParser m_parser;
};

// Removes every mark of kShowAllMarkTag, leaving other marks; answers how many went.
int64_t removeShowAllMarks(TMarkList& marks);
