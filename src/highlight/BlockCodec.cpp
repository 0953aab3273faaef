#include "highlight/BlockCodec.h"

#include "highlight/CompressorErrors.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace blockcodec {

namespace {

// Collects items and their control bits; a group of sixteen items shares one big-endian word
// stored in front of them, the first item's bit being the word's top bit.
class ItemWriter
{
public:
    explicit ItemWriter(uint8_t* out) : m_out(out)
    {
        m_out[0] = 0x40;
        m_wordAt = 1;
        m_pos = 3;
    }
    size_t position() const { return m_pos; }
    void beginItem()
    {
        if (m_count == 16) {
            storeWord(m_bits);
            m_wordAt = m_pos;
            m_pos += 2;
            m_count = 0;
            m_bits = 0;
        }
    }
    void literal(uint8_t byte)
    {
        m_out[m_pos++] = byte;
        addBit(0);
    }
    void match(size_t distance, size_t length)
    {
        const unsigned code = static_cast<unsigned>((distance << 4) + (length - 3));
        m_out[m_pos++] = static_cast<uint8_t>(code >> 8);
        m_out[m_pos++] = static_cast<uint8_t>(code);
        addBit(1);
    }
    void run(size_t count, uint8_t byte)
    {
        m_out[m_pos++] = 0x00;
        m_out[m_pos++] = static_cast<uint8_t>((count - kMinRun) >> 8);
        m_out[m_pos++] = static_cast<uint8_t>((count - kMinRun) & 0xFF);
        m_out[m_pos++] = byte;
        addBit(1);
    }
    void finish() { storeWord(static_cast<unsigned>(m_bits << (16 - m_count))); }

private:
    void addBit(unsigned bit)
    {
        m_bits = (m_bits << 1) | bit;
        ++m_count;
    }
    void storeWord(unsigned word)
    {
        m_out[m_wordAt] = static_cast<uint8_t>(word >> 8);
        m_out[m_wordAt + 1] = static_cast<uint8_t>(word);
    }

    uint8_t* m_out;
    size_t m_wordAt = 0;
    size_t m_pos = 0;
    unsigned m_bits = 0;
    unsigned m_count = 0;
};

size_t runLength(const uint8_t* in, size_t p, size_t n)
{
    size_t r = 1;
    while (p + r < n && in[p + r] == in[p] && r < kMaxRun)
        ++r;
    return r;
}

// The three bytes at p hashed into 12 bits; bytes past the piece count as 0.
size_t hashAt(const uint8_t* in, size_t p, size_t n)
{
    const uint32_t s0 = in[p];
    const uint32_t s1 = p + 1 < n ? in[p + 1] : 0;
    const uint32_t s2 = p + 2 < n ? in[p + 2] : 0;
    const uint32_t h = ((((s0 << 4) ^ s1) << 4) ^ s2) * 40543u;
    return (h >> 4) & 0xFFF;
}

size_t matchLength(const uint8_t* in, size_t candidate, size_t p, size_t n)
{
    size_t length = 0;
    while (length < kMaxMatch && p + length < n && in[candidate + length] == in[p + length])
        ++length;
    return length;
}

} // namespace

size_t encodeBlock(const uint8_t* in, size_t n, uint8_t* out, std::vector<int16_t>& hashTable)
{
    std::fill(hashTable.begin(), hashTable.end(), int16_t(-1));
    ItemWriter items(out);
    size_t p = 0;
    while (p < n && items.position() <= n) {
        items.beginItem();
        const size_t run = runLength(in, p, n);
        if (run >= kMinRun) {
            items.run(run, in[p]);
            p += run;
            continue;
        }
        const size_t h = hashAt(in, p, n);
        const int candidate = hashTable[h];
        hashTable[h] = static_cast<int16_t>(p);
        size_t length = 0;
        if (candidate >= 0 && p - static_cast<size_t>(candidate) < 4096)
            length = matchLength(in, static_cast<size_t>(candidate), p, n);
        if (length >= 3) {
            items.match(p - static_cast<size_t>(candidate), length);
            p += length;
        } else {
            items.literal(in[p]);
            ++p;
        }
    }
    items.finish();
    if (items.position() > n) {
        out[0] = kStoredMark;
        if (n > 0)
            std::memcpy(out + 1, in, n);
        return n + 1;
    }
    return items.position();
}

