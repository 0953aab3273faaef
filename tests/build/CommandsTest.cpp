#include "build/AssembleCommand.h"
#include "build/BuildPaths.h"
#include "build/CommandTemplate.h"
#include "build/CompileCommand.h"
#include "build/DownloadCommand.h"
#include "build/ProgramCommand.h"
#include "build/StandardBootloader.h"
#include "build/WindowsCommandLine.h"

#include <gtest/gtest.h>

TEST(BuildPaths, ExtensionsChangeOnlyInTheFileNamePart)
{
    EXPECT_EQ(hexFileName("D:\\WORK\\LED.BAS"), "D:\\WORK\\LED.HEX");
    EXPECT_EQ(resultFileName("D:\\MY.DIR\\LED"), "D:\\MY.DIR\\LED.ZBE");
    EXPECT_EQ(listingFileName("/home/u/v1.2/led.bas"), "/home/u/v1.2/led.ASM");
    EXPECT_EQ(ChangeFileExt("A.B.BAS", ".HEX"), "A.B.HEX");
    EXPECT_EQ(ExtractFileName("D:\\W\\A.HEX"), "A.HEX");
    EXPECT_EQ(ExtractFileName("/tmp/w/A.HEX"), "A.HEX");
    EXPECT_EQ(ExtractFileName("C:A.HEX"), "A.HEX");
    EXPECT_EQ(ExtractFileExt("D:\\X.Y\\NOEXT"), "");
    EXPECT_EQ(deviceText(""), "16F84");
    EXPECT_EQ(deviceText("18F452"), "18F452");
}

TEST(CommandTemplate, WordsAreReplacedInAnyCaseEveryTime)
{
    EXPECT_EQ(ExpandCommandTemplate("-p%PIC -f%full", "D:\\W\\A.HEX", "18F452"),
              "-p18F452 -fD:\\W\\A.HEX");
    EXPECT_EQ(ExpandCommandTemplate("%FILENAME", "D:\\W\\A.HEX", "18F452"), "A.HEX");
    EXPECT_EQ(ExpandCommandTemplate("%Pic/%pic %FileName%FULL", "D:\\W\\A.HEX", ""),
              "16F84/16F84 A.HEXD:\\W\\A.HEX");
    EXPECT_EQ(ExpandCommandTemplate("% PIC %FIL %", "D:\\W\\A.HEX", "16F877"), "% PIC %FIL %");
    EXPECT_EQ(ExpandCommandTemplate("", "D:\\W\\A.HEX", "16F877"), "");
    EXPECT_EQ(ExpandCommandTemplate("%FULLNAME", "D:\\W\\A.HEX", "16F877"), "D:\\W\\A.HEXNAME");
}

TEST(CommandTemplate, InsertedValuesAreNotExpandedAgain)
{
    EXPECT_EQ(ExpandCommandTemplate("%FULL", "D:\\%PIC\\A.HEX", "16F877"), "D:\\%PIC\\A.HEX");
    EXPECT_EQ(ExpandCommandTemplate("%FILENAME", "D:\\W\\%FULL.HEX", "16F877"), "%FULL.HEX");
    // "%PI" followed by a file name starting with "C" does not become a device.
    EXPECT_EQ(ExpandCommandTemplate("%PI%FILENAME", "D:\\W\\C.HEX", "16F877"), "%PIC.HEX");
}

TEST(ProgramCommand, EpicAndUserProgrammerCommandLines)
{
    EXPECT_EQ(epicProgramCommand("C:\\EPIC\\EPICWIN.EXE", "D:\\WORK\\LED.HEX", "16F877"),
              (TCommandLine{"C:\\EPIC\\EPICWIN.EXE", "D:\\WORK\\LED.HEX -dPIC16F877",
                            LaunchMode::Detached}));
    EXPECT_EQ(epicProgramCommand("E", "D:\\W\\A.HEX", "").parameters, "D:\\W\\A.HEX -dPIC");
    EXPECT_EQ(userProgramCommand("P", "-p%PIC -f%full", "D:\\W\\A.HEX", "18F452"),
              (TCommandLine{"P", "D:\\W\\A.HEX -p18F452 -fD:\\W\\A.HEX", LaunchMode::Detached}));
    EXPECT_EQ(userProgramCommand("P", "%FILENAME", "D:\\W\\A.HEX", "").parameters,
              "D:\\W\\A.HEX A.HEX");
    EXPECT_EQ(userProgramCommand("P", "", "D:\\W\\A.HEX", "").parameters, "D:\\W\\A.HEX ");
    EXPECT_EQ(problemRunningMessage("C:\\X.EXE"), "Problem Running C:\\X.EXE");
}

