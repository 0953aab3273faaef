// The file lifecycle of the main window: New, Open, Re-open, Save with its backup, Save As,
// Close, Close All, tab changes and dropped files. Every file is a TFileObject in a tab; the
// editor shows the current one, and switching files exchanges text stores with the editor.
#include "ide/EditorMainForm.h"

#include "base/Exception.h"
#include "editor/widget/SourceMemo.h"
#include "build/qt/BuildCommands.h"
#include "ide/ParserRepository.h"
#include "ide/StatusPanels.h"
#include "ide/ZbxEditProgram.h"
#include "ide/ZbxIni.h"
#include "platform/AtomicFile.h"
#include "platform/DiskState.h"
#include "platform/FileAccess.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"
#include "platform/SettingsProblems.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>

#include <limits>

namespace {

const char* const openFilter =
    "ZENBASIC files|*.bas;|INCLUDE files|*.inc;|ASM files|*.asm;|ZBX files|*.zbx;|All files|*.*";
const char* const saveFilter = "ZENBASIC files|*.bas;|INCLUDE files|*.inc;|All files|*.*";

TMessageResult ask(TMessageKind kind, const QString& text, TMessageButtons buttons)
{
    return messageBoxes().show(kind, applicationTitle, qStringToLocal(text), buttons);
}

bool existsOnDisk(const QString& name)
{
    return TDiskState::of(qStringToLocal(name)).exists;
}

QString fileNamePart(const QString& path)
{
    return QFileInfo(path).fileName();
}

} // namespace

// ---- the current file and the tabs -------------------------------------------------------------

// Hands the editor's text back to the current record; afterwards no file is shown.
void TEditorMainForm::putAwayCurrent()
{
    if (!m_current)
        return;
    m_current->StoreFrom(*SourceMemo1);
    m_current->ShowAllMarks = m_marksShown;
    m_current = nullptr;
}

// Shows the record of tab index, coloured as ZENBASIC; the file shown before must have been
// put away. (A new file's record names no parser, so without this an untitled file shown
// again, as at the exit question, lost its colours and its language's settings.)
void TEditorMainForm::makeCurrent(int index)
{
    m_current = m_files[static_cast<size_t>(index)].get();
    m_current->RestoreTo(*SourceMemo1);
    attachZenBasic();
    m_marksShown = m_current->ShowAllMarks;
    m_changingTabs = true;
    OpenFilesTab->setCurrentIndex(index);
    m_changingTabs = false;
}

int TEditorMainForm::addTab(std::unique_ptr<TFileObject> record)
{
    const QString caption = record->IsUntitled() ? TFileObject::UntitledName : fileNamePart(record->FileName);
    m_files.push_back(std::move(record));
    m_changingTabs = true;
    const int index = OpenFilesTab->addTab(literalCaption(caption));
    m_changingTabs = false;
    return index;
}

int TEditorMainForm::tabOf(const QString& fileName) const
{
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (m_files[i]->FileName == fileName) // names are compared exactly
            return static_cast<int>(i);
    }
    return -1;
}

void TEditorMainForm::removeTab(int index)
{
    m_changingTabs = true;
    OpenFilesTab->removeTab(index);
    m_changingTabs = false;
    m_files.erase(m_files.begin() + index);
}

void TEditorMainForm::rememberRecentFile(const QString& name)
{
    if (!m_recentFiles.contains(name, Qt::CaseInsensitive))
        m_recentFiles.prepend(name);
}

void TEditorMainForm::writeRecentFiles()
{
    std::vector<std::string> names;
    for (const QString& name : m_recentFiles)
        names.push_back(qStringToLocal(name));
    trySettingsAccess(m_settings->FileName(), [&] { m_settings->WriteList("MRU", names); });
}

// The compile result, listing and HEX views follow the file shown.
void TEditorMainForm::RefreshBuildViews()
{
    m_build->setCurrentSource(m_current ? m_current->DiskName() : std::string());
    // With the last file closed no result belongs to anything shown.
    if (!m_current)
        m_build->clearResult();
    m_build->RefreshBuildViews();
}

// Every file is coloured as ZENBASIC, whatever its extension.
void TEditorMainForm::attachZenBasic()
{
    if (TParserRepository* repository = TParserRepository::Instance())
        SourceMemo1->SetParser(1, repository->FindParser("ZENBASIC"));
    SourceMemo1->SetActiveParser(1);
}

// ---- commands ---------------------------------------------------------------------------------

// A FIFO, a device or a folder would block the load or make no sense as text: it is refused
// before anything is read.
bool TEditorMainForm::openRegularFile(const QString& name)
{
    const std::string path = qStringToLocal(name);
    if (!existsOnDisk(name) || isRegularFile(path))
        return true;
    showError(QString("Cannot open \"%1\"\rIt is not a regular file").arg(name));
    return false;
}

