// Feeds arbitrary bytes to the block-method decoder as chunk data.
#include "highlight/BlockCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto result = blockcodec::decodeBytes(data, size, int64_t(1) << 22);
    if (result && result->size() > (size_t(1) << 22))
        std::abort();
    return 0;
}
