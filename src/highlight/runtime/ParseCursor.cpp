#include "highlight/runtime/ParseCursor.h"

#include <algorithm>

TTextChunk TStringCharSource::chunkAt(int64_t position)
{
    if (position < 0 || position >= length())
        return {};
    return {m_text.data(), static_cast<int>(m_text.size()), 0, nullptr};
}

TParseCursor::TParseCursor(TCharSource& source) : m_source(source)
{
    refresh(0);
}

void TParseCursor::enterChunk(const TTextChunk& chunk, int offset)
{
    m_chunk = chunk;
    m_text = chunk.text;
    m_length = chunk.length;
    m_start = chunk.start;
    m_offset = offset;
}

// The end is an empty chunk placed at the text length, so position() stays right.
void TParseCursor::enterEnd()
{
    m_chunk = {};
    m_text = "";
    m_length = 0;
    m_offset = 0;
    m_start = m_end;
}

void TParseCursor::enterNextChunk()
{
    if (m_length == 0) {
        m_offset = 0; // already at the end
        return;
    }
    const int64_t position = m_start + m_offset;
    if (position >= m_end) {
        m_previous = m_chunk;
        enterEnd();
        return;
    }
    const TTextChunk next = m_source.nextChunk(m_chunk);
    if (next.valid() && next.start == position) {
        m_previous = m_chunk;
        enterChunk(next, 0);
    }
    else
        setPosition(position);
}

void TParseCursor::stepBackSlow()
{
    const int64_t position = this->position();
    if (position <= 0)
        return;
    if (m_length > 0) {
        const TTextChunk previous = m_source.previousChunk(m_chunk);
        if (previous.valid() && previous.start + previous.length == position) {
            enterChunk(previous, previous.length - 1);
            return;
        }
    }
    setPosition(position - 1);
}

void TParseCursor::setPositionSlow(int64_t position)
{
    position = std::clamp<int64_t>(position, 0, m_end);
    if (m_length > 0 && position >= m_start && position < m_start + m_length) {
        m_offset = static_cast<int>(position - m_start);
        return;
    }
    if (position >= m_end) {
        enterEnd();
        return;
    }
    if (m_previous.valid() && position >= m_previous.start &&
        position < m_previous.start + m_previous.length) {
        const TTextChunk previous = m_previous;
        enterChunk(previous, static_cast<int>(position - previous.start));
        return;
    }
    const TTextChunk chunk = m_source.chunkAt(position);
    if (!chunk.valid() || position < chunk.start || position >= chunk.start + chunk.length) {
        enterEnd(); // a source that cannot place the position ends the text there
        return;
    }
    enterChunk(chunk, static_cast<int>(position - chunk.start));
}

void TParseCursor::startAt(const TTextChunk& chunk, int offset)
{
    m_end = m_source.length();
    m_previous = {};
    if (!chunk.valid() || offset < 0 || offset >= chunk.length) {
        m_length = 0;
        setPositionSlow(chunk.start + offset);
        return;
    }
    enterChunk(chunk, offset);
}

void TParseCursor::refresh(int64_t position)
{
    m_end = m_source.length();
    m_length = 0; // forget the chunks: they may have changed
    m_previous = {};
    setPositionSlow(position);
}

bool TParseCursor::check() const
{
    if (m_length == 0)
        return m_offset == 0 && m_start == m_end;
    return m_offset >= 0 && m_offset < m_length && m_start + m_offset < m_end;
}