bool TEditorMainForm::OpenFile(const QString& name)
{
    if (m_current && !existsOnDisk(name)) {
        ask(TMessageKind::Error, QString("Cannot Find or Open File\r\"%1\"").arg(name), TMessageButtons::Ok);
        return false;
    }
    if (!openRegularFile(name))
        return false;
    const int open = tabOf(name);
    if (open >= 0) {
        activateWindow();
        raise();
        SourceMemo1->setFocus();
        const TMessageResult answer = ask(TMessageKind::Information,
                                          QString("File \"%1\" is already open\rDo you wish to reload ?").arg(name),
                                          TMessageButtons::YesNoCancel);
        if (answer != TMessageResult::Yes)
            return false;
        m_changingTabs = true;
        OpenFilesTab->setCurrentIndex(open);
        m_changingTabs = false;
        OpenFilesTabChange();
        // A reload the user cancelled at the save question keeps the open copy as it is.
        if (!Close1Click())
            return false;
    }
    // A pristine untitled first tab gives way to the file opened.
    if (m_current && !m_current->IsModifiedIn(*SourceMemo1) && m_current->IsUntitled() &&
        OpenFilesTab->currentIndex() <= 0)
        Close1Click();
    TFileObject* previous = m_current;
    putAwayCurrent();
    auto record = std::make_unique<TFileObject>();
    try {
        record->Load(name, *SourceMemo1);
    } catch (const Exception& error) {
        if (previous)
            makeCurrent(static_cast<int>(std::find_if(m_files.begin(), m_files.end(),
                                                      [previous](const auto& f) { return f.get() == previous; }) -
                                         m_files.begin()));
        showError(localToQString(error.Message()));
        SourceMemo1Change();
        return false;
    }
    record->ReadOnly = !userMayWrite(record->DiskName());
    addTab(std::move(record));
    makeCurrent(tabOf(name));
    findChild<QWidget*>("EditArea")->setVisible(true);
    SourceMemo1->setFocus();
    SourceMemo1Change();
    m_workingDirectory = QFileInfo(name).absolutePath();
    if (!m_dropOpen)
        writeZbxIni("WORKING_DIRECTORY", "PATHNAME", m_workingDirectory);
    m_dropOpen = false;
    RefreshBuildViews();
    return true;
}

void TEditorMainForm::NewButtonClick()
{
    putAwayCurrent();
    auto record = std::make_unique<TFileObject>();
    record->InitNew(*SourceMemo1);
    const int index = addTab(std::move(record));
    makeCurrent(index);
    findChild<QWidget*>("EditArea")->setVisible(true);
    SourceMemo1Change();
    SourceMemo1->setFocus();
    attachZenBasic();
    RefreshBuildViews();
}

void TEditorMainForm::OpenButtonClick()
{
    m_workingDirectory = zbxIniString(incFile("ZBX.INI"), "WORKING_DIRECTORY", "PATHNAME", m_workingDirectory);
    TFileDialogRequest request;
    request.kind = TFileDialogKind::Open;
    request.filter = openFilter;
    request.initialFolder = qStringToLocal(m_workingDirectory);
    if (const auto chosen = fileDialogs().run(request)) {
        OpenFile(localToQString(*chosen));
        attachZenBasic();
    }
}

void TEditorMainForm::OpenHandedOverFile(const QString& name)
{
    if (!m_activated) {
        m_handedOverFiles.append(name);
        return;
    }
    OpenFile(name);
    attachZenBasic();
}

void TEditorMainForm::ReOpenFileClick()
{
    if (m_current)
        OpenFile(m_current->FileName);
}

void TEditorMainForm::BuildReopenMenu()
{
    if (!Reopen1 || !m_settings)
        return;
    const auto entries = Reopen1->actions();
    for (int i = 1; i < entries.size(); ++i) {
        Reopen1->removeAction(entries[i]);
        entries[i]->deleteLater();
    }
    QAction* placeholder = entries.isEmpty() ? Reopen1->addAction(QString()) : entries.first();
    placeholder->setText("<No entries>");
    placeholder->setEnabled(false);
    placeholder->setVisible(true);
    m_recentFiles.clear();
    for (const auto& name : m_settings->ReadList("MRU"))
        m_recentFiles.append(localToQString(name));
    for (const QString& name : m_recentFiles) {
        QAction* entry = Reopen1->addAction(literalCaption(name));
        connect(entry, &QAction::triggered, this, [this, name] { OpenFile(name); });
        placeholder->setVisible(false);
    }
}

