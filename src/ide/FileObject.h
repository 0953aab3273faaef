// One open file of the main window: its text store and undo history while another file is
// shown, and the view state (selection, top line, font, wrap) it had when it was put away.
// Invariant: while its file is shown the record holds a spare store and the editor holds the
// text; otherwise the record holds the text. Stores are exchanged with the editor, never
// copied, so there is always one store more than there are records.
#pragma once

#include "editor/undo/UndoRecord.h"

#include <QString>

#include <cstdint>
#include <memory>

class TSourceMemo;
class TTextStore;

class TFileObject
{
public:
    static const QString UntitledName; // "No_name.bas"

    TFileObject();
    ~TFileObject();
    TFileObject(const TFileObject&) = delete;
    TFileObject& operator=(const TFileObject&) = delete;

    // Loads name into the editor (EFOpenError when it cannot be read) and then puts it away.
    void Load(const QString& name, TSourceMemo& editor);
    // Takes the editor's text and view state into the record, giving the editor the spare.
    void StoreFrom(TSourceMemo& editor);
    // Shows the record's text in the editor, with the selection and top line it had.
    void RestoreTo(TSourceMemo& editor);
    // An empty untitled document, put away.
    void InitNew(TSourceMemo& editor);
    // Saves the shown text to name, keeping its undo history, and remembers the saved point.
    void SaveTo(const QString& name, TSourceMemo& editor);
    // Whether the undo history differs from the one at the last load or save: for the shown
    // file (in the editor) and for a file put away (in the record's store).
    bool IsModifiedIn(const TSourceMemo& editor) const;
    bool IsModified() const;
    bool IsUntitled() const { return FileName == UntitledName; }

    std::unique_ptr<TTextStore> Store;
    TSelectionPair Selection;
    int64_t TopLine = 0; // first visible line, counted from 1
    QString ParserName;
    QString FileName;
    int64_t SavedUndoDepth = 0;
    uint64_t SavedUndoTop = 0; // serial of the top undo entry at the last load or save
    QString FontName = "Courier New";
    int FontSize = 10;
    uint8_t FontCharset = 1;
    int ClientWidth = 0;
    uint16_t WrapColumn = 0;
    bool WordWrap = false;
    bool ShowAllMarks = false;

private:
    bool differsFromSaved(const TTextStore& store) const;
    void recordSavedPoint(const TTextStore& store);
};
