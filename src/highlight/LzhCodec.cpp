#include "highlight/LzhCodec.h"

#include "highlight/CompressorErrors.h"
#include "highlight/LzhHuffman.h"

#include <array>
#include <new>

namespace lzhcodec {

namespace {

constexpr int kNil = kRingSize; // "no node" in the match tree
constexpr int kStart = kRingSize - kMaxMatch;

// The fixed prefix code of a distance's upper 6 bits: 1 code of 3 bits, 3 of 4, 8 of 5, 12 of 6,
// 24 of 7 and 16 of 8, assigned in canonical order. positionCode holds each code left-aligned in
// a byte; decodeUpper/decodeLength map any byte that starts with a code to its value and length.
struct PositionTables
{
    std::array<uint8_t, 64> positionLength{};
    std::array<uint8_t, 64> positionCode{};
    std::array<uint8_t, 256> decodeUpper{};
    std::array<uint8_t, 256> decodeLength{};
};

constexpr PositionTables makePositionTables()
{
    PositionTables t;
    constexpr int counts[6] = {1, 3, 8, 12, 24, 16};
    int value = 0;
    unsigned code = 0;
    for (int len = 3; len <= 8; ++len) {
        for (int n = 0; n < counts[len - 3]; ++n, ++value, ++code) {
            t.positionLength[value] = static_cast<uint8_t>(len);
            t.positionCode[value] = static_cast<uint8_t>(code << (8 - len));
            for (unsigned b = 0; b < (1u << (8 - len)); ++b) {
                t.decodeUpper[(code << (8 - len)) | b] = static_cast<uint8_t>(value);
                t.decodeLength[(code << (8 - len)) | b] = static_cast<uint8_t>(len);
            }
        }
        code <<= 1;
    }
    return t;
}

constexpr PositionTables kTables = makePositionTables();
static_assert(kTables.positionCode[1] == 0x20 && kTables.positionCode[4] == 0x50);
static_assert(kTables.positionCode[12] == 0x90 && kTables.positionCode[24] == 0xC0);
static_assert(kTables.positionCode[48] == 0xF0 && kTables.positionCode[63] == 0xFF);

class BitWriter
{
public:
    explicit BitWriter(OutputBuffer& out) : m_out(out) {}
    void put(unsigned bit)
    {
        m_byte = static_cast<uint8_t>((m_byte << 1) | bit);
        if (++m_count == 8) {
            m_out.put(m_byte);
            m_count = 0;
            m_byte = 0;
        }
    }
    // The low `count` bits of value, most significant first.
    void putBits(int count, unsigned value)
    {
        for (int i = count - 1; i >= 0; --i)
            put((value >> i) & 1);
    }
    void finish()
    {
        if (m_count > 0)
            m_out.put(static_cast<uint8_t>(m_byte << (8 - m_count)));
        m_count = 0;
    }

private:
    OutputBuffer& m_out;
    uint8_t m_byte = 0;
    int m_count = 0;
};

class BitReader
{
public:
    explicit BitReader(InputBuffer& in) : m_in(in) {}
    unsigned bit()
    {
        if (m_count == 0) {
            int byte = m_in.next();
            if (byte < 0) {
                if (++m_pastEnd > kMaxZeroBytesPastEnd)
                    throw CodecError{CodecFault::ReadInput};
                byte = 0;
            }
            m_byte = static_cast<uint8_t>(byte);
            m_count = 8;
        }
        --m_count;
        return (m_byte >> m_count) & 1;
    }
    unsigned bits(int count)
    {
        unsigned value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 1) | bit();
        return value;
    }

private:
    InputBuffer& m_in;
    uint8_t m_byte = 0;
    int m_count = 0;
    int m_pastEnd = 0;
};

// The ring buffer with its binary search trees, one per first byte, over the positions of the
// last 4,096 bytes. The buffer mirrors its first kMaxMatch-1 bytes past its end so a key can be
// compared without wrapping.
class MatchFinder
{
public:
    MatchFinder()
    {
        for (int i = kRingSize + 1; i <= kRingSize + 256; ++i)
            m_right[i] = kNil;
        for (int i = 0; i < kRingSize; ++i)
            m_parent[i] = kNil;
    }
    uint8_t& at(int i) { return m_text[i]; }
    void store(int i, uint8_t byte)
    {
        m_text[i] = byte;
        if (i < kMaxMatch - 1)
            m_text[i + kRingSize] = byte;
    }
    int matchLength() const { return m_matchLength; }
    int matchPosition() const { return m_matchPosition; }

