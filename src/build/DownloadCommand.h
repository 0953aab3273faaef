// The Download command: the four kinds of downloader, their keys in the settings, and what a
// download does for each: start a program (waited for or detached) or inform the user.
#pragma once

#include "build/CommandLine.h"

#include <optional>
#include <string>
#include <string_view>

enum class BootloaderType
{
    Standard,
    MELoader,
    KaltorIr,
    Other
};

// The [BOOTLOADER] TYPE value: "STANDARD", "MELOADER", "KALTOR_IR" or "OTHER".
std::string_view bootloaderTypeKey(BootloaderType type);
// The type a stored value names; nothing for any other value (exact letter case).
std::optional<BootloaderType> bootloaderTypeFromKey(std::string_view key);

inline constexpr std::string_view kKaltorIrProgram = "KALTIR_BOOT.EXE";
inline constexpr std::string_view kKaltorIrMissingMessage =
    "Cannot Find KALTOR IR bootloader\r\nDefaulting to standard bootloader.";

// What the download needs to know; the paths are those read from the settings after any path
// dialog the command showed because a path was empty.
struct TDownloadRequest
{
    BootloaderType type = BootloaderType::Standard;
    std::string device;  // of the last compile result, empty when none
    std::string hexFile; // short path of the HEX file, as it is (the plan quotes it)
    std::string incDir;  // the include folder, ending with a separator
    bool kaltorIrInstalled = false;
    std::string meloaderPath;
    std::string userPath;
    std::string userTemplate;
};

enum class DownloadAction
{
    Launch,             // start command
    Inform,             // show message in an information box; nothing starts
    FallBackToStandard, // KALTOR IR is gone: hide its item, choose Standard, show message
};

struct TDownloadPlan
{
    DownloadAction action = DownloadAction::Inform;
    TCommandLine command;
    std::string message;
};

TDownloadPlan planDownload(const TDownloadRequest& request);
