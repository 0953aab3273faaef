#include "editor/keys/KeyboardActionController.h"

#include "base/Stream.h"
#include "editor/keys/KeyCommands.h"
#include "editor/keys/KeyErrors.h"

#include <algorithm>
#include <set>
#include <stdexcept>

TKeyboardActionContoller::TKeyboardActionContoller() : m_keys(std::make_unique<TKeyStore>(this))
{
    for (int32_t command = 0; command < EditorCommandCount; ++command)
        m_names.push_back({std::string(editorCommandDescription(command)), command});
}

TKeyboardActionContoller::TKeyboardActionContoller(const TKeyboardActionContoller& other)
    : TKeyboardActionContoller()
{
    Assign(other);
}

TKeyboardActionContoller& TKeyboardActionContoller::operator=(const TKeyboardActionContoller& other)
{
    if (this != &other)
        Assign(other);
    return *this;
}

void TKeyboardActionContoller::Clear()
{
    m_keys = std::make_unique<TKeyStore>(this);
    m_names.clear();
}

void TKeyboardActionContoller::Bind(TShortCut first, TShortCut second, int32_t command)
{
    m_keys->Bind(first, second, command);
}

void TKeyboardActionContoller::SetName(int32_t command, const std::string& text)
{
    std::erase_if(m_names, [command](const TCommandName& name) { return name.command == command; });
    m_names.push_back({text, command});
}

std::string TKeyboardActionContoller::NameOf(int32_t command) const
{
    const auto it =
        std::find_if(m_names.begin(), m_names.end(),
                     [command](const TCommandName& name) { return name.command == command; });
    return it == m_names.end() ? std::string() : it->text;
}

void TKeyboardActionContoller::Assign(const TKeyboardActionContoller& other)
{
    TMemoryStream stream;
    other.SaveToStream(stream);
    stream.SetPosition(0);
    LoadFromStream(stream);
}

void TKeyboardActionContoller::Assign(const TKeyboardActionContoller* other)
{
    if (!other)
        throw EKeyAssignError("nil", ClassName());
    Assign(*other);
}

TKeyMapRecords TKeyboardActionContoller::ToRecords() const
{
    TKeyMapRecords records;
    for (const TCommandName& name : m_names)
        records.commands.push_back({name.command, name.text});
    m_keys->ForEachBinding([&records](TShortCut first, TShortCut second, int32_t command) {
        records.bindings.push_back({first, second, command});
    });
    return records;
}

void TKeyboardActionContoller::FromRecords(const TKeyMapRecords& records)
{
    TKeyboardActionContoller loaded;
    loaded.Clear();
    for (const auto& command : records.commands)
        loaded.SetName(command.number, command.name);
    for (const auto& binding : records.bindings)
        loaded.Bind(binding.first, binding.second, binding.command);
    swapMap(loaded);
}

void TKeyboardActionContoller::swapMap(TKeyboardActionContoller& other)
{
    std::swap(m_keys, other.m_keys);
    std::swap(m_names, other.m_names);
    m_keys->SetController(this);
    other.m_keys->SetController(&other);
}

void TKeyboardActionContoller::SaveToStream(TStream& stream) const
{
    writeKeyMapRecords(stream, ToRecords());
}

void TKeyboardActionContoller::LoadFromStream(TStream& stream)
{
    FromRecords(readKeyMapRecords(stream));
}

TKeyMatch TKeyboardActionContoller::ProcessKey(TShortCut key)
{
    const TKeyMatch match = m_keys->Match(key);
    if (match == TKeyMatch::Command && m_onCommand) {
        // A copy, because the handler may install another handler while it runs.
        const auto handler = m_onCommand;
        handler(m_keys->LastCommand());
    }
    return match;
}

void TKeyboardActionContoller::SetOnCommand(std::function<void(int32_t)> handler, const void* owner)
{
    m_onCommand = std::move(handler);
    m_onCommandOwner = m_onCommand ? owner : nullptr;
}

void TKeyboardActionContoller::ReleaseOnCommand(const void* owner)
{
    if (owner && owner == m_onCommandOwner)
        SetOnCommand(nullptr, nullptr);
}

void TKeyboardActionContoller::check() const
{
    m_keys->check();
    if (m_keys->Controller() != this)
        throw std::logic_error("key map: the store belongs to another map");
    std::set<int32_t> commands;
    for (const TCommandName& name : m_names) {
        if (!commands.insert(name.command).second)
            throw std::logic_error("key map: a command has two descriptions");
    }
}
