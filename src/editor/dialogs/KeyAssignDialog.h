// TKeyAssignDialog: the two-step wizard that captures one key pair for an editor command, a
// first key combination and an optional second key. Step 1 takes the first key; Next brings
// step 2 for the second key; Finish accepts. The step panels carry the tags 1 and 2.
#pragma once

#include "editor/dialogs/KeyAssignSteps.h"

#include <QDialog>

#include <array>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;
class TSM_HotKey;

class TKeyAssignDialog : public QDialog
{
    Q_OBJECT
public:
    // Runs the wizard. first and second give the keys to start with (edit mode) and receive
    // the keys the fields hold when it closes, accepted or not (an empty field gives none).
    static bool Run(const std::string& description, const std::string& info1, const std::string& info2,
                    TKeyAssignMode mode, TShortCut& first, TShortCut& second, QWidget* parent = nullptr);

    TKeyAssignDialog(const std::string& description, const std::string& info1, const std::string& info2,
                     TKeyAssignMode mode, TShortCut first, TShortCut second, QWidget* parent = nullptr);

    int step() const { return m_step; }
    // The keys as read back from the fields' texts.
    TShortCut firstKey() const;
    TShortCut secondKey() const;

    void NextButtonClick();
    void BackButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showStep(int step);
    void updateButtons();
    void layOut();

    int m_step = 1;
    std::array<QGroupBox*, 2> m_panels{};
    std::array<QLabel*, 2> m_infos{};
    std::array<TSM_HotKey*, 2> m_fields{};
    std::array<QPushButton*, 2> m_clears{};
    QWidget* m_bar = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_cancel = nullptr;
};
