// The listing windows: geometry kept in ZBX.INI, the data windows filled from HEX files the
// staged assembler wrapper produces, and the assembler window's text, menu and re-assembly.
#include "build/qt/ASMList.h"
#include "build/qt/DataLists.h"
#include "build/qt/ProcessLauncher.h"

#include "StandIns.h"
#include "editor/edit/EditorOptions.h"
#include "editor/widget/SourceMemo.h"
#include "platform/IniFile.h"
#include "platform/ScriptedFileDialogs.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QPlainTextEdit>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const std::string kSamples = std::string(ZBX_SOURCE_DIR) + "/tests/build/data/";
const std::string kIncDir = std::string(ZBX_STAGED_INC_DIR) + "/";

Lines boxLines(const QPlainTextEdit* box)
{
    Lines lines;
    const QString text = box->toPlainText();
    if (text.isEmpty())
        return lines;
    for (const QString& line : text.split('\n'))
        lines.push_back(line.toStdString());
    return lines;
}

class ListingWindowsTest : public ::testing::Test
{
protected:
    std::string ini() const { return m_dir.path("ZBX.INI"); }

    // Copies a sample program and assembles it with the wrapper as the compiler would leave it.
    std::string assembled(const std::string& sample)
    {
        const std::string source = m_dir.path(sample);
        std::filesystem::copy_file(kSamples + sample, source);
        EXPECT_TRUE(m_launcher.ExecuteAndWait(kIncDir + "MPASMWIN.EXE",
                                              source + " /e+ /l+ /x- /w2 /c- /m- /q"));
        return source.substr(0, source.size() - 4) + ".HEX";
    }

    TempFolder m_dir;
    TProcessLauncher m_launcher;
};

TEST_F(ListingWindowsTest, AbsentOrZeroGeometryOpensAtTheDesignSize)
{
    const THEXList absent(ini());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const TWindowGeometry firstStart = listingWindowGeometry(ListingWindow::ProgramData, {}, {}, {}, {},
                                                             {screen.x(), screen.y(), screen.width(), screen.height()});
    EXPECT_EQ(absent.currentGeometry(), firstStart);
    EXPECT_EQ(firstStart.width, 568);

    TIniFile settings(ini());
    for (const char* key : {"DATA_WIDTH", "DATA_LEFT", "DATA_TOP", "DATA_HEIGHT"})
        settings.WriteInteger("EEPROM", key, 0);
    // Every key 0, as the shipped settings file has them, is a first start too: not over the
    // main window's menu at the origin.
    const TDATAList zero(ini());
    EXPECT_EQ(zero.currentGeometry(),
              listingWindowGeometry(ListingWindow::EepromData, {}, {}, {}, {},
                                    {screen.x(), screen.y(), screen.width(), screen.height()}));
    EXPECT_GT(zero.currentGeometry().top, screen.y());
    EXPECT_EQ(zero.currentGeometry().width, 481);

    settings.WriteString("EDITOR", "ASM_WIDTH", "wide");
    settings.WriteInteger("EDITOR", "ASM_HEIGHT", 300);
    settings.WriteInteger("EDITOR", "ASM_LEFT", 40);
    TASMList garbled(ini(), kIncDir, m_launcher);
    EXPECT_EQ(garbled.currentGeometry().left, 40);
    EXPECT_GT(garbled.currentGeometry().top, screen.y()); // absent: below the menus
    EXPECT_EQ(garbled.currentGeometry().width, 402);
    EXPECT_EQ(garbled.currentGeometry().height, 300);
}

