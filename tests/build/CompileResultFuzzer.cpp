// Any bytes given to the result reader: it must return a result that holds its invariants.
#include "build/CompileResult.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const TCompileResult result =
        parseCompileResult(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!result.check())
        __builtin_trap();
    return 0;
}
