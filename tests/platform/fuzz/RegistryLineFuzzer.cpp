// Any bytes as one line of the per-user store: parsing never fails, and whatever parses
// formats back into a line that parses to the same value.
#include "platform/RegistryKey.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::string name, content;
    bool isBinary = false;
    if (!parseRegistryLine(line, name, isBinary, content))
        return 0;
    const std::string formatted = formatRegistryLine(name, isBinary, content);
    std::string name2, content2;
    bool isBinary2 = !isBinary;
    if (formatted.find_first_of("\r\n") != std::string::npos || !parseRegistryLine(formatted, name2, isBinary2, content2) ||
        name2 != name || isBinary2 != isBinary || content2 != content)
        std::abort();
    return 0;
}