    // Inserts the string at r and finds the longest match for it; among equal lengths the
    // nearest. A full-length match replaces the older node in the tree.
    void insert(int r)
    {
        int cmp = 1;
        const uint8_t* key = &m_text[r];
        int p = kRingSize + 1 + key[0];
        m_right[r] = m_left[r] = kNil;
        m_matchLength = 0;
        for (;;) {
            if (cmp >= 0) {
                if (m_right[p] == kNil) {
                    m_right[p] = r;
                    m_parent[r] = p;
                    return;
                }
                p = m_right[p];
            } else {
                if (m_left[p] == kNil) {
                    m_left[p] = r;
                    m_parent[r] = p;
                    return;
                }
                p = m_left[p];
            }
            int i = 1;
            for (; i < kMaxMatch; ++i) {
                cmp = key[i] - m_text[p + i];
                if (cmp != 0)
                    break;
            }
            if (i > kThreshold) {
                const int distance = ((r - p) & (kRingSize - 1)) - 1;
                if (i > m_matchLength) {
                    m_matchPosition = distance;
                    m_matchLength = i;
                    if (i >= kMaxMatch)
                        break;
                } else if (i == m_matchLength && distance < m_matchPosition) {
                    m_matchPosition = distance;
                }
            }
        }
        replace(p, r);
    }

    void remove(int p)
    {
        if (m_parent[p] == kNil)
            return;
        int q;
        if (m_right[p] == kNil) {
            q = m_left[p];
        } else if (m_left[p] == kNil) {
            q = m_right[p];
        } else {
            q = m_left[p];
            if (m_right[q] != kNil) {
                do {
                    q = m_right[q];
                } while (m_right[q] != kNil);
                m_right[m_parent[q]] = m_left[q];
                m_parent[m_left[q]] = m_parent[q];
                m_left[q] = m_left[p];
                m_parent[m_left[p]] = q;
            }
            m_right[q] = m_right[p];
            m_parent[m_right[p]] = q;
        }
        m_parent[q] = m_parent[p];
        if (m_right[m_parent[p]] == p)
            m_right[m_parent[p]] = q;
        else
            m_left[m_parent[p]] = q;
        m_parent[p] = kNil;
    }

private:
    void replace(int p, int r)
    {
        m_parent[r] = m_parent[p];
        m_left[r] = m_left[p];
        m_right[r] = m_right[p];
        m_parent[m_left[p]] = r;
        m_parent[m_right[p]] = r;
        if (m_right[m_parent[p]] == p)
            m_right[m_parent[p]] = r;
        else
            m_left[m_parent[p]] = r;
        m_parent[p] = kNil;
    }