// The previous version on disk becomes NAME.BAK, copied byte for byte. A file that is not on
// disk (deleted since it was opened) has nothing to back up.
bool TEditorMainForm::writeBackup(const QString& fileName)
{
    const std::string path = qStringToLocal(fileName);
    if (!TDiskState::of(path).exists)
        return true;
    std::string bytes;
    try {
        if (!isRegularFile(path))
            throw EFOpenError(Format("Cannot open file %s", path.c_str()));
        readRegularFile(path, std::numeric_limits<long long>::max(), bytes);
        const QFileInfo info(fileName);
        const QString backup = info.path() + "/" + info.completeBaseName() + ".BAK";
        WriteFileAtomically(qStringToLocal(backup), bytes);
    } catch (const Exception& error) {
        showError(localToQString(error.Message()));
        return false;
    }
    return true;
}

// Whether the file may be replaced: when another program changed it since it was loaded or
// saved, the user decides. A file deleted meanwhile has nothing to lose.
bool TEditorMainForm::confirmOverwriteOnDisk()
{
    const TDiskState now = TDiskState::of(m_current->DiskName());
    if (!now.exists || now == m_current->SavedDiskState)
        return true;
    m_current->AskedDiskState = now;
    const QString question = QString("File \"%1\" has been changed by another program since it was opened or saved."
                                     "\r\nOverwrite it with the text shown here?").arg(m_current->FileName);
    return ask(TMessageKind::Confirmation, question, TMessageButtons::YesNo) == TMessageResult::Yes;
}

bool TEditorMainForm::SaveButtonClick()
{
    return saveCurrent(false);
}

bool TEditorMainForm::saveCurrent(bool overwriteConfirmed)
{
    if (!m_current)
        return false;
    if (m_current->IsUntitled()) {
        // An untitled file whose Save As was cancelled is not saved under the untitled name.
        if (!SaveAs1Click() || m_current->IsUntitled())
            return false;
    } else if (m_current->ReadOnly) {
        // A file the user may not write is saved under another name, never replaced.
        const QString question =
            QString("File \"%1\" is read-only.\r\nSave it under another name?").arg(m_current->FileName);
        if (ask(TMessageKind::Information, question, TMessageButtons::OkCancel) != TMessageResult::Ok ||
            !SaveAs1Click())
            return false;
    } else if (!overwriteConfirmed && !confirmOverwriteOnDisk()) {
        return false;
    }
    if (!writeBackup(m_current->FileName))
        return false;
    try {
        m_current->SaveTo(m_current->FileName, *SourceMemo1);
    } catch (const Exception& error) {
        showError(localToQString(error.Message()));
        return false;
    }
    SourceMemo1Change();
    return true;
}

bool TEditorMainForm::SaveAs1Click()
{
    if (!m_current)
        return false;
    writeZbxIni("WORKING_DIRECTORY", "PATHNAME", m_workingDirectory);
    TFileDialogRequest request;
    request.kind = TFileDialogKind::Save;
    request.filter = saveFilter;
    request.fileName = m_current->DiskName();
    request.initialFolder = qStringToLocal(m_current->IsUntitled() ? m_workingDirectory
                                                                   : QFileInfo(m_current->FileName).absolutePath());
    request.confirmOverwrite = true;
    const auto chosen = fileDialogs().run(request);
    if (!chosen)
        return false;
    const QString name = localToQString(*chosen);
    // Two tabs on one file would each save over the other's text; the other tab is closed first.
    const int other = tabOf(name);
    if (other >= 0 && m_files[static_cast<size_t>(other)].get() != m_current) {
        showError(QString("File \"%1\" is open in another tab.\rClose it first, or choose another name.").arg(name));
        return false;
    }
    const QString before = m_current->FileName;
    try {
        m_current->SaveTo(name, *SourceMemo1);
    } catch (const Exception& error) {
        showError(localToQString(error.Message()));
        return false;
    }
    if (m_current->FileName != before) {
        OpenFilesTab->setTabText(OpenFilesTab->currentIndex(), literalCaption(fileNamePart(m_current->FileName)));
        StatusBar1->setPanelText(1, "");
    }
    SourceMemo1Change();
    return true;
}

bool TEditorMainForm::Close1Click()
{
    if (!m_current)
        return false;
    // The question follows the file's own state, not a status panel that may show another's.
    if (m_current->IsModifiedIn(*SourceMemo1)) {
        const TMessageResult answer =
            ask(TMessageKind::Confirmation,
                QString("File \"%1\" has been modified\r\nSave changes ?").arg(m_current->FileName),
                TMessageButtons::YesNoCancel);
        if (answer == TMessageResult::Cancel)
            return false;
        // A save that did not happen (cancelled or failed) must not lose the text.
        if (answer == TMessageResult::Yes && !SaveButtonClick())
            return false;
    }
    if (!m_current->IsUntitled())
        rememberRecentFile(m_current->FileName);
    writeRecentFiles();
    const int index = OpenFilesTab->currentIndex();
    putAwayCurrent();
    removeTab(index);
    if (!m_files.empty()) {
        makeCurrent(std::min(index, static_cast<int>(m_files.size()) - 1));
        SourceMemo1->setFocus();
    }
    SourceMemo1Change();
    RefreshBuildViews();
    attachZenBasic();
    BuildReopenMenu();
    return true;
}

