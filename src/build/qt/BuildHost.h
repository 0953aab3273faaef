// TBuildHost: what the build commands change in the main window: status panels 2 to 4, the
// report pane with its splitter and "REPORT Window" item, the View items of the listing
// windows and the captions of the user-defined tool items. The main window implements it;
// tests implement it with plain fields. Texts are Windows-1252 bytes, as the files hold them.
#pragma once

#include "build/ListingWindows.h"

#include <string>
#include <vector>

class TBuildHost
{
public:
    virtual ~TBuildHost() = default;

    // index 2, 3 or 4.
    virtual void setPanelText(int index, const std::string& text) = 0;

    virtual bool reportPaneVisible() const = 0;
    virtual void setReportPaneVisible(bool visible) = 0;
    virtual bool splitterVisible() const = 0;
    virtual void setSplitterVisible(bool visible) = 0;
    virtual void setReportText(const std::vector<std::string>& lines) = 0;
    virtual bool reportChecked() const = 0;
    virtual void setReportChecked(bool checked) = 0;

    virtual void focusMainWindow() = 0;
    // The View item of a listing window ("ASSEMBLER Data", "PROGRAM Data", "EEPROM Data").
    virtual void setListingItemChecked(ListingWindow window, bool checked) = 0;
    // The programmer or bootloader radio items changed (a click, a refresh from ZBX.INI, the
    // fall-back from KALTOR IR); the host shows the menus of TBuildCommands again.
    virtual void toolMenusChanged() = 0;
    // Captions of the user-defined programmer and downloader items ("Undefined" without name).
    virtual void setUserProgrammerCaption(const std::string& caption) = 0;
    virtual void setUserBootloaderCaption(const std::string& caption) = 0;
};
