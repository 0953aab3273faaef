#include "ide/EdPersistent.h"
#include "ide/StatusPanels.h"
#include "ProgramFixture.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include "editor/widget/SourceMemo.h"
#include <QTabBar>

namespace {

const char* const defaultIni = "[PROGRAMMER]\r\nTYPE=EPIC\r\n[BOOTLOADER]\r\nTYPE=STANDARD\r\n";

// The program in an application folder of its own for each test: <app>INC/ZBX.INI and
// <app>KALTOR.DAT.
class MainFormTest : public ProgramFixture
{
protected:
    bool checked(const char* item) const { return m_program->mainForm().action(item)->isChecked(); }
};

} // namespace

TEST_F(MainFormTest, StartsWithOneUntitledTabHiddenReportAndCaretPanel)
{
    writeIni(defaultIni);
    auto& form = start();
    EXPECT_EQ(form.OpenFilesTab->count(), 1);
    EXPECT_EQ(form.OpenFilesTab->tabText(0), "No_name.bas");
    EXPECT_EQ(form.windowTitle(), "No_name.bas");
    EXPECT_FALSE(form.ReportMemo->isVisible());
    EXPECT_EQ(form.StatusBar1->panelText(0), "     1:   1");
    EXPECT_EQ(form.device(), ""); // every reading of a compile result clears it, none named one
    EXPECT_TRUE(std::filesystem::exists(m_app.path("KALTOR.DAT")));
    EXPECT_TRUE(m_boxes.shown().empty());
}

TEST_F(MainFormTest, RefreshReadsProgrammerAndBootloaderChoicesFromTheIniEveryTime)
{
    writeIni("[EXT_PROG]\r\nNAME=My Programmer\r\n[PROGRAMMER]\r\nTYPE=OTHER\r\n"
             "[BOOTLOADER]\r\nTYPE=MELOADER\r\n");
    auto& form = start();
    EXPECT_TRUE(checked("ExtProg"));
    EXPECT_FALSE(checked("EpicProg"));
    EXPECT_EQ(form.action("ExtProg")->text(), "My Programmer");
    EXPECT_EQ(form.action("EpicProg")->text(), "Epic");
    QStringList bootloaders;
    for (const QAction* item : form.action("ChooseBootloader1")->menu()->actions())
        bootloaders << item->objectName();
    EXPECT_EQ(bootloaders, (QStringList{"Standard_Bootloader_Option", "MELoader_Option", "KALTOR_IR_Bootloader_Option",
                                        "External_Bootloader_Option"}));
    EXPECT_EQ(form.action("External_Bootloader_Option")->text(), "Undefined");
    EXPECT_TRUE(checked("MELoader_Option"));

    // A value outside the listed words leaves the checks as they were.
    writeIni("[PROGRAMMER]\r\nTYPE=SOMETHING\r\n[BOOTLOADER]\r\nTYPE=\r\n");
    form.SourceMemo1Change();
    EXPECT_TRUE(checked("ExtProg"));
    EXPECT_TRUE(checked("MELoader_Option"));

    writeIni("[PROGRAMMER]\r\ntype=EPIC\r\n");
    form.SourceMemo1Change();
    EXPECT_TRUE(checked("EpicProg"));
    EXPECT_TRUE(checked("Standard_Bootloader_Option"));
}

TEST_F(MainFormTest, IrBootloaderChosenButNotInstalledLeavesEveryBootloaderItemUnchecked)
{
    writeIni("[BOOTLOADER]\r\nTYPE=KALTOR_IR\r\n");
    auto& form = start();
    for (const char* item : {"Standard_Bootloader_Option", "KALTOR_IR_Bootloader_Option",
                             "MELoader_Option", "External_Bootloader_Option"})
        EXPECT_FALSE(checked(item)) << item;
    EXPECT_FALSE(form.action("KALTOR_IR_Bootloader_Option")->isVisible());
}

TEST_F(MainFormTest, IrBootloaderItemAppearsWhenItsProgramIsInstalled)
{
    writeIni("[BOOTLOADER]\r\nTYPE=KALTOR_IR\r\n");
    writeWholeFile(m_app.path("INC/KALTIR_BOOT.EXE"), "");
    auto& form = start();
    EXPECT_TRUE(form.action("KALTOR_IR_Bootloader_Option")->isEnabled());
    EXPECT_TRUE(checked("KALTOR_IR_Bootloader_Option"));
}

