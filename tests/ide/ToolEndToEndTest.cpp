// The tool programs and the editor pop-up in the real zbxedit on a private X server: a tool of
// the program folder's EXTERNAL PROGRAMS run from the Run menu, whose text lands at the caret;
// the real glyphcast converting a font there, its table inserted and taken back by one undo;
// and the pop-up opened with a right click. The files saved afterwards hold what happened.
#include "XSession.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* kTools = "INC/EXTERNAL PROGRAMS/";

class ToolEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programOnPath("Xvfb") && programOnPath("xdotool"))
            << "Xvfb and xdotool are needed (scripts/deps.sh installs them)";
        m_display = std::make_unique<TXDisplay>();
        ASSERT_TRUE(m_display->running()) << "Xvfb did not start";
        for (const char* folder : {"app/INC/EXTERNAL PROGRAMS", "docs", "user/config", "user/runtime"})
            fs::create_directories(m_root.path(folder));
        fs::permissions(m_root.path("user/runtime"), fs::perms::owner_all, fs::perm_options::replace);
        place(ZBX_PROGRAM, app("zbxedit"));
        fs::copy_file(std::string(ZBX_SOURCE_DIR) + "/data/INC/ZBX.INI", app("INC/ZBX.INI"));
    }

    // A program file in the program folder: a hard link when the file systems allow it, else
    // a copy.
    static void place(const std::string& program, const std::string& target)
    {
        std::error_code error;
        fs::create_hard_link(program, target, error);
        if (error)
            fs::copy_file(program, target, fs::copy_options::overwrite_existing);
    }

    std::string app(const std::string& name = {}) const { return m_root.path("app/" + name); }
    std::string tool(const std::string& name) const { return app(kTools + name); }
    std::string docs(const std::string& name = {}) const { return m_root.path("docs/" + name); }
    std::string user(const std::string& name = {}) const { return m_root.path("user/" + name); }

    std::vector<std::string> environment() const
    {
        std::vector<std::string> entries = {
            "PATH=/usr/local/bin:/usr/bin:/bin", "HOME=" + user(), "XDG_CONFIG_HOME=" + user("config"),
            "XDG_RUNTIME_DIR=" + user("runtime"), "DISPLAY=" + m_display->name(), "QT_QPA_PLATFORM=xcb",
            "LANG=C.UTF-8"};
        for (const std::string& entry : sanitizerEnvironment())
            entries.push_back(entry);
        return entries;
    }

    void start(const std::string& file)
    {
        m_program = std::make_unique<TProcess>(std::vector<std::string>{app("zbxedit"), file}, environment(),
                                               m_root.path("program.log"));
        m_main = m_display->waitForWindow(exactTitle(file));
        ASSERT_FALSE(m_main.empty()) << "no main window; the program said: " << readWholeFile(m_root.path("program.log"));
        ASSERT_TRUE(m_display->focus(m_main));
    }

    size_t programWindows() const { return m_display->windowsOf(m_program->pid()).size(); }

    // Options > Run > the first tool: Run is the last item of the Options menu.
    void runFirstTool()
    {
        const size_t before = programWindows();
        m_display->key("alt+o");
        ASSERT_TRUE(m_display->waitForMoreWindows(m_program->pid(), before)) << "the Options menu did not open";
        m_display->key("Up");
        m_display->key("Right");
        ASSERT_TRUE(m_display->waitForMoreWindows(m_program->pid(), before + 1)) << "the Run menu did not open";
        m_display->screenshot("run-menu");
        m_display->key("Return");
    }

    // A right click in the editor, then the item reached with downs presses of Down (the pop-up
    // skips its disabled items, so the count also checks which items are enabled).
    void choosePopupItem(int downs, const std::string& shot)
    {
        const size_t before = programWindows();
        m_display->click(m_main, 300, 400, 3);
        ASSERT_TRUE(m_display->waitForMoreWindows(m_program->pid(), before)) << "no pop-up menu";
        for (int i = 0; i < downs; ++i)
            m_display->key("Down");
        m_display->screenshot(shot);
        m_display->key("Return");
    }

    void saveAndExit()
    {
        ASSERT_TRUE(m_display->focus(m_main));
        m_display->key("ctrl+s");
        usleep(500000);
        const size_t before = programWindows();
        m_display->key("alt+f");
        ASSERT_TRUE(m_display->waitForMoreWindows(m_program->pid(), before));
        m_display->key("x");
        EXPECT_EQ(m_program->waitForExit(), 0) << readWholeFile(m_root.path("program.log"));
    }

    // Waits until file holds something and has kept its size for a second.
    static bool waitForSettledFile(const std::string& file, std::chrono::seconds timeout)
    {
        std::error_code error;
        uintmax_t last = 0;
        int steady = 0;
        for (auto waited = std::chrono::milliseconds(0); waited < timeout; waited += std::chrono::milliseconds(200)) {
            const uintmax_t size = fs::file_size(file, error);
            if (!error && size > 0 && size == last) {
                if (++steady == 5)
                    return true;
            } else {
                steady = 0;
            }
            last = error ? 0 : size;
            usleep(200000);
        }
        return false;
    }

    TempFolder m_root;
    std::unique_ptr<TXDisplay> m_display;
    std::unique_ptr<TProcess> m_program;
    std::string m_main;
};

} // namespace

