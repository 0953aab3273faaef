// The real zbxedit, started as its own process on a private X server and driven with keys as a
// user would: File > Open through the real file dialog, a new file saved through the real Save
// As dialog, the exit question answered Yes, and a read-only installation run by a user who
// may not write it. A program started with a stand-in dialog or message box never shows the
// windows these tests wait for, so they fail.
#include "XSession.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The program file in a program folder of its own: a hard link when the file systems allow
// it, else a copy.
void placeProgram(const std::string& target)
{
    std::error_code error;
    fs::create_hard_link(ZBX_PROGRAM, target, error);
    if (error)
        fs::copy_file(ZBX_PROGRAM, target, fs::copy_options::overwrite_existing);
}

struct TUser
{
    uid_t uid;
    gid_t gid;
};

class ProgramEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programOnPath("Xvfb") && programOnPath("xdotool"))
            << "Xvfb and xdotool are needed (scripts/deps.sh installs them)";
        m_display = std::make_unique<TXDisplay>();
        ASSERT_TRUE(m_display->running()) << "Xvfb did not start";
        ::chmod(m_root.path().c_str(), 0755);
        for (const char* folder : {"app/INC/EXTERNAL PROGRAMS", "docs", "user/config", "user/runtime"})
            fs::create_directories(m_root.path(folder));
        ::chmod(m_root.path("user/runtime").c_str(), 0700);
        placeProgram(app("zbxedit"));
        fs::copy_file(std::string(ZBX_SOURCE_DIR) + "/data/INC/ZBX.INI", app("INC/ZBX.INI"));
    }

    // Folders whose write permission a test took away get it back, so they can be removed.
    void TearDown() override
    {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(m_root.path(), ignored)) {
            if (entry.is_directory(ignored))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }

    std::string app(const std::string& name = {}) const { return m_root.path("app/" + name); }
    std::string docs(const std::string& name = {}) const { return m_root.path("docs/" + name); }
    std::string user(const std::string& name = {}) const { return m_root.path("user/" + name); }

    // The plain, desktop-free environment every copy of the program runs in.
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

    // Starts the program, on file when one is given, and waits for its window.
    void start(std::optional<TUser> as = std::nullopt, const std::string& file = {})
    {
        std::vector<std::string> command = {app("zbxedit")};
        if (!file.empty())
            command.push_back(file);
        if (as) {
            command.insert(command.begin(), {"/usr/bin/setpriv", "--reuid=" + std::to_string(as->uid),
                                             "--regid=" + std::to_string(as->gid), "--clear-groups", "--"});
        }
        m_program = std::make_unique<TProcess>(command, environment(), m_root.path("program.log"));
        m_main = m_display->waitForWindow(file.empty() ? "No_name\\.bas" : exactTitle(file));
        ASSERT_FALSE(m_main.empty()) << "no main window; the program said: " << readWholeFile(m_root.path("program.log"));
        ASSERT_TRUE(m_display->focus(m_main));
    }

    std::vector<std::string> programWindows() const
    {
        const auto found = m_display->xdotool({"search", "--onlyvisible", "--pid", std::to_string(m_program->pid())});
        std::vector<std::string> windows;
        std::istringstream in(found.value_or(""));
        for (std::string line; std::getline(in, line);)
            windows.push_back(line);
        return windows;
    }

    // Opens a menu with Alt and its letter and, once it is up, chooses the item by its letter.
    void chooseMenu(const std::string& menu, const std::string& item)
    {
        const size_t before = programWindows().size();
        m_display->key("alt+" + menu);
        for (int i = 0; i < 100 && programWindows().size() <= before; ++i)
            usleep(100000);
        m_display->key(item);
    }

    // Answers a file dialog titled title with path.
    void answerFileDialog(const std::string& title, const std::string& path, const std::string& shot)
    {
        const std::string dialog = m_display->waitForWindow(title);
        ASSERT_FALSE(dialog.empty()) << "no \"" << title << "\" dialog";
        ASSERT_TRUE(m_display->focus(dialog));
        m_display->type(path);
        m_display->screenshot(shot);
        m_display->key("Return");
    }

    // Answers the message box titled title with its default button (Return).
    void answerBox(const std::string& title, const std::string& shot)
    {
        const std::string box = m_display->waitForWindow(title);
        ASSERT_FALSE(box.empty()) << "no \"" << title << "\" box";
        ASSERT_TRUE(m_display->focus(box));
        m_display->screenshot(shot);
        m_display->key("Return");
    }

    void expectTitle(const std::string& title)
    {
        EXPECT_TRUE(m_display->waitForTitle(m_main, title)) << "the window shows " << m_display->windowName(m_main);
    }

    void exitThroughTheMenu()
    {
        ASSERT_TRUE(m_display->focus(m_main));
        chooseMenu("f", "x");
        EXPECT_EQ(m_program->waitForExit(), 0);
    }

    TempFolder m_root;
    std::unique_ptr<TXDisplay> m_display;
    std::unique_ptr<TProcess> m_program;
    std::string m_main;
};

} // namespace

