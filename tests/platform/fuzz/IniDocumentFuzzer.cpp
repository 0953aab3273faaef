// Any bytes as an INI file: parsing keeps them exactly, lookups and edits never fail, and an
// edit changes what it should and nothing else.
#include "platform/IniDocument.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TIniDocument document(bytes);
    if (!document.check() || document.bytes() != bytes)
        std::abort();
    // Names and a value cut from the input itself, so they sometimes match its lines.
    const std::string section = bytes.substr(0, size / 4), key = bytes.substr(size / 4, size / 8), value = bytes.substr(size / 2, 40);
    document.value(section, key);
    document.sectionNames();
    document.setValue(section, key, value);
    if (!document.check())
        std::abort();
    const auto stored = document.value(section, key);
    const bool nameUsable = section.find_first_of("[]\r\n") == std::string::npos && key.find_first_of("=[\r\n") == std::string::npos;
    // Blanks as the document trims them: space, TAB, VT and FF (CR is excluded above).
    const char* blanks = " \t\v\f";
    if (nameUsable && section.find_first_not_of(blanks) != std::string::npos && key.find_first_not_of(blanks) != std::string::npos && !stored)
        std::abort();
    document.deleteKey(section, key);
    if (!document.check())
        std::abort();
    return 0;
}