// The tool is a script that writes three lines ended by LF; they replace the selected word, each
// ended by CR LF, and the hand-over file is left empty.
TEST_F(ToolEndToEnd, StandInToolTextReplacesTheSelectionAndItsFileIsLeftEmpty)
{
    writeWholeFile(tool("STANDIN.EXE"),
                   "#!/bin/sh\nprintf 'one\\ntwo\\nthree\\n' > \"$(dirname \"$0\")/RES_FILE.TXT\"\n");
    ::chmod(tool("STANDIN.EXE").c_str(), 0755);
    writeWholeFile(docs("TOOL.BAS"), "first\r\nlast\r\n");
    ASSERT_NO_FATAL_FAILURE(start(docs("TOOL.BAS")));
    m_display->key("shift+End");
    ASSERT_NO_FATAL_FAILURE(runFirstTool());
    for (int i = 0; i < 50 && readWholeFile(docs("TOOL.BAS")) == "first\r\nlast\r\n"; ++i) {
        usleep(200000);
        ASSERT_TRUE(m_display->focus(m_main));
        m_display->key("ctrl+s");
    }
    m_display->screenshot("standin-inserted");
    // Typing goes on at the caret, after the inserted text.
    m_display->type("X");
    ASSERT_NO_FATAL_FAILURE(saveAndExit());
    EXPECT_EQ(readWholeFile(docs("TOOL.BAS")), "one\r\ntwo\r\nthree\r\nX\r\nlast\r\n");
    ASSERT_TRUE(fs::exists(tool("RES_FILE.TXT")));
    EXPECT_EQ(fs::file_size(tool("RES_FILE.TXT")), 0u);
}

// The real glyphcast, as it is installed beside the IDE: the user converts the default font in
// basic mode and quits; the table the converter wrote is at the caret, and one Ctrl+Z takes it
// all away again. Glyphcast's window has no mnemonics, so its buttons are clicked where its
// fixed layout puts them (below a menu bar of about 20 pixels).
TEST_F(ToolEndToEnd, GlyphcastFromTheRunMenuInsertsItsTableAndOneUndoRemovesIt)
{
    place(ZBX_GLYPHCAST, tool("GLYPHCAST.EXE"));
    const std::string source = "' font demo\r\nEnd\r\n";
    writeWholeFile(docs("FONT.BAS"), source);
    ASSERT_NO_FATAL_FAILURE(start(docs("FONT.BAS")));
    m_display->key("Down");
    ASSERT_NO_FATAL_FAILURE(runFirstTool());
    const std::string converter = m_display->waitForWindow("Glyphcast V.*");
    ASSERT_FALSE(converter.empty()) << "glyphcast did not show its window";
    usleep(500000);
    m_display->screenshot("glyphcast-ready");
    m_display->click(converter, 584, 40); // "Convert Font"
    ASSERT_TRUE(waitForSettledFile(tool("RES_FILE.TXT"), std::chrono::seconds(60))) << "no table written";
    const std::string table = readWholeFile(tool("RES_FILE.TXT"));
    m_display->screenshot("glyphcast-finished");
    m_display->click(converter, 727, 100); // "Quit"
    for (int i = 0; i < 100 && !m_display->windowsNamed("Glyphcast V.*").empty(); ++i)
        usleep(100000);
    ASSERT_TRUE(m_display->windowsNamed("Glyphcast V.*").empty()) << "glyphcast did not quit";

    // The IDE inserts the text once the tool has ended.
    for (int i = 0; i < 50 && fs::file_size(tool("RES_FILE.TXT")) != 0; ++i)
        usleep(100000);
    ASSERT_TRUE(m_display->focus(m_main));
    m_display->key("ctrl+s");
    usleep(500000);
    m_display->screenshot("glyphcast-inserted");
    const std::string inserted = readWholeFile(docs("FONT.BAS"));
    EXPECT_NE(table.find("CDATA"), std::string::npos) << table.substr(0, 400);
    EXPECT_EQ(inserted, "' font demo\r\n" + table + "End\r\n");
    EXPECT_EQ(fs::file_size(tool("RES_FILE.TXT")), 0u);

    m_display->key("ctrl+z");
    m_display->screenshot("glyphcast-undone");
    ASSERT_NO_FATAL_FAILURE(saveAndExit());
    EXPECT_EQ(readWholeFile(docs("FONT.BAS")), source);
}

// A right click opens the editor pop-up; its Select all, Copy and Paste work on the document.
// With nothing selected and an empty clipboard only Close page and Select all are enabled
// above the bookmarks; with a selection Cut and Copy join them; after the copy, with the caret
// at the end, Paste does.
TEST_F(ToolEndToEnd, PopupSelectAllCopyAndPasteDoubleTheText)
{
    writeWholeFile(docs("POP.BAS"), "High PORTB.0\r\n");
    ASSERT_NO_FATAL_FAILURE(start(docs("POP.BAS")));
    ASSERT_NO_FATAL_FAILURE(choosePopupItem(2, "popup-select-all"));  // Close page, Select all
    ASSERT_NO_FATAL_FAILURE(choosePopupItem(3, "popup-copy"));        // Close page, Cut, Copy
    ASSERT_TRUE(m_display->focus(m_main));
    m_display->key("ctrl+End");
    ASSERT_NO_FATAL_FAILURE(choosePopupItem(2, "popup-paste"));       // Close page, Paste
    ASSERT_NO_FATAL_FAILURE(saveAndExit());
    EXPECT_EQ(readWholeFile(docs("POP.BAS")), "High PORTB.0\r\nHigh PORTB.0\r\n");
}
