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
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>

namespace {

const char* const openFilter =
    "ZENBASIC files|*.bas;|INCLUDE files|*.inc;|ASM files|*.asm;|ZBX files|*.zbx;|All files|*.*";
const char* const saveFilter = "ZENBASIC files|*.bas;|INCLUDE files|*.inc;|All files|*.*";

TMessageResult ask(TMessageKind kind, const QString& text, TMessageButtons buttons)
{
    return messageBoxes().show(kind, applicationTitle, qStringToUtf8(text), buttons);
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

// Shows the record of tab index; the file shown before must have been put away.
void TEditorMainForm::makeCurrent(int index)
{
    m_current = m_files[static_cast<size_t>(index)].get();
    m_current->RestoreTo(*SourceMemo1);
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
    const int index = OpenFilesTab->addTab(caption);
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
        names.push_back(qStringToUtf8(name));
    m_settings->WriteList("MRU", names);
}

// The compile result, listing and HEX views follow the file shown.
void TEditorMainForm::RefreshBuildViews()
{
    m_build->setCurrentSource(m_current ? qStringToUtf8(m_current->FileName) : std::string());
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

bool TEditorMainForm::OpenFile(const QString& name)
{
    if (m_current && !QFileInfo::exists(name)) {
        ask(TMessageKind::Error, QString("Cannot Find or Open File\r\"%1\"").arg(name), TMessageButtons::Ok);
        return false;
    }
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
    if (m_current && StatusBar1->panelText(1) != "Modified" && m_current->IsUntitled() &&
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
        showError(utf8ToQString(error.Message()));
        SourceMemo1Change();
        return false;
    }
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
    request.initialFolder = qStringToUtf8(m_workingDirectory);
    if (const auto chosen = fileDialogs().run(request)) {
        OpenFile(utf8ToQString(*chosen));
        attachZenBasic();
    }
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
        m_recentFiles.append(utf8ToQString(name));
    for (const QString& name : m_recentFiles) {
        QAction* entry = Reopen1->addAction(name);
        connect(entry, &QAction::triggered, this, [this, name] { OpenFile(name); });
        placeholder->setVisible(false);
    }
}

// The previous version on disk becomes NAME.BAK, copied byte for byte. A file that is not on
// disk (deleted since it was opened) has nothing to back up.
bool TEditorMainForm::writeBackup(const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        return true;
    QFile previous(fileName);
    if (!previous.open(QIODevice::ReadOnly)) {
        showError(QString("Cannot open file %1").arg(fileName));
        return false;
    }
    const QByteArray bytes = previous.readAll();
    const QFileInfo info(fileName);
    const QString backup = info.path() + "/" + info.completeBaseName() + ".BAK";
    try {
        WriteFileAtomically(qStringToUtf8(backup), bytes.toStdString());
    } catch (const Exception& error) {
        showError(utf8ToQString(error.Message()));
        return false;
    }
    return true;
}

bool TEditorMainForm::SaveButtonClick()
{
    if (!m_current)
        return false;
    // An untitled file whose Save As was cancelled is not saved under the untitled name.
    if (m_current->IsUntitled() && (!SaveAs1Click() || m_current->IsUntitled()))
        return false;
    if (!writeBackup(m_current->FileName))
        return false;
    try {
        m_current->SaveTo(m_current->FileName, *SourceMemo1);
    } catch (const Exception& error) {
        showError(utf8ToQString(error.Message()));
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
    request.fileName = qStringToUtf8(m_current->FileName);
    request.initialFolder = qStringToUtf8(m_current->IsUntitled() ? m_workingDirectory
                                                                  : QFileInfo(m_current->FileName).absolutePath());
    request.confirmOverwrite = true;
    const auto chosen = fileDialogs().run(request);
    if (!chosen)
        return false;
    const QString before = m_current->FileName;
    try {
        m_current->SaveTo(utf8ToQString(*chosen), *SourceMemo1);
    } catch (const Exception& error) {
        showError(utf8ToQString(error.Message()));
        return false;
    }
    if (m_current->FileName != before) {
        OpenFilesTab->setTabText(OpenFilesTab->currentIndex(), fileNamePart(m_current->FileName));
        m_changingTabs = true;
        OpenFilesTab->setCurrentIndex(tabOf(m_current->FileName));
        m_changingTabs = false;
        StatusBar1->setPanelText(1, "");
    }
    SourceMemo1Change();
    return true;
}

bool TEditorMainForm::Close1Click()
{
    if (!m_current)
        return false;
    if (StatusBar1->panelText(1) == "Modified") {
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
}

void TEditorMainForm::SourceMemo1FilesDropped(const QStringList& names)
{
    SourceMemo1->Editor().SetSelection(0, 0);
    if (names.isEmpty() || !QFileInfo::exists(names.first()))
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
