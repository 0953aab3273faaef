// A key map: the key store with its bindings, the descriptions of the commands, and the command
// handler of the control that has the focus. Invariants: at most one description per command
// number; the store's controller is this object.
#pragma once

#include "editor/keys/KeyMapRecords.h"
#include "editor/keys/KeyStore.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TStream;

class TKeyboardActionContoller
{
public:
    struct TCommandName
    {
        std::string text;
        int32_t command;
    };

    // A new map knows the descriptions of the 48 editor commands and has no bindings.
    TKeyboardActionContoller();
    TKeyboardActionContoller(const TKeyboardActionContoller& other);
    TKeyboardActionContoller& operator=(const TKeyboardActionContoller& other);
    virtual ~TKeyboardActionContoller() = default;

    virtual std::string ClassName() const { return "TKeyboardActionContoller"; }

    // Empties the store (the matcher becomes idle) and the descriptions.
    void Clear();
    // See TKeyStore::Bind; conflict messages name both commands by their descriptions.
    void Bind(TShortCut first, TShortCut second, int32_t command);
    // Replaces the description of command: an existing one is removed, the new one appended.
    void SetName(int32_t command, const std::string& text);
    // The description of command, or an empty text.
    std::string NameOf(int32_t command) const;
    std::pair<TShortCut, TShortCut> KeysOf(int32_t command) { return m_keys->KeysOf(command); }
    std::pair<TShortCut, TShortCut> NextKeysOf(int32_t command)
    {
        return m_keys->NextKeysOf(command);
    }

    // Copies other's descriptions and bindings through their stored form. The command handler
    // is not copied: it belongs to the control that has the focus. Null raises EKeyAssignError.
    void Assign(const TKeyboardActionContoller& other);
    void Assign(const TKeyboardActionContoller* other);

    virtual void SaveToStream(TStream& stream) const;
    // Replaces the map by the stored one and leaves the matcher idle. On any error (damaged
    // bytes, conflicting bindings) the map stays as it was and the error passes on.
    virtual void LoadFromStream(TStream& stream);

    TKeyMapRecords ToRecords() const;
    // Replaces the map by the records, with LoadFromStream's guarantee.
    void FromRecords(const TKeyMapRecords& records);

    // Matches one key-down; on a command calls the command handler with it.
    TKeyMatch ProcessKey(TShortCut key);

    // The control that has the focus installs its handler; owner identifies it so that it can
    // remove only its own handler again.
    void SetOnCommand(std::function<void(int32_t)> handler, const void* owner);
    void ReleaseOnCommand(const void* owner);
    const void* OnCommandOwner() const { return m_onCommandOwner; }

    TKeyStore& Keys() { return *m_keys; }
    const TKeyStore& Keys() const { return *m_keys; }
    const std::vector<TCommandName>& Names() const { return m_names; }

    void check() const;

private:
    void swapMap(TKeyboardActionContoller& other);

    std::unique_ptr<TKeyStore> m_keys;
    std::vector<TCommandName> m_names;
    std::function<void(int32_t)> m_onCommand;
    const void* m_onCommandOwner = nullptr;
};
