#include "build/ShownText.h"

std::string shownText(std::string_view text, size_t maxLength, TabHandling tabs)
{
    const bool cut = text.size() > maxLength;
    std::string shown(text.substr(0, maxLength));
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 || byte == 0x7F) && !(c == '\t' && tabs == TabHandling::Keep))
            c = '.';
    }
    if (cut)
        shown += "...";
    return shown;
}
