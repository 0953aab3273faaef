// TEdFindDlg, "Find text...": each OK finds the next match of the text in the editor and
// selects it; the dialog stays open. The text becomes the last search that Search Again and
// Show all repeat.
#pragma once

#include "ide/EdSearchDialog.h"

class TEdFindDlg : public TEdSearchDialog
{
    Q_OBJECT
public:
    TEdFindDlg(TEdPersistent& settings, QWidget* parent);

    // OK: one search from the caret.
    void OKButtonClick();
};

// The search that Find's OK and Search Again make: past a selected match first (not with
// regular expressions; letter case as the options say), then the editor's FindText, which
// selects what it found. Answers whether something was found; a "not found" box follows when
// nothing was (not when a regular expression did not compile: its error was shown).
bool findFromCaret(TSourceMemo& editor, const std::string& text, uint16_t options);
