// Fuzz entry point: any bytes loaded as a stored key map either load into a sound map or fail
// with one of our errors, leaving the map as it was.
#include "base/Exception.h"
#include "base/Stream.h"
#include "editor/keys/DefaultKeyMap.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TKeyboardActionContoller map(defaultKeyMap());
    TReadOnlyMemoryStream stream(data, static_cast<int64_t>(size));
    try {
        map.LoadFromStream(stream);
    } catch (const Exception&) {
        if (map.ToRecords() != defaultKeyMap().ToRecords())
            std::abort();
    }
    map.check();
    TMemoryStream saved;
    map.SaveToStream(saved);
    saved.SetPosition(0);
    TKeyboardActionContoller reloaded;
    reloaded.LoadFromStream(saved);
    if (reloaded.ToRecords() != map.ToRecords())
        std::abort();
    return 0;
}
