// TFindInFilesForm: the "Find in Files" window. The top half asks for the folder, the file
// patterns, the text and the case, whole-word and subfolder options; the list below fills with
// one row per line that holds the text ("file(line): text") while the search runs. The window
// stays usable during a search (events run after every file) and Stop ends it. A double click
// (or Enter) on a row hands its file and line to OnOpenHit.
#pragma once

#include "ide/scan/FindInFiles.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class TFindInFilesForm : public QWidget
{
    Q_OBJECT
public:
    explicit TFindInFilesForm(QWidget* parent = nullptr);
    ~TFindInFilesForm() override;

    // Item data of a result row: the file (local path bytes as QString) and its 1-based line.
    static constexpr int PathRole = Qt::UserRole;
    static constexpr int LineRole = Qt::UserRole + 1;

    // Shows the window with folder proposed (the text field keeps what the user typed before
    // when folder is empty) and the text field focused.
    void showFor(const QString& folder, const QString& text);
    void FindButtonClick();
    void StopButtonClick();
    bool searching() const { return m_searching; }

    std::function<void(const QString& path, int64_t line)> OnOpenHit;

    QLineEdit* FolderEdit = nullptr;
    QLineEdit* PatternsEdit = nullptr;
    QLineEdit* TextEdit = nullptr;
    QCheckBox* CaseCheck = nullptr;
    QCheckBox* WholeWordCheck = nullptr;
    QCheckBox* SubfoldersCheck = nullptr;
    QPushButton* BrowseButton = nullptr;
    QPushButton* FindButton = nullptr;
    QPushButton* StopButton = nullptr;
    QListWidget* ResultList = nullptr;
    QLabel* StatusLabel = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BrowseButtonClick();
    void addHits(const TFileHits& found);
    void openItem(QListWidgetItem* item);
    void letEventsRun();
    void setSearching(bool searching);

    TFindInFiles m_search;
    bool m_searching = false;
    QElapsedTimer m_sinceEvents;
};