TEST_F(ProgramEndToEnd, FileOpenShowsTheRealDialogAndOpensTheFileChosen)
{
    writeWholeFile(docs("LED.BAS"), "High PORTB.0\r\nEnd\r\n");
    ASSERT_NO_FATAL_FAILURE(start());
    chooseMenu("f", "o");
    ASSERT_NO_FATAL_FAILURE(answerFileDialog("Open", docs("LED.BAS"), "open-dialog"));
    expectTitle(docs("LED.BAS"));
    m_display->screenshot("open-done");
    exitThroughTheMenu();
    EXPECT_NE(readWholeFile(app("INC/ZBX.INI")).find("PATHNAME=" + m_root.path("docs")), std::string::npos);
    EXPECT_NE(readWholeFile(app("KALTOR.DAT")).find(docs("LED.BAS")), std::string::npos);
}

TEST_F(ProgramEndToEnd, NewFileIsSavedThroughTheRealSaveAsDialog)
{
    ASSERT_NO_FATAL_FAILURE(start());
    m_display->type("HELLO");
    chooseMenu("f", "a");
    ASSERT_NO_FATAL_FAILURE(answerFileDialog("Save As", docs("NEW.BAS"), "saveas-dialog"));
    expectTitle(docs("NEW.BAS"));
    m_display->screenshot("saveas-done");
    EXPECT_EQ(readWholeFile(docs("NEW.BAS")), "HELLO");
    exitThroughTheMenu();
}

TEST_F(ProgramEndToEnd, YesAtTheExitQuestionSavesTheUntitledFileThroughTheDialogAndExits)
{
    ASSERT_NO_FATAL_FAILURE(start());
    m_display->type("Low PORTB.1");
    chooseMenu("f", "x");
    ASSERT_NO_FATAL_FAILURE(answerBox("KALTOR\\+ Editor", "exit-question"));
    ASSERT_NO_FATAL_FAILURE(answerFileDialog("Save As", docs("KEPT.BAS"), "exit-saveas"));
    EXPECT_EQ(m_program->waitForExit(), 0);
    EXPECT_EQ(readWholeFile(docs("KEPT.BAS")), "Low PORTB.1");
    // The parsers' settings went to the real per-user store.
    EXPECT_TRUE(fs::exists(user("config/zbxedit/Software/KALTOR_PLUS_COMP.values")));
}

