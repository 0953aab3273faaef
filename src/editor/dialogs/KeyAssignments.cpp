#include "editor/dialogs/KeyAssignments.h"

#include "editor/dialogs/ListOrder.h"
#include "editor/keys/KeyNames.h"
#include "highlight/registry/KeyMapConversion.h"

#include <algorithm>

TKeyAssignments::TKeyAssignments(const KeyMapRecords& keyMap) : m_original(keyMap)
{
    m_lookup.FromRecords(ToKeyStoreRecords(keyMap));
}

std::vector<KeyCommandName> TKeyAssignments::sortedCommands() const
{
    std::vector<KeyCommandName> commands = m_original.names;
    std::stable_sort(commands.begin(), commands.end(), [](const KeyCommandName& a, const KeyCommandName& b) {
        return lessIgnoringCase(a.name, b.name);
    });
    return commands;
}

const std::string& TKeyAssignments::descriptionOf(int32_t command) const
{
    static const std::string none;
    for (const KeyCommandName& name : m_original.names)
        if (name.command == command)
            return name.name;
    return none;
}

TKeyAssignments::TCommandRecord& TKeyAssignments::recordOf(int32_t command)
{
    const auto found = m_records.find(command);
    if (found != m_records.end())
        return found->second;
    TCommandRecord& record = m_records[command];
    for (auto keys = m_lookup.KeysOf(command); keys.first != 0; keys = m_lookup.NextKeysOf(command))
        record.pairs.push_back({keys.first, keys.second});
    return record;
}

const std::vector<TKeyPair>& TKeyAssignments::pairsOf(int32_t command)
{
    return recordOf(command).pairs;
}

void TKeyAssignments::addPair(int32_t command, TKeyPair pair)
{
    TCommandRecord& record = recordOf(command);
    record.pairs.push_back(pair);
    record.changed = true;
}

void TKeyAssignments::replacePair(int32_t command, size_t index, TKeyPair pair)
{
    TCommandRecord& record = recordOf(command);
    if (index >= record.pairs.size())
        return;
    record.pairs[index] = pair;
    record.changed = true;
}

void TKeyAssignments::deletePair(int32_t command, size_t index)
{
    TCommandRecord& record = recordOf(command);
    if (index >= record.pairs.size())
        return;
    record.pairs.erase(record.pairs.begin() + static_cast<std::ptrdiff_t>(index));
    record.changed = true;
}

bool TKeyAssignments::changed(int32_t command) const
{
    const auto found = m_records.find(command);
    return found != m_records.end() && found->second.changed;
}

bool TKeyAssignments::anyChanged() const
{
    return std::any_of(m_records.begin(), m_records.end(), [](const auto& entry) { return entry.second.changed; });
}

KeyMapRecords TKeyAssignments::build() const
{
    TKeyboardActionContoller map;
    map.Clear();
    for (const KeyCommandName& name : m_original.names)
        map.SetName(name.command, name.name);
    for (const KeyBindingRecord& binding : m_original.bindings) {
        if (!changed(binding.command))
            map.Bind(binding.first, binding.second, binding.command);
    }
    for (const auto& [command, record] : m_records) {
        if (!record.changed)
            continue;
        for (const TKeyPair& pair : record.pairs)
            map.Bind(pair.first, pair.second, command);
    }
    return FromKeyStoreRecords(map.ToRecords());
}

std::string TKeyAssignments::pairText(TKeyPair pair)
{
    const std::string second = pair.second ? shortCutToText(pair.second) : "<none>";
    return "[" + shortCutToText(pair.first) + "]  [" + second + "]";
}
