#include "ide/search/SearchSteps.h"

#include "editor/edit/SourceEditor.h"
#include "editor/search/EditorSearch.h"
#include "editor/search/SearchFlags.h"
#include "ide/search/SearchHistory.h"

#include <string>

bool stepPastSelectedMatch(TSourceEditor& editor, std::string_view text, TLetterCase letterCase)
{
    if (editor.SelLength() == 0 || text.empty())
        return false;
    const std::string selected = editor.SelText();
    const bool same = letterCase == TLetterCase::Exact ? selected == text : equalIgnoringCase(selected, text);
    if (!same)
        return false;
    const int64_t caret = editor.SelStart() + 1;
    editor.SetSelection(caret, caret);
    return true;
}

int64_t replaceEachMatch(TEditorSearch& search, TSourceEditor& editor, std::string_view findText,
                         std::string_view replacement, uint16_t flags,
                         const std::function<TReplaceAnswer()>& ask)
{
    flags = static_cast<uint16_t>((flags | srDirect) & ~(srBackward | srReplaceAll));
    int64_t replaced = 0;
    int64_t from = 0;
    editor.SetSelection(0, 0);
    std::string newText;
    for (;;) {
        if (from > editor.Store().CharCount())
            break;
        editor.SetSelection(from, from);
        int64_t position = 0;
        if (!search.FindReplace(findText, replacement, flags, newText, position))
            break;
        const int64_t matchStart = editor.SelStart();
        const bool emptyMatch = editor.SelLength() == 0;
        const TReplaceAnswer answer = ask();
        if (answer == TReplaceAnswer::Cancel)
            break;
        if (answer == TReplaceAnswer::Yes) {
            editor.ReplaceSelection(newText);
            ++replaced;
        }
        from = editor.SelStart() + editor.SelLength();
        if (emptyMatch && from <= matchStart)
            from = matchStart + 1;
    }
    editor.SetSelection(std::min(from, editor.Store().CharCount()), std::min(from, editor.Store().CharCount()));
    return replaced;
}
