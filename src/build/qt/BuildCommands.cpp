// The build commands: compile and result reading, the listing windows' toggles and refresh,
// programming and downloading.
#include "build/qt/BuildCommands.h"

#include "base/Exception.h"
#include "build/BuildPaths.h"
#include "build/CommandTemplate.h"
#include "build/CompileCommand.h"
#include "build/CompileResult.h"
#include "build/DownloadCommand.h"
#include "build/ReportView.h"
#include "build/qt/ASMList.h"
#include "build/qt/BuildErrorBox.h"
#include "build/qt/DataLists.h"
#include "build/qt/DummyVirtualForm.h"
#include "build/qt/ProcessLauncher.h"
#include "build/qt/ToolPathForms.h"
#include "platform/FileAccess.h"
#include "platform/FileLookup.h"
#include "platform/Folders.h"
#include "platform/IniFile.h"
#include "platform/MessageBoxes.h"

#include <QApplication>

#include <filesystem>

namespace {

bool fileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

} // namespace

TBuildCommands::TBuildCommands(TBuildHost& host, TBuildFolders folders, QWidget* windowParent)
    : m_host(host), m_folders(std::move(folders)), m_windowParent(windowParent),
      m_launcher(std::make_unique<TProcessLauncher>()),
      m_busy(new TDummy_Virtual_Form(windowParent)),
      m_asmList(new TASMList(m_folders.iniFile, m_folders.incDir, *m_launcher, windowParent)),
      m_hexList(new THEXList(m_folders.iniFile, windowParent)),
      m_dataList(new TDATAList(m_folders.iniFile, windowParent))
{
    for (TListingForm* window :
         {static_cast<TListingForm*>(m_asmList), static_cast<TListingForm*>(m_hexList),
          static_cast<TListingForm*>(m_dataList)}) {
        connect(window, &TListingForm::closed, this, [this](ListingWindow kind) {
            (kind == ListingWindow::Assembler     ? m_asmShown
             : kind == ListingWindow::ProgramData ? m_hexShown
                                                  : m_dataShown) = false;
            m_host.setListingItemChecked(kind, false);
        });
    }
}

// Windows without a parent are ours to delete; with one, the parent deletes them.
TBuildCommands::~TBuildCommands()
{
    if (m_windowParent != nullptr)
        return;
    delete m_busy;
    delete m_asmList;
    delete m_hexList;
    delete m_dataList;
    delete m_epicPath;
    delete m_progPath;
    delete m_findMELoader;
    delete m_bootloaderParameters;
}

std::string TBuildCommands::sourceShortPath() const
{
    return ShortPath(m_source);
}

std::string TBuildCommands::besideSource(const std::string& path)
{
    return !path.empty() && path.front() == '/' ? resolveIgnoringCase("", path) : path;
}

// ---- Compile and result

void TBuildCommands::compile()
{
    if (!hasSource())
        return;
    const TCommandLine command =
        compilerCommand(m_folders.appDir, sourceShortPath());
    m_busy->showBusy();
    const TLaunchResult result = m_launcher->run(command);
    m_busy->hideBusy();
    if (!result.started()) {
        compilerDidNotStart(command.program);
        return;
    }
    RefreshBuildViews();
}

void TBuildCommands::clearBuildState()
{
    m_device.clear();
    m_compileFailed = false;
    for (int panel = 2; panel <= 4; ++panel)
        m_host.setPanelText(panel, "");
}

// Whatever result file lies beside the source was written by an earlier compile; it is not
// read. The status bar and report describe no result until the next refresh.
void TBuildCommands::compilerDidNotStart(const std::string& program)
{
    clearBuildState();
    m_compileFailed = true;
    if (m_host.reportPaneVisible())
        m_host.setReportText({});
    std::string message = problemRunningMessage(program);
    // The compiler ships apart from the IDE, so a first compile usually finds no compiler at all.
    if (!isRegularFile(program)) {
        const std::filesystem::path path(program);
        message += "\r\rThe compiler is not installed. Put " + path.filename().string() + " into \"" +
                   path.parent_path().string() + "\" and compile again.";
    }
    showErrorBox(message);
}

