// The IDE's main window: tool bar, menus, the tab strip of open files around the editor, the
// report pane and the status bar, with the start-up and shut-down handlers and the one refresh
// (SourceMemo1Change) that brings menus, buttons, caption and status bar in line with the file
// shown. Settings live in ZBX.INI (read afresh on every use) and KALTOR.DAT; a settings file
// that cannot be read or written is reported once and never stops a command.
// Invariants: m_files[i] is the record of tab i; the current file is the record of the
// selected tab, or none when no tab is open; the editor shows the current file's text.
#pragma once

#include "build/qt/BuildHost.h"
#include "ide/EdPersistent.h"
#include "ide/FileObject.h"
#include "platform/Printers.h"
#include "ide/search/ShowAllMarks.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QSplitter;
class QTabBar;
class QTimer;
class QToolButton;
class QPainter;
class TASCII;
class TBuildCommands;
class TEdFindDlg;
class TEdReplDlg;
class TFindInFilesForm;
class TGotoLineDialog;
class TMark;
class TSourceEditor;
class TSourceMemo;
class TStatusPanels;

class TEditorMainForm : public QMainWindow, public TBuildHost
{
    Q_OBJECT
public:
    // arguments: the command line, the program first (file names as localToQString gives
    // them). perUserFolder: the per-user configuration folder (empty: the user's own), where
    // KALTOR.DAT lives when the program folder cannot be written.
    explicit TEditorMainForm(const QStringList& arguments, std::string perUserFolder = {},
                             QWidget* parent = nullptr);
    ~TEditorMainForm() override;

    // The refresh of menus, tool buttons, caption and status bar; commands call it after they act.
    void SourceMemo1Change();
    // Shows a hint in status panel 5 for two seconds.
    void ShowInfo(const QString& hint);

    // File commands. Each answers false when the user cancelled or it failed.
    bool OpenFile(const QString& name);
    // A file a later copy of the program handed over: opened as File > Open opens a chosen
    // file, once the first activation has opened the start file.
    void OpenHandedOverFile(const QString& name);
    void NewButtonClick();
    void OpenButtonClick();
    void ReOpenFileClick();
    bool SaveButtonClick();
    bool SaveAs1Click();
    bool Close1Click();
    void CloseAll1Click();
    void OpenFilesTabChange();
    void SourceMemo1FilesDropped(const QStringList& names);
    // The user came back to the program: the file shown is compared with its disk version,
    // and a change made by another program is asked about (reload or overwrite).
    void ApplicationActivate();
    // Rebuilds the Re-open menu from [MRU] of KALTOR.DAT.
    void BuildReopenMenu();

    // Build commands (EditorMainFormBuild.cpp).
    void CompileButtonClick();
    void CompilethenDownload1Click();
    TBuildCommands& buildCommands() { return *m_build; }

    // Editor settings commands of the Options menu (EditorMainFormOptions.cpp).
    void Properties1Click();
    void Font1Click();
    void Linenumberfont1Click();
    void BackgroundColour1Click();

    // Printing (EditorMainFormPrint.cpp). The page set-up record keeps the printer chosen and
    // the margins in thousandths of an inch; at start it holds the default printer and no
    // margins. Print Setup changes it through the page set-up dialog (Cancel changes nothing);
    // Print hands the editor the sheet less the margins and prints the current file. With
    // nowhere to print (no printer installed and no PDF file chosen) both say so in a box.
    void PrintSetup1Click();
    void PrintButtonClick();
    // Key command 44: the lines of the selection, on the printer and area Print would use.
    void PrintSelectionClick();
    const TPageSetup& pageSetup() const { return m_pageSetup; }
    // Edit commands of the tool buttons, the Edit menu and the editor's pop-up menu
    // (EditorMainFormEdit.cpp).
    void UndoButtonClick();
    void RedoButtonClick();
    void CutButtonClick();
    void CopyButtonClick();
    void PasteButtonClick();
    void IndentButtonClick();
    void UndentButtonClick();
    void Delete1Click();
    void SelectAll1Click();
    void Upper1Click();
    void Lower1Click();
    void Capitalise1Click();
    // The Edit menu and the pop-up menu opening: their items follow the editor's state.
    void Edit1Click();
    void PopupMenu1Popup();
    // The pop-up's bookmark items: toggle bookmark n at the caret, go to bookmark n.
    void Bookmark91Click(QAction* item);
    void Bookmark92Click(QAction* item);

    // Search commands (EditorMainFormSearch.cpp).
    void Find1Click();
    void Replace1Click();
    void Searchagain1Click();
    void Showall1Click();
    void Gotolinenumber1Click();
    // The dialogs, made on first use.
    TEdFindDlg& EdFindDlg();
    TEdReplDlg& EdReplDlg();
    TGotoLineDialog& GotoLineDialog();
    // Show all marks are present in the editor.
    bool marksShown() const;

    // External programs, the View and Help launchers and Find in Files (EditorMainFormTools.cpp).
    // The Run menus list the tool programs of <inc>EXTERNAL PROGRAMS; built once, at the first
    // activation.
    void BuildRunMenus();
    // Runs the tool program fileName of that folder, waits for it, then inserts the text it left
    // in RES_FILE.TXT at the caret (over the selection) and empties that file.
    void RunExternalProgram(const QString& fileName);
    void Terminal1Click();
    void CalculatorItemClick();
    void ASCIITable1Click();
    void HelpMenuItemClick();
    void About1Click();
    void FindInFiles1Click();
    // Opens name (or shows its tab) and puts the caret at the start of the 1-based line.
    void OpenFileAtLine(const QString& name, int64_t line);
    TASCII* asciiTable() const { return m_ascii; }
    TFindInFilesForm* findInFiles() const { return m_findInFiles; }

