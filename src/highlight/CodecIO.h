// Buffered byte input and output for the two coders, and the faults they report. The coders
// know nothing of message texts or file names: TCompressor turns a CodecFault into the message
// that fits its method and mode.
#pragma once

#include "base/Stream.h"

#include <cstdint>
#include <vector>

enum class CodecFault {
    ReadInput,   // the input ended inside a field the format requires
    WriteOutput, // the output accepted fewer bytes than it was given
    Corrupt,     // the data cannot have been produced by our encoder (bad reference, overrun)
};

struct CodecError
{
    CodecFault fault;
};

// Size of each I/O buffer: one block-method piece plus the encoder's overrun margin.
constexpr size_t kIoBufferSize = 32784;

// Reads a stream through a buffer; counts what the coder has taken.
class InputBuffer
{
public:
    explicit InputBuffer(TStream& stream);

    // Reads up to count bytes, fewer only at the end of the stream.
    size_t read(uint8_t* target, size_t count);
    // The next byte, or -1 at the end of the stream.
    int next()
    {
        if (m_pos == m_len && !refill())
            return -1;
        ++m_taken;
        return m_buffer[m_pos++];
    }
    int64_t taken() const { return m_taken; }
    // Seeks the stream back over bytes buffered but not taken, so the stream stands just after
    // the coded data (a caller may keep reading what follows it).
    void giveBackUnused();

private:
    bool refill();

    TStream& m_stream;
    std::vector<uint8_t> m_buffer;
    size_t m_pos = 0;
    size_t m_len = 0;
    int64_t m_taken = 0;
    bool m_ended = false;
};

// Writes a stream through a buffer. flush() must be called at the end; a short write throws
// CodecError{WriteOutput}.
class OutputBuffer
{
public:
    explicit OutputBuffer(TStream& stream);

    void put(uint8_t byte)
    {
        if (m_len == m_buffer.size())
            flush();
        m_buffer[m_len++] = byte;
    }
    void write(const uint8_t* bytes, size_t count);
    void flush();
    int64_t written() const { return m_written + static_cast<int64_t>(m_len); }

private:
    TStream& m_stream;
    std::vector<uint8_t> m_buffer;
    size_t m_len = 0;
    int64_t m_written = 0;
};
