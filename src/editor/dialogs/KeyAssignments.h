// The working key lists of the properties dialog's Key assignments page. Each command gets a
// record (a changed mark and its key pairs) when it is first selected, filled from the key map
// by reverse lookup; the key map itself is rebuilt only when the dialog is closed with OK.
// Invariant: a command's record, once made, holds every pair the user left it, in order.
#pragma once

#include "editor/keys/KeyboardActionController.h"
#include "highlight/ParserSettings.h"

#include <map>
#include <string>
#include <vector>

struct TKeyPair
{
    TShortCut first = 0;
    TShortCut second = 0; // 0: a single key
    bool operator==(const TKeyPair&) const = default;
};

class TKeyAssignments
{
public:
    explicit TKeyAssignments(const KeyMapRecords& keyMap);

    // The command descriptions sorted without regard to case, each with its command number.
    std::vector<KeyCommandName> sortedCommands() const;
    const std::string& descriptionOf(int32_t command) const;

    const std::vector<TKeyPair>& pairsOf(int32_t command);
    void addPair(int32_t command, TKeyPair pair);
    void replacePair(int32_t command, size_t index, TKeyPair pair);
    void deletePair(int32_t command, size_t index);
    bool changed(int32_t command) const;
    bool anyChanged() const;

    // The key map with every command's pairs: the unchanged commands keep their bindings in
    // their stored order, then the changed commands' lists are bound. A conflict raises
    // EAmbigiousKeyPair naming the command being bound and the one holding the keys.
    KeyMapRecords build() const;

    // "[Ctrl+K]  [I]", or "[Ctrl+Y]  [<none>]" for a single key.
    static std::string pairText(TKeyPair pair);

private:
    struct TCommandRecord
    {
        bool changed = false;
        std::vector<TKeyPair> pairs;
    };
    TCommandRecord& recordOf(int32_t command);

    KeyMapRecords m_original;
    TKeyboardActionContoller m_lookup; // the original map, for reverse lookups
    std::map<int32_t, TCommandRecord> m_records;
};
