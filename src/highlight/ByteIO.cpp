#include "highlight/ByteIO.h"

#include "base/Exception.h"

#include <climits>

void ByteReader::need(size_t count) const
{
    if (count > m_size - m_pos)
        throw EReadError("Stream read error");
}

uint8_t ByteReader::u8()
{
    need(1);
    return m_data[m_pos++];
}

uint16_t ByteReader::u16()
{
    need(2);
    const auto v = static_cast<uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return v;
}

int32_t ByteReader::i32()
{
    need(4);
    const uint32_t v = m_data[m_pos] | (uint32_t(m_data[m_pos + 1]) << 8) | (uint32_t(m_data[m_pos + 2]) << 16) |
                       (uint32_t(m_data[m_pos + 3]) << 24);
    m_pos += 4;
    return static_cast<int32_t>(v);
}

size_t ByteReader::count(size_t minEntrySize)
{
    const int32_t n = i32();
    if (n < 0)
        throw EReadError(Format("Invalid count %d in parser data", n));
    if (minEntrySize > 0 && static_cast<size_t>(n) > left() / minEntrySize)
        throw EReadError("Stream read error");
    return static_cast<size_t>(n);
}

std::string ByteReader::bytes(size_t count)
{
    need(count);
    std::string text(reinterpret_cast<const char*>(m_data + m_pos), count);
    m_pos += count;
    return text;
}

std::string ByteReader::str32()
{
    const int32_t n = i32();
    if (n < 0)
        throw EReadError(Format("Invalid string length %d in parser data", n));
    return bytes(static_cast<size_t>(n));
}

ParserStateSet ByteReader::set256()
{
    need(ParserStateSet::kBytes);
    ParserStateSet set;
    for (auto& b : set.bytes())
        b = m_data[m_pos++];
    return set;
}

void ByteWriter::u16(uint16_t v)
{
    m_bytes.push_back(static_cast<uint8_t>(v));
    m_bytes.push_back(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::i32(int32_t v)
{
    const auto u = static_cast<uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes.push_back(static_cast<uint8_t>(u >> shift));
}

void ByteWriter::str8(const std::string& text)
{
    if (text.size() > 255)
        throw EWriteError(Format("Text too long to store (%zu bytes): %.20s", text.size(), text.c_str()));
    u8(static_cast<uint8_t>(text.size()));
    bytes(text);
}

void ByteWriter::str32(const std::string& text)
{
    if (text.size() > INT32_MAX)
        throw EWriteError("Text too long to store");
    i32(static_cast<int32_t>(text.size()));
    bytes(text);
}
