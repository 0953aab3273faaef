// The tool commands of the main window, in the program started through its composition root:
// the Run menus made from the tool folder, the hand-over of a stand-in tool's text at the
// caret, the launchers of the View and Help menus, the ASCII table, About and Find in Files.
#include "ide/AboutBox.h"
#include "ide/AsciiTableWindow.h"
#include "ide/FindInFilesForm.h"
#include "ide/StatusPanels.h"
#include "build/qt/BuildCommands.h"
#include "build/qt/ProcessLauncher.h"
#include "editor/widget/SourceMemo.h"
#include "ProgramFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <map>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

const char* const defaultIni = "[PROGRAMMER]\r\nTYPE=EPIC\r\n[BOOTLOADER]\r\nTYPE=STANDARD\r\n";

class ToolCommandsTest : public ProgramFixture
{
protected:
    ToolCommandsTest()
    {
        writeIni(defaultIni);
        fs::create_directories(tools());
    }

    std::string tools(const std::string& name = {}) const { return m_app.path("INC/EXTERNAL PROGRAMS/" + name); }

    // A tool program as the launcher runs it: an executable script that writes lines to the
    // RES_FILE.TXT beside itself.
    void writeTool(const std::string& name, const std::string& lines)
    {
        writeWholeFile(tools(name), "#!/bin/sh\nprintf '" + lines + "' > \"$(dirname \"$0\")/RES_FILE.TXT\"\n");
        ::chmod(tools(name).c_str(), 0755);
    }

    QStringList captions(QMenu* menu) const
    {
        QStringList texts;
        for (QAction* item : menu->actions())
            texts << item->text();
        texts.sort();
        return texts;
    }

    QAction* runItem(TEditorMainForm& form, const QString& caption) const
    {
        for (QAction* item : form.Run_Program_Option->actions())
            if (item->text() == caption)
                return item;
        return nullptr;
    }

    std::string text(TEditorMainForm& form) const { return form.SourceMemo1->Editor().Store().GetText(); }
    void type(TEditorMainForm& form, const std::string& text) const
    {
        form.SourceMemo1->Editor().ReplaceSelection(text);
    }
};

} // namespace

TEST_F(ToolCommandsTest, RunMenusListTheProgramsOfTheFolderButNotOfItsSubfolders)
{
    writeTool("A.EXE", "");
    writeTool("B.exe", "");
    writeWholeFile(tools("readme.txt"), "");
    fs::create_directories(tools("sub"));
    writeTool("sub/C.EXE", "");
    TEditorMainForm& form = start();
    EXPECT_TRUE(form.action("Option_Line13")->isVisible());
    EXPECT_TRUE(form.Run_Program_Option->menuAction()->isVisible());
    EXPECT_TRUE(form.RunPopupMenu->menuAction()->isVisible());
    EXPECT_EQ(captions(form.Run_Program_Option), (QStringList{"A", "B"}));
    EXPECT_EQ(captions(form.RunPopupMenu), (QStringList{"A", "B"}));
    EXPECT_EQ(form.Run_Program_Option->menuAction()->statusTip(), "Run an External Program and Capture its Output");
}

TEST_F(ToolCommandsTest, WithoutProgramsTheRunMenusStayHidden)
{
    fs::create_directories(tools("sub"));
    writeTool("sub/C.EXE", "");
    TEditorMainForm& form = start();
    EXPECT_FALSE(form.Run_Program_Option->menuAction()->isVisible());
    EXPECT_FALSE(form.Run_Program_Option->menuAction()->isEnabled());
    EXPECT_FALSE(form.RunPopupMenu->menuAction()->isVisible());
    EXPECT_FALSE(form.action("Option_Line13")->isVisible());
}

TEST_F(ToolCommandsTest, ThreeLinesOfTheToolReplaceTheSelectionAndTheFileIsLeftEmpty)
{
    writeTool("A.EXE", "DATA 1\\nDATA 2\\nDATA 3\\n");
    TEditorMainForm& form = start();
    type(form, "hello world!");
    form.SourceMemo1->Editor().SetSelection(6, 11); // "world"
    ASSERT_NE(runItem(form, "A"), nullptr);
    runItem(form, "A")->trigger();
    EXPECT_EQ(text(form), "hello DATA 1\rDATA 2\rDATA 3\r!");
    EXPECT_EQ(form.SourceMemo1->Editor().SelCaret(), 27) << "the caret follows the inserted text";
    EXPECT_EQ(fs::file_size(tools("RES_FILE.TXT")), 0u);
    form.SourceMemo1->Editor().Undo();
    EXPECT_EQ(text(form), "hello world!") << "one undo removes the tool's text";
    EXPECT_TRUE(m_boxes.shown().empty());

    // Emptied, the file inserts nothing the next time.
    fs::remove(tools("A.EXE"));
    runItem(form, "A")->trigger();
    EXPECT_EQ(text(form), "hello world!");
}

