// Little-endian field reading and writing for the compiled-parser body. The reader works on
// bytes held in memory and never trusts a count: every length is checked against what is left
// before anything is taken or allocated, and running short throws EReadError.
#pragma once

#include "highlight/ParserStateSet.h"

#include <cstdint>
#include <string>
#include <vector>

class ByteReader
{
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t u8();
    uint16_t u16();
    int32_t i32();
    // A count that must not be negative; at most what is left divided by minEntrySize, since
    // each entry takes at least that many bytes.
    size_t count(size_t minEntrySize);
    std::string bytes(size_t count);
    std::string str8() { return bytes(u8()); }
    std::string str32();
    ParserStateSet set256();

    size_t position() const { return m_pos; }
    size_t left() const { return m_size - m_pos; }

private:
    void need(size_t count) const;

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

class ByteWriter
{
public:
    void u8(uint8_t v) { m_bytes.push_back(v); }
    void u16(uint16_t v);
    void i32(int32_t v);
    void bytes(const std::string& text) { m_bytes.insert(m_bytes.end(), text.begin(), text.end()); }
    // Throws EWriteError when the text does not fit a one-byte length.
    void str8(const std::string& text);
    void str32(const std::string& text);
    void set256(const ParserStateSet& set) { m_bytes.insert(m_bytes.end(), set.bytes().begin(), set.bytes().end()); }

    const std::vector<uint8_t>& data() const { return m_bytes; }
    std::vector<uint8_t>& data() { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};