void TEditorMainForm::CloseAll1Click()
{
    while (!m_files.empty()) {
        if (!Close1Click())
            return;
    }
}

void TEditorMainForm::OpenFilesTabChange()
{
    const int index = OpenFilesTab->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_files.size()) || m_files[static_cast<size_t>(index)].get() == m_current)
        return;
    putAwayCurrent();
    makeCurrent(index);
    attachZenBasic();
    SourceMemo1->setFocus();
    setWindowTitle(m_current->FileName);
    SourceMemo1Change();
    RefreshBuildViews();
    checkCurrentOnDisk();
}

void TEditorMainForm::ApplicationActivate()
{
    checkCurrentOnDisk();
}

// Asks once about each new disk state of the file shown: reload it when only the disk changed,
// overwrite the disk when both changed (the other program's version goes to the backup), or
// tell that it is gone. Other tabs are checked when they are shown and before they are saved.
void TEditorMainForm::checkCurrentOnDisk()
{
    if (!m_current || m_current->IsUntitled() || m_checkingDisk)
        return;
    const TDiskState now = TDiskState::of(m_current->DiskName());
    if (now == m_current->SavedDiskState || now == m_current->AskedDiskState)
        return;
    m_checkingDisk = true;
    m_current->AskedDiskState = now;
    const QString name = m_current->FileName;
    if (!now.exists) {
        ask(TMessageKind::Information,
            QString("File \"%1\" has been deleted or moved by another program.\rIts text stays open here; "
                    "Save writes it again.").arg(name),
            TMessageButtons::Ok);
    } else if (!m_current->IsModifiedIn(*SourceMemo1)) {
        if (ask(TMessageKind::Confirmation,
                QString("File \"%1\" has been changed by another program.\rDo you wish to reload it ?").arg(name),
                TMessageButtons::YesNo) == TMessageResult::Yes)
            reloadCurrent();
    } else if (ask(TMessageKind::Confirmation,
                   QString("File \"%1\" has been changed by another program and has changes here that are not "
                           "saved.\r\nOverwrite it with the text shown here?").arg(name),
                   TMessageButtons::YesNo) == TMessageResult::Yes) {
        saveCurrent(true);
    }
    m_checkingDisk = false;
}

// Loads the current file's disk version into its own tab, keeping the caret and scroll place.
bool TEditorMainForm::reloadCurrent()
{
    const int index = OpenFilesTab->currentIndex();
    TFileObject* shown = m_current;
    const TSelectionPair selection = SourceMemo1->Editor().Selection();
    const int64_t topLine = SourceMemo1->TopRow() + 1;
    putAwayCurrent();
    auto fresh = std::make_unique<TFileObject>();
    try {
        fresh->Load(shown->FileName, *SourceMemo1);
    } catch (const Exception& error) {
        makeCurrent(index);
        showError(localToQString(error.Message()));
        return false;
    }
    fresh->ReadOnly = !userMayWrite(fresh->DiskName());
    fresh->Selection = selection;
    fresh->TopLine = topLine;
    m_files[static_cast<size_t>(index)] = std::move(fresh);
    makeCurrent(index);
    SourceMemo1Change();
    RefreshBuildViews();
    return true;
}

void TEditorMainForm::SourceMemo1FilesDropped(const QStringList& names)
{
    SourceMemo1->Editor().SetSelection(0, 0);
    if (names.isEmpty() || !existsOnDisk(names.first()))
        return;
    m_dropOpen = true;
    OpenFile(names.first());
    m_dropOpen = false;
    activateWindow();
    raise();
}

void TEditorMainForm::connectFileCommands()
{
    const struct {
        const char* action;
        const char* button;
        std::function<void()> run;
    } commands[] = {
        {"New1", "NewButton", [this] { NewButtonClick(); }},
        {"Open1", "OpenButton", [this] { OpenButtonClick(); }},
        {"Save1", "SaveButton", [this] { SaveButtonClick(); }},
        {"SaveAs1", nullptr, [this] { SaveAs1Click(); }},
        {"Close1", nullptr, [this] { Close1Click(); }},
        {"CloseAll1", nullptr, [this] { CloseAll1Click(); }},
    };
    for (const auto& command : commands) {
        QAction* item = action(command.action);
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, command.run);
        if (command.button) {
            toolButton(command.button)->setEnabled(true);
            connect(toolButton(command.button), &QToolButton::clicked, this, command.run);
        }
    }
    connect(OpenFilesTab, &QTabBar::currentChanged, this, [this] {
        if (!m_changingTabs)
            OpenFilesTabChange();
    });
}
