// Any text, wrapped at widths and tab settings taken from its first bytes, then edited and
// re-flowed line by line, keeps the store's invariants, never changes the text, and joins back
// to the store's own cut when word wrap goes off.
#include "editor/edit/TabStops.h"
#include "editor/text/TextStore.h"
#include "editor/view/Reflow.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<int> rowLengths(const TTextStore& store)
{
    std::vector<int> lengths;
    for (const TTextRow* row = store.FirstRow(); row; row = row->Next)
        lengths.push_back(row->Length);
    return lengths;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    TEditorSettings settings;
    settings.TabDefault = 1 + data[1] % 9;
    const TTabStops tabs(settings);
    TWrapRule rule;
    rule.WordWrap = true;
    rule.CharWidth = 1 + data[2] % 11;
    rule.WrapWidth = 1 + data[0] * 3;
    rule.UseOverride = (data[1] & 0x80) != 0;
    rule.Tabs = &tabs;

    TTextStore store({2, 3, 64, 2});
    const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);
    store.InsertText(0, text);
    const std::vector<int> plainCut = rowLengths(store);
    const std::string stored = store.GetText();
    Reflow(store, -1, -1, rule);
    require(store.check().empty());
    require(store.GetText() == stored);
    // An edit in the middle and the re-flow of its lines.
    const int64_t at = store.CharCount() / 2;
    const int64_t added = store.InsertText(at, text.substr(0, 40));
    const int64_t row = store.RowAt(at).Index;
    Reflow(store, row - 1, store.RowAt(at + added).Index + 1, rule);
    require(store.check().empty());
    store.DeleteRange(at, at + added);
    Reflow(store, store.RowAt(at).Index - 1, store.RowAt(at).Index + 1, rule);
    require(store.check().empty());
    require(store.GetText() == stored);
    Reflow(store, -1, -1, TWrapRule{});
    require(store.check().empty());
    require(rowLengths(store) == plainCut);
    return 0;
}
