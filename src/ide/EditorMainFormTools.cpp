// The main window's tool commands: the Run menus of the tool programs in <inc>EXTERNAL PROGRAMS
// and the hand-over of their text, the launchers of the View and Help menus (terminal,
// calculator, ASCII table, help file, About) and Search > Find in Files.
#include "ide/EditorMainForm.h"

#include "build/CommandLine.h"
#include "build/qt/BuildCommands.h"
#include "build/qt/ProcessLauncher.h"
#include "editor/widget/SourceMemo.h"
#include "ide/AboutBox.h"
#include "ide/AsciiTableWindow.h"
#include "ide/FindInFilesForm.h"
#include "ide/ToolHandOver.h"
#include "ide/ZbxEditProgram.h"
#include "ide/scan/FileScan.h"
#include "platform/DesktopPrograms.h"
#include "platform/FileAccess.h"
#include "platform/FileLookup.h"
#include "platform/Folders.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTabBar>

namespace {

constexpr const char* kRunHint = "Run an External Program and Capture its Output";
constexpr const char* kHelpHint = "Load the compiler's help file";

std::string externalProgramsFolder()
{
    return withTrailingSlash(resolveIgnoringCase(includeFolder(), kExternalProgramsFolder));
}

QAction* addPlaceholder(QMenu* menu)
{
    QAction* placeholder = menu->addAction(QString());
    placeholder->setEnabled(false);
    return placeholder;
}

} // namespace

void TEditorMainForm::createToolItems()
{
    m_searchMenu->addSeparator();
    QAction* findInFiles = addAction(m_searchMenu, "FindinFiles1", "F&ind in Files...", QKeySequence("Ctrl+Shift+F"));
    findInFiles->setStatusTip("Search the files of a folder for a text");

    QAction* line = m_optionsMenu->addSeparator();
    line->setObjectName("Option_Line13");
    Run_Program_Option = m_optionsMenu->addMenu("Run");
    Run_Program_Option->setObjectName("Run_Program_Menu");
    Run_Program_Option->menuAction()->setObjectName("Run_Program_Option");
    Run_Program_Option->menuAction()->setStatusTip(kRunHint);
    addPlaceholder(Run_Program_Option);

    // The editor pop-up's Run submenu is made with the pop-up; both are filled here.
    for (QAction* item : {line, Run_Program_Option->menuAction()}) {
        item->setVisible(false);
        item->setEnabled(false);
    }
}

void TEditorMainForm::connectToolCommands()
{
    const std::pair<const char*, void (TEditorMainForm::*)()> items[] = {
        {"SerialTerminal1", &TEditorMainForm::Terminal1Click},
        {"Calculator1", &TEditorMainForm::CalculatorItemClick},
        {"ASCIITable1", &TEditorMainForm::ASCIITable1Click},
        {"Help1", &TEditorMainForm::HelpMenuItemClick},
        {"About1", &TEditorMainForm::About1Click},
        {"FindinFiles1", &TEditorMainForm::FindInFiles1Click},
    };
    for (const auto& [name, handler] : items) {
        QAction* item = action(name);
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, handler);
    }
    action("Help1")->setStatusTip(kHelpHint);
}

// ---- the Run menus -------------------------------------------------------------------------

void TEditorMainForm::BuildRunMenus()
{
    if (m_runMenusBuilt)
        return;
    const std::string folder = externalProgramsFolder();
    if (matchingFileNames(folder, "*.EXE").empty())
        return;
    m_runMenusBuilt = true;
    for (QAction* item : {action("Option_Line13"), action("PoPup_Menu_Divider"), Run_Program_Option->menuAction(),
             RunPopupMenu->menuAction()}) {
        item->setVisible(true);
        item->setEnabled(true);
    }
    TFileScan scan;
    scan.Directory = folder;
    scan.FileSpecs = "*.exe";
    try {
        scan.SetStartScan(true);
    } catch (const Exception& error) {
        showError(localToQString(error.Message()));
    }
    const std::vector<std::string> File_ListBox = scan.Results();
    scan.AppendItems = false;
    scan.Results().clear();
    for (const TToolProgram& program : toolProgramsFromResults(File_ListBox)) {
        for (QMenu* menu : {Run_Program_Option, RunPopupMenu}) {
            QAction* placeholder = menu->actions().value(0);
            QAction* item = placeholder && placeholder->text().isEmpty() ? placeholder : menu->addAction(QString());
            item->setText(literalCaption(localToQString(program.caption)));
            item->setObjectName("Run_" + localToQString(program.caption));
            item->setEnabled(true);
            const QString fileName = localToQString(program.fileName);
            connect(item, &QAction::triggered, this, [this, fileName] { RunExternalProgram(fileName); });
        }
    }
}

