// The search operations of the editor control on top of the editing core: FindText,
// FindReplace and replace-all, with the state the control keeps between searches (the last
// text and flags, where the last regular-expression match started, the expression parser and
// the plain search with its cached tables). What needs the screen (the find dialog, error
// messages, keeping the window alive during a long search) goes to a TSearchHost.
#pragma once

#include "editor/search/PlainSearch.h"
#include "editor/search/REParser.h"
#include "editor/search/SearchFlags.h"
#include "editor/search/TextSource.h"
#include "editor/text/EdStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TSourceEditor;
class TTextSource;
class TTextStore;

class TSearchHost
{
public:
    virtual ~TSearchHost() = default;
    // FindText without srDirect: show the find dialog preset with text and flags.
    virtual void ShowFindDialog(const std::string& text, uint16_t flags)
    {
        (void)text, (void)flags;
    }
    // An expression did not compile: the message, a line break (CR), the expression, a line
    // break and a caret under the error position.
    virtual void ShowRegExpError(const std::string& message) { (void)message; }
    // A search ended with an error (its budget, the text changing, an index out of range).
    virtual void ShowSearchError(const std::string& message) { (void)message; }
    // Called during long searches; false stops the search (see TREParser::Poll).
    virtual bool Poll() { return true; }
    // Around every search: showNow (a replace-all) shows the busy pointer at once, otherwise
    // the host may show it once Poll finds the search running long.
    virtual void BeginBusy(bool showNow) { (void)showNow; }
    virtual void EndBusy() {}
};

// The text of the compile-error dialog.
std::string RegExpErrorText(const char* message, std::string_view expression, int errorPos);

class TEditorSearch
{
public:
    explicit TEditorSearch(TSourceEditor& editor, TSearchHost* host = nullptr);

    void SetHost(TSearchHost* host) { m_host = host ? host : &m_noHost; }

    // Stores text and flags. Without srDirect shows the find dialog (preset with the selected
    // text when there is one and srRegExp is off, else with text) and returns false. With it,
    // searches from the caret (forwards from the selection end, backwards from its start)
    // and selects the match; position is the match start.
    bool FindText(std::string_view text, uint16_t flags, int64_t& position);
    // Searches directly; when found, selects the match and sets newText to what replaces it
    // (a regular expression's template expanded, else replacement). With srReplaceAll it
    // replaces every match from the selection start instead and answers whether any was.
    bool FindReplace(std::string_view findText, std::string_view replacement, uint16_t flags,
                     std::string& newText, int64_t& position);
    // Replaces every match from `from` to the document end as one undo step (group 23) and
    // puts the caret at the start of the last replacement. Answers the number replaced.
    int64_t ReplaceAll(std::string_view findText, std::string_view replacement, uint16_t flags,
                       int64_t from);
    // The find dialog's Find Next: searches for text with flags (srDirect added). When the
    // selection starts where the last regular-expression match started, the search starts one
    // character further in its direction. False when nothing was found or it failed.
    enum class TOutcome
    {
        Found,
        NotFound,
        Failed
    }; // Failed: an error was shown
    TOutcome FindNext(std::string_view text, uint16_t flags);

    const std::string& LastText() const { return m_lastText; }
    uint16_t LastFlags() const { return m_lastFlags; }
    int64_t LastMatchStart() const { return m_lastMatchStart; }
    TREParser& Parser() { return m_parser; }
    TPlainSearch& Plain() { return m_plain; }

private:
    struct TFound
    {
        int64_t Start = -1;
        int64_t End = -1;
    };

    struct TReplacement
    {
        int64_t Start;
        int64_t End;
        std::string Text;
    };

    // The source searches read the document through, made afresh for another store and
    // refreshed for each search (edits since the last one drop its kept row).
    TEdStreamTextSource& source();
    TFound search(std::string_view text, uint16_t flags, int64_t start, TTextSource& source);
    bool compile(std::string_view expression);
    TPlainOptions plainOptions(uint16_t flags) const;
    TOutcome searchFrom(std::string_view text, uint16_t flags, int64_t start, int64_t& position);
    std::vector<TReplacement> collect(std::string_view findText, std::string_view replacement,
                                      uint16_t flags, int64_t from, TTextSource& source);

    TSourceEditor& m_editor;
    TSearchHost m_noHost;
    TSearchHost* m_host;
    std::string m_lastText;
    uint16_t m_lastFlags = 0;
    int64_t m_lastMatchStart = -1;
    TREParser m_parser;
    TPlainSearch m_plain;
    std::unique_ptr<TEdStream> m_stream;
    std::unique_ptr<TEdStreamTextSource> m_source;
    const TTextStore* m_sourceStore = nullptr;
};
