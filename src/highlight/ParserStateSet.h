// A set of the values 0..255 in 32 bytes, value v being bit (v mod 8) of byte (v div 8). Used for
// parser states, anchor token sets and the characters of a character group; the bytes are the
// stored form, so they never change meaning.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

class ParserStateSet
{
public:
    static constexpr int kBytes = 32;

    ParserStateSet() = default;
    ParserStateSet(std::initializer_list<int> values)
    {
        for (int v : values)
            insert(v);
    }

    bool contains(int v) const { return (m_bits[(v >> 3) & 31] >> (v & 7)) & 1; }
    void insert(int v) { m_bits[(v >> 3) & 31] |= static_cast<uint8_t>(1u << (v & 7)); }
    void erase(int v) { m_bits[(v >> 3) & 31] &= static_cast<uint8_t>(~(1u << (v & 7))); }
    bool empty() const
    {
        for (uint8_t b : m_bits)
            if (b)
                return false;
        return true;
    }
    bool intersects(const ParserStateSet& other) const
    {
        for (int i = 0; i < kBytes; ++i)
            if (m_bits[i] & other.m_bits[i])
                return true;
        return false;
    }
    // Lowest member, or -1 when empty.
    int first() const
    {
        for (int v = 0; v < 256; ++v)
            if (contains(v))
                return v;
        return -1;
    }
    // Highest member, or -1 when empty.
    int last() const
    {
        for (int v = 255; v >= 0; --v)
            if (contains(v))
                return v;
        return -1;
    }
    ParserStateSet& operator|=(const ParserStateSet& other)
    {
        for (int i = 0; i < kBytes; ++i)
            m_bits[i] |= other.m_bits[i];
        return *this;
    }
    ParserStateSet& operator-=(const ParserStateSet& other)
    {
        for (int i = 0; i < kBytes; ++i)
            m_bits[i] &= static_cast<uint8_t>(~other.m_bits[i]);
        return *this;
    }
    friend ParserStateSet operator|(ParserStateSet a, const ParserStateSet& b) { return a |= b; }
    friend ParserStateSet operator-(ParserStateSet a, const ParserStateSet& b) { return a -= b; }
    bool operator==(const ParserStateSet&) const = default;

    const std::array<uint8_t, kBytes>& bytes() const { return m_bits; }
    std::array<uint8_t, kBytes>& bytes() { return m_bits; }

private:
    std::array<uint8_t, kBytes> m_bits{};
};
