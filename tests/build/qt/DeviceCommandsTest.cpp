// Program and Download end to end with stand-in programmer and downloader programs that record
// their arguments, the tool menus' settings and the path dialogs they open.
#include "BuildFixture.h"

#include "build/qt/ToolPathForms.h"

#include <QLineEdit>

namespace {

class DeviceTest : public BuildFixture
{
protected:
    std::string record(const std::string& name) const { return m_dir.path(name + ".txt"); }
    void setIni(const char* section, const char* key, const std::string& value)
    {
        TIniFile(ini()).WriteString(section, key, value);
    }
    std::string iniValue(const char* section, const char* key)
    {
        return TIniFile(ini()).ReadString(section, key, "<absent>");
    }
    // A compile result naming device.
    void resultFor(const std::string& device)
    {
        writeWholeFile(work("LED.ZBE"), device + ",100,10,\r\n");
        m_commands->RefreshBuildViews();
        ASSERT_EQ(m_commands->device(), device);
    }
};

TEST_F(DeviceTest, EpicGetsTheHexFileAndDevice)
{
    writeRecorder(m_dir.path("EPICWIN.EXE"), record("epic"));
    setIni("EPIC", "PATHNAME", m_dir.path("EPICWIN.EXE"));
    m_commands->ProgramButtonClick();
    EXPECT_EQ(awaitRecord(record("epic")), (Lines{hex(), "-dPIC"}));

    std::filesystem::remove(record("epic"));
    resultFor("16F877");
    m_commands->ProgramButtonClick();
    EXPECT_EQ(awaitRecord(record("epic")), (Lines{hex(), "-dPIC16F877"}));
    EXPECT_TRUE(m_boxes.shown().empty());
}

TEST_F(DeviceTest, EmptyEpicPathOpensItsDialogFirst)
{
    writeRecorder(m_dir.path("EPICWIN.EXE"), record("epic"));
    std::vector<ToolPathDialog> shown;
    m_commands->setPathDialogRunner([&](ToolPathDialog dialog) {
        shown.push_back(dialog);
        setIni("EPIC", "PATHNAME", m_dir.path("EPICWIN.EXE"));
    });
    m_commands->ProgramButtonClick();
    EXPECT_EQ(shown, std::vector<ToolPathDialog>{ToolPathDialog::Epic});
    EXPECT_EQ(awaitRecord(record("epic")), (Lines{hex(), "-dPIC"}));
}

TEST_F(DeviceTest, ProgrammerThatCannotStartShowsProblemRunning)
{
    m_commands->setPathDialogRunner([](ToolPathDialog) {}); // cancelled: the path stays empty
    m_boxes.answer(TMessageResult::Ok).answer(TMessageResult::Ok);
    m_commands->ProgramButtonClick();
    setIni("EPIC", "PATHNAME", m_dir.path("MISSING.EXE"));
    m_commands->ProgramButtonClick();
    ASSERT_EQ(m_boxes.shown().size(), 2u);
    EXPECT_EQ(m_boxes.shown()[0].kind, TMessageKind::Error);
    EXPECT_EQ(m_boxes.shown()[0].text, "Problem Running ");
    EXPECT_EQ(m_boxes.shown()[1].text, "Problem Running " + m_dir.path("MISSING.EXE"));
}

TEST_F(DeviceTest, UserProgrammerExpandsItsTemplate)
{
    writeRecorder(m_dir.path("prog.sh"), record("prog"));
    m_commands->ExtProgClick();
    EXPECT_EQ(iniValue("PROGRAMMER", "TYPE"), "OTHER");
    EXPECT_EQ(m_commands->programmerMenu().checked(), ProgrammerType::Other);
    setIni("EXT_PROG", "EXT_PATH", m_dir.path("prog.sh"));
    setIni("EXT_PROG", "CMD_LINE", "-p%PIC -f%full %FILENAME");
    resultFor("18F452");
    m_commands->ProgramButtonClick();
    EXPECT_EQ(awaitRecord(record("prog")), (Lines{hex(), "-p18F452", "-f" + hex(), "LED.HEX"}));

    // Without a compile result the device is 16F84.
    std::filesystem::remove(record("prog"));
    std::filesystem::remove(work("LED.ZBE"));
    m_commands->RefreshBuildViews();
    m_commands->ProgramButtonClick();
    EXPECT_EQ(awaitRecord(record("prog")), (Lines{hex(), "-p16F84", "-f" + hex(), "LED.HEX"}));

    m_commands->EpicProgClick();
    EXPECT_EQ(iniValue("PROGRAMMER", "TYPE"), "EPIC");
}

TEST_F(DeviceTest, ProgrammerDialogWithEmptyNameCaptionsUndefined)
{
    m_commands->setPathDialogRunner([&](ToolPathDialog dialog) {
        ASSERT_EQ(dialog, ToolPathDialog::Programmer);
        TProgPath& form = m_commands->progPath();
        form.FormActivate();
        form.ProgName->setText("");
        form.PathName->setText(QString::fromStdString(m_dir.path("prog.sh")));
        form.OKClick();
    });
    writeRecorder(m_dir.path("prog.sh"), record("prog"));
    m_commands->ExtProgClick();
    m_commands->ProgramButtonClick();
    EXPECT_EQ(iniValue("EXT_PROG", "NAME"), "Undefined");
    EXPECT_EQ(m_host.programmerCaption, "Undefined");
    EXPECT_EQ(awaitRecord(record("prog")), (Lines{hex()}));
}

TEST_F(DeviceTest, BootloaderDialogNameShowsInTheMenuAtOnce)
{
    m_commands->setPathDialogRunner([&](ToolPathDialog dialog) {
        ASSERT_EQ(dialog, ToolPathDialog::Bootloader);
        TBootloader_Parameters& form = m_commands->bootloaderParameters();
        form.FormActivate();
        form.BootName->setText("MyLoader");
        form.OKClick();
    });
    m_commands->BootloaderPathClick();
    EXPECT_EQ(m_host.bootloaderCaption, "MyLoader");
    EXPECT_EQ(iniValue("EXT_BOOTLOADER", "NAME"), "MyLoader");
}

TEST_F(DeviceTest, StandardDownloaderIsChosenByExactDeviceName)
{
    writeRecorder(m_dir.path("INC/BOOTLOAD.EXE"), record("plain"));
    writeRecorder(m_dir.path("INC/BOOTLOAD_A.EXE"), record("a"));
    resultFor("16F877");
    m_commands->DownloadButtonClick();
    // Waited for: the record is complete when the command returns.
    EXPECT_EQ(splitLines(readWholeFile(record("plain"))), Lines{hex()});
    for (const std::string device : {"16F877A", "18F452"}) {
        std::filesystem::remove(record("a"));
        resultFor(device);
        m_commands->DownloadButtonClick();
        EXPECT_EQ(splitLines(readWholeFile(record("a"))), Lines{hex()}) << device;
    }
    EXPECT_TRUE(m_boxes.shown().empty());
}

TEST_F(DeviceTest, UnsuitableDevicesAreRefusedWithTheirMessage)
{
    writeRecorder(m_dir.path("INC/BOOTLOAD.EXE"), record("plain"));
    m_boxes.answer(TMessageResult::Ok).answer(TMessageResult::Ok).answer(TMessageResult::Ok);
    m_commands->DownloadButtonClick();
    resultFor("16F628");
    m_commands->DownloadButtonClick();
    resultFor("16f877");
    m_commands->DownloadButtonClick();
    ASSERT_EQ(m_boxes.shown().size(), 3u);
    EXPECT_EQ(m_boxes.shown()[0].kind, TMessageKind::Information);
    EXPECT_EQ(m_boxes.shown()[0].text, "Either the compilation failed.\rOr the PICmicro Device "
                                       "16F84\rIs not suitable for use with the Bootloader");
    EXPECT_EQ(m_boxes.shown()[1].text,
              "PICmicro Device 16F628\rIs not suitable for use with the Bootloader");
    EXPECT_EQ(m_boxes.shown()[2].text,
              "PICmicro Device 16f877\rIs not suitable for use with the Bootloader");
    EXPECT_FALSE(std::filesystem::exists(record("plain")));
}

TEST_F(DeviceTest, MissingKaltorIrDownloaderFallsBackToStandard)
{
    writeRecorder(m_dir.path("INC/KALTIR_BOOT.EXE"), record("ir"));
    m_commands->detectKaltorIr();
    m_commands->chooseBootloader(BootloaderType::KaltorIr);
    EXPECT_EQ(iniValue("BOOTLOADER", "TYPE"), "KALTOR_IR");
    m_commands->DownloadButtonClick();
    EXPECT_EQ(splitLines(readWholeFile(record("ir"))), Lines{hex()});

    std::filesystem::remove(m_dir.path("INC/KALTIR_BOOT.EXE"));
    m_boxes.answer(TMessageResult::Ok);
    const int refreshes = m_host.menuRefreshes;
    m_commands->DownloadButtonClick();
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].text,
              "Cannot Find KALTOR IR bootloader\r\nDefaulting to standard bootloader.");
    EXPECT_EQ(iniValue("BOOTLOADER", "TYPE"), "STANDARD");
    EXPECT_TRUE(m_commands->bootloaderMenu().isChecked(BootloaderType::Standard));
    EXPECT_FALSE(m_commands->bootloaderMenu().kaltorIrAvailable());
    EXPECT_GT(m_host.menuRefreshes, refreshes);
}

