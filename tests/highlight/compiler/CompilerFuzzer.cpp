// Fuzz entry for the script compiler: any bytes compile or raise one of the compiler's errors.
#include "highlight/compiler/ScriptCompiler.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    compileScriptBytes(data, size);
    return 0;
}
