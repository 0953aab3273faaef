#include "ide/EditorMainForm.h"

#include "build/qt/BuildCommands.h"
#include "ide/ParserRepository.h"
#include "ide/StatusPanels.h"
#include "editor/widget/SourceMemo.h"
#include "ide/SettingsLocation.h"
#include "ide/ZbxIni.h"
#include "platform/FileLookup.h"
#include "platform/Folders.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"
#include "platform/RegistryKey.h"
#include "platform/SettingsProblems.h"
#include "editor/text/TextStore.h"
#include "base/Exception.h"
#include "ide/ZbxEditProgram.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace {
constexpr int hintMilliseconds = 2000;
} // namespace

TEditorMainForm::TEditorMainForm(const QStringList& arguments, std::string perUserFolder, QWidget* parent)
    : QMainWindow(parent), m_perUserFolder(perUserFolder.empty() ? defaultRegistryFolder() : std::move(perUserFolder))
{
    setObjectName("EditorMainForm");
    setWindowTitle("KALTOR+");
    setMinimumSize(400, 200);
    createToolBar();
    createMenus();
    createToolItems();
    createClientArea();
    m_build = std::make_unique<TBuildCommands>(
        *this, TBuildFolders{applicationFolder(), includeFolder(), qStringToLocal(incFile("ZBX.INI"))}, this);
    connectFileCommands();
    connectBuildCommands();
    connectOptionsCommands();
    connectEditCommands();
    connectSearchCommands();
    connectToolCommands();
    connectPrintCommands();
    FInfoTimer = new QTimer(this);
    FInfoTimer->setInterval(hintMilliseconds);
    connect(FInfoTimer, &QTimer::timeout, this, &TEditorMainForm::InfoTimerTimer);
    if (arguments.size() > 1 && !arguments.at(1).isEmpty())
        m_startFile = arguments.at(1);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && m_activated)
            ApplicationActivate();
    });
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
    m_marksShown = false;
    m_pageSetup = printers().defaultPageSetup();
    // The first untitled file: its tab stays until the window is shown.
    NewButtonClick();
    const TSettingsFileLocation location = kaltorDatLocation(applicationFolder(), m_perUserFolder);
    m_settings = std::make_unique<TEdPersistent>(location.fileName, location.seedFileName);
    if (!m_settings->LoadProblem().empty())
        reportSettingsProblem(m_settings->FileName(), m_settings->LoadProblem());
    m_settings->LastFindText.clear();
    m_settings->LastFindOptions = 0;
    BuildReopenMenu();
}

void TEditorMainForm::FormShow()
{
    Close1Click();
    loadParserSettings();
}

// Damaged stored settings are reported; the languages keep the settings they had.
void TEditorMainForm::loadParserSettings()
{
    TParserRepository* repository = TParserRepository::Instance();
    if (!repository)
        return;
    try {
        repository->LoadSettings();
    } catch (const Exception& error) {
        showError(localToQString(error.Message()));
    }
}

void TEditorMainForm::FormActivate()
{
    if (m_activated)
        return;
    m_activated = true;
    const bool started = m_startFile.isEmpty() ? (NewButtonClick(), true) : OpenFile(m_startFile);
    if (started) {
        loadParserSettings();
        m_build->detectKaltorIr();
        BuildRunMenus();
        SourceMemo1Change();
    }
    for (const QString& name : std::exchange(m_handedOverFiles, {}))
        OpenHandedOverFile(name);
}

// Asks about every modified file, first tab first; Cancel keeps the program running with the
// tabs not yet closed.
bool TEditorMainForm::FormClose()
{
    if (!m_current)
        return true;
    putAwayCurrent();
    while (!m_files.empty()) {
        TFileObject& first = *m_files.front();
        if (first.IsModified()) {
            makeCurrent(0);
            // The caption and status bar name the file the question is about.
            SourceMemo1Change();
            const TMessageResult answer = messageBoxes().show(
                TMessageKind::Confirmation, applicationTitle,
                qStringToLocal(QString("File \"%1\" has been modified\r\nSave changes ?").arg(first.FileName)),
                TMessageButtons::YesNoCancel);
            if (answer == TMessageResult::Cancel)
                return false;
            if (answer == TMessageResult::Yes && !SaveButtonClick())
                return false;
            putAwayCurrent();
        }
        if (!first.IsUntitled())
            rememberRecentFile(first.FileName);
        writeRecentFiles();
        removeTab(0);
    }
    m_current = nullptr;
    if (TParserRepository* repository = TParserRepository::Instance()) {
        try {
            repository->SaveSettings();
        } catch (const Exception& error) {
            showError(localToQString(error.Message()));
        }
    }
    if (Reopen1) {
        const auto entries = Reopen1->actions();
        for (int i = 1; i < entries.size(); ++i)
            Reopen1->removeAction(entries[i]);
    }
    return true;
}

void TEditorMainForm::FormDestroy()
{
    SourceMemo1->SetPrinter(nullptr);
    m_printer.reset();
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

// ---- refresh ----------------------------------------------------------------------------------

QString TEditorMainForm::incFile(const QString& name) const
{
    return localToQString(resolveIgnoringCase(includeFolder(), qStringToLocal(name)));
}

// A ZBX.INI that cannot be written (a read-only installation) is reported once; the command
// goes on.
void TEditorMainForm::writeZbxIni(const char* section, const char* key, const QString& value) const
{
    const QString ini = incFile("ZBX.INI");
    trySettingsAccess(qStringToLocal(ini), [&] { zbxIniWrite(ini, section, key, value); });
}

void TEditorMainForm::showError(const QString& text)
{
    messageBoxes().show(TMessageKind::Error, applicationTitle, qStringToLocal(text), TMessageButtons::Ok);
}

void TEditorMainForm::SourceMemo1Change()
{
    m_build->refreshToolMenus();
    setFileCommandsVisible(m_current != nullptr);
    if (m_current) {
        const TSourceEditor& editor = SourceMemo1->Editor();
        StatusBar1->setPanelText(0, QString::asprintf("%6lld:%4lld", static_cast<long long>(editor.CaretLine()),
                                                      static_cast<long long>(editor.CaretCol())));
        StatusBar1->setPanelText(1, m_current->IsModifiedIn(*SourceMemo1) ? "Modified" : "");
        const bool selection = editor.SelLength() > 0;
        for (const char* name : {"CutButton", "CopyButton", "IndentButton", "UnindentButton"})
            toolButton(name)->setEnabled(selection);
        toolButton("UndoButton")->setEnabled(editor.Modified());
        toolButton("RedoButton")->setEnabled(editor.CanRedo());
        const QMimeData* clipboard = QApplication::clipboard()->mimeData();
        toolButton("PasteButton")->setEnabled(clipboard && clipboard->hasText());
        action("SearchAgain1")->setEnabled(m_settings && !m_settings->LastFindText.empty());
        if (!FInfoTimer->isActive())
            StatusBar1->setPanelText(5, SourceMemo1->ReadOnly() ? " Read only"
                                        : editor.InsertMode() ? " Insert" : " Overwrite");
        setWindowTitle(m_current->FileName);
    } else {
        m_build->hideListingWindows();
        action("REPORTWindow1")->setChecked(false);
        setWindowTitle("KALTOR+ Compiler");
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