TEST_F(ToolCommandsTest, AProgramThatHasGoneStillHandsOverTheTextLeftBehind)
{
    writeTool("A.EXE", "");
    TEditorMainForm& form = start();
    fs::remove(tools("A.EXE"));
    writeWholeFile(tools("res_file.txt"), "LEFT");
    runItem(form, "A")->trigger();
    EXPECT_EQ(text(form), "LEFT\r");
    EXPECT_EQ(fs::file_size(tools("res_file.txt")), 0u);
}

TEST_F(ToolCommandsTest, AnOversizedResultFileIsReportedAndKeptWhileBinaryTextIsInsertedSafely)
{
    writeTool("A.EXE", "");
    TEditorMainForm& form = start();
    fs::remove(tools("A.EXE"));
    writeWholeFile(tools("RES_FILE.TXT"), "");
    fs::resize_file(tools("RES_FILE.TXT"), 17 * 1024 * 1024);
    m_boxes.answer(TMessageResult::Ok);
    runItem(form, "A")->trigger();
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].kind, TMessageKind::Error);
    EXPECT_NE(m_boxes.shown()[0].text.find("left as it is"), std::string::npos) << m_boxes.shown()[0].text;
    EXPECT_EQ(fs::file_size(tools("RES_FILE.TXT")), 17u * 1024 * 1024);
    EXPECT_EQ(text(form), "");

    writeWholeFile(tools("RES_FILE.TXT"), std::string("A\0B\xff\x01", 5));
    runItem(form, "A")->trigger();
    EXPECT_EQ(text(form), "A.B\xff.\r");
    EXPECT_EQ(fs::file_size(tools("RES_FILE.TXT")), 0u);
    EXPECT_EQ(form.SourceMemo1->Editor().check(), "");
}

TEST_F(ToolCommandsTest, WithNoFileOpenTheToolTextStaysInItsFile)
{
    writeTool("A.EXE", "KEEP ME\\n");
    TEditorMainForm& form = start();
    QAction* item = runItem(form, "A");
    ASSERT_TRUE(form.Close1Click());
    ASSERT_EQ(form.currentFile(), nullptr);
    m_boxes.answer(TMessageResult::Ok);
    item->trigger();
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].kind, TMessageKind::Information);
    EXPECT_EQ(readWholeFile(tools("RES_FILE.TXT")), "KEEP ME\n");
}

TEST_F(ToolCommandsTest, HelpIsHandedToTheDesktopViewerAndNeverRun)
{
    TEditorMainForm& form = start();
    std::vector<std::string> opened;
    form.buildCommands().launcher().setDocumentOpener([&](const QString& path) {
        opened.push_back(path.toStdString());
        return true;
    });
    m_boxes.answer(TMessageResult::Ok);
    form.action("Help1")->trigger();
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].text, "Problem Running " + m_app.path("INC/ZENRA_HELP.HLP"));
    EXPECT_TRUE(opened.empty());

    // An executable help file is opened, not started.
    writeWholeFile(m_app.path("INC/zenra_help.hlp"), "#!/bin/sh\ntouch \"$(dirname \"$0\")/RAN\"\n");
    ::chmod(m_app.path("INC/zenra_help.hlp").c_str(), 0755);
    form.action("Help1")->trigger();
    EXPECT_EQ(opened, std::vector<std::string>{m_app.path("INC/zenra_help.hlp")});
    QTest::qWait(200);
    EXPECT_FALSE(fs::exists(m_app.path("INC/RAN")));
    EXPECT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(form.action("Help1")->statusTip(), "Load the compiler's help file");
}

TEST_F(ToolCommandsTest, TerminalAndCalculatorThatCannotStartAreReported)
{
    TEditorMainForm& form = start();
    m_boxes.answer(TMessageResult::Ok);
    form.action("SerialTerminal1")->trigger();
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].text, "Problem Running " + m_app.path("INC/TERM.EXE"));

    const QByteArray path = qgetenv("PATH");
    TempFolder bin;
    qputenv("PATH", QByteArray::fromStdString(bin.path()));
    m_boxes.answer(TMessageResult::Ok);
    form.action("Calculator1")->trigger();
    ASSERT_EQ(m_boxes.shown().size(), 2u);
    EXPECT_EQ(m_boxes.shown()[1].text.rfind("Problem Running gnome-calculator, kcalc", 0), 0u) << m_boxes.shown()[1].text;

    // The first calculator installed is started.
    for (const char* name : {"xcalc", "kcalc"}) {
        writeWholeFile(bin.path(name), std::string("#!/bin/sh\n: > ") + bin.path(std::string(name) + ".ran") + "\n");
        ::chmod(bin.path(name).c_str(), 0755);
    }
    form.action("Calculator1")->trigger();
    qputenv("PATH", path);
    for (int i = 0; i < 50 && !fs::exists(bin.path("kcalc.ran")); ++i)
        QTest::qWait(50);
    EXPECT_TRUE(fs::exists(bin.path("kcalc.ran")));
    EXPECT_FALSE(fs::exists(bin.path("xcalc.ran")));
    EXPECT_EQ(m_boxes.shown().size(), 2u);
}

