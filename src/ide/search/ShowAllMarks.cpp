#include "ide/search/ShowAllMarks.h"

#include "editor/edit/SourceEditor.h"
#include "editor/marks/MarkList.h"
#include "editor/search/SearchErrors.h"
#include "editor/search/SearchFlags.h"
#include "editor/search/TextSource.h"
#include "editor/text/EdStream.h"
#include "editor/text/TextNormaliser.h"
#include "editor/text/TextStore.h"

#include <vector>

namespace {

std::string storedForm(std::string_view text)
{
    std::string out(text.size(), '\0');
    TTextNormaliser normaliser;
    out.resize(normaliser.Feed(text.data(), text.size(), out.data()));
    return out;
}

} // namespace

TMatchMarker::TResult TMatchMarker::MarkAll(TSourceEditor& editor, TMarkList& marks,
                                            std::string_view text, uint16_t flags)
{
    TResult result;
    TTextStore& store = editor.Store();
    TEdStream stream(store);
    TEdStreamTextSource source(stream, store);
    source.Refresh();
    const bool regExp = (flags & srRegExp) != 0;
    const std::string pattern = regExp ? std::string(text) : storedForm(text);
    if (regExp && !m_parser.SetExpression(pattern)) {
        result.Failed = true;
        result.Error = m_parser.ErrorMessage();
        return result;
    }
    if (pattern.empty())
        return result;
    if (!regExp)
        m_plain.SetPattern(pattern);
    TPlainOptions options;
    options.MatchCase = (flags & srMatchCase) != 0;
    options.WholeWord = (flags & srWholeWord) != 0;
    options.Words.StartsWord = editor.fn_CharStartsWord;
    options.Words.IsInWord = editor.fn_CharIsInWord;
    TTextReader reader(source);
    const int64_t length = source.Length();
    int64_t from = 0;
    int64_t caret = 0;
    try {
        while (from < length || (regExp && from == length)) {
            int64_t start = -1;
            int64_t end = -1;
            if (regExp) {
                if (!m_parser.Search(source, from, TSearchDirection::Forward))
                    break;
                start = m_parser.MatchStart();
                end = m_parser.MatchEnd();
            } else {
                start = m_plain.FindForward(reader, from, options);
                if (start < 0)
                    break;
                end = start + static_cast<int64_t>(pattern.size());
            }
            marks.AddMark(start, end - start, kShowAllMarkTag);
            ++result.Count;
            caret = end;
            from = end > start ? end : start + 1;
        }
    } catch (const ERegExpError& error) {
        result.Failed = true;
        result.Error = error.what();
    }
    editor.SetSelection(caret, caret);
    return result;
}

int64_t removeShowAllMarks(TMarkList& marks)
{
    std::vector<TMark*> ours;
    for (TMark* mark = marks.FirstMark(); mark; mark = marks.NextMark(*mark))
        if (mark->Tag == kShowAllMarkTag)
            ours.push_back(mark);
    if (ours.size() == marks.Count()) {
        marks.Clear();
        return static_cast<int64_t>(ours.size());
    }
    for (TMark* mark : ours)
        marks.DeleteMark(mark);
    return static_cast<int64_t>(ours.size());
}