TEST(ProgramCommand, TypeKeysAndCaptions)
{
    EXPECT_EQ(programmerTypeFromKey("OTHER"), ProgrammerType::Other);
    EXPECT_EQ(programmerTypeFromKey("epic"), std::nullopt);
    EXPECT_EQ(userToolCaption(""), "Undefined");
    EXPECT_EQ(userToolCaption("MyLoader"), "MyLoader");
    EXPECT_EQ(bootloaderTypeFromKey("KALTOR_IR"), BootloaderType::KaltorIr);
    EXPECT_EQ(bootloaderTypeFromKey("Standard"), std::nullopt);
}

TEST(StandardBootloader, DevicesAreComparedExactly)
{
    for (const char* device : {"16F870", "16F873", "16F877"})
        EXPECT_EQ(standardBootloaderProgram(device), "BOOTLOAD.EXE") << device;
    for (const char* device : {"16F818", "16F877A", "18F452", "18F242", "18F2439", "18F8720"})
        EXPECT_EQ(standardBootloaderProgram(device), "BOOTLOAD_A.EXE") << device;
    for (const char* device :
         {"16f877", "18f452", "16F875", "16F84", "16F628", "", " 16F877", "16F877 ", "18F8720A"})
        EXPECT_EQ(standardBootloaderProgram(device), std::nullopt) << device;
}

TEST(StandardBootloader, NotSuitableMessageHasTwoForms)
{
    EXPECT_EQ(notSuitableForBootloaderMessage("16F628"),
              "PICmicro Device 16F628\rIs not suitable for use with the Bootloader");
    EXPECT_EQ(notSuitableForBootloaderMessage("16F84"),
              "Either the compilation failed.\rOr the PICmicro Device 16F84\r"
              "Is not suitable for use with the Bootloader");
}

namespace {

TDownloadRequest request(BootloaderType type, std::string device)
{
    TDownloadRequest r;
    r.type = type;
    r.device = std::move(device);
    r.hexFile = "D:\\W\\A.HEX";
    r.incDir = "C:\\ZBX\\INC\\";
    return r;
}

} // namespace

TEST(DownloadCommand, StandardStartsTheTableProgramOrExplains)
{
    const TDownloadPlan plain = planDownload(request(BootloaderType::Standard, "16F877"));
    EXPECT_EQ(plain.action, DownloadAction::Launch);
    EXPECT_EQ(plain.command,
              (TCommandLine{"C:\\ZBX\\INC\\BOOTLOAD.EXE", "D:\\W\\A.HEX", LaunchMode::Wait}));
    EXPECT_EQ(planDownload(request(BootloaderType::Standard, "18F452")).command.program,
              "C:\\ZBX\\INC\\BOOTLOAD_A.EXE");

    const TDownloadPlan noResult = planDownload(request(BootloaderType::Standard, ""));
    EXPECT_EQ(noResult.action, DownloadAction::Inform);
    EXPECT_EQ(noResult.message, notSuitableForBootloaderMessage("16F84"));
    const TDownloadPlan lowerCase = planDownload(request(BootloaderType::Standard, "16f877"));
    EXPECT_EQ(lowerCase.action, DownloadAction::Inform);
    EXPECT_EQ(lowerCase.message,
              "PICmicro Device 16f877\rIs not suitable for use with the Bootloader");
}

TEST(DownloadCommand, KaltorIrFallsBackWhenItsProgramIsGone)
{
    TDownloadRequest ir = request(BootloaderType::KaltorIr, "16F628");
    const TDownloadPlan missing = planDownload(ir);
    EXPECT_EQ(missing.action, DownloadAction::FallBackToStandard);
    EXPECT_EQ(missing.message,
              "Cannot Find KALTOR IR bootloader\r\nDefaulting to standard bootloader.");
    ir.kaltorIrInstalled = true;
    EXPECT_EQ(planDownload(ir).command,
              (TCommandLine{"C:\\ZBX\\INC\\KALTIR_BOOT.EXE", "D:\\W\\A.HEX", LaunchMode::Wait}));
}

