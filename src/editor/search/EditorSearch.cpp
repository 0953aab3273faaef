#include "editor/search/EditorSearch.h"

#include "editor/edit/SourceEditor.h"
#include "editor/search/ReplaceTemplate.h"
#include "editor/text/EdStream.h"
#include "editor/text/TextNormaliser.h"

#include <algorithm>
#include <memory>

namespace {

// Search text as the store holds text: CR LF, LF CR and lone LFs become CR.
std::string storedForm(std::string_view text)
{
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) >= 32 || c == '\t'; }))
        return std::string(text); // already stored form
    std::string out(text.size(), '\0');
    TTextNormaliser normaliser;
    out.resize(normaliser.Feed(text.data(), text.size(), out.data()));
    return out;
}

// Keeps the host's busy state for the scope of one search.
class TBusyScope
{
public:
    TBusyScope(TSearchHost& host, bool showNow) : m_host(host) { m_host.BeginBusy(showNow); }
    ~TBusyScope() { m_host.EndBusy(); }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    TSearchHost& m_host;
};

} // namespace

std::string RegExpErrorText(const char* message, std::string_view expression, int errorPos)
{
    std::string text = message;
    text += '\r';
    text += expression;
    text += '\r';
    text.append(static_cast<size_t>(std::max(errorPos - 1, 0)), ' ');
    text += '^';
    return text;
}

TEditorSearch::TEditorSearch(TSourceEditor& editor, TSearchHost* host)
    : m_editor(editor), m_host(host ? host : &m_noHost)
{
    m_parser.Poll = [this] { return m_host->Poll(); };
    m_plain.Poll = [this] { return m_host->Poll(); };
}

TEdStreamTextSource& TEditorSearch::source()
{
    // The editor holds a reference to the store it shows, so an equal address is that store.
    if (!m_source || m_sourceStore != &m_editor.Store()) {
        m_source.reset();
        m_stream = std::make_unique<TEdStream>(m_editor.Store());
        m_source = std::make_unique<TEdStreamTextSource>(*m_stream, m_editor.Store());
        m_sourceStore = &m_editor.Store();
    }
    m_source->Refresh();
    return *m_source;
}

TPlainOptions TEditorSearch::plainOptions(uint16_t flags) const
{
    TPlainOptions options;
    options.MatchCase = (flags & srMatchCase) != 0;
    options.WholeWord = (flags & srWholeWord) != 0;
    if (options.WholeWord) { // only whole words ask the editor's word tests
        options.Words.StartsWord = m_editor.fn_CharStartsWord;
        options.Words.IsInWord = m_editor.fn_CharIsInWord;
    }
    return options;
}

bool TEditorSearch::compile(std::string_view expression)
{
    if (m_parser.SetExpression(expression))
        return true;
    m_host->ShowRegExpError(
        RegExpErrorText(m_parser.ErrorMessage(), expression, m_parser.ErrorPos()));
    return false;
}

TEditorSearch::TFound TEditorSearch::search(std::string_view text, uint16_t flags, int64_t start,
                                            TTextSource& source)
{
    const TSearchDirection direction = directionOf(flags);
    if (flags & srRegExp) {
        if (!m_parser.Search(source, start, direction))
            return {};
        m_lastMatchStart = m_parser.MatchStart();
        return {m_parser.MatchStart(), m_parser.MatchEnd()};
    }
    const std::string pattern = storedForm(text);
    if (pattern.empty())
        return {};
    m_plain.SetPattern(pattern);
    TTextReader reader(source);
    const int64_t at = direction == TSearchDirection::Forward
                           ? m_plain.FindForward(reader, start, plainOptions(flags))
                           : m_plain.FindBackward(reader, start, plainOptions(flags));
    if (at < 0)
        return {};
    return {at, at + static_cast<int64_t>(pattern.size())};
}

TEditorSearch::TOutcome TEditorSearch::searchFrom(std::string_view text, uint16_t flags,
                                                  int64_t start, int64_t& position)
{
    const int64_t length = m_editor.Store().CharCount();
    const bool backward = (flags & srBackward) != 0;
    if (length == 0 || (backward && start <= 0) || (!backward && start >= length))
        return TOutcome::NotFound;
    if ((flags & srRegExp) && !compile(text))
        return TOutcome::Failed;
    TFound found;
    TTextSpan caretRow; // the row holding the match end, which the caret moves to
    {
        const TBusyScope busy(*m_host, false);
        TEdStreamTextSource& source = this->source();
        try {
            found = search(text, flags, start, source);
        } catch (const ERegExpError& error) {
            m_host->ShowSearchError(error.what());
            return TOutcome::Failed;
        }
        // The search left its place in the source, so this costs no lookup in the index.
        if (found.End >= 0 && found.End < length) {
            TTextReader reader(source);
            caretRow = reader.SpanAt(found.End);
        }
    }
    if (found.Start < 0)
        return TOutcome::NotFound;
    m_editor.SetSelection(found.Start, found.End, caretRow.Row, caretRow.Start);
    m_editor.Host().ScrollCaretIntoView();
    m_editor.NotifyChange();
    position = found.Start;
    return TOutcome::Found;
}

