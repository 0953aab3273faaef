// The editor control's own find dialog: the text to find, whole words, match case, regular
// expression, the direction, Find Next and Cancel. It is modeless and stays open, so each Find
// Next finds the next match; it only collects the search and hands it to its owner.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TSourceMemoFindDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TSourceMemoFindDialog(QWidget* parent);

    // Shows the text (document bytes) and the options of the search flags.
    void Preset(const std::string& text, uint16_t flags);
    std::string SearchText() const;
    // srMatchCase, srRegExp, srWholeWord and srBackward as the boxes say.
    uint16_t Flags() const;

    // Find Next was pressed.
    std::function<void(const std::string& text, uint16_t flags)> OnFindNext;

    QLineEdit* FindTextEdit = nullptr;
    QCheckBox* WholeWordBox = nullptr;
    QCheckBox* MatchCaseBox = nullptr;
    QCheckBox* RegExpBox = nullptr;
    QRadioButton* UpButton = nullptr;
    QRadioButton* DownButton = nullptr;
    QPushButton* FindNextButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
