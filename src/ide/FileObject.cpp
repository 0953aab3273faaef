#include "ide/FileObject.h"

#include "editor/edit/StoreUndoStack.h"
#include "editor/text/TextStore.h"
#include "editor/widget/SourceMemo.h"
#include "platform/QtText.h"
#include "ide/ParserRepository.h"

const QString TFileObject::UntitledName = QStringLiteral("No_name.bas");

TFileObject::TFileObject() : Store(std::make_unique<TTextStore>()), FileName(UntitledName) {}

TFileObject::~TFileObject() = default;

namespace {

const TStoreUndoStack* undoLogOf(const TTextStore& store)
{
    return dynamic_cast<const TStoreUndoStack*>(store.UndoStack());
}

} // namespace

void TFileObject::Load(const QString& name, TSourceMemo& editor)
{
    editor.LoadFromFile(qStringToLocal(name));
    ParserName.clear();
    if (TParserRepository* repository = TParserRepository::Instance()) {
        if (TSourceMemoParser* parser = repository->FindParser("ZENBASIC")) {
            ParserName = "ZENBASIC";
            editor.SetParser(1, parser);
        }
    }
    WordWrap = false;
    ShowAllMarks = false;
    editor.SetTitle(qStringToLocal(name));
    recordSavedPoint(editor.Store());
    StoreFrom(editor);
    RecordDiskState();
}

void TFileObject::StoreFrom(TSourceMemo& editor)
{
    Selection = editor.Editor().Selection();
    TopLine = editor.TopRow() + 1;
    FileName = localToQString(editor.Title());
    Store = editor.ExchangeStore(std::move(Store));
    WordWrap = (editor.Options() & smoWordWrap) != 0;
    ClientWidth = editor.viewport()->width();
}

void TFileObject::RestoreTo(TSourceMemo& editor)
{
    TSourceMemoParser* parser = nullptr;
    if (TParserRepository* repository = TParserRepository::Instance())
        parser = repository->FindParser(qStringToUtf8(ParserName));
    editor.SetParser(1, parser);
    Store = editor.ExchangeStore(std::move(Store));
    if (parser) {
        // Word wrap is the parser's setting, shared by its files: it follows the file shown.
        const uint32_t options = editor.Options();
        editor.SetOptions(WordWrap ? options | smoWordWrap : options & ~smoWordWrap);
    }
    editor.Editor().SetSelection(Selection.Anchor, Selection.Caret);
    editor.SetTopRow(TopLine - 1);
    editor.SetTitle(qStringToLocal(FileName));
    editor.SetReadOnly(ReadOnly);
    editor.viewport()->update();
}

void TFileObject::InitNew(TSourceMemo& editor)
{
    editor.SetTitle(qStringToLocal(FileName));
    editor.Store().DeleteRange(0, editor.Store().CharCount());
    editor.Editor().SetModified(false);
    recordSavedPoint(editor.Store());
    StoreFrom(editor);
}

void TFileObject::SaveTo(const QString& name, TSourceMemo& editor)
{
    TTextStore& store = editor.Store();
    // The store clears its undo log when it saves; the history is kept aside meanwhile.
    std::unique_ptr<TStoreUndo> history = store.ReleaseUndoStack();
    try {
        store.SaveToFile(qStringToLocal(name));
    } catch (...) {
        store.SetUndoStack(std::move(history));
        throw;
    }
    store.SetUndoStack(std::move(history));
    FileName = name;
    editor.SetTitle(qStringToLocal(name));
    recordSavedPoint(store);
    ReadOnly = false;
    editor.SetReadOnly(false);
    RecordDiskState();
}

std::string TFileObject::DiskName() const
{
    return qStringToLocal(FileName);
}

void TFileObject::RecordDiskState()
{
    SavedDiskState = TDiskState::of(DiskName());
    AskedDiskState = SavedDiskState;
}

void TFileObject::recordSavedPoint(const TTextStore& store)
{
    const TStoreUndoStack* log = undoLogOf(store);
    SavedUndoDepth = log ? log->Count() : 0;
    SavedUndoTop = log ? log->CurrentSerial() : 0;
}

bool TFileObject::differsFromSaved(const TTextStore& store) const
{
    const TStoreUndoStack* log = undoLogOf(store);
    if (!log)
        return true;
    if (log->Count() != SavedUndoDepth)
        return true;
    return log->Count() > 0 && log->CurrentSerial() != SavedUndoTop;
}

bool TFileObject::IsModifiedIn(const TSourceMemo& editor) const
{
    return differsFromSaved(editor.Store());
}

bool TFileObject::IsModified() const
{
    return differsFromSaved(*Store);
}
