// The build commands that reach a device: the programmer and downloader choices, their path
// dialogs, Program and Download.
#include "build/qt/BuildCommands.h"

#include "base/Exception.h"
#include "build/BuildPaths.h"
#include "build/CommandTemplate.h"
#include "build/DownloadCommand.h"
#include "build/ProgramCommand.h"
#include "build/qt/BuildErrorBox.h"
#include "build/qt/ProcessLauncher.h"
#include "build/qt/ToolPathForms.h"
#include "platform/FileLookup.h"
#include "platform/Folders.h"
#include "platform/IniFile.h"
#include "platform/MessageBoxes.h"
#include "platform/SettingsProblems.h"

#include <filesystem>

namespace {

constexpr const char* kInformationCaption = "Information";

} // namespace

// ---- Settings

std::string TBuildCommands::iniString(const char* section, const char* key) const
{
    return TIniFile(m_folders.iniFile).ReadString(section, key, "");
}

// A ZBX.INI that cannot be written is reported once; the choice holds for this session.
void TBuildCommands::writeIni(const char* section, const char* key, std::string_view value)
{
    trySettingsAccess(m_folders.iniFile,
                      [&] { TIniFile(m_folders.iniFile).WriteString(section, key, std::string(value)); });
}

void TBuildCommands::EpicProgClick()
{
    writeIni("PROGRAMMER", "TYPE", m_programmerMenu.choose(ProgrammerType::Epic));
    m_host.toolMenusChanged();
}

void TBuildCommands::ExtProgClick()
{
    writeIni("PROGRAMMER", "TYPE", m_programmerMenu.choose(ProgrammerType::Other));
    m_host.toolMenusChanged();
}

void TBuildCommands::chooseBootloader(BootloaderType type)
{
    const std::optional<std::string_view> key = m_bootloaderMenu.choose(type);
    if (!key)
        return;
    writeIni("BOOTLOADER", "TYPE", *key);
    m_host.toolMenusChanged();
}

void TBuildCommands::refreshToolMenus()
{
    // Absent keys read as the defaults, as a fresh ZBX.INI would hold them.
    const TIniFile ini(m_folders.iniFile);
    m_programmerMenu.applyStoredType(ini.ReadString("PROGRAMMER", "TYPE", "EPIC"));
    m_bootloaderMenu.applyStoredType(ini.ReadString("BOOTLOADER", "TYPE", "STANDARD"));
    updateUserCaptions();
    m_host.toolMenusChanged();
}

void TBuildCommands::updateUserCaptions()
{
    m_host.setUserProgrammerCaption(userToolCaption(iniString("EXT_PROG", "NAME")));
    m_host.setUserBootloaderCaption(userToolCaption(iniString("EXT_BOOTLOADER", "NAME")));
}

void TBuildCommands::detectKaltorIr()
{
    std::error_code error;
    const std::string program =
        resolveIgnoringCase(m_folders.incDir, std::string(kKaltorIrProgram));
    if (std::filesystem::is_regular_file(program, error))
        m_bootloaderMenu.makeKaltorIrAvailable();
}

// ---- Path dialogs

TEPICPath& TBuildCommands::epicPath()
{
    if (m_epicPath == nullptr)
        m_epicPath = new TEPICPath(m_folders.iniFile, m_windowParent);
    return *m_epicPath;
}

TProgPath& TBuildCommands::progPath()
{
    if (m_progPath == nullptr)
        m_progPath = new TProgPath(m_folders.iniFile, m_windowParent);
    return *m_progPath;
}

TFind_MELOADER& TBuildCommands::findMELoader()
{
    if (m_findMELoader == nullptr)
        m_findMELoader = new TFind_MELOADER(m_folders.iniFile, m_windowParent);
    return *m_findMELoader;
}

TBootloader_Parameters& TBuildCommands::bootloaderParameters()
{
    if (m_bootloaderParameters == nullptr)
        m_bootloaderParameters = new TBootloader_Parameters(m_folders.iniFile, m_windowParent);
    return *m_bootloaderParameters;
}

