#include "build/ToolPathDialogs.h"

#include "build/CommandTemplate.h"

void TProgramPathDialog::activate(const std::optional<std::string>& stored)
{
    if (stored)
        m_remembered = *stored;
}

void TProgramPathDialog::browsed(const std::optional<std::string>& chosen)
{
    if (chosen)
        m_remembered = *chosen;
}

TUserToolSettings acceptUserTool(std::string_view name, std::string_view path,
                                 std::string_view commandTemplate)
{
    return {userToolCaption(name), std::string(path), std::string(commandTemplate)};
}