TEST(DownloadCommand, MeloaderAndUserDownloaderRunDetached)
{
    TDownloadRequest me = request(BootloaderType::MELoader, "");
    me.meloaderPath = "C:\\ML\\MELOADER.EXE";
    EXPECT_EQ(planDownload(me).command,
              (TCommandLine{"C:\\ML\\MELOADER.EXE", "D:\\W\\A.HEX", LaunchMode::Detached}));

    TDownloadRequest user = request(BootloaderType::Other, "18F452");
    user.userPath = "C:\\U\\LOAD.EXE";
    user.userTemplate = "%PIC %FULL";
    EXPECT_EQ(planDownload(user).command,
              (TCommandLine{"C:\\U\\LOAD.EXE", "D:\\W\\A.HEX 18F452 D:\\W\\A.HEX",
                            LaunchMode::Detached}));
}

TEST(CompileCommand, BasicProgramsQuestionsAndCommandLine)
{
    EXPECT_TRUE(isBasicProgram("D:\\W\\LED.BAS"));
    EXPECT_TRUE(isBasicProgram("/home/u/led.bas"));
    EXPECT_TRUE(isBasicProgram("No_name.Bas"));
    EXPECT_FALSE(isBasicProgram("D:\\W\\LED.BAS.TXT"));
    EXPECT_FALSE(isBasicProgram("D:\\W.BAS\\LED"));
    EXPECT_FALSE(isBasicProgram("LED.BASIC"));
    EXPECT_EQ(notBasicProgramQuestion("D:\\W\\NOTES.TXT"),
              "File \"NOTES.TXT\" is not a BASIC program\r\nDo you still wish to compile the "
              "code?");
    EXPECT_EQ(compilerCommand("C:\\ZBX\\", "D:\\W\\LED.BAS"),
              (TCommandLine{"C:\\ZBX\\KALTOR_PL.EXE", "D:\\W\\LED.BAS -m -q", LaunchMode::Wait}));
}

TEST(AssembleCommand, ReassembleAndReassembleAs)
{
    EXPECT_EQ(reassembleCommand("C:\\ZBX\\INC\\", "D:\\W\\LED.ASM"),
              (TCommandLine{"C:\\ZBX\\INC\\MPASMWIN.EXE",
                            "D:\\W\\LED.ASM /e+ /l+ /x- /w2 /c- /m- /q", LaunchMode::Wait}));
    EXPECT_EQ(reassembleAsCommand("C:\\ZBX\\INC\\", "D:\\W\\COPY.ASM").parameters,
              "D:\\W\\COPY.ASM /aINHX8M /e+ /l+ /x- /w2 /c- /m- /q");
}

// A HEX path with blanks reached the user-defined programmer and downloader split at its
// blanks, and a quote in a path was stripped on its way to the compiler. Every command line
// now splits back into the very paths it was given.
TEST(CommandLines, PathsWithBlanksQuotesBackslashesAndNonAsciiLettersSplitBackWhole)
{
    using Args = std::vector<std::string>;
    for (const std::string path : {"D:\\W\\A.HEX", "/home/u/My Work/A 1.HEX", "/tmp/say \"hi\"/A.HEX",
                                   "/tmp/\xC3\x96l \\\"x/A.HEX", "/tmp/trailing\\", "", "C:\\a b\\\\"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(splitWindowsCommandLine(quotedArgument(path)), Args{path});
        EXPECT_EQ(splitWindowsCommandLine(compilerCommand("/z/", path).parameters), (Args{path, "-m", "-q"}));
        EXPECT_EQ(splitWindowsCommandLine(epicProgramCommand("E", path, "16F877").parameters),
                  (Args{path, "-dPIC16F877"}));
        const std::string name = ExtractFileName(path);
        EXPECT_EQ(splitWindowsCommandLine(userProgramCommand("P", "%FULL \"%FULL\" -f%FILENAME \"-n%FILENAME\" %PIC",
                                                              path, "18F452").parameters),
                  (Args{path, path, path, "-f" + name, "-n" + name, "18F452"}));
        EXPECT_EQ(splitWindowsCommandLine(reassembleCommand("/z/", path).parameters).front(), path);
        TDownloadRequest download;
        download.hexFile = path;
        download.device = "16F877";
        for (const BootloaderType type : {BootloaderType::Standard, BootloaderType::MELoader}) {
            download.type = type;
            EXPECT_EQ(splitWindowsCommandLine(planDownload(download).command.parameters), Args{path});
        }
        download.type = BootloaderType::Other;
        download.userTemplate = "-p%PIC \"%FULL\"";
        EXPECT_EQ(splitWindowsCommandLine(planDownload(download).command.parameters), (Args{path, "-p16F877", path}));
    }
}
