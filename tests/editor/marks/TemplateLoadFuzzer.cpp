// Fuzz entry point: any bytes loaded as a stored code-template list (first byte even) or
// auto-correct list (odd) either load into a sound table that saves and loads back the same,
// or fail with one of our errors, leaving the table as it was.
#include "base/Exception.h"
#include "base/Stream.h"
#include "editor/marks/MacroKeywords.h"

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<TCodeTemplates> makeTable(bool autoReplace)
{
    std::unique_ptr<TCodeTemplates> table;
    if (autoReplace)
        table = std::make_unique<TAutoReplace>();
    else
        table = std::make_unique<TCodeTemplates>();
    table->AddTemplate("seed", "kept", "text");
    return table;
}

bool same(const TCodeTemplates& a, const TCodeTemplates& b)
{
    const auto* replaceA = dynamic_cast<const TAutoReplace*>(&a);
    const auto* replaceB = dynamic_cast<const TAutoReplace*>(&b);
    if (replaceA && (replaceA->Triggers() != replaceB->Triggers() || replaceA->TriggerKeys() != replaceB->TriggerKeys()))
        return false;
    return a.Entries() == b.Entries() && a.Trigger == b.Trigger && a.Enabled == b.Enabled;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool autoReplace = (data[0] & 1) != 0;
    std::unique_ptr<TCodeTemplates> table = makeTable(autoReplace);
    TReadOnlyMemoryStream stream(data + 1, static_cast<int64_t>(size - 1));
    try {
        table->LoadFromStream(stream);
    } catch (const Exception&) {
        if (!same(*table, *makeTable(autoReplace)))
            std::abort();
        return 0;
    }
    if (!table->check().empty())
        std::abort();
    TMemoryStream saved;
    table->SaveToStream(saved);
    saved.SetPosition(0);
    std::unique_ptr<TCodeTemplates> reloaded = makeTable(autoReplace);
    reloaded->LoadFromStream(saved);
    if (!same(*table, *reloaded))
        std::abort();
    return 0;
}
