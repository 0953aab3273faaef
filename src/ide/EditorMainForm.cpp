#include "ide/EditorMainForm.h"

#include "ide/StatusPanels.h"
#include "editor/widget/SourceMemo.h"
#include "ide/ZbxIni.h"
#include "platform/FileLookup.h"
#include "platform/Folders.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"
#include "editor/text/TextStore.h"
#include "base/Exception.h"
#include "ide/ZbxEditProgram.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString untitledName = QStringLiteral("No_name.bas");
constexpr int hintMilliseconds = 2000;
} // namespace

TEditorMainForm::TEditorMainForm(const QStringList& arguments, QWidget* parent) : QMainWindow(parent)
{
    setObjectName("EditorMainForm");
    setWindowTitle("KALTOR+");
    setMinimumSize(400, 200);
    createToolBar();
    createMenus();
    createClientArea();
    FInfoTimer = new QTimer(this);
    FInfoTimer->setInterval(hintMilliseconds);
    connect(FInfoTimer, &QTimer::timeout, this, &TEditorMainForm::InfoTimerTimer);
    if (arguments.size() > 1 && !arguments.at(1).isEmpty())
        m_startFile = arguments.at(1);
    FormCreate();
}

TEditorMainForm::~TEditorMainForm()
{
    FormDestroy();
}

QAction* TEditorMainForm::action(const QString& name) const
{
    return findChild<QAction*>(name);
}

QToolButton* TEditorMainForm::toolButton(const QString& name) const
{
    return findChild<QToolButton*>(name);
}

// ---- start-up and shut-down ------------------------------------------------------------------

void TEditorMainForm::FormCreate()
{
    m_device = "16F84";
    m_compileFailed = false;
    m_marksShown = false;
    // The first untitled file: its tab stays until the window is shown.
    newUntitledFile();
    m_settings = std::make_unique<TEdPersistent>(
        resolveIgnoringCase(applicationFolder(), "KALTOR.DAT"));
    m_settings->LastFindText.clear();
    m_settings->LastFindOptions = 0;
    BuildReopenMenu();
}

void TEditorMainForm::FormShow()
{
    closeCurrentFile();
}

void TEditorMainForm::FormActivate()
{
    if (m_activated)
        return;
    m_activated = true;
    if (!m_startFile.isEmpty()) {
        if (!openStartFile(m_startFile))
            return;
    } else {
        newUntitledFile();
    }
    if (QFileInfo::exists(incFile("KALTIR_BOOT.EXE"))) {
        action("KALTOR_IR_Bootloader_Option")->setEnabled(true);
        action("KALTOR_IR_Bootloader_Option")->setVisible(true);
    }
    SourceMemo1Change();
}

bool TEditorMainForm::FormClose()
{
    if (!m_hasCurrentFile)
        return true;
    while (OpenFilesTab->count() > 0)
        closeCurrentFile();
    if (Reopen1) {
        const auto entries = Reopen1->actions();
        for (int i = 1; i < entries.size(); ++i)
            Reopen1->removeAction(entries[i]);
    }
    return true;
}

void TEditorMainForm::FormDestroy()
{
    m_settings.reset();
    m_recentFiles.clear();
}

void TEditorMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
    // Activation is not guaranteed without a window manager; the first activation runs once
    // either way.
    QTimer::singleShot(0, this, &TEditorMainForm::FormActivate);
}

void TEditorMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_shown)
        FormActivate();
}

