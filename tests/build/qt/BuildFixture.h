// A temporary application folder (with INC/ and ZBX.INI) and a main-window stand-in that keeps
// what the build commands show, for driving TBuildCommands end to end.
#pragma once

#include "build/qt/BuildCommands.h"
#include "build/qt/ProcessLauncher.h"

#include "StandIns.h"
#include "platform/IniFile.h"
#include "platform/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <map>

struct TRecordingHost : TBuildHost
{
    std::string panels[5];
    bool paneVisible = false;
    bool splitter = false;
    bool checked = false;
    std::vector<std::string> reportLines = {"old report"};
    std::map<ListingWindow, bool> listingItems;
    std::string programmerCaption;
    std::string bootloaderCaption;
    int menuRefreshes = 0;
    int focusCount = 0;

    void setPanelText(int index, const std::string& text) override { panels[index] = text; }
    bool reportPaneVisible() const override { return paneVisible; }
    void setReportPaneVisible(bool visible) override { paneVisible = visible; }
    bool splitterVisible() const override { return splitter; }
    void setSplitterVisible(bool visible) override { splitter = visible; }
    void setReportText(const std::vector<std::string>& lines) override { reportLines = lines; }
    bool reportChecked() const override { return checked; }
    void setReportChecked(bool value) override { checked = value; }
    void focusMainWindow() override { ++focusCount; }
    void setListingItemChecked(ListingWindow window, bool value) override
    {
        listingItems[window] = value;
    }
    void toolMenusChanged() override { ++menuRefreshes; }
    void setUserProgrammerCaption(const std::string& caption) override
    {
        programmerCaption = caption;
    }
    void setUserBootloaderCaption(const std::string& caption) override
    {
        bootloaderCaption = caption;
    }
};

class BuildFixture : public ::testing::Test
{
protected:
    BuildFixture()
    {
        std::filesystem::create_directory(m_dir.path("INC"));
        std::filesystem::create_directory(m_dir.path("work"));
        m_source = m_dir.path("work/LED.BAS");
        writeWholeFile(m_source, "HIGH PORTB.0\r\n");
        m_commands = std::make_unique<TBuildCommands>(
            m_host, TBuildFolders{m_dir.path(), m_dir.path("INC/"), ini()}, nullptr);
        m_commands->setCurrentSource(m_source);
        m_commands->launcher().setWineProgram("");
    }

    std::string ini() const { return m_dir.path("INC/ZBX.INI"); }
    std::string work(const std::string& name) const { return m_dir.path("work/" + name); }
    std::string hex() const { return work("LED.HEX"); }

    // KALTOR_PL.EXE stand-in: records its arguments and writes next.zbe, when the test left
    // one, as the result file beside the source.
    void installCompiler(const std::string& body = {})
    {
        writeScript(m_dir.path("KALTOR_PL.EXE"),
                    "printf '%s\\n' \"$@\" > '" + m_dir.path("compiler.txt") + "'\n" + body +
                        "\nnext='" + m_dir.path("next.zbe") +
                        "'\n[ -f \"$next\" ] && cp \"$next\" \"${1%.*}.ZBE\"\nexit 0");
    }
    void nextResult(const std::string& text) { writeWholeFile(m_dir.path("next.zbe"), text); }
    void compileWith(const std::string& result)
    {
        nextResult(result);
        m_commands->compile();
    }

    TempFolder m_dir;
    TRecordingHost m_host;
    TScriptedMessageBoxes m_boxes;
    TScopedMessageBoxes m_scope{m_boxes};
    std::string m_source;
    std::unique_ptr<TBuildCommands> m_commands;
};
