#include "highlight/runtime/SourceMemoParser.h"

#include "base/Exception.h"
#include "base/Stream.h"
#include "highlight/ParserErrors.h"
#include "highlight/ParserFormat.h"
#include "highlight/ParserStream.h"
#include "highlight/runtime/StateSetOps.h"

#include <algorithm>
#include <filesystem>

TSourceMemoParser::TSourceMemoParser()
{
    Reset();
}

TSourceMemoParser::~TSourceMemoParser()
{
    const std::vector<TParserEditor*> editors = m_editors;
    m_editors.clear();
    for (TParserEditor* editor : editors)
        editor->ParserDestroyed(*this);
}

void TSourceMemoParser::Reset()
{
    m_tables.reset();
    m_settings.reset();
    TablesChanged();
}

void TSourceMemoParser::rebuildGroups()
{
    m_groupMembers.clear();
    m_groupMembers.reserve(m_tables.groups.count());
    for (size_t id = 0; id < m_tables.groups.count(); ++id) {
        const TSM_CharGroup& group = m_tables.groups.group(static_cast<int>(id));
        m_groupMembers.push_back(group.negated() ? complementOf(group.chars()) : group.chars());
    }
}

void TSourceMemoParser::TablesChanged()
{
    rebuildGroups();
    try {
        m_keywords.build(m_tables.keywords, m_tables.groups, m_tables.caseSensitive);
        m_tableKeywords.buildFromTables(m_settings.keywordTables, m_tables.caseSensitive);
    } catch (...) {
        // Never leave a half-built trie behind: the language scans as if it had no keywords.
        m_keywords.clear();
        m_tableKeywords.clear();
        ResetState(0);
        throw;
    }
    ResetState(0);
}

void TSourceMemoParser::throwInvalidSet(int id)
{
    throw ESourceMemo(Format("Invalid Set ID (%d)", id));
}

void TSourceMemoParser::LoadParser(TStream& stream)
{
    ParserStreamResult result;
    try {
        result = readParserStream(stream, Name, m_tables, m_settings,
                                  Loading ? VersionCheck::Raise : VersionCheck::Report);
    } catch (...) {
        TablesChanged(); // the reader left the tables empty
        throw;
    }
    try {
        TablesChanged();
    } catch (...) {
        Reset(); // keywords that cannot form a trie: never keep half a language
        throw;
    }
    if (!result.versionError)
        return;
    if (OnParserVersionError)
        OnParserVersionError(*this, result.version, kParserStreamVersion);
    else if (OnShowError)
        OnShowError(parserVersionErrorText(Name, result.version));
}

void TSourceMemoParser::SaveParser(TStream& stream) const
{
    writeParserStream(stream, Name, m_tables, m_settings);
}

void TSourceMemoParser::Assign(const TCustomSourceMemoParser& source)
{
    const auto* parser = dynamic_cast<const TSourceMemoParser*>(&source);
    if (!parser)
        throw ESourceMemo(Format("Cannot assign a %s to %s", source.ClassName(), ClassName()));
    if (parser == this)
        return;
    TMemoryStream buffer;
    parser->SaveParser(buffer);
    buffer.SetPosition(0);
    LoadParser(buffer);
}

bool TSourceMemoParser::EditProperties()
{
    if (OnModifyProperties) {
        OnModifyProperties(*this);
        return false;
    }
    if (!PropertiesDialog || !PropertiesDialog(*this))
        return false;
    ApplyToEditors();
    if (UseRegistry && !RegistryKey.empty() && SaveToRegistry)
        SaveToRegistry(*this);
    return true;
}

void TSourceMemoParser::CompileScript()
{
    if (Script.empty() || !std::filesystem::is_regular_file(Script))
        return;
    TFileStream file(Script, FileMode::OpenRead);
    std::string text(static_cast<size_t>(file.Size()), '\0');
    file.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
    if (ScriptCompiler) {
        const std::string folder = std::filesystem::path(Script).parent_path().string();
        ScriptCompiler(*this, text, folder);
        TablesChanged();
    }
    ApplyToEditors();
}

void TSourceMemoParser::Loaded()
{
    Loading = false;
    if (AutoScriptUpdate)
        CompileScript();
    ApplyToEditors();
}

bool TSourceMemoParser::ApplyToEditors()
{
    if (Loading)
        return true;
    bool success = true;
    const std::vector<TParserEditor*> editors = m_editors; // an editor may detach meanwhile
    for (TParserEditor* editor : editors) {
        try {
            editor->ParserChanged(*this);
        } catch (const ESourceMemo&) {
            success = false;
        }
    }
    return success;
}

void TSourceMemoParser::AttachEditor(TParserEditor* editor)
{
    if (editor && std::find(m_editors.begin(), m_editors.end(), editor) == m_editors.end())
        m_editors.push_back(editor);
}

void TSourceMemoParser::DetachEditor(TParserEditor* editor)
{
    m_editors.erase(std::remove(m_editors.begin(), m_editors.end(), editor), m_editors.end());
    if (m_servedEditor == editor)
        m_servedEditor = nullptr;
}

void TSourceMemoParser::noteEditor(TParserEditor* editor)
{
    if (editor == m_servedEditor || !editor)
        return;
    AttachEditor(editor);
    m_servedEditor = editor;
}

bool TSourceMemoParser::InBoundState() const
{
    return setsMeet(m_current, m_tables.boundStates);
}

void TSourceMemoParser::ResetState(int token)
{
    const ParserStateSet& context = m_tables.contextStates[static_cast<size_t>(token & 255)];
    m_current = context.empty() ? m_tables.startState : context;
    m_savedStates = m_current;
    m_inContainer = false;
    m_containerEnd = 0;
    m_containerToken = 0;
    m_busy = false;
    m_stack.clear();
    selectStartTable();
}

const StartTable* TSourceMemoParser::tableFor(const ParserStateSet& states) const
{
    if (m_tables.noStateTables)
        return &m_tables.defaultStart;
    for (int i = 0; i < ParserStateSet::kBytes; ++i) {
        const unsigned bits = states.bytes()[i] & m_tables.statesWithTables.bytes()[i];
        if (bits) {
            const StartTable* table = m_tables.findStateTable(i * 8 + __builtin_ctz(bits));
            return table ? table : &m_tables.defaultStart;
        }
    }
    return &m_tables.defaultStart;
}

void TSourceMemoParser::selectStartTable()
{
    m_startTable = tableFor(m_current);
}

std::string TSourceMemoParser::check() const
{
    if (m_groupMembers.size() != m_tables.groups.count())
        return "group lookup out of date";
    if (m_keywords.declared().size() != m_tables.keywords.size())
        return "keyword trie out of date";
    if (std::string problem = m_keywords.check(); !problem.empty())
        return "keywords: " + problem;
    if (std::string problem = m_tableKeywords.check(); !problem.empty())
        return "keyword tables: " + problem;
    if (m_startTable != tableFor(m_current))
        return "start table does not match the current states";
    if (m_busy != m_inContainer)
        return "busy flag differs from container mode";
    if (!m_stack.check())
        return "state stack too deep";
    return {};
}
