#include "editor/dialogs/SettingsWorkingCopy.h"

#include "highlight/ParserFormat.h"
#include "highlight/runtime/SourceMemoParser.h"

TSettingsWorkingCopy::TSettingsWorkingCopy(TSourceMemoParser& parser)
    : m_parser(parser), m_original(parser.Settings()), m_editors(parser.Editors())
{
    for (TParserEditor* editor : m_editors)
        m_parser.DetachEditor(editor);
}

TSettingsWorkingCopy::~TSettingsWorkingCopy()
{
    const std::vector<TParserEditor*> meanwhile = m_parser.Editors();
    for (TParserEditor* editor : meanwhile)
        m_parser.DetachEditor(editor);
    if (!m_kept)
        m_parser.Settings() = m_original;
    for (TParserEditor* editor : m_editors)
        m_parser.AttachEditor(editor);
}

TSM_Settings& TSettingsWorkingCopy::settings()
{
    return m_parser.Settings();
}

std::vector<uint8_t> storedSettingsForm(const TSM_Settings& settings)
{
    ByteWriter out;
    writeSettingsBlock(out, settings, kParserStreamVersion);
    return out.data();
}
