// TSourceMemoParser: the table-driven tokeniser of one highlighting language, shared by every
// editor that shows text in that language. It owns the language's tables and settings, the
// keyword tries built from them, and the run-time state of the current scan: the current state
// set, the state stack, the selected start table and the container mode. Invariants (check()):
// the tries agree with the tables; the selected start table is the one the current set
// selects; the busy flag equals the container flag after every NextToken.
// Editors call, for one re-colouring run: IsBusy, GetAnchorSet, ResetState(token), then
// NextToken until they stop, reading InContainer after each call and InBoundState at line ends.
#pragma once

#include "highlight/ParserSettings.h"
#include "highlight/ParserTables.h"
#include "highlight/runtime/ParseCursor.h"
#include "highlight/runtime/ParserEditor.h"
#include "highlight/runtime/StateStack.h"
#include "highlight/runtime/SyntaxKeywords.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TStream;
class TSourceMemoParser;

// Called for rules written match(n): kLength is the token length so far and kValue the token so
// far; the event consumes what it accepts from stream and sets kValue to the token to return.
using TCustomParseEvent = std::function<bool(TSourceMemoParser& sender, int parseId,
                                             TParseCursor& stream, int& kLength, int& kValue)>;
using TVersionErrorEvent = std::function<void(
    TSourceMemoParser& sender, uint16_t versionEncountered, uint16_t versionExpected)>;

// The type of the editor control's parser slots.
class TCustomSourceMemoParser
{
public:
    virtual ~TCustomSourceMemoParser() = default;
    virtual const char* ClassName() const { return "TCustomSourceMemoParser"; }

    std::string Name;
    // When assigned, replaces the properties dialog.
    std::function<void(TCustomSourceMemoParser& sender)> OnModifyProperties;
};

class TSourceMemoParser : public TCustomSourceMemoParser
{
public:
    TSourceMemoParser();
    ~TSourceMemoParser() override;
    TSourceMemoParser(const TSourceMemoParser&) = delete;
    TSourceMemoParser& operator=(const TSourceMemoParser&) = delete;

    const char* ClassName() const override { return "TSourceMemoParser"; }

    // --- The language -------------------------------------------------------------------
    // Direct access for the script compiler and tests; call TablesChanged() after changing
    // the keywords, the groups or the settings' keyword tables.
    TParserTables& Tables() { return m_tables; }
    const TParserTables& Tables() const { return m_tables; }
    TSM_Settings& Settings() { return m_settings; }
    const TSM_Settings& Settings() const { return m_settings; }
    const TSyntaxKeywords& Keywords() const { return m_keywords; }
    // Rebuilds the keyword tries and the group lookup from the tables, then resets the scan
    // state. Throws EKeywords for a duplicate keyword, ESourceMemo for a bad group id.
    void TablesChanged();
    // An empty language with default settings.
    void Reset();

    // The Parser stream property: u16 version, i32 body length, packed body. Reading resets
    // the language first; a version below 50 raises ESourceMemoParserError while Loading,
    // else is reported through OnParserVersionError or OnShowError, leaving the language empty.
    // Any failure (a broken stream, duplicate keywords) leaves the language empty too.
    void LoadParser(TStream& stream);
    void SaveParser(TStream& stream) const;
    // Copies another TSourceMemoParser through the stream form; ESourceMemo
    // "Cannot assign a %s to %s" for any other class.
    void Assign(const TCustomSourceMemoParser& source);

    // --- Published properties ------------------------------------------------------------
    bool AutoScriptUpdate = false;
    std::string Compile;
    std::string RegistryKey;
    std::string Script;
    bool UseRegistry = false;
    TCustomParseEvent OnCustomParse;
    TVersionErrorEvent OnParserVersionError;

    // Component state: being read from a window layout, or sitting in a designer.
    bool Loading = false;
    bool Designing = false;

    // Services of the surrounding program, plain callables so the logic stays free of widgets:
    // the error box, the script compiler (text and the script's folder), the properties dialog
    // (true on OK) and the registry writer.
    std::function<void(const std::string& message)> OnShowError;
    std::function<void(TSourceMemoParser& parser, const std::string& text,
                       const std::string& folder)>
        ScriptCompiler;
    std::function<bool(TSourceMemoParser& parser)> PropertiesDialog;
    std::function<void(TSourceMemoParser& parser)> SaveToRegistry;

