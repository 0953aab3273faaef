#include "editor/text/EdStream.h"

#include "base/Exception.h"
#include "editor/text/SourceMemoErrors.h"
#include "editor/text/TextStore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

TEdStream::TEdStream(TTextStore& store) : m_store(store)
{
    SetPosition(0);
}

void TEdStream::follow() const
{
    if (m_seenEdits != m_store.EditCount())
        locate(m_position);
}

void TEdStream::locate(int64_t position) const
{
    m_seenEdits = m_store.EditCount();
    m_length = m_store.CharCount();
    m_position = std::clamp<int64_t>(position, 0, m_length);
    const TRowSpot spot = m_store.RowAt(m_position);
    m_row = spot.Row;
    m_offset = static_cast<int>(m_position - spot.Start);
    settle();
}

char TEdStream::CurrentChar() const
{
    follow();
    return m_row && m_offset < m_row->Length ? m_row->Text()[m_offset] : 0;
}

int64_t TEdStream::Position() const
{
    follow();
    return m_position;
}

bool TEdStream::AtEnd() const
{
    follow();
    return m_position >= m_length;
}

int64_t TEdStream::Size()
{
    follow();
    return m_length;
}

TTextRow* TEdStream::Row() const
{
    follow();
    return m_row;
}

int TEdStream::OffsetInRow() const
{
    follow();
    return m_offset;
}

void TEdStream::SetPosition(int64_t position)
{
    follow();
    m_length = m_store.CharCount();
    position = std::clamp<int64_t>(position, 0, m_length);
    if (m_row && position >= m_position - m_offset && position < m_position - m_offset + m_row->Length) {
        m_offset = static_cast<int>(m_offset + position - m_position);
        m_position = position;
        return;
    }
    locate(position);
}

// Moves from the end of a row to the start of the next, so m_row always holds the position.
void TEdStream::settle() const
{
    while (m_row && m_offset >= m_row->Length) {
        m_offset -= m_row->Length;
        m_row = m_row->Next;
    }
    if (!m_row)
        m_offset = 0;
}

void TEdStream::Next()
{
    if (AtEnd() || !m_row)
        return;
    ++m_offset;
    ++m_position;
    settle();
}

void TEdStream::Prev()
{
    follow();
    if (m_position <= 0)
        return;
    if (!m_row) {
        m_row = m_store.LastRow();
        m_offset = m_row ? m_row->Length : 0;
    }
    while (m_row && m_offset == 0 && m_row->Prev) {
        m_row = m_row->Prev;
        m_offset = m_row->Length;
    }
    --m_offset;
    --m_position;
}

int64_t TEdStream::Read(void* buffer, int64_t count)
{
    follow();
    auto* out = static_cast<char*>(buffer);
    int64_t copied = 0;
    while (copied < count && m_row && m_position < m_length) {
        const int64_t n = std::min<int64_t>({count - copied, m_row->Length - m_offset, m_length - m_position});
        std::memcpy(out + copied, m_row->Text() + m_offset, static_cast<size_t>(n));
        copied += n;
        m_offset += static_cast<int>(n);
        m_position += n;
        settle();
    }
    return copied;
}

int64_t TEdStream::Write(const void*, int64_t)
{
    throw EStreamError(kReadOnlyStream);
}

int64_t TEdStream::Seek(int64_t offset, SeekOrigin origin)
{
    switch (origin) {
    case SeekOrigin::Beginning: SetPosition(offset); break;
    case SeekOrigin::Current: SetPosition(Position() + offset); break;
    case SeekOrigin::End: SetPosition(m_store.CharCount() - std::llabs(offset)); break;
    }
    return m_position;
}

void TEdStream::StartAt(TTextRow* row, int offset, int64_t base)
{
    m_seenEdits = m_store.EditCount();
    m_length = m_store.CharCount();
    m_row = row;
    m_offset = std::max(offset, 0);
    m_position = base + m_offset;
    settle();
}

TFastMemoryStream::TFastMemoryStream(const char* text)
    : TReadOnlyMemoryStream(text, text ? static_cast<int64_t>(std::strlen(text)) : 0)
{
}
