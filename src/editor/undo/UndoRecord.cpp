#include "editor/undo/UndoRecord.h"

std::unique_ptr<TUndoRecord> TUndoRecord::Marker(int32_t kindOrGroup, int32_t phase)
{
    auto record = std::make_unique<TUndoRecord>();
    record->Kind = ukMarker;
    record->A = kindOrGroup;
    record->Data = phase;
    return record;
}

std::unique_ptr<TUndoRecord> TUndoRecord::Selection(TSelectionPair selection)
{
    auto record = std::make_unique<TUndoRecord>();
    record->Kind = ukSelection;
    record->A = selection.Anchor;
    record->B = selection.Caret;
    return record;
}

std::unique_ptr<TUndoRecord> TUndoRecord::TextCopy(const std::string& text)
{
    auto record = std::make_unique<TUndoRecord>();
    record->Kind = ukText;
    if (!text.empty())
        record->Text = std::make_unique<std::string>(text);
    return record;
}

std::unique_ptr<TUndoRecord> TUndoRecord::StreamCopy(const std::string& text)
{
    auto record = std::make_unique<TUndoRecord>();
    record->Kind = ukStream;
    record->Stream = std::make_unique<TMemoryStream>(std::vector<uint8_t>(text.begin(), text.end()));
    return record;
}

std::unique_ptr<TUndoRecord> TUndoRecord::LineEdit(int32_t kind, int64_t position,
                                                   const std::string& bytes)
{
    auto record = std::make_unique<TUndoRecord>();
    record->Kind = kind;
    record->A = position;
    record->Data = static_cast<int32_t>(bytes.size());
    record->Text = std::make_unique<std::string>(bytes);
    return record;
}

std::string TUndoRecord::Content() const
{
    if (Stream)
        return Stream->AsString();
    return Text ? *Text : std::string();
}

int64_t TUndoRecord::PayloadSize() const
{
    int64_t size = 0;
    if (Text)
        size += static_cast<int64_t>(Text->size());
    if (Stream)
        size += Stream->Size() + static_cast<int64_t>(sizeof(TMemoryStream));
    return size;
}