void TEditorMainForm::closeEvent(QCloseEvent* event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

void TEditorMainForm::Exit1Click()
{
    close();
}

// ---- files (the full file lifecycle builds on these) -----------------------------------------

bool TEditorMainForm::openStartFile(const QString& fileName)
{
    auto store = std::make_unique<TTextStore>();
    try {
        store->LoadFromFile(qStringToUtf8(fileName));
    } catch (const Exception& error) {
        showError(utf8ToQString(error.Message()));
        return false;
    }
    m_store = std::move(store);
    SourceMemo1->AttachStore(m_store.get());
    m_currentFileName = QFileInfo(fileName).absoluteFilePath();
    OpenFilesTab->addTab(QFileInfo(fileName).fileName());
    m_hasCurrentFile = true;
    OpenFilesTab->setCurrentIndex(OpenFilesTab->count() - 1);
    m_workingDirectory = QFileInfo(fileName).absolutePath();
    writeZbxIni("WORKING_DIRECTORY", "PATHNAME", m_workingDirectory);
    SourceMemo1Change();
    return true;
}

void TEditorMainForm::newUntitledFile()
{
    m_store = std::make_unique<TTextStore>();
    SourceMemo1->AttachStore(m_store.get());
    m_currentFileName = untitledName;
    OpenFilesTab->addTab(untitledName);
    OpenFilesTab->setCurrentIndex(OpenFilesTab->count() - 1);
    m_hasCurrentFile = true;
    SourceMemo1Change();
}

void TEditorMainForm::closeCurrentFile()
{
    if (!m_hasCurrentFile)
        return;
    if (m_currentFileName != untitledName && !m_recentFiles.contains(m_currentFileName, Qt::CaseInsensitive))
        m_recentFiles.prepend(m_currentFileName);
    std::vector<std::string> names;
    for (const auto& name : m_recentFiles)
        names.push_back(name.toStdString());
    m_settings->WriteList("MRU", names);
    OpenFilesTab->removeTab(OpenFilesTab->currentIndex());
    SourceMemo1->AttachStore(nullptr);
    m_store.reset();
    m_hasCurrentFile = OpenFilesTab->count() > 0;
    SourceMemo1Change();
    BuildReopenMenu();
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
        m_recentFiles.append(QString::fromStdString(name));
    for (const auto& name : m_recentFiles) {
        QAction* entry = Reopen1->addAction(name);
        entry->setEnabled(false); // opening arrives with the file lifecycle
        placeholder->setVisible(false);
    }
}

// ---- refresh ----------------------------------------------------------------------------------

QString TEditorMainForm::incFile(const QString& name) const
{
    return QString::fromStdString(resolveIgnoringCase(includeFolder(), name.toStdString()));
}

void TEditorMainForm::writeZbxIni(const char* section, const char* key, const QString& value) const
{
    zbxIniWrite(incFile("ZBX.INI"), section, key, value);
}

void TEditorMainForm::showError(const QString& text)
{
    messageBoxes().show(TMessageKind::Error, applicationTitle, text.toStdString(), TMessageButtons::Ok);
}

void TEditorMainForm::SourceMemo1Change()
{
    m_programmerName = zbxIniString(incFile("ZBX.INI"), "EXT_PROG", "NAME", "Undefined");
    m_bootloaderName = zbxIniString(incFile("ZBX.INI"), "EXT_BOOTLOADER", "NAME", "Undefined");
    refreshProgrammerItems();
    refreshBootloaderItems();
    setFileCommandsVisible(m_hasCurrentFile);
    if (m_hasCurrentFile) {
        const TSourceEditor& editor = SourceMemo1->Editor();
        StatusBar1->setPanelText(0, QString::asprintf("%6lld:%4lld", static_cast<long long>(editor.CaretLine()),
                                                      static_cast<long long>(editor.CaretCol())));
        StatusBar1->setPanelText(1, editor.Modified() ? "Modified" : "");
        const bool selection = editor.SelLength() > 0;
        for (const char* name : {"CutButton", "CopyButton", "IndentButton", "UnindentButton"})
            toolButton(name)->setEnabled(false); // their commands arrive with the edit menu
        action("Copy1")->setEnabled(false);
        (void)selection;
        action("SearchAgain1")->setEnabled(m_settings && !m_settings->LastFindText.empty());
        if (!FInfoTimer->isActive())
            StatusBar1->setPanelText(5, SourceMemo1->ReadOnly() ? " Read only"
                                        : editor.InsertMode() ? " Insert" : " Overwrite");
        setWindowTitle(m_currentFileName);
    } else {
        for (const char* name : {"ASSEMBLERData1", "PROGRAMData1", "EEPROMData1", "REPORTWindow1"})
            action(name)->setChecked(false);
        setWindowTitle("KALTOR+ Compiler");
    }
}

void TEditorMainForm::refreshProgrammerItems()
{
    const QString type = zbxIniString(incFile("ZBX.INI"), "PROGRAMMER", "TYPE", "EPIC");
    action("ExtProg")->setText(m_programmerName);
    if (type == "EPIC") {
        action("EpicProg")->setChecked(true);
        action("ExtProg")->setChecked(false);
    } else if (type == "OTHER") {
        action("EpicProg")->setChecked(false);
        action("ExtProg")->setChecked(true);
    }
}

void TEditorMainForm::refreshBootloaderItems()
{
    const QString type = zbxIniString(incFile("ZBX.INI"), "BOOTLOADER", "TYPE", "STANDARD");
    action("External_Bootloader_Option")->setText(m_bootloaderName);
    static const struct {
        const char* type;
        const char* item;
    } choices[] = {{"STANDARD", "Standard_Bootloader_Option"},
                   {"KALTOR_IR", "KALTOR_IR_Bootloader_Option"},
                   {"MELOADER", "MELoader_Option"},
                   {"OTHER", "External_Bootloader_Option"}};
    bool known = false;
    for (const auto& choice : choices)
        known = known || type == choice.type;
    if (!known)
        return;
    for (const auto& choice : choices) {
        QAction* item = action(choice.item);
        // The IR item keeps its check while it is disabled (its downloader is not installed).
        if (item->objectName() == "KALTOR_IR_Bootloader_Option" && !item->isEnabled())
            continue;
        item->setChecked(type == choice.type);
    }
}

// ---- hints ------------------------------------------------------------------------------------

bool TEditorMainForm::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (!tip.isEmpty())
            ShowInfo(tip);
        return true;
    }
    return QMainWindow::event(event);
}

void TEditorMainForm::ShowInfo(const QString& hint)
{
    if (!FInfoTimer->isActive())
        m_savedPanelText = StatusBar1->panelText(5);
    StatusBar1->setPanelText(5, "  " + hint);
    FInfoTimer->start();
    StatusBar1->repaint();
}

void TEditorMainForm::InfoTimerTimer()
{
    StatusBar1->setPanelText(5, m_savedPanelText);
    FInfoTimer->stop();
    SourceMemo1Change();
}
