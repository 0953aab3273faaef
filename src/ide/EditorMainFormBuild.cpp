// The main window's side of compiling, listing, programming and downloading: the Compile
// command's questions and save, and the window parts the build commands change (status
// panels 2 to 4, the report pane, the View items and the programmer and bootloader items).
#include "ide/EditorMainForm.h"

#include "build/qt/BuildCommands.h"
#include "ide/StatusPanels.h"
#include "ide/ZbxEditProgram.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"

#include <QAction>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolButton>

QString TEditorMainForm::device() const
{
    return cp1252ToQString(m_build->device());
}

bool TEditorMainForm::compileFailed() const
{
    return m_build->compileFailed();
}

void TEditorMainForm::CompileButtonClick()
{
    if (!m_current)
        return;
    const QFileInfo source(m_current->FileName);
    if (source.suffix().toUpper() != "BAS") {
        const QString question =
            QString("File \"%1\" is not a BASIC program\r\nDo you still wish to compile the code?").arg(source.fileName());
        if (messageBoxes().show(TMessageKind::Confirmation, applicationTitle, qStringToLocal(question),
                                TMessageButtons::YesNo) != TMessageResult::Yes)
            return;
    }
    if (m_current->IsUntitled()) {
        const TMessageResult answer = messageBoxes().show(
            TMessageKind::Confirmation, applicationTitle,
            "BASIC Program must be given a name other than NO_NAME.BAS\r\nBefore compilation may commence.",
            TMessageButtons::OkCancel);
        if (answer != TMessageResult::Ok || !SaveAs1Click() || m_current->IsUntitled())
            return;
    } else if (!SaveButtonClick()) {
        return; // the previous result is not this source's
    }
    m_build->setCurrentSource(m_current->DiskName());
    m_build->compile();
    SourceMemo1Change();
}

void TEditorMainForm::CompilethenDownload1Click()
{
    CompileButtonClick();
    if (!m_build->compileFailed())
        m_build->DownloadButtonClick();
}

void TEditorMainForm::connectBuildCommands()
{
    TBuildCommands* build = m_build.get();
    const struct {
        const char* action;
        const char* button;
        std::function<void()> run;
    } commands[] = {
        {"Compile1", "CompileButton", [this] { CompileButtonClick(); }},
        {"CompilethenDownload1", nullptr, [this] { CompilethenDownload1Click(); }},
        {"Program1", "ProgramButton", [build] { build->ProgramButtonClick(); }},
        {"Download1", "DownloadButton", [build] { build->DownloadButtonClick(); }},
        {"REPORTWindow1", nullptr, [build] { build->showReportClick(); }},
        {"ASSEMBLERData1", "ASMButton", [build] { build->ASMButtonClick(); }},
        {"PROGRAMData1", nullptr, [build] { build->showHEXClick(); }},
        {"EEPROMData1", nullptr, [build] { build->showDATAClick(); }},
        {"EpicProg", nullptr, [build] { build->EpicProgClick(); }},
        {"ExtProg", nullptr, [build] { build->ExtProgClick(); }},
        {"Standard_Bootloader_Option", nullptr, [build] { build->chooseBootloader(BootloaderType::Standard); }},
        {"KALTOR_IR_Bootloader_Option", nullptr, [build] { build->chooseBootloader(BootloaderType::KaltorIr); }},
        {"MELoader_Option", nullptr, [build] { build->chooseBootloader(BootloaderType::MELoader); }},
        {"External_Bootloader_Option", nullptr, [build] { build->chooseBootloader(BootloaderType::Other); }},
        {"ProgrammerPath1", nullptr, [build] { build->ProgrammerPathClick(); }},
        {"EPICPath1", nullptr, [build] { build->EPIC_DirectoryClick(); }},
        {"BootloaderPath1", nullptr, [build] { build->BootloaderPathClick(); }},
        {"MELOADERPath1", nullptr, [build] { build->MELoaderPathClick(); }},
    };
    for (const auto& command : commands) {
        QAction* item = action(command.action);
        item->setEnabled(true);
        // Checkable items get their check from the commands, not from the click itself.
        connect(item, &QAction::triggered, this, [item, run = command.run] {
            if (item->isCheckable())
                item->setChecked(!item->isChecked());
            run();
        });
        if (command.button) {
            toolButton(command.button)->setEnabled(true);
            connect(toolButton(command.button), &QToolButton::clicked, this, command.run);
        }
    }
    action("KALTOR_IR_Bootloader_Option")->setEnabled(false);
}