void TBuildCommands::showPathDialog(ToolPathDialog dialog)
{
    switch (dialog) {
    case ToolPathDialog::Epic:
        epicPath().execute();
        break;
    case ToolPathDialog::Programmer:
        progPath().execute();
        break;
    case ToolPathDialog::MELoader:
        findMELoader().execute();
        break;
    case ToolPathDialog::Bootloader:
        bootloaderParameters().execute();
        break;
    }
}

// After the user-defined tool dialogs the items show the name, whatever button closed them.
void TBuildCommands::runPathDialog(ToolPathDialog dialog)
{
    if (m_dialogRunner)
        m_dialogRunner(dialog);
    else
        showPathDialog(dialog);
    if (dialog == ToolPathDialog::Programmer || dialog == ToolPathDialog::Bootloader)
        updateUserCaptions();
}

std::string TBuildCommands::pathAfterDialog(const char* section, const char* key,
                                            ToolPathDialog dialog)
{
    if (iniString(section, key).empty())
        runPathDialog(dialog);
    return iniString(section, key);
}

// ---- Program and Download

void TBuildCommands::launch(const TCommandLine& command)
{
    const TLaunchResult result = m_launcher->run(command);
    if (!result.started() && !result.reported && command.mode == LaunchMode::Detached)
        throw EProcessStart(problemRunningMessage(command.program));
}

void TBuildCommands::ProgramButtonClick()
{
    if (!hasSource())
        return;
    m_hexFile = besideSource(hexFileName(sourceShortPath()));
    try {
        if (m_programmerMenu.checked() == ProgrammerType::Epic) {
            const std::string path = pathAfterDialog("EPIC", "PATHNAME", ToolPathDialog::Epic);
            launch(epicProgramCommand(path, m_hexFile, m_device));
        } else {
            const std::string path =
                pathAfterDialog("EXT_PROG", "EXT_PATH", ToolPathDialog::Programmer);
            launch(
                userProgramCommand(path, iniString("EXT_PROG", "CMD_LINE"), m_hexFile, m_device));
        }
    } catch (const Exception& error) {
        showErrorBox(error.Message());
    }
}

void TBuildCommands::downloadInformation(const std::string& message)
{
    messageBoxes().show(TMessageKind::Information, kInformationCaption, message,
                        TMessageButtons::Ok);
}

void TBuildCommands::DownloadButtonClick()
{
    if (!hasSource())
        return;
    m_hexFile = besideSource(hexFileName(sourceShortPath()));
    TDownloadRequest request;
    request.type = m_bootloaderMenu.downloadType();
    request.device = m_device;
    request.hexFile = m_hexFile;
    request.incDir = m_folders.incDir;
    request.kaltorIrInstalled = std::filesystem::is_regular_file(
        resolveIgnoringCase(m_folders.incDir, std::string(kKaltorIrProgram)));
    try {
        if (request.type == BootloaderType::MELoader)
            request.meloaderPath =
                pathAfterDialog("MELOADER", "PATHNAME", ToolPathDialog::MELoader);
        if (request.type == BootloaderType::Other) {
            request.userPath =
                pathAfterDialog("EXT_BOOTLOADER", "EXT_PATH", ToolPathDialog::Bootloader);
            request.userTemplate = iniString("EXT_BOOTLOADER", "CMD_LINE");
        }
        const TDownloadPlan plan = planDownload(request);
        switch (plan.action) {
        case DownloadAction::Launch:
            launch(plan.command);
            break;
        case DownloadAction::Inform:
            downloadInformation(plan.message);
            break;
        case DownloadAction::FallBackToStandard:
            writeIni("BOOTLOADER", "TYPE", m_bootloaderMenu.fallBackToStandard());
            m_host.toolMenusChanged();
            downloadInformation(plan.message);
            break;
        }
    } catch (const Exception& error) {
        showErrorBox(error.Message());
    }
}