bool TEditorSearch::FindText(std::string_view text, uint16_t flags, int64_t& position)
{
    m_lastText = std::string(text);
    m_lastFlags = flags;
    if (!(flags & srDirect)) {
        std::string preset(text);
        const TSelectionPair selection = m_editor.Selection();
        if (selection.Start() != selection.End() && !(flags & srRegExp)) {
            preset = m_editor.Store().GetText(selection.Start(), selection.End());
            preset = preset.substr(0, preset.find('\r')); // a find box holds one line
        }
        m_host->ShowFindDialog(preset, flags);
        return false;
    }
    const TSelectionPair selection = m_editor.Selection();
    const int64_t start = (flags & srBackward) ? selection.Start() : selection.End();
    return searchFrom(text, flags, start, position) == TOutcome::Found;
}

TEditorSearch::TOutcome TEditorSearch::FindNext(std::string_view text, uint16_t flags)
{
    flags |= srDirect;
    m_lastText = std::string(text);
    m_lastFlags = flags;
    const TSelectionPair selection = m_editor.Selection();
    const bool backward = (flags & srBackward) != 0;
    int64_t start = backward ? selection.Start() : selection.End();
    if ((flags & srRegExp) && selection.Start() == m_lastMatchStart)
        start = backward ? selection.Start() - 1 : std::max(selection.End(), selection.Start() + 1);
    int64_t position = 0;
    return searchFrom(text, flags, start, position);
}

bool TEditorSearch::FindReplace(std::string_view findText, std::string_view replacement,
                                uint16_t flags, std::string& newText, int64_t& position)
{
    flags |= srDirect;
    newText.clear();
    if (flags & srReplaceAll) {
        const int64_t count = ReplaceAll(findText, replacement, flags, m_editor.SelStart());
        position = count > 0 ? m_editor.SelCaret() : -1;
        return count > 0;
    }
    const TSelectionPair selection = m_editor.Selection();
    const int64_t start = (flags & srBackward) ? selection.Start() : selection.End();
    if (searchFrom(findText, flags, start, position) != TOutcome::Found)
        return false;
    if (flags & srRegExp) {
        TEdStreamTextSource& source = this->source();
        newText = ExpandReplacement(replacement, m_parser, source);
    } else {
        newText = std::string(replacement);
    }
    return true;
}

std::vector<TEditorSearch::TReplacement> TEditorSearch::collect(std::string_view findText,
                                                                std::string_view replacement,
                                                                uint16_t flags, int64_t from,
                                                                TTextSource& source)
{
    std::vector<TReplacement> found;
    const int64_t length = source.Length();
    if (flags & srRegExp) {
        for (int64_t p = from;
             p <= length && m_parser.Search(source, p, TSearchDirection::Forward);) {
            const int64_t start = m_parser.MatchStart();
            const int64_t end = m_parser.MatchEnd();
            found.push_back({start, end, ExpandReplacement(replacement, m_parser, source)});
            p = end > start ? end : start + 1; // an empty match is not found twice
        }
        return found;
    }
    const std::string pattern = storedForm(findText);
    if (pattern.empty())
        return found;
    m_plain.SetPattern(pattern);
    const TPlainOptions options = plainOptions(flags);
    const std::string text(replacement);
    TTextReader reader(source);
    for (int64_t at; (at = m_plain.FindForward(reader, from, options)) >= 0;) {
        found.push_back({at, at + static_cast<int64_t>(pattern.size()), text});
        from = at + static_cast<int64_t>(pattern.size());
    }
    return found;
}

int64_t TEditorSearch::ReplaceAll(std::string_view findText, std::string_view replacement,
                                  uint16_t flags, int64_t from)
{
    if (m_editor.Settings.ReadOnly)
        return 0;
    if ((flags & srRegExp) && !compile(findText))
        return 0;
    const TBusyScope busy(*m_host, true);
    std::vector<TReplacement> replacements;
    {
        TEdStreamTextSource& source = this->source();
        try {
            replacements = collect(findText, replacement, flags, from, source);
        } catch (const ERegExpError& error) {
            m_host->ShowSearchError(error.what());
            return 0;
        }
    }
    if (replacements.empty())
        return 0;
    {
        // Offsets were collected in the text before any replacement; each replacement shifts
        // the later ones by its change in length.
        const TGroupScope group(m_editor, ugReplaceAll);
        int64_t shift = 0;
        int64_t lastStart = 0;
        for (const TReplacement& r : replacements) {
            lastStart = r.Start + shift;
            m_editor.SetSelection(lastStart, r.End + shift);
            m_editor.ReplaceSelection(r.Text);
            shift = m_editor.SelCaret() - r.End;
        }
        m_editor.SetSelection(lastStart, lastStart);
    }
    m_editor.Host().ScrollCaretIntoView();
    m_editor.NotifyChange();
    return static_cast<int64_t>(replacements.size());
}
