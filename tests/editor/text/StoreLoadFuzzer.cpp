// Any bytes loaded into a store at tiny capacities keep every invariant, survive edits driven
// by the same bytes, save in every format, and come back unchanged from a CR-format save.
#include "base/Stream.h"
#include "editor/text/TextStore.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TTextStore store({2, 3, 5, 2});
    TReadOnlyMemoryStream input(data, static_cast<int64_t>(size));
    store.LoadFromStream(input);
    if (!store.check().empty())
        std::abort();
    // The first bytes, two at a time, become edits at positions inside the document.
    for (size_t i = 0; i + 1 < size && i < 64; i += 2) {
        const int64_t at = store.CharCount() ? data[i] % (store.CharCount() + 1) : 0;
        if (data[i + 1] & 1)
            store.DeleteRange(at, at + data[i + 1] / 8);
        else
            store.InsertText(at, std::string(reinterpret_cast<const char*>(data), std::min<size_t>(size, data[i + 1])));
        if (!store.check().empty())
            std::abort();
    }
    for (TSaveFormat format : {sfTEXT, sfUNIX, sfRTF, sfHTML}) {
        TMemoryStream out;
        store.SetSaveFormat(format);
        store.SaveToStream(&out);
    }
    store.SetSaveFormat(sfTEXT);
    store.SetLineStyle(lsLF);
    TMemoryStream saved;
    store.SaveToStream(&saved);
    saved.SetPosition(0);
    TTextStore again;
    again.LoadFromStream(saved);
    if (again.GetText() != store.GetText() || !again.check().empty())
        std::abort();
    return 0;
}