    // State the build and device commands read and write.
    QString device() const;
    bool compileFailed() const;
    QString startFile() const { return m_startFile; }
    TEdPersistent& settings() { return *m_settings; }
    QStringList recentFiles() const { return m_recentFiles; }
    TFileObject* currentFile() const { return m_current; }
    int fileCount() const { return static_cast<int>(m_files.size()); }
    TFileObject& file(int index) const { return *m_files[static_cast<size_t>(index)]; }

    // Controls, under the names the rest of the program knows them by.
    QTabBar* OpenFilesTab = nullptr;
    TSourceMemo* SourceMemo1 = nullptr;
    QPlainTextEdit* ReportMemo = nullptr;
    QSplitter* Splitter1 = nullptr;
    TStatusPanels* StatusBar1 = nullptr;
    QWidget* ToolBarPanel = nullptr;
    QMenu* Reopen1 = nullptr;
    QMenu* Run_Program_Option = nullptr; // Options > Run
    // The editor's pop-up menu, and its "Run" submenu for the tool programs (empty and
    // hidden until they are listed).
    QMenu* PopupMenu1 = nullptr;
    QMenu* RunPopupMenu = nullptr;

    QAction* action(const QString& name) const;
    QToolButton* toolButton(const QString& name) const;

    // TBuildHost: what the build commands change in the window.
    void setPanelText(int index, const std::string& text) override;
    bool reportPaneVisible() const override;
    void setReportPaneVisible(bool visible) override;
    bool splitterVisible() const override;
    void setSplitterVisible(bool visible) override;
    void setReportText(const std::vector<std::string>& lines) override;
    bool reportChecked() const override;
    void setReportChecked(bool checked) override;
    void focusMainWindow() override;
    void setListingItemChecked(ListingWindow window, bool checked) override;
    void toolMenusChanged() override;
    void setUserProgrammerCaption(const std::string& caption) override;
    void setUserBootloaderCaption(const std::string& caption) override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormActivate();
    bool FormClose();
    void FormDestroy();
    void InfoTimerTimer();
    void Exit1Click();

    // File lifecycle helpers (EditorMainFormFiles.cpp).
    void putAwayCurrent();
    void makeCurrent(int index);
    int addTab(std::unique_ptr<TFileObject> record);
    int tabOf(const QString& fileName) const;
    void removeTab(int index);
    void rememberRecentFile(const QString& name);
    void writeRecentFiles();
    bool writeBackup(const QString& fileName);
    bool saveCurrent(bool overwriteConfirmed);
    bool confirmOverwriteOnDisk();
    void checkCurrentOnDisk();
    bool reloadCurrent();
    bool openRegularFile(const QString& name);
    void RefreshBuildViews();
    void attachZenBasic();
    void loadParserSettings();
    void connectFileCommands();

    // Edit and search commands (EditorMainFormEdit.cpp, EditorMainFormSearch.cpp).
    void connectEditCommands();
    void connectSearchCommands();
    void runEdit(const std::function<void(TSourceEditor&)>& edit);
    void replaceSelectionBy(std::string (*change)(std::string_view));
    void SourceMemo1CommandRecognised(int32_t& command);
    QAction* addPopupItem(const QString& name, const QString& caption, void (TEditorMainForm::*handler)());
    void createEditorPopupMenu();
    void closePageFromPopup();
    void setMenuHints();
    std::string searchStartText() const;
    void SourceMemo1DrawMark(QPainter& canvas, const QRect& rect, const TMark& mark);
    void SourceMemo1TextChange();
    int64_t documentLineCount() const;
    void gotoLine(int64_t line);

    void createToolBar();
    void createMenus();
    void createClientArea();
    void setUpSourceMemo();
    QAction* addAction(QMenu* menu, const QString& name, const QString& caption,
                       const QKeySequence& shortcut = {});
    void connectBuildCommands();
    void connectPrintCommands();
    // Makes the printer of the page set-up and gives the editor it and its print area; false
    // (after saying why) when there is nowhere to print.
    bool preparePrint();
    void runPrint(void (TSourceMemo::*print)());
    void connectOptionsCommands();
    void createToolItems();
    void connectToolCommands();
    void setFileCommandsVisible(bool visible);
    QString incFile(const QString& name) const;
    void writeZbxIni(const char* section, const char* key, const QString& value) const;
    void showError(const QString& text);

    std::string m_perUserFolder;
    std::unique_ptr<TEdPersistent> m_settings;
    std::vector<std::unique_ptr<TFileObject>> m_files;
    TFileObject* m_current = nullptr;
    bool m_changingTabs = false; // tab changes made by the program, not the user
    QStringList m_recentFiles;
    QString m_workingDirectory;
    QString m_startFile;
    std::unique_ptr<TBuildCommands> m_build;
    QString m_savedPanelText;
    bool m_marksShown = false;
    bool m_dropOpen = false;
    bool m_checkingDisk = false; // a question about a change on disk is being asked
    bool m_activated = false;
    QStringList m_handedOverFiles; // arrived before the first activation
    bool m_shown = false;
    bool m_reportSized = false; // the report pane got its first height
    TEdFindDlg* m_findDlg = nullptr;      // owned as a child window, made on first use
    TEdReplDlg* m_replDlg = nullptr;
    TGotoLineDialog* m_gotoDlg = nullptr;
    TMatchMarker m_marker;
    QTimer* FInfoTimer = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_searchMenu = nullptr;
    QMenu* m_optionsMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QList<QAction*> m_fileSeparators;
    TPageSetup m_pageSetup;
    std::unique_ptr<QPrinter> m_printer; // made from m_pageSetup when a print needs it
    TASCII* m_ascii = nullptr;
    TFindInFilesForm* m_findInFiles = nullptr;
    bool m_runMenusBuilt = false;
};