// An installation the user may not write (under /opt or /usr): the program starts, keeps
// KALTOR.DAT in the per-user folder, reports the unwritable ZBX.INI once, opens a file the user
// may not write read-only and saves it only under a new name.
TEST_F(ProgramEndToEnd, ReadOnlyInstallationRunsAndReadOnlyFileIsSavedUnderANewName)
{
    std::optional<TUser> as;
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody || ::access("/usr/bin/setpriv", X_OK) != 0)
            GTEST_SKIP() << "running as root without the user nobody or setpriv: cannot run as a user "
                            "without write permission";
        as = TUser{nobody->pw_uid, nobody->pw_gid};
        for (const char* folder : {"user", "user/config", "user/runtime"})
            ::chown(m_root.path(folder).c_str(), as->uid, as->gid);
        fs::create_directories(user("work"));
        ::chown(user("work").c_str(), as->uid, as->gid);
    } else {
        fs::create_directories(user("work"));
    }
    const std::string source = "' kept as it is\r\nHigh PORTB.0\r\n";
    writeWholeFile(docs("SHIPPED.BAS"), source);
    const std::string ini = readWholeFile(app("INC/ZBX.INI"));
    // Without root, taking the write permission away does the same.
    for (const std::string& path : {app(), app("INC"), app("INC/ZBX.INI"), docs(), docs("SHIPPED.BAS")})
        fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);

    ASSERT_NO_FATAL_FAILURE(start(as));
    chooseMenu("f", "o");
    ASSERT_NO_FATAL_FAILURE(answerFileDialog("Open", docs("SHIPPED.BAS"), "readonly-open"));
    ASSERT_NO_FATAL_FAILURE(answerBox("Error", "readonly-ini-error")); // ZBX.INI, reported once
    expectTitle(docs("SHIPPED.BAS"));
    m_display->screenshot("readonly-file");
    m_display->key("ctrl+s");
    ASSERT_NO_FATAL_FAILURE(answerBox("KALTOR\\+ Editor", "readonly-save-question"));
    ASSERT_NO_FATAL_FAILURE(answerFileDialog("Save As", user("work/COPY.BAS"), "readonly-saveas"));
    expectTitle(user("work/COPY.BAS"));
    exitThroughTheMenu();

    EXPECT_EQ(readWholeFile(user("work/COPY.BAS")), source);
    EXPECT_EQ(readWholeFile(docs("SHIPPED.BAS")), source);
    EXPECT_EQ(readWholeFile(app("INC/ZBX.INI")), ini);
    EXPECT_FALSE(fs::exists(app("KALTOR.DAT")));
    const std::string settings = readWholeFile(user("config/zbxedit/KALTOR.DAT"));
    EXPECT_NE(settings.find("[MRU]\r\n" + user("work/COPY.BAS") + "\r\n"), std::string::npos) << settings;
}

// A file opened while the program runs (a double click in the file manager starts a second
// copy) opens in the running program, and the second copy ends at once.
TEST_F(ProgramEndToEnd, SecondStartHandsItsFileToTheRunningProgram)
{
    writeWholeFile(docs("SECOND COPY.BAS"), "Toggle PORTB.2\r\n");
    ASSERT_NO_FATAL_FAILURE(start());
    TProcess second({app("zbxedit"), docs("SECOND COPY.BAS")}, environment(), m_root.path("second.log"));
    EXPECT_EQ(second.waitForExit(), 0) << readWholeFile(m_root.path("second.log"));
    expectTitle(docs("SECOND COPY.BAS"));
    m_display->screenshot("second-copy");
    EXPECT_EQ(m_display->windowsNamed(".*SECOND COPY\\.BAS").size(), 1u);
    exitThroughTheMenu();
}

