#include "editor/text/TextRow.h"

#include "editor/text/TokenRuns.h"

#include <algorithm>
#include <cstring>

void TTextRow::ReplaceTextInPlace(const char* text, int newLength)
{
    std::memmove(m_text, text, static_cast<size_t>(newLength));
    m_text[newLength] = 0;
    Length = static_cast<uint16_t>(newLength);
    UpdateTabFlag();
}

void TTextRow::CopyAttrs(uint8_t* out) const
{
    switch (m_keep & kTokenForm) {
    case kTokenRuns: tokenruns::Decode(tokenData(), Length, out); break;
    case kTokenBytes: std::memcpy(out, tokenData(), Length); break;
    default: std::memset(out, 0, Length); break;
    }
}

uint8_t TTextRow::AttrAt(int index) const
{
    if (index < 0 || index >= Length)
        return 0;
    switch (m_keep & kTokenForm) {
    case kTokenRuns: return tokenruns::TokenAt(tokenData(), static_cast<size_t>(index));
    case kTokenBytes: return tokenData()[index];
    default: return 0;
    }
}

bool TTextRow::AttrsEqual(const uint8_t* tokens) const
{
    switch (m_keep & kTokenForm) {
    case kTokenRuns: return tokenruns::Matches(tokenData(), tokens, Length);
    case kTokenBytes: return std::memcmp(tokenData(), tokens, Length) == 0;
    default: return false;
    }
}

void TTextRow::UpdateTabFlag()
{
    if (std::memchr(m_text, '\t', Length))
        Flags |= rfHasTab;
    else
        Flags &= ~rfHasTab;
}
