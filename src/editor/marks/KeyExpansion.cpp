#include "editor/marks/KeyExpansion.h"

#include "editor/edit/SourceEditor.h"
#include "editor/edit/TextCursor.h"
#include "editor/text/EdStream.h"
#include "editor/text/TextNormaliser.h"

#include <algorithm>
#include <cctype>

namespace {

// Every line break of text (CR, with an LF after it or not) followed by column blanks.
std::string indented(const std::string& text, int column)
{
    const std::string blanks(static_cast<size_t>(std::max(column, 0)), ' ');
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] != '\r')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '\n')
            out += text[++i];
        out += blanks;
    }
    return out;
}

std::string normalised(const std::string& text)
{
    std::string out(text.size(), '\0');
    TTextNormaliser normaliser;
    out.resize(normaliser.Feed(text.data(), text.size(), out.data()));
    return out;
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

bool TKeyExpansion::mayExpand(const TMacroKeywords& table) const
{
    return table.Enabled && !m_editor->Settings.ReadOnly && m_editor->SelAnchor() == m_editor->SelCaret();
}

bool TKeyExpansion::ExpandCodeTemplate(uint16_t key, TShortCut shiftState)
{
    if (key > vk::scKeyMask || !mayExpand(m_templates) ||
        vk::shortCut(static_cast<uint8_t>(key), shiftState) != m_templates.Trigger)
        return false;
    TTextStore& store = m_editor->Store();
    const int64_t caret = m_editor->SelCaret();
    size_t length = 0;
    if (const TMacroEntry* entry = store.CharCount() > 0 ? m_templates.LongestBefore(store, caret, length) : nullptr) {
        std::string text = entry->Text;
        m_host.TemplateFired(entry->Name, text);
        replaceName(m_templates, std::move(text), caret - static_cast<int64_t>(length), caret);
        return m_templates.SwallowKey;
    }
    if (!m_templates.Popup || m_templates.Entries().empty())
        return false;
    // The word ending at the caret: blanks before the caret are not the word.
    TTextCursor cursor(store, caret);
    while (!cursor.AtStart() && m_editor->CharIsInWord(cursor.PrevChar()))
        cursor.Prev();
    m_editor->SetSelection(caret, cursor.Offset());
    m_host.ShowTemplateList(lowerCase(store.GetText(cursor.Offset(), caret)));
    return true;
}

bool TKeyExpansion::AutoCorrect(uint16_t key, TShortCut shiftState)
{
    if (!mayExpand(m_autoReplace) || !m_autoReplace.IsTrigger(key, shiftState))
        return false;
    TTextStore& store = m_editor->Store();
    const int64_t caret = m_editor->SelCaret();
    size_t length = 0;
    const TMacroEntry* entry = store.CharCount() > 0 ? m_autoReplace.LongestBefore(store, caret, length) : nullptr;
    if (!entry)
        return false;
    const int64_t nameStart = caret - static_cast<int64_t>(length);
    if (!atWordEdges(*entry, entry->Text, nameStart, caret))
        return false;
    std::string text = entry->Text;
    bool canReplace = true;
    TEdStream stream(store);
    stream.SetPosition(nameStart);
    m_host.AutoReplaceFired(stream, entry->Name, text, canReplace);
    if (!canReplace)
        return false;
    replaceName(m_autoReplace, std::move(text), nameStart, caret);
    return m_autoReplace.SwallowKey;
}

void TKeyExpansion::ExpandChoice(const TMacroEntry& entry)
{
    if (m_editor->Settings.ReadOnly)
        return;
    const TSelectionPair selection = m_editor->Selection();
    std::string text = entry.Text;
    m_host.TemplateFired(entry.Name, text);
    replaceName(m_templates, std::move(text), selection.Start(), selection.End());
}

bool TKeyExpansion::atWordEdges(const TMacroEntry& entry, const std::string& text, int64_t nameStart,
                                int64_t nameEnd) const
{
    TTextStore& store = m_editor->Store();
    const TTextCursor after(store, nameEnd);
    if (m_editor->CharIsInWord(entry.Name.back()) && !after.AtEnd() && m_editor->CharIsInWord(after.Char()))
        return false;
    const bool startsWord = m_editor->CharStartsWord(entry.Name.front()) ||
                            (!text.empty() && m_editor->CharStartsWord(text.front()));
    const TTextCursor before(store, nameStart);
    return !(startsWord && !before.AtStart() && m_editor->CharIsInWord(before.PrevChar()));
}

void TKeyExpansion::replaceName(const TMacroKeywords& table, std::string text, int64_t nameStart, int64_t nameEnd)
{
    // The caret at the name's start: its column is where the text begins, and where the lines
    // after the first are to line up.
    m_editor->SetSelection(nameEnd, nameStart);
    if (table.IndentExpansions)
        text = indented(text, m_editor->CaretColumn());
    text = normalised(text);
    size_t marker = std::string::npos;
    if (table.CaretMarker && (marker = text.find('|')) != std::string::npos)
        text.erase(marker, 1);
    TGroupScope group(*m_editor, ugExpansion);
    m_editor->ReplaceSelection(text);
    if (marker != std::string::npos) {
        const int64_t caret = nameStart + static_cast<int64_t>(marker);
        m_editor->SetSelection(caret, caret);
    }
}