void TBuildCommands::ReadCompileResult()
{
    const std::string resultFile = hasSource() ? besideSource(resultFileName(sourceShortPath())) : " ";
    TReportViewState state;
    state.reportChecked = m_host.reportChecked();
    state.paneVisible = m_host.reportPaneVisible();
    state.splitterVisible = m_host.splitterVisible();
    clearBuildState();
    state = applyCompileResult(state, readCompileResultFile(resultFile));
    m_device = state.device;
    m_compileFailed = state.compileFailed;
    for (int panel = 2; panel <= 4; ++panel)
        m_host.setPanelText(panel, state.panels[panel - 2]);
    m_host.setReportChecked(state.reportChecked);
    m_host.setReportPaneVisible(state.paneVisible);
    m_host.setSplitterVisible(state.splitterVisible);
    if (state.paneVisible)
        m_host.setReportText(state.paneLines);
    QApplication::processEvents();
    m_host.focusMainWindow();
}

void TBuildCommands::clearResult()
{
    clearBuildState();
    m_host.setReportText({});
}

void TBuildCommands::RefreshBuildViews()
{
    if (!hasSource())
        return;
    try {
        m_listingPath = besideSource(listingFileName(sourceShortPath()));
        if (m_asmShown) {
            m_asmList->setListingPath(m_listingPath);
            m_asmList->loadListing();
        }
        ReadCompileResult();
        m_hexFile = besideSource(hexFileName(sourceShortPath()));
        if (m_hexShown || m_dataShown)
            loadHexViews();
    } catch (const Exception& error) {
        showErrorBox(error.Message());
    }
}

// One load fills both data windows; a missing file clears the hex boxes of the shown ones.
void TBuildCommands::loadHexViews()
{
    if (fileExists(m_hexFile)) {
        LoadHexFile(*m_hexList, *m_dataList, m_hexFile);
        return;
    }
    if (m_hexShown)
        m_hexList->clearHexBox();
    if (m_dataShown)
        m_dataList->clearHexBox();
}

void TBuildCommands::showReportClick()
{
    if (m_host.reportChecked()) {
        m_host.setReportChecked(false);
        m_host.setReportPaneVisible(false);
        QApplication::processEvents();
        m_host.setSplitterVisible(false);
    } else {
        m_host.setReportChecked(true);
        m_host.setReportPaneVisible(true);
        m_host.setSplitterVisible(true);
        try {
            ReadCompileResult();
        } catch (const Exception& error) {
            showErrorBox(error.Message());
        }
        QApplication::processEvents();
    }
    m_host.focusMainWindow();
    QApplication::processEvents();
}

// ---- Listing windows

void TBuildCommands::ASMButtonClick()
{
    m_listingPath = hasSource() ? besideSource(listingFileName(sourceShortPath())) : "";
    m_asmList->setListingPath(m_listingPath);
    if (m_asmShown) {
        m_asmShown = false;
        m_asmList->hideListing();
    } else {
        m_asmShown = true;
        try {
            m_asmList->loadListing();
        } catch (const Exception& error) {
            showErrorBox(error.Message());
        }
        m_asmList->showListing();
    }
    m_host.setListingItemChecked(ListingWindow::Assembler, m_asmShown);
}

void TBuildCommands::showHEXClick()
{
    m_hexFile = hasSource() ? besideSource(hexFileName(sourceShortPath())) : " ";
    m_hexShown = !m_hexShown;
    if (!m_hexShown) {
        m_hexList->hideListing();
    } else {
        try {
            if (fileExists(m_hexFile))
                LoadHexFile(*m_hexList, *m_dataList, m_hexFile);
            else
                m_hexList->clearHexBox();
        } catch (const Exception& error) {
            showErrorBox(error.Message());
        }
        m_hexList->showListing();
    }
    m_host.setListingItemChecked(ListingWindow::ProgramData, m_hexShown);
}

void TBuildCommands::showDATAClick()
{
    m_hexFile = hasSource() ? besideSource(hexFileName(sourceShortPath())) : " ";
    m_dataShown = !m_dataShown;
    if (!m_dataShown) {
        m_dataList->hideListing();
    } else {
        try {
            if (fileExists(m_hexFile))
                LoadHexFile(*m_hexList, *m_dataList, m_hexFile);
            else
                m_dataList->clearHexBox();
        } catch (const Exception& error) {
            showErrorBox(error.Message());
        }
        m_dataList->showListing();
    }
    m_host.setListingItemChecked(ListingWindow::EepromData, m_dataShown);
}

void TBuildCommands::hideListingWindows()
{
    m_asmShown = m_hexShown = m_dataShown = false;
    m_asmList->hideListing();
    m_hexList->hideListing();
    m_dataList->hideListing();
    for (ListingWindow window :
         {ListingWindow::Assembler, ListingWindow::ProgramData, ListingWindow::EepromData})
        m_host.setListingItemChecked(window, false);
}
