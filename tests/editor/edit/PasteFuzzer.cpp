// Fuzz entry point for clipboard data entering the editor: the first byte chooses the drop
// flags and the format, the rest is pasted into a small document over a random selection. The
// result must keep every invariant, and one undo must bring the original text back.
#include "editor/edit/SourceEditor.h"
#include "editor/edit/StoreUndoStack.h"

#include "base/Stream.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

namespace {

class BytesClipboard : public TClipboard
{
public:
    bool HasFormat(TClipFormat format) const override { return formats.count(format) != 0; }
    std::string Data(TClipFormat format) const override { return formats.at(format); }
    void SetContents(const std::vector<std::pair<TClipFormat, std::string>>&) override {}
    std::map<TClipFormat, std::string> formats;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t control = data[0];
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    BytesClipboard clipboard;
    clipboard.formats[(control & 1) ? TClipFormat::Html : TClipFormat::Text] = bytes;
    TTextStore store;
    TSourceEditor editor(store, nullptr, &clipboard);
    const std::string original = "first\r\n\tsecond\r\n<b>third</b>";
    TReadOnlyMemoryStream stream(original.data(), static_cast<int64_t>(original.size()));
    store.LoadFromStream(stream);
    const std::string stored = store.GetText();
    editor.SetSelection((control >> 1) % 8, (control >> 4) % 16);
    editor.OnDataDrop = [control](uint32_t& flags) {
        if (control & 2)
            flags |= dsHtmlFragment;
        if (control & 4)
            flags |= dsHtmlFromTag;
        if (control & 8)
            flags |= dsRawHtml;
    };
    editor.PasteFromClipboard();
    if (!editor.check().empty())
        std::abort();
    editor.Undo();
    if (!editor.check().empty() || store.GetText() != stored)
        std::abort();
    return 0;
}
