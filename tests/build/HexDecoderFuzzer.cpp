// Any bytes given to the HEX decoder: it must return, and a listing it returns must hold its
// invariants and come out the same when decoded again.
#include "build/HexDecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<THexListing> listing = decodeHexFile(bytes);
    if (!listing)
        return 0;
    if (!listing->check())
        __builtin_trap();
    const std::optional<THexListing> again = decodeHexFile(bytes);
    if (!again || again->codeLines != listing->codeLines || again->dataLines != listing->dataLines)
        __builtin_trap();
    return 0;
}
