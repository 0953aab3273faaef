#include "editor/keys/DefaultKeyMap.h"

#include "editor/keys/KeyCommands.h"

void buildDefaultKeyMap(TKeyboardActionContoller& map)
{
    map.Clear();
    for (int32_t command = 0; command < EditorCommandCount; ++command)
        map.SetName(command, std::string(editorCommandDescription(command)));
    for (const TDefaultKeyBinding& binding : defaultKeyBindings())
        map.Bind(binding.first, binding.second, binding.command);
}

const TKeyboardActionContoller& defaultKeyMap()
{
    static const TKeyboardActionContoller map = [] {
        TKeyboardActionContoller built;
        buildDefaultKeyMap(built);
        return built;
    }();
    return map;
}
