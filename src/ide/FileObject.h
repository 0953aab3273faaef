// One open file of the main window: its text store and undo history while another file is
// shown, and the view state (selection, top line, font, wrap) it had when it was put away.
// Invariant: while its file is shown the record holds a spare store and the editor holds the
// text; otherwise the record holds the text. Stores are exchanged with the editor, never
// copied, so there is always one store more than there are records.
// FileName holds the name as localToQString gives it, so a name that is not valid UTF-8 keeps
// its bytes; DiskName() gives them back.
#pragma once

#include "editor/undo/UndoRecord.h"
#include "platform/DiskState.h"

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
    // The file name as the bytes the file system knows it by.
    std::string DiskName() const;
    // Records the file's disk state as the one the text shown was loaded from or saved to.
    void RecordDiskState();

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
    // The user may not write the file: it is shown read-only and saved only under a new name.
    bool ReadOnly = false;
    // The file on disk when it was loaded or last saved, and the last state of it the user
    // was asked about (so a change by another program is asked about once).
    TDiskState SavedDiskState;
    TDiskState AskedDiskState;

private:
    bool differsFromSaved(const TTextStore& store) const;
    void recordSavedPoint(const TTextStore& store);
};
