#include "highlight/CodecIO.h"

#include "base/Exception.h"

#include <algorithm>
#include <cstring>

InputBuffer::InputBuffer(TStream& stream) : m_stream(stream), m_buffer(kIoBufferSize) {}

bool InputBuffer::refill()
{
    if (m_ended)
        return false;
    int64_t got = 0;
    try {
        got = m_stream.Read(m_buffer.data(), static_cast<int64_t>(m_buffer.size()));
    } catch (const Exception&) {
        throw CodecError{CodecFault::ReadInput};
    }
    m_pos = 0;
    m_len = got > 0 ? static_cast<size_t>(got) : 0;
    if (m_len == 0)
        m_ended = true;
    return m_len > 0;
}

size_t InputBuffer::read(uint8_t* target, size_t count)
{
    size_t done = 0;
    while (done < count) {
        if (m_pos == m_len && !refill())
            break;
        const size_t n = std::min(count - done, m_len - m_pos);
        std::memcpy(target + done, m_buffer.data() + m_pos, n);
        m_pos += n;
        done += n;
    }
    m_taken += static_cast<int64_t>(done);
    return done;
}

void InputBuffer::giveBackUnused()
{
    if (m_len > m_pos)
        m_stream.Seek(-static_cast<int64_t>(m_len - m_pos), SeekOrigin::Current);
    m_pos = m_len = 0;
}

OutputBuffer::OutputBuffer(TStream& stream) : m_stream(stream), m_buffer(kIoBufferSize) {}

void OutputBuffer::write(const uint8_t* bytes, size_t count)
{
    while (count > 0) {
        if (m_len == m_buffer.size())
            flush();
        const size_t n = std::min(count, m_buffer.size() - m_len);
        std::memcpy(m_buffer.data() + m_len, bytes, n);
        m_len += n;
        bytes += n;
        count -= n;
    }
}

void OutputBuffer::flush()
{
    if (m_len == 0)
        return;
    int64_t put = 0;
    try {
        put = m_stream.Write(m_buffer.data(), static_cast<int64_t>(m_len));
    } catch (const Exception&) {
        throw CodecError{CodecFault::WriteOutput};
    }
    if (put != static_cast<int64_t>(m_len))
        throw CodecError{CodecFault::WriteOutput};
    m_written += put;
    m_len = 0;
}
