#include "editor/text/RowArena.h"

#include "editor/text/TokenRuns.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Bytes of a row that may be touched: the header and the text with its NUL.
size_t usedBytes(int length)
{
    return std::max(offsetof(TTextRow, m_text) + static_cast<size_t>(length) + 1, sizeof(TTextRow));
}

const TRowExtras kNoExtras;

bool isDefault(const TRowExtras& extras)
{
    return extras.Extra1 == -1 && extras.Extra2 == -1 && !extras.Track;
}

} // namespace

TRowArena::TRowArena() = default;

TRowArena::~TRowArena()
{
    Reset();
}

size_t TRowArena::blockBytes(int length)
{
    return ((usedBytes(length) + 7) & ~size_t(7)) + kSlabRedZone;
}

bool TRowArena::FitsInPlace(int oldLength, int newLength)
{
    return blockBytes(oldLength) == blockBytes(newLength);
}

TTextRow* TRowArena::Create(const char* text, int length)
{
    void* block = m_rows.Allocate(blockBytes(length));
    ZBX_UNPOISON(block, usedBytes(length));
    auto* row = new (block) TTextRow;
    row->Length = static_cast<uint16_t>(length);
    if (length > 0)
        std::memcpy(row->m_text, text, static_cast<size_t>(length));
    row->m_text[length] = 0;
    return row;
}

void TRowArena::PrepareResize(TTextRow* row, int newLength)
{
    const int length = row->Length;
    ZBX_POISON(row, blockBytes(length));
    ZBX_UNPOISON(row, usedBytes(std::max(newLength, length)));
}

void TRowArena::FinishResize(TTextRow* row)
{
    const int length = row->Length;
    ZBX_POISON(row, blockBytes(length));
    ZBX_UNPOISON(row, usedBytes(length));
}

void TRowArena::Destroy(TTextRow* row)
{
    if (!row)
        return;
    DropAttrs(row);
    if (row->m_keep & TTextRow::kHasExtras) {
        const auto found = m_extras.find(row);
        if (found != m_extras.end()) {
            delete found->second.Track;
            m_extras.erase(found);
        }
    }
    const size_t bytes = blockBytes(row->Length);
    row->~TTextRow();
    m_rows.Free(row, bytes);
}

void TRowArena::Reset()
{
    for (auto& entry : m_extras)
        delete entry.second.Track;
    m_extras.clear();
    m_rows.Reset();
    m_tokens.Reset();
}

// Bytes of the row's token block; 0 when its token bytes are inline or absent.
size_t TRowArena::tokenBytes(const TTextRow* row)
{
    switch (row->m_keep & (TTextRow::kTokenForm | TTextRow::kTokensInline)) {
    case TTextRow::kTokenRuns: return tokenruns::EncodedSize(row->m_tokens.Block, row->Length);
    case TTextRow::kTokenBytes: return row->Length;
    default: return 0;
    }
}

void TRowArena::SetAttrs(TTextRow* row, const uint8_t* tokens)
{
    const size_t length = row->Length;
    uint8_t runs[tokenruns::MaxEncodedSize(kMaxRowLength)];
    size_t size = length > 0 ? tokenruns::Encode(tokens, length, runs) : 0;
    uint8_t form = TTextRow::kTokenRuns;
    const uint8_t* bytes = runs;
    if (size >= length) { // runs save nothing: keep the bytes as they are
        form = TTextRow::kTokenBytes;
        bytes = tokens;
        size = length;
    }
    if (size <= sizeof(row->m_tokens.Inline)) {
        DropAttrs(row);
        std::memcpy(row->m_tokens.Inline, bytes, size);
        row->m_keep |= form | TTextRow::kTokensInline;
        return;
    }
    const size_t old = tokenBytes(row);
    uint8_t* block = old == size ? row->m_tokens.Block : nullptr; // the same size: reused
    if (!block) {
        DropAttrs(row);
        block = static_cast<uint8_t*>(m_tokens.Allocate(size + kSlabRedZone));
        ZBX_UNPOISON(block, size);
    }
    std::memcpy(block, bytes, size);
    row->m_keep = static_cast<uint8_t>((row->m_keep & ~(TTextRow::kTokenForm | TTextRow::kTokensInline)) | form);
    row->m_tokens.Block = block;
}

void TRowArena::DropAttrs(TTextRow* row)
{
    const size_t bytes = tokenBytes(row);
    if (bytes > 0)
        m_tokens.Free(row->m_tokens.Block, bytes + kSlabRedZone);
    row->m_tokens.Block = nullptr;
    row->m_keep &= static_cast<uint8_t>(~(TTextRow::kTokenForm | TTextRow::kTokensInline));
}

const TRowExtras& TRowArena::Extras(const TTextRow* row) const
{
    if (!(row->m_keep & TTextRow::kHasExtras))
        return kNoExtras;
    const auto found = m_extras.find(row);
    return found != m_extras.end() ? found->second : kNoExtras;
}

void TRowArena::store(TTextRow* row, const TRowExtras& extras)
{
    if (isDefault(extras)) {
        if (row->m_keep & TTextRow::kHasExtras)
            m_extras.erase(row);
        row->m_keep &= static_cast<uint8_t>(~TTextRow::kHasExtras);
        return;
    }
    m_extras[row] = extras;
    row->m_keep |= TTextRow::kHasExtras;
}

void TRowArena::SetExtras(TTextRow* row, int32_t extra1, int32_t extra2)
{
    TRowExtras extras = Extras(row);
    extras.Extra1 = extra1;
    extras.Extra2 = extra2;
    store(row, extras);
}

void TRowArena::SetTrack(TTextRow* row, TRowTrack* track)
{
    TRowExtras extras = Extras(row);
    if (extras.Track == track) {
        if (track)
            track->Row = row;
        return;
    }
    TRowTrack* const previous = extras.Track;
    extras.Track = track;
    if (track)
        track->Row = row;
    store(row, extras);
    delete previous;
}

TRowTrack* TRowArena::TakeTrack(TTextRow* row)
{
    TRowExtras extras = Extras(row);
    TRowTrack* const track = extras.Track;
    if (track) {
        extras.Track = nullptr;
        store(row, extras);
    }
    return track;
}