TEST_F(DeviceTest, MeloaderAndUserDownloaderRunDetached)
{
    writeRecorder(m_dir.path("MELOADER.EXE"), record("me"));
    m_commands->setPathDialogRunner([&](ToolPathDialog dialog) {
        ASSERT_EQ(dialog, ToolPathDialog::MELoader);
        setIni("MELOADER", "PATHNAME", m_dir.path("MELOADER.EXE"));
    });
    m_commands->chooseBootloader(BootloaderType::MELoader);
    m_commands->DownloadButtonClick();
    EXPECT_EQ(awaitRecord(record("me")), Lines{hex()});

    writeRecorder(m_dir.path("loader.sh"), record("user"));
    m_commands->chooseBootloader(BootloaderType::Other);
    EXPECT_EQ(iniValue("BOOTLOADER", "TYPE"), "OTHER");
    setIni("EXT_BOOTLOADER", "EXT_PATH", m_dir.path("loader.sh"));
    setIni("EXT_BOOTLOADER", "CMD_LINE", "%PIC %FULL");
    setIni("EXT_BOOTLOADER", "NAME", "MyLoader");
    resultFor("18F452");
    m_commands->DownloadButtonClick();
    EXPECT_EQ(awaitRecord(record("user")), (Lines{hex(), "18F452", hex()}));
    m_commands->refreshToolMenus();
    EXPECT_EQ(m_host.bootloaderCaption, "MyLoader");

    // A user downloader that cannot be started is reported.
    setIni("EXT_BOOTLOADER", "EXT_PATH", m_dir.path("gone.sh"));
    m_boxes.answer(TMessageResult::Ok);
    m_commands->DownloadButtonClick();
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].text, "Problem Running " + m_dir.path("gone.sh"));
}

