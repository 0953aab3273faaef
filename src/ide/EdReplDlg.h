// TEdReplDlg, "Find and replace text...": OK finds the next match and replaces it (asking
// first while "Prompt on Replace" is checked); Replace All replaces every match of the
// document as one undo step. The replacement box keeps its own history.
#pragma once

#include "ide/EdSearchDialog.h"

class QCheckBox;

class TEdReplDlg : public TEdSearchDialog
{
    Q_OBJECT
public:
    // The undo group of the dialog's replace-all: one undo takes the whole run back.
    static constexpr int32_t ReplaceAllGroup = 34;

    TEdReplDlg(TEdPersistent& settings, QWidget* parent);

    std::string ReplaceText() const;
    const TSearchHistory& ReplaceHistory() const { return m_replaceHistory; }

    // OK: replace next.
    void OKButtonClick();
    void ReplaceAllButtonClick();

    QComboBox* ReplHistoryBox = nullptr;
    QCheckBox* PromptOnReplBox = nullptr;
    QPushButton* ReplaceAllButton = nullptr;

protected:
    void LoadHistories() override;
    void SaveHistories() override;
    void UpdateButtons() override;

private:
    void useBothTexts(const std::string& find, const std::string& replacement);
    bool confirm(const std::string& find, const std::string& replacement) const;
    void replaceAllSteps(const std::string& find, const std::string& replacement, uint16_t options);

    TSearchHistory m_replaceHistory;
};
