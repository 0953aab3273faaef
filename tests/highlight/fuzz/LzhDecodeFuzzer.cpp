// Feeds arbitrary bytes to the LZH decoder: the first three bytes give the size to produce.
#include "highlight/LzhCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const int64_t wanted = data[0] | (data[1] << 8) | ((data[2] & 0x0F) << 16);
    const auto result = lzhcodec::decodeBytes(data + 3, size - 3, wanted);
    if (result && static_cast<int64_t>(result->size()) != wanted)
        std::abort();
    return 0;
}