TEST_F(ToolCommandsTest, AsciiTableShowsEveryCodeAndCancelHidesAndDisablesIt)
{
    TEditorMainForm& form = start();
    form.action("ASCIITable1")->trigger();
    TASCII* table = form.asciiTable();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isVisible());
    EXPECT_EQ(table->windowTitle(), "ASCII Table");
    EXPECT_TRUE(table->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(table->findChild<QLabel*>("HeaderLabel")->text(), "chr     dec#    hex#    ctrl");
    ASSERT_EQ(table->List->count(), 256);
    EXPECT_EQ(table->List->item(65)->text(), "A       65      41");
    EXPECT_EQ(table->minimumSize(), table->maximumSize()) << "fixed size";
    table->CancelButton->click();
    EXPECT_FALSE(table->isVisible());
    EXPECT_FALSE(table->isEnabled());
    form.action("ASCIITable1")->trigger();
    EXPECT_TRUE(table->isVisible());
    EXPECT_TRUE(table->isEnabled());
}

TEST_F(ToolCommandsTest, AboutShowsTheProductModallyUntilOk)
{
    TEditorMainForm& form = start();
    QString title, product, version, comments, hint;
    bool modal = false;
    QTimer::singleShot(100, [&] {
        auto* about = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
        if (!about)
            return;
        modal = about->isModal();
        title = about->windowTitle();
        product = about->findChild<QLabel*>("ProductName")->text();
        version = about->findChild<QLabel*>("Version")->text();
        comments = about->findChild<QLabel*>("Comments")->text();
        hint = about->OKButton->toolTip();
        about->OKButton->click();
    });
    form.action("About1")->trigger(); // returns once OK closed the box
    EXPECT_TRUE(modal);
    EXPECT_EQ(title, "KALTOR+");
    EXPECT_EQ(product, "KALTOR+ Compiler");
    EXPECT_EQ(version, "Version 2.1.3");
    EXPECT_EQ(comments, "BASIC compiler for the 12, 14 and 16-bit core devices");
    EXPECT_EQ(hint, "Return to the Compiler.");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ToolCommandsTest, FindInFilesListsHitsAndOpensTheFileAtTheLine)
{
    TempFolder docs;
    writeWholeFile(docs.path("main.bas"), "10 GOSUB Init\r\n20 END\r\nInit:\r\n  RETURN\r\n");
    writeWholeFile(docs.path("other.bas"), "x = 1\r\n");
    TEditorMainForm& form = start({"zbxedit", docs.path("other.bas")});
    form.action("FindinFiles1")->trigger();
    TFindInFilesForm* find = form.findInFiles();
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    EXPECT_EQ(find->FolderEdit->text().toStdString() + "/", docs.path()) << "the current file's folder";
    EXPECT_EQ(find->PatternsEdit->text(), "*.bas;*.inc");
    find->TextEdit->setText("init");
    find->WholeWordCheck->setChecked(true);
    find->FindButton->click();
    ASSERT_EQ(find->ResultList->count(), 2);
    EXPECT_EQ(find->ResultList->item(1)->text().toStdString(), docs.path("main.bas") + "(3): Init:");
    EXPECT_EQ(find->StatusLabel->text(), "2 matching lines in 1 file (2 files looked at)");
    emit find->ResultList->itemActivated(find->ResultList->item(1));
    ASSERT_NE(form.currentFile(), nullptr);
    EXPECT_EQ(form.currentFile()->FileName.toStdString(), docs.path("main.bas"));
    EXPECT_EQ(form.SourceMemo1->Editor().CaretLine(), 3);
    EXPECT_EQ(form.StatusBar1->panelText(0), "     3:   1");

    // A second double click on the open file moves within its tab instead of opening it again.
    emit find->ResultList->itemActivated(find->ResultList->item(0));
    EXPECT_EQ(form.fileCount(), 2);
    EXPECT_EQ(form.SourceMemo1->Editor().CaretLine(), 1);
    EXPECT_TRUE(m_boxes.shown().empty());
}

// A label whose text marks a letter with "&" shows the "&" itself unless it has a buddy; the
// folder row once did, and Alt+O reached nothing.
TEST_F(ToolCommandsTest, FindInFilesLabelsWithAMnemonicFocusTheirField)
{
    TEditorMainForm& form = start({"zbxedit"});
    form.action("FindinFiles1")->trigger();
    TFindInFilesForm* find = form.findInFiles();
    ASSERT_NE(find, nullptr);
    std::map<std::string, QWidget*> buddies;
    for (QLabel* label : find->findChildren<QLabel*>()) {
        if (label->text().contains('&'))
            buddies[label->text().toStdString()] = label->buddy();
    }
    const std::map<std::string, QWidget*> expected = {
        {"Text to &find:", find->TextEdit}, {"F&older:", find->FolderEdit}, {"File &types:", find->PatternsEdit}};
    EXPECT_EQ(buddies, expected);
}