    std::array<uint8_t, kRingSize + kMaxMatch - 1> m_text{};
    std::array<int, kRingSize + 1> m_left{};
    std::array<int, kRingSize + 257> m_right{};
    std::array<int, kRingSize + 1> m_parent{};
    int m_matchPosition = 0;
    int m_matchLength = 0;
};

struct EncoderState
{
    MatchFinder finder;
    HuffmanTree tree;
    std::array<uint8_t, kTreeSize> code{};
};

template <typename T> std::unique_ptr<T> makeTables()
{
    try {
        return std::make_unique<T>();
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
}

void encodeSymbol(EncoderState& state, BitWriter& bits, int symbol)
{
    const int count = state.tree.codeOf(symbol, state.code);
    for (int i = 0; i < count; ++i)
        bits.put(state.code[i]);
    state.tree.update(symbol);
}

void encodePosition(BitWriter& bits, int position)
{
    const int upper = position >> 6;
    bits.putBits(kTables.positionLength[upper], kTables.positionCode[upper] >> (8 - kTables.positionLength[upper]));
    bits.putBits(6, position & 0x3F);
}

int decodeSymbol(HuffmanTree& tree, BitReader& bits)
{
    int c = tree.rootSon();
    while (!HuffmanTree::isLeaf(c))
        c = tree.next(c, static_cast<int>(bits.bit()));
    const int symbol = HuffmanTree::symbolOf(c);
    tree.update(symbol);
    return symbol;
}

int decodePosition(BitReader& bits)
{
    unsigned i = bits.bits(8);
    const int upper = kTables.decodeUpper[i];
    const int extra = kTables.decodeLength[i] - 2;
    i = (i << extra) | bits.bits(extra);
    return (upper << 6) | static_cast<int>(i & 0x3F);
}

} // namespace

int64_t encodeStream(InputBuffer& in, OutputBuffer& out)
{
    const int64_t before = out.written();
    auto state = makeTables<EncoderState>();
    MatchFinder& finder = state->finder;
    BitWriter bits(out);
    int s = 0;
    int r = kStart;
    for (int i = s; i < r; ++i)
        finder.store(i, ' ');
    int len = 0;
    for (int c; len < kMaxMatch && (c = in.next()) >= 0; ++len)
        finder.store(r + len, static_cast<uint8_t>(c));
    if (len == 0)
        return 0;
    for (int i = 1; i <= kMaxMatch; ++i)
        finder.insert(r - i);
    finder.insert(r);
    do {
        int matchLength = std::min(finder.matchLength(), len);
        if (matchLength <= kThreshold) {
            matchLength = 1;
            encodeSymbol(*state, bits, finder.at(r));
        } else {
            encodeSymbol(*state, bits, 255 - kThreshold + matchLength);
            encodePosition(bits, finder.matchPosition());
        }
        int i = 0;
        for (int c; i < matchLength && (c = in.next()) >= 0; ++i) {
            finder.remove(s);
            finder.store(s, static_cast<uint8_t>(c));
            s = (s + 1) & (kRingSize - 1);
            r = (r + 1) & (kRingSize - 1);
            finder.insert(r);
        }
        for (; i < matchLength; ++i) {
            finder.remove(s);
            s = (s + 1) & (kRingSize - 1);
            r = (r + 1) & (kRingSize - 1);
            if (--len)
                finder.insert(r);
        }
    } while (len > 0);
    bits.finish();
    return out.written() - before;
}

int64_t decodeStream(InputBuffer& in, OutputBuffer& out, int64_t size)
{
    struct DecoderState
    {
        HuffmanTree tree;
        std::array<uint8_t, kRingSize> text{};
    };
    auto state = makeTables<DecoderState>();
    auto& text = state->text;
    BitReader bits(in);
    for (int i = 0; i < kStart; ++i)
        text[i] = ' ';
    int r = kStart;
    int64_t produced = 0;
    while (produced < size) {
        const int symbol = decodeSymbol(state->tree, bits);
        if (symbol < 256) {
            out.put(static_cast<uint8_t>(symbol));
            text[r] = static_cast<uint8_t>(symbol);
            r = (r + 1) & (kRingSize - 1);
            ++produced;
            continue;
        }
        const int from = (r - decodePosition(bits) - 1) & (kRingSize - 1);
        const int count = symbol - 255 + kThreshold;
        if (produced + count > size)
            throw CodecError{CodecFault::Corrupt};
        for (int k = 0; k < count; ++k) {
            const uint8_t c = text[(from + k) & (kRingSize - 1)];
            out.put(c);
            text[r] = c;
            r = (r + 1) & (kRingSize - 1);
        }
        produced += count;
    }
    return produced;
}

std::optional<std::vector<uint8_t>> decodeBytes(const uint8_t* data, size_t length, int64_t size)
{
    TReadOnlyMemoryStream source(data, static_cast<int64_t>(length));
    TMemoryStream target;
    InputBuffer in(source);
    OutputBuffer out(target);
    try {
        decodeStream(in, out, size);
        out.flush();
    } catch (const CodecError&) {
        return std::nullopt;
    }
    return std::move(target.Bytes());
}

} // namespace lzhcodec
