// The properties dialog in the real zbxedit, started as its own process on a private X server
// and driven with keys: a style colour chosen there and confirmed with OK is still shown after
// the program was killed and started again, so OK itself wrote it to the per-user store.
#include "ide/XSession.h"
#include "platform/TempFolder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Pixels of text painted in magenta, smoothed edges included; the delivered language paints
// nothing in that colour.
int magentaPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            count += qRed(pixel) > 190 && qGreen(pixel) < 90 && qBlue(pixel) > 190;
        }
    }
    return count;
}

class OptionsProgram : public ::testing::Test
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
        ::chmod(m_root.path("user/runtime").c_str(), 0700);
        std::error_code error;
        fs::create_hard_link(ZBX_PROGRAM, m_root.path("app/zbxedit"), error);
        if (error)
            fs::copy_file(ZBX_PROGRAM, m_root.path("app/zbxedit"));
        fs::copy_file(std::string(ZBX_SOURCE_DIR) + "/data/INC/ZBX.INI", m_root.path("app/INC/ZBX.INI"));
        writeFile(source(), "' a comment line the program colours as a comment\r\n"
                            "' and one more comment line below it\r\nHigh PORTB.0\r\n");
    }

    std::string source() const { return m_root.path("docs/NOTES.BAS"); }
    std::string store() const { return m_root.path("user/config/zbxedit/Software/KALTOR_PLUS_COMP.values"); }

    std::unique_ptr<TProcess> start(std::vector<std::string> extraEnvironment = {})
    {
        std::vector<std::string> environment = {
            "PATH=/usr/local/bin:/usr/bin:/bin", "HOME=" + m_root.path("user"),
            "XDG_CONFIG_HOME=" + m_root.path("user/config"), "XDG_RUNTIME_DIR=" + m_root.path("user/runtime"),
            "DISPLAY=" + m_display->name(), "QT_QPA_PLATFORM=xcb", "LANG=C.UTF-8"};
        environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
        for (const std::string& entry : sanitizerEnvironment())
            environment.push_back(entry);
        return std::make_unique<TProcess>(std::vector<std::string>{m_root.path("app/zbxedit"), source()},
                                          environment, m_root.path("program.log"));
    }

    bool waitUntilGone(const std::string& titlePattern) const
    {
        for (int i = 0; i < 100; ++i) {
            if (m_display->windowsNamed(titlePattern).empty())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    TempFolder m_root;
    std::unique_ptr<TXDisplay> m_display;
};

} // namespace

TEST_F(OptionsProgram, StyleColourChosenInThePropertiesDialogIsShownAfterARestart)
{
    std::unique_ptr<TProcess> program = start();
    const std::string main = m_display->waitForWindow(exactTitle(source()));
    ASSERT_FALSE(main.empty()) << "no main window; the program said: " << readFile(m_root.path("program.log"));
    ASSERT_TRUE(m_display->focus(main));

    m_display->key("alt+o");
    m_display->key("p"); // Options > Properties...
    const std::string dialog = m_display->waitForWindow("Editor Options");
    ASSERT_FALSE(dialog.empty()) << "no properties dialog";
    ASSERT_TRUE(m_display->focus(dialog));
    m_display->screenshot("options-highlighting");
    // The element list has the focus: "Comment", then on through the attribute and default
    // boxes to the Foreground button, whose palette the keyboard works too.
    m_display->type("Comment");
    for (int i = 0; i < 6; ++i)
        m_display->key("Tab");
    m_display->key("space");
    m_display->screenshot("options-palette");
    for (const char* key : {"Home", "Right", "Right", "Down", "Down", "Down", "Return"})
        m_display->key(key); // column 3, row 4: magenta
    m_display->screenshot("options-magenta");
    m_display->key("Return"); // OK
    ASSERT_TRUE(waitUntilGone("Editor Options"));
    m_display->screenshot("options-applied");
    EXPECT_NE(readFile(store()).find("6,16711935,"), std::string::npos) << readFile(store());

    // Killed, the program saves nothing more: what the restart shows, OK stored.
    program.reset();
    const std::string shot = m_root.path("restarted.png");
    program = start({"ZBX_SCREENSHOT=" + shot, "ZBX_SCREENSHOT_QUIT=1"});
    EXPECT_EQ(program->waitForExit(), 0) << readFile(m_root.path("program.log"));
    const QImage restarted(QString::fromStdString(shot));
    ASSERT_FALSE(restarted.isNull()) << "no picture of the restarted window";
    EXPECT_GT(magentaPixels(restarted.convertToFormat(QImage::Format_RGB32)), 100);
}
