#include "editor/text/TextRow.h"

#include <algorithm>
#include <cstring>

void TTextRow::ReplaceTextInPlace(const char* text, int newLength)
{
    std::memmove(m_text, text, static_cast<size_t>(newLength));
    m_text[newLength] = 0;
    Length = static_cast<uint16_t>(newLength);
    DropAttrs();
    UpdateTabFlag();
}

uint8_t* TTextRow::EnsureAttrs()
{
    if (!Attrs)
        Attrs = new uint8_t[std::max<int>(Length, 1)]();
    return Attrs;
}

void TTextRow::DropAttrs()
{
    delete[] Attrs;
    Attrs = nullptr;
}

void TTextRow::UpdateTabFlag()
{
    if (std::memchr(m_text, '\t', Length))
        Flags |= rfHasTab;
    else
        Flags &= ~rfHasTab;
}