TEST_F(ListingWindowsTest, GeometryIsSavedOnDeactivationAndCloseAndRestored)
{
    TIniFile settings(ini());
    settings.WriteInteger("CODE", "HEX_LEFT", 120);
    settings.WriteInteger("CODE", "HEX_TOP", 80);
    settings.WriteInteger("CODE", "HEX_WIDTH", 600);
    settings.WriteInteger("CODE", "HEX_HEIGHT", 300);
    {
        THEXList window(ini());
        EXPECT_EQ(window.currentGeometry(), (TWindowGeometry{120, 80, 600, 300}));
        window.move(33, 44);
        window.resize(500, 250);
        window.FormDeactivate();
        EXPECT_EQ(settings.ReadInteger("CODE", "HEX_LEFT", -1), 33);
        EXPECT_EQ(settings.ReadInteger("CODE", "HEX_TOP", -1), 44);
        EXPECT_EQ(settings.ReadInteger("CODE", "HEX_WIDTH", -1), 500);
        EXPECT_EQ(settings.ReadInteger("CODE", "HEX_HEIGHT", -1), 250);

        window.showListing();
        EXPECT_TRUE(window.isEnabled());
        window.resize(420, 230);
        QSignalSpy closed(&window, &TListingForm::closed);
        window.close();
        ASSERT_EQ(closed.count(), 1);
        EXPECT_EQ(closed[0][0].value<ListingWindow>(), ListingWindow::ProgramData);
        EXPECT_FALSE(window.isEnabled());
        EXPECT_EQ(settings.ReadInteger("CODE", "HEX_WIDTH", -1), 420);
    }
    const THEXList reopened(ini());
    EXPECT_EQ(reopened.currentGeometry(), (TWindowGeometry{33, 44, 420, 230}));
    // The other windows' sections are untouched.
    EXPECT_FALSE(settings.ValueExists("EEPROM", "DATA_WIDTH"));
    EXPECT_FALSE(settings.ValueExists("EDITOR", "ASM_WIDTH"));
}

TEST_F(ListingWindowsTest, DataWindowsShowAnAssembledInhx8mFile)
{
    THEXList program(ini());
    TDATAList eeprom(ini());
    ASSERT_TRUE(LoadHexFile(program, eeprom, assembled("LED877.ASM")));
    const Lines code = boxLines(program.CODE_MEMO);
    const Lines codeAscii = boxLines(program.CODE_ASCII_MEMO);
    ASSERT_EQ(code.size(), codeAscii.size());
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(code.front().substr(0, 11), "0000- 2804 ");
    // The character table: retlw 'A' and 'B' read "4A" and "4B".
    EXPECT_EQ(code.back(), "0100- 0782 3441 3442 ");
    EXPECT_EQ(codeAscii.back(), "0100- ..4A4B");
    // The configuration word (0x2007) is not shown; the EEPROM bytes are, from label 0000.
    for (const std::string& line : code)
        EXPECT_NE(line.substr(0, 4), "2007");
    EXPECT_EQ(boxLines(eeprom.DATA_MEMO), Lines{"0000- 48 45 4C 4C 4F 00 7F 20 "});
    EXPECT_EQ(boxLines(eeprom.DATA_ASCII_MEMO), Lines{"0000- HELLO.\x7F "});
}

TEST_F(ListingWindowsTest, DataWindowsShowAnAssembledInhx32File)
{
    THEXList program(ini());
    TDATAList eeprom(ini());
    ASSERT_TRUE(LoadHexFile(program, eeprom, assembled("BLINK452.ASM")));
    const Lines code = boxLines(program.CODE_MEMO);
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(code.back(), "0080- 4142 ");
    EXPECT_EQ(boxLines(program.CODE_ASCII_MEMO).back(), "0080- AB");
    // Configuration bytes at 0x300001.. are passed over; the EEPROM record is shown.
    for (const std::string& line : code)
        EXPECT_EQ(line.find("0F22"), std::string::npos) << line;
    EXPECT_EQ(boxLines(eeprom.DATA_MEMO), Lines{"0000- 6948 05 "});
    EXPECT_EQ(boxLines(eeprom.DATA_ASCII_MEMO), Lines{"0000- .."});
}

TEST_F(ListingWindowsTest, InvalidHexFileEmptiesAllFourBoxes)
{
    THEXList program(ini());
    TDATAList eeprom(ini());
    const std::string good = assembled("LED877.ASM");
    ASSERT_TRUE(LoadHexFile(program, eeprom, good));
    ASSERT_FALSE(eeprom.DATA_MEMO->toPlainText().isEmpty());
    writeWholeFile(m_dir.path("BAD.HEX"), readWholeFile(good) + "\r\n");
    EXPECT_FALSE(LoadHexFile(program, eeprom, m_dir.path("BAD.HEX")));
    for (const QPlainTextEdit* box :
         {program.CODE_MEMO, program.CODE_ASCII_MEMO, eeprom.DATA_MEMO, eeprom.DATA_ASCII_MEMO})
        EXPECT_TRUE(box->toPlainText().isEmpty()) << box->objectName().toStdString();
    EXPECT_TRUE(program.CODE_MEMO->isReadOnly());
    EXPECT_EQ(program.CODE_MEMO->font().family(), "Courier New");
    EXPECT_TRUE(program.CODE_MEMO->font().bold());
}