// The program is the file the scan found, so a folder holding names that differ only in letter
// case runs the one chosen. A program that has gone runs nothing; its folder's RES_FILE.TXT is
// taken all the same.
void TEditorMainForm::RunExternalProgram(const QString& fileName)
{
    const std::string folder = externalProgramsFolder();
    const std::string program = folder + qStringToLocal(fileName);
    if (isRegularFile(program))
        m_build->launcher().ExecuteAndWait(program, "");
    const std::string resultFile = resolveIgnoringCase(folder, kResultFileName);
    const TResultFileText result = readResultFile(resultFile);
    if (result.kind == TResultFileText::Missing)
        return;
    if (result.kind == TResultFileText::Unreadable) {
        showError(localToQString(result.error) + "\r\rThe tool's text was not inserted; the file was left as it is.");
        return;
    }
    // The file is emptied only once its text is in a document, so no text is ever lost.
    if (!m_current) {
        messageBoxes().show(TMessageKind::Information, applicationTitle,
                            "No file is open, so the text the tool left was not inserted.\r"
                            "It stays in \"" + resultFile + "\".",
                            TMessageButtons::Ok);
        return;
    }
    if (!result.text.empty()) {
        try {
            SourceMemo1->Editor().ReplaceSelection(result.text);
        } catch (const std::exception& error) {
            showError(QString::fromLocal8Bit(error.what()) + "\r\rThe tool's text stays in \"" +
                      localToQString(resultFile) + "\".");
            SourceMemo1Change();
            return;
        }
        SourceMemo1->Editor().NotifyChange();
        SourceMemo1->ScrollCaretIntoView();
        SourceMemo1->viewport()->update();
    }
    std::string error;
    if (!emptyResultFile(resultFile, error))
        showError(localToQString(error));
    SourceMemo1->setFocus();
    SourceMemo1Change();
}

// ---- View and Help -------------------------------------------------------------------------

void TEditorMainForm::Terminal1Click()
{
    try {
        m_build->launcher().RunDetached(qStringToLocal(incFile("TERM.EXE")), "");
    } catch (const Exception& error) {
        showError(localToQString(error.Message()));
    }
}

// The desktop's calculator: the first of the usual calculator programs that is installed.
void TEditorMainForm::CalculatorItemClick()
{
    const std::string calculator = findCalculator();
    if (calculator.empty()) {
        showError(localToQString(problemRunningMessage(calculatorCandidateList())));
        return;
    }
    try {
        m_build->launcher().RunDetached(calculator, "");
    } catch (const Exception& error) {
        showError(localToQString(error.Message()));
    }
}

void TEditorMainForm::ASCIITable1Click()
{
    if (!m_ascii)
        m_ascii = new TASCII(this);
    m_ascii->setEnabled(true);
    m_ascii->show();
    m_ascii->raise();
    m_ascii->activateWindow();
}

// The help file is always handed to the desktop's viewer, never started as a program, whatever
// its permission bits say.
void TEditorMainForm::HelpMenuItemClick()
{
    const std::string help = qStringToLocal(incFile("ZENRA_HELP.HLP"));
    if (!isRegularFile(help) || !m_build->launcher().OpenDocument(help))
        showError(localToQString(problemRunningMessage(help)));
}

void TEditorMainForm::About1Click()
{
    TAboutForm about(this);
    about.exec();
    activateWindow();
}

// ---- Find in Files -------------------------------------------------------------------------

void TEditorMainForm::FindInFiles1Click()
{
    if (!m_findInFiles) {
        m_findInFiles = new TFindInFilesForm(this);
        m_findInFiles->OnOpenHit = [this](const QString& path, int64_t line) { OpenFileAtLine(path, line); };
    }
    QString folder;
    if (m_current && !m_current->IsUntitled())
        folder = QFileInfo(m_current->FileName).absolutePath();
    else
        folder = QDir::currentPath();
    m_findInFiles->showFor(QDir::toNativeSeparators(folder), QString());
}

void TEditorMainForm::OpenFileAtLine(const QString& name, int64_t line)
{
    const QString path = QFileInfo(name).absoluteFilePath();
    const int open = tabOf(path);
    if (open >= 0) {
        m_changingTabs = true;
        OpenFilesTab->setCurrentIndex(open);
        m_changingTabs = false;
        OpenFilesTabChange();
    } else if (!OpenFile(path)) {
        return;
    }
    TSourceEditor& editor = SourceMemo1->Editor();
    const int64_t offset = editor.Store().LineStart(std::max<int64_t>(0, line - 1)).Start;
    editor.SetSelection(offset, offset);
    editor.NotifyChange();
    SourceMemo1->ScrollCaretIntoView();
    SourceMemo1->viewport()->update();
    activateWindow();
    raise();
    SourceMemo1->setFocus();
    SourceMemo1Change();
}
