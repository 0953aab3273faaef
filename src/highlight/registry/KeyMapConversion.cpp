#include "highlight/registry/KeyMapConversion.h"

TKeyMapRecords ToKeyStoreRecords(const KeyMapRecords& map)
{
    TKeyMapRecords records;
    for (const KeyCommandName& name : map.names)
        records.commands.push_back({name.command, name.name});
    for (const KeyBindingRecord& binding : map.bindings)
        records.bindings.push_back({binding.first, binding.second, binding.command});
    return records;
}

KeyMapRecords FromKeyStoreRecords(const TKeyMapRecords& records)
{
    KeyMapRecords map;
    for (const TKeyMapRecords::Command& command : records.commands)
        map.names.push_back({command.number, command.name});
    for (const TKeyMapRecords::Binding& binding : records.bindings)
        map.bindings.push_back({binding.first, binding.second, binding.command});
    return map;
}