std::optional<size_t> decodeBlock(const uint8_t* block, size_t length, uint8_t* out)
{
    if (length < 2)
        return size_t{0};
    if (block[0] == kStoredMark) {
        if (length - 1 > kPieceSize)
            return std::nullopt;
        std::memcpy(out, block + 1, length - 1);
        return length - 1;
    }
    if (length < 3)
        return std::nullopt;
    unsigned word = (unsigned(block[1]) << 8) | block[2];
    unsigned used = 0;
    size_t pos = 3;
    size_t produced = 0;
    while (pos < length) {
        if (used == 16) {
            if (pos + 2 > length)
                return std::nullopt;
            word = (unsigned(block[pos]) << 8) | block[pos + 1];
            pos += 2;
            used = 0;
            if (pos >= length)
                break;
        }
        const bool coded = (word & 0x8000) != 0;
        word <<= 1;
        ++used;
        if (!coded) {
            if (produced == kPieceSize)
                return std::nullopt;
            out[produced++] = block[pos++];
            continue;
        }
        if (pos + 2 > length)
            return std::nullopt;
        const unsigned b0 = block[pos], b1 = block[pos + 1];
        const size_t offset = (b0 << 4) | (b1 >> 4);
        if (offset != 0) {
            const size_t count = (b1 & 0x0F) + 3;
            if (offset > produced || produced + count > kPieceSize)
                return std::nullopt;
            for (size_t i = 0; i < count; ++i, ++produced)
                out[produced] = out[produced - offset];
            pos += 2;
            continue;
        }
        if (pos + 4 > length)
            return std::nullopt;
        const size_t count = ((size_t(b1) << 8) | block[pos + 2]) + kMinRun;
        if (produced + count > kPieceSize)
            return std::nullopt;
        std::memset(out + produced, block[pos + 3], count);
        produced += count;
        pos += 4;
    }
    return produced;
}

int64_t encodeStream(InputBuffer& in, OutputBuffer& out)
{
    std::vector<uint8_t> piece(kIoBufferSize, 0);
    std::vector<uint8_t> block(kIoBufferSize, 0);
    std::vector<int16_t> hashTable;
    try {
        hashTable.resize(kHashSize);
    } catch (const std::bad_alloc&) {
        throw ECompressorQZCompressor("CompressorQZ : no memory for HASH table");
    }
    const int64_t before = out.written();
    for (;;) {
        const size_t n = in.read(piece.data(), kPieceSize);
        const size_t size = encodeBlock(piece.data(), n, block.data(), hashTable);
        const uint8_t header[2] = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8)};
        out.write(header, 2);
        out.write(block.data(), size);
        if (n < kPieceSize)
            break;
    }
    return out.written() - before;
}

int64_t decodeStream(InputBuffer& in, OutputBuffer& out, int64_t expectedSize)
{
    std::vector<uint8_t> block(65536);
    std::vector<uint8_t> piece(kIoBufferSize);
    int64_t produced = 0;
    for (;;) {
        uint8_t header[2];
        if (in.read(header, 2) != 2)
            throw CodecError{CodecFault::ReadInput};
        const size_t length = header[0] | (size_t(header[1]) << 8);
        if (in.read(block.data(), length) != length)
            throw CodecError{CodecFault::ReadInput};
        const std::optional<size_t> count = decodeBlock(block.data(), length, piece.data());
        if (!count || produced + static_cast<int64_t>(*count) > expectedSize)
            throw CodecError{CodecFault::Corrupt};
        out.write(piece.data(), *count);
        produced += static_cast<int64_t>(*count);
        if (*count != kPieceSize)
            break;
    }
    return produced;
}

std::optional<std::vector<uint8_t>> decodeBytes(const uint8_t* data, size_t size, int64_t expectedSize)
{
    TReadOnlyMemoryStream source(data, static_cast<int64_t>(size));
    TMemoryStream target;
    InputBuffer in(source);
    OutputBuffer out(target);
    try {
        decodeStream(in, out, expectedSize);
        out.flush();
    } catch (const CodecError&) {
        return std::nullopt;
    }
    return std::move(target.Bytes());
}

} // namespace blockcodec