// ---- TBuildHost ---------------------------------------------------------------------------------

void TEditorMainForm::setPanelText(int index, const std::string& text)
{
    StatusBar1->setPanelText(index, cp1252ToQString(text));
}

bool TEditorMainForm::reportPaneVisible() const
{
    return !ReportMemo->isHidden();
}

void TEditorMainForm::setReportPaneVisible(bool visible)
{
    const bool opening = visible && ReportMemo->isHidden();
    ReportMemo->setVisible(visible);
    // The pane opens below the editor at a few lines' height; the user's splitter position
    // is kept from then on.
    if (opening && !m_reportSized) {
        const int total = Splitter1->height();
        const int pane = std::min(160, total / 3);
        Splitter1->setSizes({total - pane, pane});
        m_reportSized = true;
    }
}

// The splitter's handle shows and hides with the pane below it.
bool TEditorMainForm::splitterVisible() const
{
    return !ReportMemo->isHidden();
}

void TEditorMainForm::setSplitterVisible(bool) {}

void TEditorMainForm::setReportText(const std::vector<std::string>& lines)
{
    QStringList text;
    for (const std::string& line : lines)
        text.append(cp1252ToQString(line));
    ReportMemo->setPlainText(text.join('\n'));
}

bool TEditorMainForm::reportChecked() const
{
    return action("REPORTWindow1")->isChecked();
}

void TEditorMainForm::setReportChecked(bool checked)
{
    action("REPORTWindow1")->setChecked(checked);
}

void TEditorMainForm::focusMainWindow()
{
    activateWindow();
}

void TEditorMainForm::setListingItemChecked(ListingWindow window, bool checked)
{
    const char* item = window == ListingWindow::Assembler     ? "ASSEMBLERData1"
                       : window == ListingWindow::ProgramData ? "PROGRAMData1"
                                                              : "EEPROMData1";
    action(item)->setChecked(checked);
}

void TEditorMainForm::toolMenusChanged()
{
    const TProgrammerMenu& programmers = m_build->programmerMenu();
    action("EpicProg")->setChecked(programmers.checked() == ProgrammerType::Epic);
    action("ExtProg")->setChecked(programmers.checked() == ProgrammerType::Other);
    const TBootloaderMenu& bootloaders = m_build->bootloaderMenu();
    action("Standard_Bootloader_Option")->setChecked(bootloaders.isChecked(BootloaderType::Standard));
    action("MELoader_Option")->setChecked(bootloaders.isChecked(BootloaderType::MELoader));
    action("External_Bootloader_Option")->setChecked(bootloaders.isChecked(BootloaderType::Other));
    QAction* ir = action("KALTOR_IR_Bootloader_Option");
    ir->setEnabled(bootloaders.kaltorIrAvailable());
    ir->setVisible(bootloaders.kaltorIrAvailable());
    ir->setChecked(bootloaders.isChecked(BootloaderType::KaltorIr));
}

void TEditorMainForm::setUserProgrammerCaption(const std::string& caption)
{
    action("ExtProg")->setText(literalCaption(cp1252ToQString(caption)));
}

void TEditorMainForm::setUserBootloaderCaption(const std::string& caption)
{
    action("External_Bootloader_Option")->setText(literalCaption(cp1252ToQString(caption)));
}