    // --- Operations of the component -----------------------------------------------------
    // OnModifyProperties when assigned (result false), else the properties dialog; on OK the
    // editors are refreshed and, with UseRegistry and a RegistryKey, the settings saved.
    bool EditProperties();
    // Reads Script and compiles it when the file exists, then ApplyToEditors.
    void CompileScript();
    // After the component has been read: CompileScript when AutoScriptUpdate, then
    // ApplyToEditors.
    void Loaded();
    // Every attached editor selects this parser again. An ESourceMemo from one editor is
    // swallowed and makes the result false; other exceptions pass.
    bool ApplyToEditors();
    void AttachEditor(TParserEditor* editor);
    void DetachEditor(TParserEditor* editor);
    const std::vector<TParserEditor*>& Editors() const { return m_editors; }

    // --- Scanning ------------------------------------------------------------------------
    bool IsBusy() const { return m_busy; }
    bool InContainer() const { return m_inContainer; }
    int ContainerToken() const { return m_containerToken; }
    ParserStateSet GetAnchorSet() const { return m_tables.anchorSet; }
    bool UsesCustomRecognizers() const { return m_tables.customRecognizers; }
    // The current states meet the bound states.
    bool InBoundState() const;
    // Restarts the scan after a token of this number.
    void ResetState(int token);
    // Consumes one token at the cursor and returns its number 0..255; length receives its
    // length (1 for the one-character token 0 at the end of the text, where the cursor stays).
    int NextToken(TParserEditor* editor, TParseCursor& stream, int64_t& length);

    // A highlighting pass holds the scan state from ResetState to its end; a second pass on
    // the same parser started meanwhile (from an event handler) must wait for it.
    bool PassActive() const { return m_passActive; }
    void SetPassActive(bool active) { m_passActive = active; }

    const ParserStateSet& CurrentStates() const { return m_current; }
    size_t StackDepth() const { return m_stack.depth(); }
    // Empty when every invariant holds, else the first broken one.
    std::string check() const;

private:
    // ParserRuns.cpp: the pieces of NextToken.
    bool runHandler(const HandlerRule& rule, TParseCursor& in, int64_t start, int& token);
    bool runGroupHandler(const HandlerRule& rule, TParseCursor& in);
    bool runRule(const TokenRule& rule, TParseCursor& in, int64_t start, int& token);
    bool endHolds(const EndPart& end, TParseCursor& in, int64_t start, int token);
    bool bodyStep(const MatchPart& body, TParseCursor& in, int64_t start, int& kValue,
                  bool& custom);
    bool callCustom(int parseId, TParseCursor& in, int64_t start, int& token);
    void finish(TParseCursor& in, int64_t start, int& token, bool tableHit);
    void applyEffect(const TokenEffect& effect);

    bool inGroup(uint16_t id, uint8_t ch) const
    {
        if (id >= m_groupMembers.size())
            throwInvalidSet(id);
        return m_groupMembers[id].contains(ch);
    }
    [[noreturn]] static void throwInvalidSet(int id);
    void rebuildGroups();
    void selectStartTable();
    const StartTable* tableFor(const ParserStateSet& states) const;
    void noteEditor(TParserEditor* editor);

    TParserTables m_tables;
    TSM_Settings m_settings;
    TSyntaxKeywords m_keywords;
    TSyntaxKeywords m_tableKeywords;            // the settings' keyword tables
    std::vector<ParserStateSet> m_groupMembers; // by group id, negation folded in

    ParserStateSet m_current;
    ParserStateSet m_savedStates;
    TRTStack m_stack;
    const StartTable* m_startTable = nullptr;
    bool m_inContainer = false;
    bool m_busy = false;
    int64_t m_containerEnd = 0;
    int m_containerToken = 0;
    bool m_passActive = false;

    std::vector<TParserEditor*> m_editors;
    TParserEditor* m_servedEditor = nullptr;
};
