// The IDE's main window: tool bar, menus, the tab strip of open files around the editor, the
// report pane and the status bar, with the start-up and shut-down handlers and the one refresh
// (SourceMemo1Change) that brings menus, buttons, caption and status bar in line with the file
// shown. Settings live in ZBX.INI (read afresh on every use) and KALTOR.DAT.
#pragma once

#include "editor/text/TextStore.h"
#include "ide/EdPersistent.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>

class QAction;
class QMenu;
class QPlainTextEdit;
class TSourceMemo;
class QSplitter;
class QTabBar;
class QTimer;
class QToolButton;
class TStatusPanels;

class TEditorMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TEditorMainForm(const QStringList& arguments, QWidget* parent = nullptr);
    ~TEditorMainForm() override;

    // The refresh of menus, tool buttons, caption and status bar; commands call it after they act.
    void SourceMemo1Change();
    // Shows a hint in status panel 5 for two seconds.
    void ShowInfo(const QString& hint);

    // State the build and device commands read and write.
    QString device() const { return m_device; }
    bool compileFailed() const { return m_compileFailed; }
    QString startFile() const { return m_startFile; }
    TEdPersistent& settings() { return *m_settings; }
    QStringList recentFiles() const { return m_recentFiles; }
    bool hasCurrentFile() const { return m_hasCurrentFile; }

    // Controls, under the names the rest of the program knows them by.
    QTabBar* OpenFilesTab = nullptr;
    TSourceMemo* SourceMemo1 = nullptr;
    QPlainTextEdit* ReportMemo = nullptr;
    QSplitter* Splitter1 = nullptr;
    TStatusPanels* StatusBar1 = nullptr;
    QWidget* ToolBarPanel = nullptr;
    QMenu* Reopen1 = nullptr;

    QAction* action(const QString& name) const;
    QToolButton* toolButton(const QString& name) const;

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

    void BuildReopenMenu();
    void Exit1Click();
    bool openStartFile(const QString& fileName);
    void newUntitledFile();
    void closeCurrentFile();

    void createToolBar();
    void createMenus();
    void createClientArea();
    void setUpSourceMemo();
    QAction* addAction(QMenu* menu, const QString& name, const QString& caption,
                       const QKeySequence& shortcut = {});
    void refreshProgrammerItems();
    void refreshBootloaderItems();
    void setFileCommandsVisible(bool visible);
    QString incFile(const QString& name) const;
    void writeZbxIni(const char* section, const char* key, const QString& value) const;
    void showError(const QString& text);

    std::unique_ptr<TEdPersistent> m_settings;
    std::unique_ptr<TTextStore> m_store; // the document shown
    QStringList m_recentFiles;
    QString m_workingDirectory;
    QString m_startFile;
    QString m_device;
    QString m_hexFile;
    QString m_programmerName;
    QString m_bootloaderName;
    QString m_savedPanelText;
    QString m_currentFileName;
    bool m_hasCurrentFile = false;
    bool m_compileFailed = false;
    bool m_marksShown = false;
    bool m_dropOpen = false;
    bool m_activated = false;
    bool m_shown = false;
    QTimer* FInfoTimer = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_searchMenu = nullptr;
    QMenu* m_optionsMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QList<QAction*> m_fileSeparators;
};