// The device programmer is a Windows program and wine is not installed: the user is told which
// program needs wine and how to install it, in one box.
TEST_F(ProgramEndToEnd, WindowsProgrammerWithoutWineIsExplainedInOneBox)
{
    for (const char* folder : {"/usr/local/bin", "/usr/bin", "/bin"}) {
        if (fs::exists(std::string(folder) + "/wine"))
            GTEST_SKIP() << "wine is installed in " << folder;
    }
    writeWholeFile(app("EPICWIN.EXE"), std::string("MZ\x90\0\3\0\0\0", 8));
    fs::permissions(app("EPICWIN.EXE"), fs::perms::owner_all);
    std::string ini = readWholeFile(app("INC/ZBX.INI"));
    const size_t epic = ini.find("[EPIC]\r\nPATHNAME=");
    ASSERT_NE(epic, std::string::npos);
    ini.insert(epic + std::string("[EPIC]\r\nPATHNAME=").size(), app("EPICWIN.EXE"));
    writeWholeFile(app("INC/ZBX.INI"), ini);
    writeWholeFile(docs("BLINK.BAS"), "High PORTB.0\r\n");
    ASSERT_NO_FATAL_FAILURE(start(std::nullopt, docs("BLINK.BAS")));
    m_display->key("F10");
    ASSERT_NO_FATAL_FAILURE(answerBox("Wine is needed", "wine-needed"));
    usleep(500000);
    EXPECT_TRUE(m_display->windowsNamed("Error").empty()) << "a second box followed";
    exitThroughTheMenu();
}

// File > Print Setup with the real dialog: "PDF file" chosen as the printer and a file name
// typed; then File > Print writes the example program into that PDF, with its header, line
// numbers and page numbers. A desktop without a printer queue says so before the dialog.
TEST_F(ProgramEndToEnd, PrintSetupChoosesAPdfFileAndFilePrintWritesTheProgramIntoIt)
{
    ASSERT_TRUE(programOnPath("pdftotext")) << "pdftotext is needed (scripts/deps.sh installs poppler-utils)";
    fs::copy_file(std::string(ZBX_SOURCE_DIR) + "/data/examples/THERMO.BAS", docs("THERMO.BAS"));
    ASSERT_NO_FATAL_FAILURE(start(std::nullopt, docs("THERMO.BAS")));
    chooseMenu("f", "t");
    const std::string box = m_display->waitForWindow("KALTOR\\+ Editor", std::chrono::seconds(3));
    if (!box.empty()) {
        ASSERT_TRUE(m_display->focus(box));
        m_display->screenshot("print-no-printer");
        m_display->key("Return");
    }
    const std::string dialog = m_display->waitForWindow("Print Setup");
    ASSERT_FALSE(dialog.empty()) << "no \"Print Setup\" dialog";
    ASSERT_TRUE(m_display->focus(dialog));
    m_display->key("End"); // the printer list ends with "PDF file"
    m_display->key("Tab");
    m_display->type(docs("THERMO.pdf"));
    m_display->screenshot("print-setup");
    m_display->key("Return");
    for (int i = 0; i < 50 && !m_display->windowsNamed("Print Setup").empty(); ++i)
        usleep(100000);
    ASSERT_TRUE(m_display->focus(m_main));
    chooseMenu("f", "p");
    for (int i = 0; i < 300 && !(fs::exists(docs("THERMO.pdf")) && m_display->windowsNamed("Print Setup").empty() &&
                                 fs::file_size(docs("THERMO.pdf")) > 0);
         ++i)
        usleep(100000);
    usleep(500000);
    m_display->screenshot("print-done");
    ASSERT_TRUE(fs::exists(docs("THERMO.pdf"))) << readWholeFile(m_root.path("program.log"));
    exitThroughTheMenu();

    FILE* text = ::popen(("pdftotext -layout '" + docs("THERMO.pdf") + "' -").c_str(), "r");
    ASSERT_NE(text, nullptr);
    std::string printed;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, text)) > 0;)
        printed.append(buffer, n);
    EXPECT_EQ(::pclose(text), 0);
    EXPECT_NE(printed.find(docs("THERMO.BAS")), std::string::npos) << printed.substr(0, 400);
    EXPECT_NE(printed.find("     1:"), std::string::npos);
    EXPECT_NE(printed.find("- 1 -"), std::string::npos);
    const std::string source = readWholeFile(docs("THERMO.BAS"));
    const std::string firstLine = source.substr(0, source.find_first_of("\r\n"));
    EXPECT_NE(printed.find(firstLine.substr(0, std::min<size_t>(firstLine.size(), 30))), std::string::npos);
}
