// Find, Replace and Goto line in the real zbxedit on a private X server, through the real
// menus and dialogs with keys only, as a user works: the file saved afterwards holds what the
// dialogs did, and KALTOR.DAT the histories they wrote when they closed.
#include "XSession.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class SearchEndToEnd : public ::testing::Test
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
        std::error_code error;
        fs::create_hard_link(ZBX_PROGRAM, app("zbxedit"), error);
        if (error)
            fs::copy_file(ZBX_PROGRAM, app("zbxedit"), fs::copy_options::overwrite_existing);
        fs::copy_file(std::string(ZBX_SOURCE_DIR) + "/data/INC/ZBX.INI", app("INC/ZBX.INI"));
    }

    std::string app(const std::string& name = {}) const { return m_root.path("app/" + name); }
    std::string docs(const std::string& name = {}) const { return m_root.path("docs/" + name); }
    std::string user(const std::string& name = {}) const { return m_root.path("user/" + name); }

    void start(const std::string& file)
    {
        std::vector<std::string> environment = {
            "PATH=/usr/local/bin:/usr/bin:/bin", "HOME=" + user(), "XDG_CONFIG_HOME=" + user("config"),
            "XDG_RUNTIME_DIR=" + user("runtime"), "DISPLAY=" + m_display->name(), "QT_QPA_PLATFORM=xcb",
            "LANG=C.UTF-8"};
        for (const std::string& entry : sanitizerEnvironment())
            environment.push_back(entry);
        m_program = std::make_unique<TProcess>(std::vector<std::string>{app("zbxedit"), file}, environment,
                                               m_root.path("program.log"));
        m_main = m_display->waitForWindow(exactTitle(file));
        ASSERT_FALSE(m_main.empty()) << "no main window; the program said: " << readWholeFile(m_root.path("program.log"));
        ASSERT_TRUE(m_display->focus(m_main));
    }

    size_t programWindows() const
    {
        const auto found = m_display->xdotool({"search", "--onlyvisible", "--pid", std::to_string(m_program->pid())});
        std::istringstream in(found.value_or(""));
        size_t count = 0;
        for (std::string line; std::getline(in, line);)
            ++count;
        return count;
    }

    // Opens a menu with Alt and its letter and, once it is up, chooses the item by its letter.
    void chooseMenu(const std::string& menu, const std::string& item)
    {
        const size_t before = programWindows();
        m_display->key("alt+" + menu);
        for (int i = 0; i < 100 && programWindows() <= before; ++i)
            usleep(100000);
        m_display->key(item);
    }

    std::string waitFor(const std::string& title)
    {
        const std::string window = m_display->waitForWindow(title);
        EXPECT_FALSE(window.empty()) << "no \"" << title << "\" window";
        return window;
    }

    void waitUntilGone(const std::string& title)
    {
        for (int i = 0; i < 100 && !m_display->windowsNamed(title).empty(); ++i)
            usleep(100000);
        EXPECT_TRUE(m_display->windowsNamed(title).empty()) << title << " is still open";
    }

    TempFolder m_root;
    std::unique_ptr<TXDisplay> m_display;
    std::unique_ptr<TProcess> m_program;
    std::string m_main;
};

} // namespace

TEST_F(SearchEndToEnd, FindReplaceAndGotoLineThroughTheRealMenus)
{
    writeWholeFile(docs("PETS.BAS"), "cat cat cat\r\nbird\r\n");
    ASSERT_NO_FATAL_FAILURE(start(docs("PETS.BAS")));

    // Search > Find...: the second OK selects the second cat, which typing replaces.
    chooseMenu("s", "f");
    const std::string find = waitFor("Find text\\.\\.\\.");
    ASSERT_FALSE(find.empty());
    ASSERT_TRUE(m_display->focus(find));
    m_display->type("cat");
    m_display->key("Return");
    m_display->key("Return");
    m_display->screenshot("find-dialog");
    m_display->key("Escape");
    waitUntilGone("Find text\\.\\.\\.");
    ASSERT_TRUE(m_display->focus(m_main));
    m_display->type("X");

    // Search > Replace...: the last search is the text to find; OK asks, Return says Yes.
    chooseMenu("s", "r");
    const std::string replace = waitFor("Find and replace text\\.\\.\\.");
    ASSERT_FALSE(replace.empty());
    ASSERT_TRUE(m_display->focus(replace));
    m_display->key("Tab");
    m_display->type("dog");
    m_display->screenshot("replace-dialog");
    m_display->key("Return");
    const std::string question = waitFor("KALTOR\\+ Editor");
    ASSERT_FALSE(question.empty());
    m_display->screenshot("replace-question");
    ASSERT_TRUE(m_display->focus(question));
    m_display->key("Return");
    waitUntilGone("KALTOR\\+ Editor");
    ASSERT_TRUE(m_display->focus(replace));
    m_display->key("Escape");
    waitUntilGone("Find and replace text\\.\\.\\.");

    // Search > Goto line number: line 2, where typing lands.
    ASSERT_TRUE(m_display->focus(m_main));
    m_display->key("alt+g");
    const std::string gotoLine = waitFor("Go to line number");
    ASSERT_FALSE(gotoLine.empty());
    ASSERT_TRUE(m_display->focus(gotoLine));
    m_display->type("2");
    m_display->screenshot("goto-dialog");
    m_display->key("Return");
    waitUntilGone("Go to line number");
    ASSERT_TRUE(m_display->focus(m_main));
    m_display->type("big ");
    m_display->key("ctrl+s");
    usleep(500000);
    m_display->screenshot("search-done");
    chooseMenu("f", "x");
    EXPECT_EQ(m_program->waitForExit(), 0) << readWholeFile(m_root.path("program.log"));

    EXPECT_EQ(readWholeFile(docs("PETS.BAS")), "cat X dog\r\nbig bird\r\n");
    const std::string settings = readWholeFile(app("KALTOR.DAT"));
    EXPECT_NE(settings.find("[FindHistory]\r\ncat\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("[ReplaceHistory]\r\ndog\r\n"), std::string::npos) << settings;
}
