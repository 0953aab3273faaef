// TBuildCommands: the compile, listing, programming and download commands of the main window,
// with the build state they share: the source shown (empty when no file is current), the device
// named by the last result read ("16F84" is used when it is empty), the compile-failed flag,
// the listing and HEX file names. It owns the process launcher, the busy box, the three
// listing windows and the tool path dialogs, and reports what the user sees through TBuildHost.
//
// A compiler that cannot be started is reported ("Problem Running " and the compiler's path)
// and counts as a failed compile: the result file an earlier compile left is not presented as
// this compile's verdict, and "Compile then Download" does not download.
#pragma once

#include "build/ToolMenus.h"
#include "build/qt/BuildHost.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>

struct TCommandLine;
class QWidget;
class TASMList;
class TBootloader_Parameters;
class TDATAList;
class TDummy_Virtual_Form;
class TEPICPath;
class TFind_MELOADER;
class THEXList;
class TProcessLauncher;
class TProgPath;

// Where the build commands find their programs and settings; folders end with a separator.
struct TBuildFolders
{
    std::string appDir;  // KALTOR_PL.EXE
    std::string incDir;  // MPASMWIN.EXE, the downloaders, ZBX.INI
    std::string iniFile; // ZBX.INI
};

enum class ToolPathDialog
{
    Epic,
    Programmer,
    MELoader,
    Bootloader
};

class TBuildCommands : public QObject
{
    Q_OBJECT
public:
    // windowParent owns the listing windows and dialogs as a main window owns its tool windows
    // (without one, the commands delete them). The assembler window starts its programs through
    // our launcher, so the commands must live as long as the windows.
    TBuildCommands(TBuildHost& host, TBuildFolders folders, QWidget* windowParent);
    ~TBuildCommands() override;

    // Build state.
    void setCurrentSource(std::string sourcePath) { m_source = std::move(sourcePath); }
    const std::string& currentSource() const { return m_source; }
    const std::string& device() const { return m_device; }
    bool compileFailed() const { return m_compileFailed; }
    const std::string& hexFile() const { return m_hexFile; }
    const std::string& listingPath() const { return m_listingPath; }

    // Compile steps after the file is saved: busy box, compiler run, refresh.
    void compile();
    void ReadCompileResult();
    void RefreshBuildViews();
    // No file is shown any more: the status panels and the report pane show no result.
    void clearResult();
    void showReportClick();
    void ProgramButtonClick();
    void DownloadButtonClick();

    // View items of the listing windows; the host's item follows through setListingItemChecked.
    void ASMButtonClick();
    void showHEXClick();
    void showDATAClick();
    // The last file was closed: all three windows hide and their items are unchecked.
    void hideListingWindows();

    // Programmer and downloader choice, written to ZBX.INI at once.
    const TProgrammerMenu& programmerMenu() const { return m_programmerMenu; }
    const TBootloaderMenu& bootloaderMenu() const { return m_bootloaderMenu; }
    void EpicProgClick();
    void ExtProgClick();
    void chooseBootloader(BootloaderType type);
    // Reads [PROGRAMMER] TYPE, [BOOTLOADER] TYPE and the user tool names from ZBX.INI.
    void refreshToolMenus();
    // At start-up: the KALTOR IR item is available when <inc>KALTIR_BOOT.EXE exists.
    void detectKaltorIr();

    void EPIC_DirectoryClick() { runPathDialog(ToolPathDialog::Epic); }
    void ProgrammerPathClick() { runPathDialog(ToolPathDialog::Programmer); }
    void MELoaderPathClick() { runPathDialog(ToolPathDialog::MELoader); }
    void BootloaderPathClick() { runPathDialog(ToolPathDialog::Bootloader); }

    // Replaces how the path dialogs are shown (tests answer them without a modal loop).
    void setPathDialogRunner(std::function<void(ToolPathDialog)> runner)
    {
        m_dialogRunner = std::move(runner);
    }

    TProcessLauncher& launcher() { return *m_launcher; }
    TDummy_Virtual_Form& busyBox() { return *m_busy; }
    TASMList& asmList() { return *m_asmList; }
    THEXList& hexList() { return *m_hexList; }
    TDATAList& dataList() { return *m_dataList; }
    TEPICPath& epicPath();
    TProgPath& progPath();
    TFind_MELOADER& findMELoader();
    TBootloader_Parameters& bootloaderParameters();

private:
    bool hasSource() const { return !m_source.empty(); }
    std::string sourceShortPath() const;
    // A file the build writes beside the source, as a case-blind system finds it: the
    // assembler writes "led.hex" even when asked for "LED.HEX".
    static std::string besideSource(const std::string& path);
    void compilerDidNotStart(const std::string& program);
    void clearBuildState();
    void loadHexViews();
    void runPathDialog(ToolPathDialog dialog);
    void showPathDialog(ToolPathDialog dialog);
    void updateUserCaptions();
    std::string iniString(const char* section, const char* key) const;
    void writeIni(const char* section, const char* key, std::string_view value);
    // A path from ZBX.INI, after the dialog that sets it when it is empty.
    std::string pathAfterDialog(const char* section, const char* key, ToolPathDialog dialog);
    // Starts command; a detached start that failed raises EProcessStart.
    void launch(const TCommandLine& command);
    void downloadInformation(const std::string& message);

    TBuildHost& m_host;
    TBuildFolders m_folders;
    QWidget* m_windowParent;
    std::unique_ptr<TProcessLauncher> m_launcher;
    TDummy_Virtual_Form* m_busy;
    TASMList* m_asmList;
    THEXList* m_hexList;
    TDATAList* m_dataList;
    TEPICPath* m_epicPath = nullptr;
    TProgPath* m_progPath = nullptr;
    TFind_MELOADER* m_findMELoader = nullptr;
    TBootloader_Parameters* m_bootloaderParameters = nullptr;
    std::function<void(ToolPathDialog)> m_dialogRunner;

    std::string m_source;
    std::string m_device;
    bool m_compileFailed = false;
    std::string m_listingPath;
    std::string m_hexFile;
    bool m_asmShown = false;
    bool m_hexShown = false;
    bool m_dataShown = false;
    TProgrammerMenu m_programmerMenu;
    TBootloaderMenu m_bootloaderMenu;
};
