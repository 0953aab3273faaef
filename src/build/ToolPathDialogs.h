// What the dialogs that locate the device tools keep and write, apart from their widgets.
// The EPIC and MELoader dialogs keep a remembered path that only browsing changes: text typed
// into their edit box is not taken, so OK writes the path the user last browsed to (or the
// stored one). The user programmer and downloader dialogs take their three boxes as they are.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class TProgramPathDialog
{
public:
    // On activation: the stored path, or the remembered one when none is stored.
    void activate(const std::optional<std::string>& stored);
    // The open dialog returned a file (nothing when it was cancelled).
    void browsed(const std::optional<std::string>& chosen);
    // What the edit box shows, and what OK writes.
    const std::string& path() const { return m_remembered; }

private:
    std::string m_remembered;
};

struct TUserToolSettings
{
    std::string name; // "Undefined" when the name box was empty
    std::string path;
    std::string commandTemplate;

    bool operator==(const TUserToolSettings&) const = default;
};

// The values OK writes to NAME, EXT_PATH and CMD_LINE and remembers.
TUserToolSettings acceptUserTool(std::string_view name, std::string_view path,
                                 std::string_view commandTemplate);
