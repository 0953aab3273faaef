// What the find and the replace dialog share: the "Text to find" box with its history, the
// option and direction boxes, OK and Cancel, and how they show and close. Both are modeless,
// stay on top, open centred on the screen and close on Esc; while one is open the editor
// shows its selection even without the focus. Closing writes the histories to KALTOR.DAT.
#pragma once

#include "ide/search/SearchHistory.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QPushButton;
class QRadioButton;
class TEdPersistent;
class TSourceMemo;

class TEdSearchDialog : public QDialog
{
    Q_OBJECT
public:
    // The dialog for the settings store it keeps its histories and the last search in.
    TEdSearchDialog(TEdPersistent& settings, const QString& caption, QWidget* parent);

    // Shows the dialog for editor, preset with startText (none when empty) and the sr* option
    // bits, centred on the screen, the find box focused.
    void Execute(TSourceMemo& editor, const std::string& startText, int options);

    // The options the boxes give (case, regular expression, whole words, back).
    uint16_t Options() const;
    std::string FindText() const;
    const TSearchHistory& FindHistory() const { return m_findHistory; }

    // Runs after every search the dialog made, so that the window can refresh its commands.
    std::function<void()> OnSearched;

    QComboBox* FindHistoryBox = nullptr;
    QCheckBox* UseCaseBox = nullptr;
    QCheckBox* RegExBox = nullptr;
    QCheckBox* WholeWordBox = nullptr;
    QRadioButton* BackDirection = nullptr;
    QRadioButton* FwdDirection = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    // Where the dialog's own rows go (the replace dialog adds its replacement box there).
    QGridLayout* TextRows() const { return m_textRows; }
    QGridLayout* ButtonColumn() const { return m_buttons; }
    TSourceMemo& Memo() const { return *m_memo; }
    TEdPersistent& Settings() const { return m_settings; }

    // Reads the histories when the dialog opens, writes them when it closes.
    virtual void LoadHistories();
    virtual void SaveHistories();
    // The buttons that need a text to find follow the find box.
    virtual void UpdateButtons();
    // A text searched for becomes the newest entry of its history and its box shows it.
    void UseFindText(const std::string& text);
    static void FillBox(QComboBox& box, const TSearchHistory& history, const QString& text);
    // The "not found" box of every search the dialogs make.
    void ReportNotFound(const std::string& text) const;
    // Runs a step of the dialog; an error it raises is shown and the dialog stays usable.
    void Guarded(const std::function<void()>& step);
    void Searched();

    void done(int result) override;

private:
    void centreOnScreen();

    TEdPersistent& m_settings;
    TSourceMemo* m_memo = nullptr;
    TSearchHistory m_findHistory;
    QGridLayout* m_textRows = nullptr;
    QGridLayout* m_buttons = nullptr;
};