TEST_F(ListingWindowsTest, AssemblerWindowLoadsClearsAndKeepsItsLayout)
{
    TASMList window(ini(), kIncDir, m_launcher);
    EXPECT_EQ(window.windowTitle(), "ASSEMBLER Listing");
    EXPECT_TRUE(window.ASMText->Options() & smoLineNumbers);
    EXPECT_EQ(window.ASMText->Editor().Settings.TabDefault, 8);
    EXPECT_EQ(window.ASMText->Editor().Settings.IndentStep, 8);

    writeWholeFile(m_dir.path("A.ASM"), "\tnop\r\n\tEND\r\n");
    window.setListingPath(m_dir.path("A.ASM"));
    window.loadListing();
    EXPECT_EQ(window.ASMText->Store().GetText(), "\tnop\r\tEND\r");
    window.setListingPath(m_dir.path("GONE.ASM"));
    window.loadListing();
    EXPECT_EQ(window.ASMText->Store().CharCount(), 0);
}

TEST_F(ListingWindowsTest, PopupEnablesCutAndCopyOnlyWithASelection)
{
    TASMList window(ini(), kIncDir, m_launcher);
    window.ASMText->Editor().ReplaceSelection("movlw 1");
    window.ASMText->Editor().SetSelection(0, 0);
    window.ASM_POPUPPopup();
    EXPECT_FALSE(window.Cut1->isEnabled());
    EXPECT_FALSE(window.Copy1->isEnabled());
    window.ASMText->Editor().SetSelection(0, 5);
    window.ASM_POPUPPopup();
    EXPECT_TRUE(window.Cut1->isEnabled());
    EXPECT_TRUE(window.Copy1->isEnabled());
    window.Undo1->trigger();
    EXPECT_EQ(window.ASMText->Store().CharCount(), 0);
    window.Redo1->trigger();
    EXPECT_EQ(window.ASMText->Store().GetText(), "movlw 1");
}

TEST_F(ListingWindowsTest, ReAssembleWritesTheListingAndRunsTheAssembler)
{
    const std::string hex = assembled("LED877.ASM");
    std::filesystem::remove(hex);
    TASMList window(ini(), kIncDir, m_launcher);
    window.setListingPath(m_dir.path("LED877.ASM"));
    window.loadListing();
    // An edit reaches the HEX file: one more word in the character table.
    const std::string text = window.ASMText->Store().GetText();
    const size_t table = text.find("dt      \"AB\"");
    ASSERT_NE(table, std::string::npos);
    window.ASMText->Editor().SetSelection(static_cast<int64_t>(table) + 11,
                                          static_cast<int64_t>(table) + 11);
    window.ASMText->Editor().ReplaceSelection("C");
    window.Assemble1Click();
    EXPECT_NE(readWholeFile(m_dir.path("LED877.ASM")).find("dt      \"ABC\""), std::string::npos);
    EXPECT_NE(readWholeFile(hex).find(":080200008207413442344334"), std::string::npos)
        << readWholeFile(hex);
}

TEST_F(ListingWindowsTest, ReAssembleAsSavesTheChosenFileAndAssemblesIt)
{
    assembled("LED877.ASM");
    TASMList window(ini(), kIncDir, m_launcher);
    window.setListingPath(m_dir.path("LED877.ASM"));
    window.loadListing();
    TScriptedFileDialogs dialogs;
    TScopedFileDialogs scope(dialogs);
    dialogs.answer(std::nullopt);
    window.Assemble_ASClick();
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].kind, TFileDialogKind::Save);
    EXPECT_EQ(dialogs.requests()[0].filter, "ASSEMBLER files|*.asm");
    EXPECT_EQ(dialogs.requests()[0].fileName, m_dir.path("LED877.ASM"));
    EXPECT_FALSE(std::filesystem::exists(m_dir.path("COPY.ASM")));

    dialogs.answer(m_dir.path("COPY.ASM"));
    window.Assemble_ASClick();
    EXPECT_NE(readWholeFile(m_dir.path("COPY.ASM")).find("dt      \"AB\"\r\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(m_dir.path("COPY.HEX")));
}

} // namespace
