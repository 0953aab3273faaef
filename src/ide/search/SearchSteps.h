// The steps the find and replace dialogs take on the editing core around its searches: moving
// past a selected match so that it is not found again, and a replace-all that asks about
// each match. Qt-free: the question is a callback.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

class TEditorSearch;
class TSourceEditor;

enum class TLetterCase
{
    Exact,
    Ignored
};

// When the selected text equals text (letter case as given), the caret moves to the
// selection start plus 1 with an empty selection, so that a forward search does not find the
// selected match again. Answers whether it moved.
bool stepPastSelectedMatch(TSourceEditor& editor, std::string_view text, TLetterCase letterCase);

enum class TReplaceAnswer
{
    Yes,
    No,
    Cancel
};

// Replaces the matches of findText from the document start onwards, one at a time, asking
// ask() about each while it is selected: Yes replaces it, No leaves it, Cancel stops. The next
// search starts after the replacement (or after the match left), so a replacement that holds
// its own match is never found again; after an empty match that left nothing behind the next
// search starts one character further, so the run always ends. The whole document is
// searched forwards whatever the direction bit says. Answers the number replaced.
// Requires: the caller keeps the run in one undo group if it wants one undo step.
int64_t replaceEachMatch(TEditorSearch& search, TSourceEditor& editor, std::string_view findText,
                         std::string_view replacement, uint16_t flags,
                         const std::function<TReplaceAnswer()>& ask);