TEST_F(DeviceTest, CompileThenDownloadSkipsTheDownloadAfterAFailedCompile)
{
    installCompiler();
    writeRecorder(m_dir.path("INC/BOOTLOAD.EXE"), record("plain"));
    auto compileThenDownload = [&] {
        m_commands->compile();
        if (!m_commands->compileFailed())
            m_commands->DownloadButtonClick();
    };
    nextResult("ERROR\r\n");
    compileThenDownload();
    EXPECT_FALSE(std::filesystem::exists(record("plain")));
    nextResult("16F877,10,2,\r\n");
    compileThenDownload();
    EXPECT_EQ(splitLines(readWholeFile(record("plain"))), Lines{hex()});
}

} // namespace

// The user-defined programmer and downloader got the HEX path split at its blanks, and a
// quote in a path was lost on its way to the compiler. Every program now gets each path as one
// argument, whatever it holds.
TEST_F(DeviceTest, PathsWithBlanksQuotesAndLettersOutsideAsciiReachEveryProgramWhole)
{
    const std::string folder = m_dir.path("My \"Work\" \xC3\x96lfolder");
    std::filesystem::create_directory(folder);
    const std::string source = folder + "/LED 1.BAS";
    const std::string hexFile = folder + "/LED 1.HEX";
    writeWholeFile(source, "HIGH PORTB.0\r\n");
    m_commands->setCurrentSource(source);
    installCompiler();
    writeRecorder(m_dir.path("INC/BOOTLOAD.EXE"), record("standard"));
    writeRecorder(m_dir.path("MELOADER.EXE"), record("meloader"));
    writeRecorder(m_dir.path("prog.sh"), record("programmer"));
    writeRecorder(m_dir.path("loader.sh"), record("downloader"));
    setIni("MELOADER", "PATHNAME", m_dir.path("MELOADER.EXE"));
    setIni("EXT_PROG", "EXT_PATH", m_dir.path("prog.sh"));
    setIni("EXT_PROG", "CMD_LINE", "%FULL \"%FULL\" -f%FILENAME");
    setIni("EXT_BOOTLOADER", "EXT_PATH", m_dir.path("loader.sh"));
    setIni("EXT_BOOTLOADER", "CMD_LINE", "-p%PIC \"-f%FULL\"");

    compileWith("16F877,100,10,\r\n");
    EXPECT_EQ(splitLines(readWholeFile(m_dir.path("compiler.txt"))), (Lines{source, "-m", "-q"}));
    m_commands->DownloadButtonClick();
    EXPECT_EQ(awaitRecord(record("standard")), (Lines{hexFile}));
    m_commands->chooseBootloader(BootloaderType::MELoader);
    m_commands->DownloadButtonClick();
    EXPECT_EQ(awaitRecord(record("meloader")), (Lines{hexFile}));
    m_commands->chooseBootloader(BootloaderType::Other);
    m_commands->DownloadButtonClick();
    EXPECT_EQ(awaitRecord(record("downloader")), (Lines{hexFile, "-p16F877", "-f" + hexFile}));
    m_commands->ExtProgClick();
    m_commands->ProgramButtonClick();
    EXPECT_EQ(awaitRecord(record("programmer")), (Lines{hexFile, hexFile, hexFile, "-fLED 1.HEX"}));
    EXPECT_TRUE(m_boxes.shown().empty());
}

// gpasm writes "led.hex" when asked for "LED.HEX"; the result, listing and HEX files beside
// the source were looked up in one letter case only.
TEST_F(DeviceTest, BuildFilesInAnotherLetterCaseAreFound)
{
    writeWholeFile(work("led.zbe"), "18F452,200,20,\r\nreport line\r\n");
    writeWholeFile(work("led.hex"), ":00000001FF\r\n");
    writeRecorder(m_dir.path("EPICWIN.EXE"), record("epic"));
    setIni("EPIC", "PATHNAME", m_dir.path("EPICWIN.EXE"));
    m_commands->RefreshBuildViews();
    EXPECT_EQ(m_commands->device(), "18F452");
    EXPECT_EQ(m_host.panels[3], "CODE 200");
    EXPECT_EQ(m_commands->hexFile(), work("led.hex"));
    m_commands->ProgramButtonClick();
    EXPECT_EQ(awaitRecord(record("epic")), (Lines{work("led.hex"), "-dPIC18F452"}));
}
