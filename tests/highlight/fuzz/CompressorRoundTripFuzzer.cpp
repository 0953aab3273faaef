// Packs arbitrary bytes with the method chosen by the first byte and demands them back.
#include "highlight/Compressor.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int method = data[0] % 3;
    const std::vector<uint8_t> packed = compressBytes(data + 1, size - 1, method);
    const std::vector<uint8_t> unpacked = decompressBytes(packed.data(), packed.size());
    if (unpacked.size() != size - 1 || !std::equal(unpacked.begin(), unpacked.end(), data + 1))
        std::abort();
    return 0;
}
