#include "editor/marks/MacroKeywords.h"

#include "base/Stream.h"
#include "editor/keys/KeyNames.h"
#include "editor/marks/TriggerKeys.h"
#include "editor/text/SourceMemoErrors.h"
#include "editor/text/TextStore.h"
#include "editor/edit/TextCursor.h"

#include <algorithm>
#include <cctype>
#include <typeinfo>

namespace {

constexpr size_t kMaxShortText = 255;
constexpr const char* kInvalidTemplateData = "Invalid template data";

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

void writeLE(TStream& stream, uint32_t value, int bytes)
{
    uint8_t buffer[4];
    for (int i = 0; i < bytes; ++i)
        buffer[i] = static_cast<uint8_t>(value >> (8 * i));
    stream.WriteBuffer(buffer, bytes);
}

uint32_t readLE(TStream& stream, int bytes)
{
    uint8_t buffer[4] = {};
    stream.ReadBuffer(buffer, bytes);
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint32_t>(buffer[i]) << (8 * i);
    return value;
}

int32_t readCount(TStream& stream)
{
    const auto count = static_cast<int32_t>(readLE(stream, 4));
    if (count < 0)
        throw EKeywords(kInvalidTemplateData);
    return count;
}

void writeText(TStream& stream, std::string_view text, int lengthBytes)
{
    writeLE(stream, static_cast<uint32_t>(text.size()), lengthBytes);
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

// A text of length bytes, read in pieces so that a damaged length costs no more memory than
// the stream really holds.
std::string readText(TStream& stream, int64_t length)
{
    std::string text;
    constexpr int64_t kPiece = 65536;
    while (length > 0) {
        const int64_t piece = std::min(length, kPiece);
        const size_t at = text.size();
        text.resize(at + static_cast<size_t>(piece));
        stream.ReadBuffer(text.data() + at, piece);
        length -= piece;
    }
    return text;
}

std::string shortText(std::string text)
{
    if (text.size() > kMaxShortText)
        text.resize(kMaxShortText);
    return text;
}

} // namespace

// ---- TMacroKeywords -------------------------------------------------------------------------

void TMacroKeywords::SetEntry(TMacroEntry entry)
{
    entry.Name = shortText(std::move(entry.Name));
    entry.Description = shortText(std::move(entry.Description));
    if (entry.Name.empty())
        return;
    const auto same = std::find_if(m_entries.begin(), m_entries.end(),
                                   [&](const TMacroEntry& e) { return sameName(e.Name, entry.Name); });
    if (same != m_entries.end()) {
        *same = std::move(entry);
    } else {
        m_entries.push_back(std::move(entry));
        AddName(m_entries.back().Name, static_cast<int>(m_entries.size() - 1));
    }
    changed();
}

bool TMacroKeywords::RemoveEntry(std::string_view name)
{
    const auto same = std::find_if(m_entries.begin(), m_entries.end(),
                                   [&](const TMacroEntry& e) { return sameName(e.Name, name); });
    if (same == m_entries.end())
        return false;
    m_entries.erase(same);
    rebuild();
    changed();
    return true;
}

void TMacroKeywords::ClearEntries()
{
    m_entries.clear();
    rebuild();
    changed();
}

const TMacroEntry* TMacroKeywords::Find(std::string_view name) const
{
    const auto same = std::find_if(m_entries.begin(), m_entries.end(),
                                   [&](const TMacroEntry& e) { return sameName(e.Name, name); });
    return same == m_entries.end() ? nullptr : &*same;
}

const TMacroEntry* TMacroKeywords::LongestBefore(TTextStore& store, int64_t end, size_t& length) const
{
    if (m_entries.empty() || end <= 0)
        return nullptr;
    TTextCursor cursor(store, end);
    const int found = LongestMatch(
        [&]() -> int {
            if (cursor.AtStart())
                return -1;
            const char c = cursor.PrevChar();
            cursor.Prev();
            return static_cast<unsigned char>(c);
        },
        length);
    return found < 0 ? nullptr : &m_entries[static_cast<size_t>(found)];
}

void TMacroKeywords::Assign(const TSM_Base& source)
{
    if (typeid(source) != typeid(*this))
        throw ESourceMemo(Format("Cannot assign %s to %s", source.ClassName(), ClassName()));
    const auto& other = static_cast<const TMacroKeywords&>(source);
    Enabled = other.Enabled;
    Trigger = other.Trigger;
    IndentExpansions = other.IndentExpansions;
    CaretMarker = other.CaretMarker;
    Popup = other.Popup;
    SwallowKey = other.SwallowKey;
    m_entries = other.m_entries;
    rebuild();
    changed();
}

void TMacroKeywords::changed()
{
    if (OnChanged)
        OnChanged();
}

void TMacroKeywords::rebuild()
{
    ClearNames();
    for (size_t i = 0; i < m_entries.size(); ++i)
        AddName(m_entries[i].Name, static_cast<int>(i));
}

std::string TMacroKeywords::check() const
{
    std::string error = TReversedKeywords::check();
    if (!error.empty())
        return error;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const std::string& name = m_entries[i].Name;
        if (name.empty() || name.size() > kMaxShortText)
            return "entry name empty or too long";
        for (size_t j = 0; j < i; ++j)
            if (sameName(m_entries[j].Name, name))
                return "two entries of one name";
        size_t read = name.size();
        size_t length = 0;
        const int found = LongestMatch([&]() -> int { return read > 0 ? static_cast<unsigned char>(name[--read]) : -1; }, length);
        if (found != static_cast<int>(i) || length != name.size())
            return "an entry is not found under its name";
    }
    return {};
}