TEST_F(MainFormTest, ReopenMenuShowsAtMostTwentyRecentFiles)
{
    writeIni(defaultIni);
    std::string dat = "[MRU]\r\n";
    for (int i = 1; i <= 25; ++i)
        dat += "/projects/file" + std::to_string(i) + ".bas\r\n";
    writeWholeFile(m_app.path("KALTOR.DAT"), dat);
    auto& form = start();
    const auto entries = form.Reopen1->actions();
    ASSERT_EQ(entries.size(), 21); // the hidden placeholder and twenty names
    EXPECT_FALSE(entries[0]->isVisible());
    EXPECT_EQ(entries[1]->text(), "/projects/file1.bas");
    EXPECT_EQ(entries[20]->text(), "/projects/file20.bas");
}

TEST_F(MainFormTest, EmptyRecentListShowsTheDisabledPlaceholder)
{
    writeIni(defaultIni);
    auto& form = start();
    const auto entries = form.Reopen1->actions();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0]->text(), "<No entries>");
    EXPECT_FALSE(entries[0]->isEnabled());
}

TEST_F(MainFormTest, MissingStartFileShowsTheEditorErrorAndOpensNoTab)
{
    writeIni(defaultIni);
    const QString missing = QString::fromStdString(m_app.path("NOPE.BAS"));
    m_boxes.answer(TMessageResult::Ok);
    auto& form = start({"zbxedit", missing.toStdString()});
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].kind, TMessageKind::Error);
    EXPECT_EQ(m_boxes.shown()[0].text, "File '" + missing.toStdString() + "' cannot be opened for reading");
    EXPECT_EQ(form.OpenFilesTab->count(), 0);
    EXPECT_EQ(form.windowTitle(), "KALTOR+ Compiler");
    EXPECT_FALSE(form.action("Save1")->isVisible());
}

TEST_F(MainFormTest, StartFileOpensInItsTabAndClosingRemembersIt)
{
    writeIni(defaultIni);
    const std::string source = m_app.path("LED.BAS");
    writeWholeFile(source, "High PORTB.0\r\nEnd\r\n");
    auto& form = start({"zbxedit", source});
    ASSERT_EQ(form.OpenFilesTab->count(), 1);
    EXPECT_EQ(form.OpenFilesTab->tabText(0), "LED.BAS");
    EXPECT_TRUE(form.OpenFilesTab->isVisible());
    EXPECT_GT(form.OpenFilesTab->height(), 10);
    EXPECT_EQ(form.SourceMemo1->Store().GetText(), "High PORTB.0\rEnd\r");
    form.close();
    const auto recent = TEdPersistent(m_app.path("KALTOR.DAT")).ReadList("MRU");
    ASSERT_EQ(recent.size(), 1u);
    EXPECT_EQ(recent[0], source);
}

TEST_F(MainFormTest, HintShowsForTwoSecondsThenThePanelTextReturns)
{
    writeIni(defaultIni);
    auto& form = start();
    const QString before = form.StatusBar1->panelText(5);
    form.ShowInfo("Compile the BASIC Program");
    EXPECT_EQ(form.StatusBar1->panelText(5), "  Compile the BASIC Program");
    form.ShowInfo("Save current file"); // a second hint keeps the first saved text
    QTest::qWait(2300);
    EXPECT_EQ(form.StatusBar1->panelText(5), before);
}

TEST_F(MainFormTest, MissingIniGivesTheFatalBoxAndNoWindow)
{
    m_boxes.answer(TMessageResult::Cancel);
    EXPECT_EQ(startProgram(), 1);
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].caption, "FATAL ERROR!");
    EXPECT_EQ(m_boxes.shown()[0].text, "Could not Find ZBX.INI\rMake sure it is in the INC folder and is "
                                       "not Write Protected\rThe Compiler will now Close");
    EXPECT_EQ(m_boxes.shown()[0].buttons, TMessageButtons::OkCancel);
    writeWholeFile(m_app.path("INC/zbx.ini"), ""); // found whatever its letter case
    m_program.reset();
    EXPECT_FALSE(startProgram().has_value());
    EXPECT_TRUE(m_program->mainForm().isVisible());
}