// ---- TCodeTemplates -------------------------------------------------------------------------

TCodeTemplates::TCodeTemplates()
{
    IndentExpansions = true;
    CaretMarker = true;
    Popup = true;
    SwallowKey = true;
}

void TCodeTemplates::AddTemplate(const std::string& name, const std::string& description, const std::string& text)
{
    SetEntry({name, description, text});
}

void TCodeTemplates::SaveToStream(TStream& stream) const
{
    writeLE(stream, static_cast<uint32_t>(m_entries.size()), 4);
    for (const TMacroEntry& entry : m_entries) {
        writeText(stream, entry.Name, 1);
        writeText(stream, entry.Description, 1);
        writeText(stream, entry.Text, 4);
    }
    writeText(stream, shortCutToText(Trigger), 4);
    writeLE(stream, (Enabled ? 1u : 0u) & 0x7F, 4);
}

TCodeTemplates::TStoredList TCodeTemplates::readList(TStream& stream)
{
    TStoredList list;
    for (int32_t n = readCount(stream); n > 0; --n) {
        TMacroEntry entry;
        entry.Name = readText(stream, readLE(stream, 1));
        entry.Description = readText(stream, readLE(stream, 1));
        entry.Text = readText(stream, readCount(stream));
        list.Entries.push_back(std::move(entry));
    }
    list.Trigger = textToShortCut(readText(stream, readCount(stream)));
    list.Enabled = readLE(stream, 4) != 0;
    return list;
}

// Entries of one name keep the last; empty names are dropped.
void TCodeTemplates::takeList(TStoredList list)
{
    std::vector<TMacroEntry> entries;
    for (TMacroEntry& entry : list.Entries) {
        if (entry.Name.empty())
            continue;
        const auto same = std::find_if(entries.begin(), entries.end(),
                                       [&](const TMacroEntry& e) { return sameName(e.Name, entry.Name); });
        if (same != entries.end())
            *same = std::move(entry);
        else
            entries.push_back(std::move(entry));
    }
    m_entries = std::move(entries);
    Trigger = list.Trigger;
    Enabled = list.Enabled;
    rebuild();
    changed();
}

void TCodeTemplates::LoadFromStream(TStream& stream)
{
    takeList(readList(stream));
}

// ---- TAutoReplace ---------------------------------------------------------------------------

TAutoReplace::TAutoReplace()
{
    IndentExpansions = false;
    CaretMarker = false;
    Popup = false;
    SwallowKey = false;
    SetTriggers(kDefaultTriggers);
}

void TAutoReplace::AddReplacement(const std::string& word, const std::string& replacement)
{
    SetEntry({word, {}, replacement});
}

void TAutoReplace::SetTriggers(std::string_view text)
{
    m_triggers = shortText(std::string(text));
    m_triggerKeys = parseTriggerKeys(m_triggers);
    changed();
}

bool TAutoReplace::IsTrigger(uint16_t key, TShortCut shiftState) const
{
    if (key > 255)
        return false; // keys with a high byte never match
    const int code = key + ((shiftState & vk::scShift) ? kTriggerShift : 0) + ((shiftState & vk::scCtrl) ? kTriggerCtrl : 0);
    return std::find(m_triggerKeys.begin(), m_triggerKeys.end(), code) != m_triggerKeys.end();
}

void TAutoReplace::Reset()
{
    m_entries.clear();
    rebuild();
    SetTriggers(kDefaultTriggers);
}

void TAutoReplace::SaveToStream(TStream& stream) const
{
    TCodeTemplates::SaveToStream(stream);
    writeText(stream, m_triggers, 1);
}

void TAutoReplace::LoadFromStream(TStream& stream)
{
    TStoredList list = readList(stream);
    std::string triggers = readText(stream, readLE(stream, 1));
    m_triggers = std::move(triggers);
    m_triggerKeys = parseTriggerKeys(m_triggers);
    takeList(std::move(list));
}

void TAutoReplace::Assign(const TSM_Base& source)
{
    TMacroKeywords::Assign(source);
    const auto& other = static_cast<const TAutoReplace&>(source);
    m_triggers = other.m_triggers;
    m_triggerKeys = other.m_triggerKeys;
    changed();
}
